// Translation of the component's texts through the host's resource loader. Source texts are
// simplified Chinese and are themselves the loader's keys.
#pragma once

#include <string>
#include <string_view>

namespace qx::services {

// The loader's resource file base name.
inline constexpr std::string_view kResFileBaseName = "QxEIGroup";
// Separates the pieces of a composite text; a piece that starts with the marker is translated.
inline constexpr std::string_view kCompositeSeparator = "^|^";
inline constexpr std::string_view kTranslatableMarker = "~$~";

// The text in the login's language, its leading and trailing spaces kept. Never fails: when no
// translation can be obtained the text comes back unchanged. It catches its own failures only,
// so a failure the caller is handling stays as it was.
std::string LoadLocalString(std::string_view text);

// Joins the pieces of a composite text, translating those that carry the marker; the
// separators do not appear in the result.
std::string LoadCompositeString(std::string_view text);

// Ends the calling thread's module state (the cached loader and language); the thread's last
// plug-in object does so when it goes. The next translation starts afresh.
void releaseModuleState() noexcept;

}  // namespace qx::services

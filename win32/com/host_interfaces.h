// The host's event-source interfaces and its controls' event interfaces by name: the interface a
// plug-in's Init expects and the event interface its connection point serves.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <span>
#include <string_view>

namespace qx::win32 {

struct HostInterface {
  std::string_view name;
  const IID* interfaceId;
  const IID* eventsId;
};

// Letter case ignored; null for names the host does not publish.
const HostInterface* findHostInterface(std::string_view name) noexcept;
// Every interface with events: the host's event sources and the form toolkit's controls.
std::span<const HostInterface> hostInterfaces() noexcept;

}  // namespace qx::win32

// Files the workbench writes for the user (exports, snapshots): written whole or not at all.
#pragma once

#include <filesystem>
#include <string>

namespace qx::qxhost {

// Writes `text` to a temporary file beside `file` and renames it over `file` when complete, so
// a failure leaves no half-written file and an existing file as it was. A folder that does not
// exist, a file name that is a folder, or a folder that cannot be written: UsageError.
void writeWhole(const std::filesystem::path& file, const std::string& text);

}  // namespace qx::qxhost

// Replacing a file so that a crash or a failed write never leaves it half-written.
#pragma once

#include <filesystem>
#include <string>

namespace qx::sim {

// Writes `text` to a new file of a unique name beside `file`, makes it durable and renames it
// over `file`: a crash at any moment leaves the old or the new file, whole. A failure is
// reported (error 75, source `source`) with the old file untouched and the new one removed.
void replaceFileDurably(const std::filesystem::path& file, const std::string& text,
                        const std::string& source);

}  // namespace qx::sim

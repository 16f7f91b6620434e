#include "tools/qxhost/whole_file.h"

#include <unistd.h>

#include <fstream>
#include <system_error>

#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

void writeWhole(const std::filesystem::path& file, const std::string& text) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  if (fs::is_directory(file, ec)) {
    throw UsageError{file.string() + " is a folder (give a file in it, as in " +
                     (file / "out.txt").string() + ")"};
  }
  if (!fs::is_directory(folder, ec)) {
    throw UsageError{"cannot write " + file.string() + ": the folder " + folder.string() +
                     " does not exist (give a file in an existing folder)"};
  }
  // A name of this process's own, so two sessions writing one file do not share a half file.
  fs::path temporary = file;
  temporary += ".part" + std::to_string(::getpid());
  auto failed = [&] {
    fs::remove(temporary, ec);
    return UsageError{"cannot write " + file.string() + " (give a file in a writable folder)"};
  };
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) throw failed();
  }
  fs::rename(temporary, file, ec);
  if (ec) throw failed();
}

}  // namespace qx::qxhost

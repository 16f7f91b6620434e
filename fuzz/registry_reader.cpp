// The registry file reader: a file either loads, and then the registry writes it back in a form
// that loads to the same keys and values and is written again byte for byte; or it is refused
// with a reason and the registry starts empty. (The copy set aside as <file>.corrupt is not
// checked: under the fuzzer's timer signals the library's file copy can stop short.)
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "automation/error.h"
#include "fuzz_support.h"
#include "sim/platform/registry_file.h"

using qx::automation::Variant;
using qx::fuzz::shown;
using qx::sim::RegistryFile;
namespace fs = std::filesystem;

namespace {

const char* const kRoots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"};
constexpr std::string_view kProbe = "HKEY_CURRENT_USER\\QxFuzzProbe\\written";

// Every key with its values, as the registry answers them.
using Content = std::vector<std::pair<std::string, std::vector<std::pair<std::string, Variant>>>>;
Content contentOf(const RegistryFile& r) {
  Content c;
  for (const char* root : kRoots) {
    for (const std::string& key : r.keysUnder(root)) c.emplace_back(key, r.values(key));
  }
  return c;
}

std::string fileText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A folder of this process, removed at its end.
struct WorkFolder {
  fs::path dir;
  WorkFolder() {
    const fs::path shm = "/dev/shm";
    dir = (fs::is_directory(shm) ? shm : fs::temp_directory_path()) /
          ("qx_fuzz_registry_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  ~WorkFolder() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const WorkFolder work;
  const fs::path file = work.dir / "registry.txt";
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  writeFile(file, bytes);

  RegistryFile loaded(file);
  const Content content = contentOf(loaded);
  if (!loaded.loadProblem().empty()) {
    QX_FUZZ_CHECK(content.empty(), shown(bytes) + " was refused but keys were kept");
    return 0;
  }
  if (!loaded.keysUnder("HKEY_CURRENT_USER\\QxFuzzProbe").empty()) return 0;  // ours

  // A change makes the registry write the whole file; taking the change back writes what was
  // read.
  loaded.write(kProbe, "v", Variant(int32_t{1}));
  loaded.deleteKey("HKEY_CURRENT_USER\\QxFuzzProbe");
  const std::string written = fileText(file);
  RegistryFile again(file);
  QX_FUZZ_CHECK(again.loadProblem().empty(), shown(bytes) + " was written as " + shown(written) +
                                                 ", which does not load: " + again.loadProblem());
  QX_FUZZ_CHECK(contentOf(again) == content,
                shown(bytes) + " was written as " + shown(written) + ", which reads otherwise");
  again.write(kProbe, "v", Variant(int32_t{1}));
  again.deleteKey("HKEY_CURRENT_USER\\QxFuzzProbe");
  QX_FUZZ_CHECK(fileText(file) == written,
                shown(bytes) + " is written differently the second time: " + shown(written) +
                    " then " + shown(fileText(file)));
  return 0;
}

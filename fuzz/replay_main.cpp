// Replays a fuzz target's corpus: every file of the folder, in name order, through the target,
// so that each build checks the seeds and every input that once found a fault.
// Usage: fuzz_replay TARGET FOLDER
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#define QX_FUZZ_TARGET(name) extern "C" int qxFuzz_##name(const uint8_t* data, size_t size);
#include "targets.def"
#undef QX_FUZZ_TARGET

namespace {

struct Target {
  std::string_view name;
  int (*run)(const uint8_t*, size_t);
};

constexpr Target kTargets[] = {
#define QX_FUZZ_TARGET(name) {#name, &qxFuzz_##name},
#include "targets.def"
#undef QX_FUZZ_TARGET
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fuzz_replay TARGET FOLDER\n");
    return 2;
  }
  auto target = std::find_if(std::begin(kTargets), std::end(kTargets),
                             [&](const Target& t) { return t.name == argv[1]; });
  if (target == std::end(kTargets)) {
    std::fprintf(stderr, "fuzz_replay: no target %s\n", argv[1]);
    return 2;
  }
  std::error_code ec;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(argv[2], ec)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  if (ec || files.empty()) {
    std::fprintf(stderr, "fuzz_replay: no corpus in %s\n", argv[2]);
    return 2;
  }
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && !in) {
      std::fprintf(stderr, "fuzz_replay: cannot read %s\n", file.c_str());
      return 1;
    }
    // A failed property aborts with a message naming it; the file is named first.
    std::fprintf(stderr, "%s\n", file.filename().c_str());
    target->run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%s: %zu inputs replayed\n", argv[1], files.size());
  return 0;
}

// Replays fuzz inputs without libFuzzer: every file in the directories (or the
// files) named on the command line is passed once to the target. A crash or a
// sanitizer report fails the run; an error result is fine.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static void runFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path p(argv[i]);
    std::error_code ec;
    if (std::filesystem::is_directory(p, ec)) {
      for (const auto& e : std::filesystem::directory_iterator(p))
        if (e.is_regular_file()) {
          runFile(e.path());
          ++count;
        }
    } else if (std::filesystem::is_regular_file(p, ec)) {
      runFile(p);
      ++count;
    }
  }
  std::printf("replayed %d inputs\n", count);
  return 0;
}

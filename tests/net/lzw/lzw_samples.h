// Inputs for the LZW tests and the tools that make and check compress(1)
// streams of them.
#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "support/tools.h"
#include "win/types.h"

namespace lzw_samples {

// Words drawn from a small vocabulary, in lines, as record texts look.
inline std::string Text(size_t size, std::uint32_t seed) {
  static const char* const kWords[] = {
      "Title=", "en:", "Keyword=", "collection", "Korvex", "ObjectID=0x", "document",
      "Author=", "TimeCreated=", "96/04/17", "server", "the", "of", "and", "Type=",
      "Document", "Text", "Image", "Position=", "Score=", "Rights=R:a,W:a", "\n"};
  std::mt19937 rng(seed);
  std::uniform_int_distribution<size_t> pick(0, sizeof kWords / sizeof kWords[0] - 1);
  std::string out;
  while (out.size() < size) {
    out += kWords[pick(rng)];
    out += (rng() % 7 == 0) ? '\n' : ' ';
  }
  out.resize(size);
  return out;
}

inline std::string Random(size_t size, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(rng() & 0xFF);
  return out;
}

// Text, then noise, then text again: the compressor's ratio drops on the
// noise once its table is full, so it emits clear codes.
inline std::string Mixed(std::uint32_t seed) {
  return Text(150000, seed) + Random(60000, seed + 1) + Text(150000, seed + 2) +
         Random(30000, seed + 3) + Text(80000, seed + 4);
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The exit status of a shell command, -1 when it did not run to an end.
inline int RunShell(const std::string& command) {
  int status = std::system(command.c_str());
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

using testing_support::HaveTool;

// The .Z file that `compress -b <bits>` makes of `data` (forced, so input
// that does not shrink is written too), or empty when the tool failed.
// `dir` is a scratch directory; names there are plain words.
inline std::string CompressZ(const std::string& dir, const std::string& name,
                             const std::string& data, int bits) {
  std::string plain = dir + "/" + name;
  std::string packed = plain + ".Z";
  WriteFile(plain, data);
  // Status 2 means "no saving": the output is written all the same.
  int status = RunShell("compress -f -b " + std::to_string(bits) + " -c '" + plain + "' > '" +
                        packed + "' 2>/dev/null");
  if (status != 0 && status != 2) return std::string();
  return ReadFile(packed);
}

// What `gzip -dc` makes of a .Z file; `ok` tells whether it succeeded.
inline std::string GunzipZ(const std::string& dir, const std::string& name,
                           const std::string& zbytes, bool& ok) {
  std::string packed = dir + "/" + name + ".gz-in.Z";
  std::string plain = dir + "/" + name + ".gz-out";
  WriteFile(packed, zbytes);
  ok = RunShell("gzip -dc '" + packed + "' > '" + plain + "' 2>/dev/null") == 0;
  return ReadFile(plain);
}

// What `compress -dc` makes of a .Z file; `ok` tells whether it succeeded.
inline std::string UncompressZ(const std::string& dir, const std::string& name,
                               const std::string& zbytes, bool& ok) {
  std::string packed = dir + "/" + name + ".d-in.Z";
  std::string plain = dir + "/" + name + ".d-out";
  WriteFile(packed, zbytes);
  ok = RunShell("compress -dc '" + packed + "' > '" + plain + "' 2>/dev/null") == 0;
  return ReadFile(plain);
}

}  // namespace lzw_samples

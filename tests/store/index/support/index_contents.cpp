#include "index_contents.h"

#include <cstdio>
#include <fstream>

namespace index_testing {

::testing::AssertionResult readAll(IndexFile& index, Contents& out) {
  out.clear();
  if (index.find("", 2) != 0) {
    if (index.damaged()) return ::testing::AssertionFailure() << "damaged before the first key";
    return ::testing::AssertionSuccess();
  }
  std::string previous;
  bool more = true;
  while (more) {
    std::string key = index.key();
    if (!out.empty() && key <= previous)
      return ::testing::AssertionFailure() << "key '" << key << "' after '" << previous << "'";
    std::vector<IndexEntry>& values = out[key];
    do {
      values.push_back(index.entry());
      more = index.next(true) == 0;
    } while (more && index.key() == key);
    if (!more && index.damaged()) return ::testing::AssertionFailure() << "damaged after '" << key << "'";
    previous = key;
  }
  for (const auto& [key, values] : out) {
    if (index.find(key, 1) != 0)
      return ::testing::AssertionFailure() << "'" << key << "' walked but not found";
    if (!(index.entry() == values.front()))
      return ::testing::AssertionFailure() << "'" << key << "' found with another value";
  }
  return ::testing::AssertionSuccess();
}

std::vector<DWORD> valuesOf(IndexFile& index, const std::string& key) {
  std::vector<DWORD> values;
  if (index.find(key, 1) != 0) return values;
  do values.push_back(index.entry().value);
  while (index.next(true) == 0 && index.key() == key);
  return values;
}

std::string fileBytes(const std::string& path, long offset, long length) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(0, std::ios::end);
  long size = static_cast<long>(in.tellg());
  if (offset >= size) return std::string();
  if (length < 0 || offset + length > size) length = size - offset;
  std::string bytes(static_cast<size_t>(length), '\0');
  in.seekg(offset);
  in.read(bytes.data(), length);
  return bytes;
}

void patchFile(const std::string& path, long offset, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "r+b");
  ASSERT_NE(f, nullptr) << path;
  std::fseek(f, offset, SEEK_SET);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string le16(int v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }

std::string le32(DWORD v) { return le16(static_cast<int>(v & 0xFFFF)) + le16(static_cast<int>(v >> 16)); }

std::string numberedKey(int n, size_t length) {
  char head[16];
  std::snprintf(head, sizeof head, "K%06d", n);
  std::string key(head);
  while (key.size() < length) key += static_cast<char>('a' + (key.size() + static_cast<size_t>(n)) % 26);
  key.resize(length);
  return key;
}

}  // namespace index_testing

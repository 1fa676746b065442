#include "text/string_hash_table.h"

#include <gtest/gtest.h>
#include <libelf.h>

#include <string>

#include "text/value_table.h"

namespace {

// For ASCII keys the hash is the System V ELF hash; libelf's is the oracle.
TEST(ElfHash, AgreesWithLibelfForAscii) {
  std::string key;
  for (int i = 0; i < 2000; ++i) {
    key.push_back(static_cast<char>(32 + (i * 37 + key.size() * 11) % 95));
    if (key.size() > 40) key.erase(0, 17);
    EXPECT_EQ(ElfHash(key), static_cast<std::uint32_t>(elf_hash(key.c_str()))) << key;
  }
  EXPECT_EQ(ElfHash(""), 0u);
}

TEST(ElfHash, HighBytesAddAsSignedCharacters) {
  // h starts from -23 taken as unsigned; its top bits are then folded in.
  const std::uint32_t h = static_cast<std::uint32_t>(-23);
  EXPECT_EQ(ElfHash("\xe9"), (h ^ (h & 0xF0000000u) >> 24) ^ (h & 0xF0000000u));
  EXPECT_NE(ElfHash("\xe9"), static_cast<std::uint32_t>(elf_hash("\xe9")));
}

TEST(StringHashTable, Operations) {
  StringHashTable<int> t(53);
  EXPECT_EQ(t.Hash("A"), 12);
  t.Insert("a", 1);
  t.Insert("A", 2);
  t.Insert("A", 3);
  EXPECT_EQ(t.Count(), 3);
  EXPECT_EQ(t.Find("a")->value, 1);
  EXPECT_EQ(t.Find("A")->value, 3);
  t.Insert("", 4);
  EXPECT_EQ(t.Hash(""), 0);
  EXPECT_EQ(t.Find("")->value, 4);
  auto removed = t.Remove("A");
  ASSERT_NE(removed, nullptr);
  EXPECT_EQ(t.Count(), 3);
  EXPECT_EQ(t.Find("A"), nullptr);
  EXPECT_EQ(t.Remove("A"), nullptr);
  int seen = 0;
  t.ForEach([&](auto&) { ++seen; });
  EXPECT_EQ(seen, 2);
  t.Clear();
  EXPECT_EQ(t.First(), nullptr);
}

TEST(ValueTable, LaterValueIsFound) {
  ValueTable v;
  v.Add("HREF", "a", 0);
  v.Add("HREF", "b", 0);
  EXPECT_EQ(v.Lookup("HREF")->value.str(), "b");
  EXPECT_EQ(v.Count(), 2);
  EXPECT_EQ(v.Lookup("href"), nullptr);
}

}  // namespace

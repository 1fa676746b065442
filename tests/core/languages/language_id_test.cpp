#include "core/language_id.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(LanguageId, Table) {
  const std::vector<std::pair<int, const char*>> expected = {
      {3, "dan"},  {4, "deu"},  {5, "eng"},  {6, "enu"},  {7, "esn"},
      {8, "esp"},  {9, "fin"},  {10, "fra"}, {11, "frc"}, {12, "isl"},
      {13, "ita"}, {14, "nld"}, {15, "nor"}, {16, "ptg"}, {17, "sve"},
  };
  ASSERT_EQ(LanguageId::tableSize(), static_cast<int>(expected.size()));
  for (int i = 0; i < LanguageId::tableSize(); ++i) {
    EXPECT_EQ(LanguageId::idAt(i), expected[i].first);
    EXPECT_STREQ(LanguageId::abbreviationAt(i), expected[i].second);
  }
  EXPECT_EQ(LanguageId::idAt(-1), 0);
  EXPECT_STREQ(LanguageId::abbreviationAt(LanguageId::tableSize()), "");
  EXPECT_EQ(dictionaryLanguage.id(), 6);
}

TEST(LanguageId, FromCode) {
  const std::vector<std::pair<const char*, int>> cases = {
      {"ENGLISH", 5}, {"eng", 5}, {"deu", 4}, {"Sve", 17}, {"xyz", 4},
      {"en", 4},      {"", 4},    {"nl", 4},  {"nld", 14},
  };
  for (const auto& [code, id] : cases) {
    LanguageId l(10);
    EXPECT_EQ(l.FromCode(code), id) << code;
    EXPECT_EQ(l.id(), id) << code;
  }
  LanguageId l(10);
  EXPECT_EQ(l.FromCode(nullptr), 10);
  EXPECT_EQ(l.id(), 10);
}

TEST(LanguageId, IndexOf) {
  LanguageId l(13);
  EXPECT_EQ(l.IndexOf(3), 0);
  EXPECT_EQ(l.IndexOf(17), 14);
  EXPECT_EQ(l.IndexOf(LanguageId::kSelf), 10);  // ita
  EXPECT_EQ(l.IndexOf(99), 1);                  // the default, deu
  EXPECT_EQ(l.IndexOf(0), 1);
  LanguageId unknown(42);
  EXPECT_EQ(unknown.IndexOf(LanguageId::kSelf), 1);
}

struct FileNameCase {
  const char* base;
  int size;
  int id;
  int result;
  const char* name;  // the buffer afterwards
};

TEST(LanguageId, MakeFileName) {
  const std::vector<FileNameCase> cases = {
      {"PHONEM.", 12, 4, 10, "PHONEM.deu"},
      {"PHONEM.", 11, 4, -1, "PHONEM."},
      {"SUFFIX.", 64, 5, 10, "SUFFIX.eng"},
      {"SUFFIX.", 64, 99, 10, "SUFFIX.deu"},
      {"SUFFIX.", 64, LanguageId::kSelf, 10, "SUFFIX.ita"},
      {"", 5, 6, 3, "enu"},
      {"", 4, 6, -1, ""},
  };
  const LanguageId l(13);
  for (const FileNameCase& c : cases) {
    char buffer[64] = {};
    std::strcpy(buffer, c.base);
    EXPECT_EQ(l.MakeFileName(buffer, c.size, c.id), c.result) << c.base << " " << c.size;
    EXPECT_STREQ(buffer, c.name) << c.base << " " << c.size;
  }
  EXPECT_EQ(l.MakeFileName(nullptr, 12, 4), -1);
  char buffer[4] = {'a', 'b', 'c', 'd'};  // no NUL within the size given
  EXPECT_EQ(l.MakeFileName(buffer, 4, 4), -1);
  EXPECT_EQ(l.MakeFileName(buffer, 0, 4), -1);
}

}  // namespace

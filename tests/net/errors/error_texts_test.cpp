#include "net/error_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string S(const CString& s) { return std::string(static_cast<const char*>(s)); }

TEST(ErrorTexts, ErrorTextByClass) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {0, "no error"},
      {1, "access denied"},
      {31, "wrong password"},
      {36, "user break"},
      {41, "user limit reached"},
      {511, "undefined error"},
      {32, "unknown error! Code: 32"},  // a gap in the server's table
      {300, "unknown error! Code: 300"},
      {0x0203, "Fulltext error: no descriptions yet"},
      {512, "Fulltext error: no descriptions yet"},  // class 2 before the server table
      {0x0405, "Document Cache error: Bad request"},
      {0x0400, "Document Cache error: No Error"},
      {0x04C8, "Document Cache error: No description available"},  // number 200
      {0x0300, "unknown error! Code: 768"},
      {0x0500, "unknown error! Code: 1280"},
      {0x0700, "unknown error! Code: 1792"},
      {-1, "unknown error! Code: -1"},
  };
  for (const auto& c : cases) EXPECT_EQ(S(errorText(c.code)), c.text) << c.code;
}

TEST(ErrorTexts, ServerTextsOfTheHighCodes) {
  EXPECT_EQ(S(serverErrorText(511)), "undefined error");
  EXPECT_EQ(S(serverErrorText(512)), "error in fulltext server");
  EXPECT_EQ(S(serverErrorText(1024)), "error in document server");
  EXPECT_EQ(S(serverErrorText(40)), "reorganization in progress, try again later");
  EXPECT_EQ(S(serverErrorText(33)), "unknown error! Code: 33");
  EXPECT_EQ(S(serverErrorText(-7)), "unknown error! Code: -7");
}

TEST(DocumentCacheErrorTexts, RowsAndLanguageColumns) {
  const struct {
    int code;
    int language;
    const char* text;
  } cases[] = {
      {0, 0, "No Error"},
      {0, 1, "Kein Fehler"},
      {5, 1, "Nix verstehen"},
      {37, 0, "Do not know what to read"},
      {37, 1, ""},  // the German text is empty, not the English one
      {49, 1, "Freeze lock am Lokalen Speicher gesetzt, kann nicht einfuegen"},
      {50, 0, "No description available"},
      {200, 0, "No description available"},
      {200, 1, "Keine Beschreibung vorhanden"},
      {0x0416, 0, "Received too much data"},  // the number is the low byte
      {14, 2, "Cannot open file"},            // columns 2-7 hold no texts
      {14, 7, "Cannot open file"},
      {14, 8, "Cannot open file"},  // outside the table: English
      {14, -1, "Cannot open file"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(std::string(DocumentCacheError::text(c.code, c.language)), c.text)
        << c.code << " in language " << c.language;
}

TEST(DocumentCacheErrorTexts, TheErrorObject) {
  DocumentCacheError e(0x0405);
  const DocumentCacheError& base = e;
  EXPECT_EQ(base.errorClass(), 4);
  EXPECT_EQ(std::string(base.className()), "Document Cache Error");
  EXPECT_EQ(std::string(base.text(1)), "Nix verstehen");
  EXPECT_FALSE(base.ok());
  EXPECT_TRUE(DocumentCacheError(0x0400).ok());
  EXPECT_EQ(base.reserved(), 0);
}

}  // namespace

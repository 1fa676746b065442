// Dictionary entries: bodies stored without a size, whose text runs up to
// the end mark "\n@1" and is handed out up to and including that mark's
// newline, whatever the size of the pieces the reader asks for.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/store.h"
#include "store/localdb/local_database.h"
#include "support/local_db.h"

namespace {

using localdb_testing::LocalDb;

class LocalEntries : public ::testing::Test {
 protected:
  // Appends the bytes to the data set's text bodies; their position.
  std::uint32_t Append(const std::string& bytes) {
    KeyedStore& store = *local.db().keyedStore();
    WriteItem write;
    EXPECT_TRUE(store.openAppend(local.db().defaultDataSet(), WriteItem::kTextBodies, write));
    EXPECT_TRUE(store.append(write, bytes.data(), static_cast<long>(bytes.size())));
    store.close(write);
    return write.position;
  }
  // A text document whose body is the entry at `position` (no size).
  Ref<KXObject> Entry(std::uint32_t position) {
    Ref<KXObject> doc = local.insert("Type=Document\nDocumentType=text\nName=entry" + std::to_string(++made) +
                                         "\nTitle=en:An entry\n",
                                     shelf);
    char path[32];
    std::snprintf(path, sizeof path, "Path=LD0x%08x", static_cast<unsigned>(position));
    EXPECT_TRUE(local.db().modifyAttributes(doc, "Path", path));
    return doc;
  }
  std::string Read(StoreEntry* request, int piece) {
    std::string out;
    std::vector<char> buffer(static_cast<size_t>(piece));
    for (int n; (n = local.db().readRequest(request, buffer.data(), piece)) > 0;) out.append(buffer.data(), n);
    return out;
  }
  std::string ReadAll(const Ref<KXObject>& doc, int piece) {
    StoreEntry* request = local.db().openRequest(doc, kRequestRead, nullptr, CString());
    if (!request) return "<none>";
    std::string out = Read(request, piece);
    local.db().closeRequest(request);
    return out;
  }

  LocalDb local;
  Ref<KXObject> shelf = local.collection("shelf", nullptr);
  int made = 0;
};

TEST_F(LocalEntries, AnEntryEndsAtItsMarkInPiecesOfAnySize) {
  const std::string first = "Lion\nA large cat of the grasslands.\n";
  const std::string second = "Lynx\r\nA cat with tufted ears.\r\n";
  const std::uint32_t at = Append(first + "@1\n" + second + "@1\nOwl\n");
  const Ref<KXObject> lion = Entry(at);
  const Ref<KXObject> lynx = Entry(at + static_cast<std::uint32_t>(first.size() + 3));
  for (int piece : {1, 2, 3, 4, 5, 7, 36, 37, 38, 39, 200}) {
    EXPECT_EQ(ReadAll(lion, piece), first) << piece;
    // Carriage returns become newlines, the mark's among them.
    EXPECT_EQ(ReadAll(lynx, piece), "Lynx\n\nA cat with tufted ears.\n\n") << piece;
  }
}

TEST_F(LocalEntries, WhatLooksLikeAMarkButIsNotOneStaysText) {
  struct Case {
    const char* stored;
    const char* read;
  } cases[] = {
      // A newline at the entry's first byte does not end it.
      {"\n@1 first\n@1\n", "\n@1 first\n"},
      {"a@1\nb\n@2\n@\nc\n@1", "a@1\nb\n@2\n@\nc\n"},
      // Without a mark the entry runs to the end of the data.
      {"tail without a mark\n@", "tail without a mark\n@"},
  };
  for (const Case& c : cases) {
    const Ref<KXObject> doc = Entry(Append(c.stored));
    for (int piece : {1, 2, 3, 100}) EXPECT_EQ(ReadAll(doc, piece), c.read) << c.stored << " / " << piece;
  }
}

TEST_F(LocalEntries, EachReadingKeepsItsOwnEnd) {
  const std::uint32_t at = Append("one\n@1\n");
  const std::uint32_t other = Append("two, longer\n@1\n");
  StoreEntry* a = local.db().openRequest(Entry(at), kRequestRead, nullptr, CString());
  StoreEntry* b = local.db().openRequest(Entry(other), kRequestRead, nullptr, CString());
  ASSERT_TRUE(a && b);
  char piece[4];
  ASSERT_EQ(local.db().readRequest(b, piece, sizeof piece), 4);
  // The first entry is read to its end while the second is half read; the
  // second goes on from where it stopped.
  EXPECT_EQ(Read(a, 3), "one\n");
  EXPECT_EQ(std::string(piece, 4) + Read(b, 3), "two, longer\n");
  EXPECT_EQ(local.db().readRequest(a, piece, sizeof piece), 0);
  local.db().closeRequest(a);
  local.db().closeRequest(b);
}

}  // namespace

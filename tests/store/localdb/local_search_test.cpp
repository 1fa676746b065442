// Query texts, attribute queries, document bodies and full-text search.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/localdb/local_database.h"
#include "store/localdb/query_expr.h"
#include "support/local_db.h"
#include "win/user.h"

namespace {

using localdb::describeQuery;
using localdb::parseQuery;
using localdb::prepareQuery;
using localdb::QueryMode;
using localdb_testing::LocalDb;
using Names = std::vector<std::string>;

TEST(LocalQueryText, AttributeQueriesBecomeTreesOfKeys) {
  struct Case {
    const char* text;
    const char* tree;
  } cases[] = {
      {"Title=en:Haus|Baum&Keyword=x", "(TITLE=ENHAUS|(TITLE=ENBAUM&KEYWORD=X))"},
      {"NAME=A B", "(NAME=A&NAME=B)"},
      {"TITLE=(EN:X|Y)", "(TITLE=ENX|TITLE=ENY)"},
      {"(Title=en:moon||Keyword=moon)&&Author=ann", "((TITLE=ENMOON|KEYWORD=MOON)&AUTHOR=ANN)"},
      {"KEYWORD=X&!KEYWORD=Y", "(KEYWORD=X&!KEYWORD=Y)"},
      {"!Keyword=y", "!KEYWORD=Y"},
      {"!(Keyword=a|Keyword=b)&Name=c", "(!(KEYWORD=A|KEYWORD=B)&NAME=C)"},
      {"Name=mer*", "NAME=MER*"},
      {"Name=a*1", "NAME=A1"},
      {"Name=a-b", "NAME=A-B"},
      {"plain words", ""},
      {"Title=&Auml;pfel", "TITLE=\xC4PFEL"},
  };
  for (const Case& c : cases) {
    localdb::ParsedQuery q = parseQuery(prepareQuery(c.text), QueryMode::kAttributes);
    EXPECT_EQ(q.error, "") << c.text;
    EXPECT_EQ(describeQuery(q.root.get()), c.tree) << c.text;
  }
}

TEST(LocalQueryText, FullTextTermsNeedTheirLanguage) {
  struct Case {
    const char* text;
    const char* tree;
  } cases[] = {
      {"en:haus|baum", "(ENHAUS|ENBAUM)"},
      {"crater en:moon", "ENMOON"},
      {"en:a&!b", "(ENA&!ENB)"},
  };
  for (const Case& c : cases) {
    localdb::ParsedQuery q = parseQuery(prepareQuery(c.text), QueryMode::kFullText);
    EXPECT_EQ(describeQuery(q.root.get()), c.tree) << c.text;
  }
}

TEST(LocalQueryText, BrokenOrOversizedQueriesAreRefused) {
  const std::string deep = std::string(40, '(') + "Name=x" + std::string(40, ')');
  std::string many;
  for (int i = 0; i < 300; ++i) many += "Name=x" + std::to_string(i) + " ";
  const std::string cases[] = {"(Name=x", "Name=x)", deep, many, std::string(5000, 'a')};
  for (const std::string& c : cases)
    EXPECT_NE(parseQuery(prepareQuery(c), QueryMode::kAttributes).error, "") << c.substr(0, 40);
  // A long term is cut, not copied past its end.
  localdb::ParsedQuery q = parseQuery(prepareQuery("Name=" + std::string(500, 'q')), QueryMode::kAttributes);
  ASSERT_TRUE(q.root);
  EXPECT_EQ(q.root->term.size(), localdb::kMaxTermBytes);
}

class LocalSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    shelf = local.collection("shelf", nullptr);
    earth = local.insert("Type=Document\nDocumentType=text\nName=earth\nTitle=en:The Earth\nTitle=ge:Die Erde\n"
                         "Keyword=planet\nKeyword=moon\nAuthor=ann\n", shelf);
    mars = local.insert("Type=Document\nDocumentType=text\nName=mars\nTitle=en:Mars\nKeyword=planet\nAuthor=bob\n",
                        shelf);
    moon = local.insert("Type=Document\nDocumentType=text\nName=moon\nTitle=en:The Moon\nKeyword=satellite\n", shelf);
  }
  Names query(const std::string& text) { return local.names(nullptr, kRequestKeyQuery, text); }
  Names search(const std::string& text) { return local.names(nullptr, kRequestFullText, text); }

  LocalDb local;
  Ref<KXObject> shelf, earth, mars, moon;
};

TEST_F(LocalSearch, AttributeQueriesCombineTerms) {
  struct Case {
    const char* text;
    Names names;
  } cases[] = {
      {"Keyword=planet", {"earth", "mars"}},
      {"Title=en:the", {"earth", "moon"}},
      {"Title=ge:erde", {"earth"}},
      {"(Title=en:moon||Keyword=moon)&&Author=ann", {"earth"}},
      {"Title=en:moon||Keyword=moon&&Author=ann", {"earth", "moon"}},
      {"Keyword=planet&!Author=bob", {"earth"}},
      {"!Keyword=planet", {"shelf", "moon"}},
      {"Name=ma*", {"mars"}},
      {"Name=*", {}},
      {"", {}},
      {"just words", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(query(c.text), c.names) << c.text;
}

TEST_F(LocalSearch, AQueryThatCannotBeReadIsRefusedWithAMessage) {
  win::ClearMessageBoxLog();
  StoreEntry* entry = local.db().openRequest(nullptr, kRequestKeyQuery, nullptr, "(Keyword=planet");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->announcedSize, 0);
  local.db().closeRequest(entry);
  EXPECT_EQ(win::MessageBoxLog().size(), 1u);
}

TEST_F(LocalSearch, BodiesAreStoredReadBackAndSearched) {
  const std::string text = "Craters of the <b>Moon</b>\r\nand Gr\xF6\xDF" "e of <a href=\"x\">seas</a>\nlast line";
  ASSERT_TRUE(local.storeBody(moon, text, 7));
  const std::string moonId = moon->getObjectIdText().str();
  shelf = earth = mars = moon = nullptr;
  local.reopen();
  Ref<KXObject> again = local.fetch(moonId);
  ASSERT_TRUE(again);
  std::string expected = text;
  for (char& c : expected)
    if (c == '\r') c = '\n';
  EXPECT_EQ(local.body(again), expected);
  const std::string record = local.db().getRecord(CString(moonId)).str();
  EXPECT_EQ(record.find("Path="), record.rfind("Path=")) << "one body line";
  struct Case {
    const char* text;
    Names names;
  } cases[] = {
      {"en:craters", {"moon"}},
      {"en:crater", {"moon"}},      // a stem of an indexed word
      {"en:groesse|en:grosse", {"moon"}},  // folded
      {"en:kraters", {"moon"}},            // sounds alike
      {"en:seas&en:moon", {"moon"}},
      {"en:href", {}},  // inside a tag
      {"en:line", {"moon"}},  // the last line, indexed at the close
      {"en:craters&!en:seas", {}},
      {"craters", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(search(c.text), c.names) << c.text;
}

TEST_F(LocalSearch, WordsWrittenWithCharacterReferencesAreFoundByTheirLetters) {
  // The reference split across two writes, and one the client does not know.
  ASSERT_TRUE(local.storeBody(moon, "Das Licht wird zur&uuml;ckgeworfen, <b>H&ouml;ren</b> &nosuch; Ende\n", 20));
  struct Case {
    const char* text;
    Names names;
  } cases[] = {
      {"en:zur\xFC" "ckgeworfen", {"moon"}},
      {"en:h\xF6ren", {"moon"}},
      {"en:uuml", {}},
      {"en:ende", {"moon"}},
  };
  for (const Case& c : cases) EXPECT_EQ(search(c.text), c.names) << c.text;
  // The body itself is kept as it was written.
  EXPECT_EQ(local.body(moon), "Das Licht wird zur&uuml;ckgeworfen, <b>H&ouml;ren</b> &nosuch; Ende\n");
}

TEST_F(LocalSearch, ABinaryBodyKeepsItsBytes) {
  Ref<KXObject> picture = local.insert("Type=Document\nDocumentType=Image\nName=pic\n", shelf);
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(i * 7);
  ASSERT_TRUE(local.storeBody(picture, bytes, 1024));
  EXPECT_EQ(local.body(picture), bytes);
  // A document whose body was never stored reads as empty.
  EXPECT_EQ(local.body(mars), "");
  // Storing again replaces what is read.
  ASSERT_TRUE(local.storeBody(picture, "second", 3));
  EXPECT_EQ(local.body(picture), "second");
}

TEST_F(LocalSearch, RemoteDocumentsAreNotRead) {
  Ref<KXObject> remote = local.insert(
      "Type=Document\nDocumentType=Remote\nName=www\nProtocol=http\nHost=www.example.org\nPort=80\nPath=a b.html\n",
      shelf);
  win::ClearMessageBoxLog();
  EXPECT_EQ(local.body(remote), "<none>");
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].caption, "Local Database Error");
  EXPECT_NE(win::MessageBoxLog()[0].text.find("http://www.example.org:80/a%20b.html"), std::string::npos);
}

}  // namespace

// Index terms made from attribute values, through the registry's dispatch
// by attribute name and through the term makers themselves.
#include "core/attr_terms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/type_registry.h"

namespace {

using Terms = std::vector<std::string>;

Terms termsOf(const SortedStringArray& a) {
  Terms out;
  for (int i = 0; i < a.count(); ++i) out.push_back(a.at(i).c_str());
  return out;
}

struct DispatchCase {
  const char* name;
  const char* value;
  Terms terms;  // sorted, as the array keeps them
};

TEST(TypeRegistryDispatch, TermsByAttribute) {
  const std::vector<DispatchCase> cases = {
      {"Author", "system", {}},
      {"Author", "alice smith", {"alice"}},
      {"Author", "  alice", {"alice"}},
      {"Author", "systems", {"systems"}},
      {"Group", "staff members", {"Sstaff"}},
      {"UGroup", "editors", {"Geditors"}},
      {"UName", "bob x", {"Ubob"}},
      {"UServer", "srv.example", {"Wsrv.example"}},
      {"UName", "   ", {}},
      {"Name", "first second", {"first"}},
      {"Host", "a@b", {"Ha"}},
      {"Host", "@@ host.example rest", {"Hhost.example"}},
      {"Title", "en:The Big-Bang", {"enBang", "enBig", "enThe"}},
      {"Title", "The Big Bang", {}},
      {"Title", "EN:x", {"ENx"}},
      {"Title", "en:", {}},
      {"Title", "en:caf&eacute; au lait", {"enau", "encaf\xe9", "enlait"}},
      {"Hint", "word", {"word"}},
      {"Hint", "kind en:two words", {"ENtwo", "ENwords"}},
      {"Hint", "kind plain text", {"plain", "text"}},
      {"Hint", "kind   ...", {}},
      {"Keyword", "a&amp;b, c", {"a&b", "c"}},
      {"Keyword", "x;y(z)[w]|v`u", {"u", "v", "w", "x", "y", "z"}},
      {"RemoteID", "0x0000002a 0x00000007", {"R0000002a00000007"}},
      {"RemoteID", "0x0000002a 0x0000007", {}},
      {"RemoteID", "0x0000002a 0x000000071", {}},
      {"RemoteID", "0x0000002a_0x00000007", {}},
      {"Repl", "a b&amp;c", {"a b&amp;c"}},
      {"TimeCreated", "96/05/01 10:00:00", {"96/05/01 10:00:00"}},
      {"TimeModified", "96/05/01 10:00:00", {"96/05/01 10:00:00"}},
      {"Path", "some/path", {}},
      {"Title=", "en:x", {}},
      {"title", "en:x", {}},
      {"Author", "", {}},
  };
  for (const DispatchCase& c : cases) {
    SortedStringArray terms;
    const int n = TypeRegistry::Dispatch(c.name, c.value, terms);
    EXPECT_EQ(termsOf(terms), c.terms) << c.name << " = '" << c.value << "'";
    EXPECT_EQ(n, static_cast<int>(c.terms.size())) << c.name << " = '" << c.value << "'";
  }
}

TEST(TypeRegistryDispatch, CountIncludesEarlierTerms) {
  SortedStringArray terms;
  terms.Insert("enBig");
  terms.Insert("zzz");
  EXPECT_EQ(TypeRegistry::Dispatch("Title", "en:Big Bang", terms), 3);
  EXPECT_EQ(termsOf(terms), (Terms{"enBang", "enBig", "zzz"}));
  // No term found: the count the array had.
  EXPECT_EQ(TypeRegistry::Dispatch("Title", "untagged", terms), 3);
  // Not dispatched at all: 0, array unchanged.
  EXPECT_EQ(TypeRegistry::Dispatch("Path", "x", terms), 0);
  EXPECT_EQ(TypeRegistry::Dispatch("Title", "", terms), 0);
  EXPECT_EQ(terms.count(), 3);
}

TEST(TypeRegistryTable, NamesAndMakersLineUp) {
  const Terms expected = {"Author",      "Group",        "Hint",  "Host",   "Keyword",
                          "Name",        "RemoteID",     "Repl",  "TimeCreated",
                          "TimeModified", "Title",       "UGroup", "UName", "UServer"};
  ASSERT_NE(TypeRegistry::attributeNames(), nullptr);
  EXPECT_EQ(termsOf(*TypeRegistry::attributeNames()), expected);
  for (const std::string& name : expected) {
    const AttributeTermMaker* maker = TypeRegistry::findTermMaker(name.c_str());
    ASSERT_NE(maker, nullptr) << name;
    ASSERT_NE(maker->attributeName(), nullptr);
    EXPECT_EQ(*maker->attributeName(), name.c_str());
  }
  EXPECT_EQ(TypeRegistry::findTermMaker("Path"), nullptr);
}

TEST(AttributeTermMakers, IndexNames) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"Author", "Author"},   {"Group", "UName"},          {"Hint", "Hint"},
      {"Host", "UName"},      {"Keyword", "Keyword"},      {"Name", "Name"},
      {"RemoteID", "UName"},  {"Repl", "Repl"},            {"TimeCreated", "TimeCreated"},
      {"TimeModified", "TimeCreated"}, {"Title", "Title"}, {"UGroup", "UName"},
      {"UName", "UName"},     {"UServer", "UName"},
  };
  for (const auto& [attribute, index] : cases) {
    const AttributeTermMaker* maker = TypeRegistry::findTermMaker(attribute);
    ASSERT_NE(maker, nullptr) << attribute;
    ASSERT_NE(maker->indexName(), nullptr) << attribute;
    EXPECT_EQ(*maker->indexName(), index) << attribute;
  }
}

TEST(AttributeTermMakers, RemoteIdQueryTerms) {
  const std::vector<std::pair<const char*, Terms>> cases = {
      {"0x0000002a 0x00000007", {"R0000002a00000007"}},
      {"0x0000002a 0x000000071", {"R0000002a000000071"}},
      {"0x0000002a", {"R0000002a"}},
      {"0x0000002a 0x0000007", {"R0000002a 0x0000007"}},
      {"0x000002a", {}},
      {"1x0000002a", {}},
  };
  RemoteIDTermMaker maker;
  for (const auto& [value, expected] : cases) {
    SortedStringArray terms;
    maker.makeQueryTerms(value, terms);
    EXPECT_EQ(termsOf(terms), expected) << value;
  }
  // Other makers look up by their own terms.
  ReplTermMaker repl;
  SortedStringArray terms;
  EXPECT_EQ(repl.makeQueryTerms("r1", terms), 1);
  EXPECT_EQ(terms.at(0), "r1");
}

}  // namespace

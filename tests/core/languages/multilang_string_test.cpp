// Multi-language strings: adding parts, choosing the part to show by the
// language order, the title attribute lines and the comparisons.
#include "core/multilang_string.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> partsOf(const MultiLangString& s) {
  std::vector<std::string> out;
  for (int i = 0; i < s.count(); ++i) out.push_back(s.parts().at(i).c_str());
  return out;
}

MultiLangString fromParts(const std::vector<const char*>& parts) {
  MultiLangString s;
  for (const char* p : parts) s.AddParts(p);
  return s;
}

struct ChooseCase {
  const char* order;  // setOrder, or "" for the default order
  std::vector<const char*> parts;
  const char* text;
  const char* code;
};

TEST(MultiLangStringText, ChosenByTheOrder) {
  const std::vector<ChooseCase> cases = {
      {"", {"en:Home", "ge:Heim"}, "Home", "en"},
      {"", {"ge:Heim", "??:Logo"}, "Logo", "??"},
      {"", {"fr:Maison", "ge:Heim"}, "Heim", "ge"},
      {"", {"en:Home", "??:Logo"}, "Home", "en"},
      {"", {"xx:Nothing", "yy:Else"}, "", ""},
      {"", {"xx:Nothing", "??:Any"}, "Any", "??"},
      {"", {"Plain"}, "Plain", "??"},        // AddParts gives it "??:"
      {"", {"??:First", "??:Second", "fr:Maison"}, "Second", "??"},
      {"", {"en:Caf&eacute;"}, "Caf\xe9", "en"},
      {"", {}, "", ""},
      {"frge", {"ge:Heim", "fr:Maison"}, "Maison", "fr"},
      {"frge", {"en:Home", "ge:Heim"}, "Heim", "ge"},
      {"frge", {"en:Home", "jp:Uchi"}, "", ""},  // inactive languages
      {"frge", {"en:Home", "??:Logo"}, "Logo", "??"},
  };
  for (const ChooseCase& c : cases) {
    Languages l;
    if (*c.order) {
      ASSERT_TRUE(l.setOrder(c.order));
    }
    const MultiLangString s = fromParts(c.parts);
    EXPECT_EQ(s.Text(&l), c.text) << c.order << " / " << (c.parts.empty() ? "" : c.parts[0]);
    EXPECT_EQ(l.lastText(), c.text);
    EXPECT_EQ(l.lastCode(), c.code) << c.order << " / " << (c.parts.empty() ? "" : c.parts[0]);
  }
}

// Parts that did not come through AddParts (an object's titles): a part
// without a code is an any-language text, the first of them is kept.
TEST(MultiLangStringText, RawPartsWithoutCode) {
  const std::vector<std::pair<std::vector<const char*>, const char*>> cases = {
      {{"Bare", "ge:Heim"}, "Bare"},
      {{"A", "Bare", "fr:Maison"}, "A"},
      {{"Bare", "en:Home"}, "Home"},
      {{"Bare", "xx:Other"}, "Bare"},
  };
  for (const auto& [parts, text] : cases) {
    Languages l;
    SortedStringArray raw;
    for (const char* p : parts) raw.Insert(p);
    CString out;
    l.choose(out, raw);
    EXPECT_EQ(out, text) << parts[0];
  }
}

// A choice with nothing to choose does not report the code of the one
// before it.
TEST(MultiLangStringText, CodeIsNotLeftOverFromAnEarlierChoice) {
  Languages l;
  fromParts({"ge:Heim"}).Text(&l);
  EXPECT_EQ(l.lastCode(), "ge");
  fromParts({"xx:Nothing"}).Text(&l);
  EXPECT_EQ(l.lastCode(), "");
}

TEST(MultiLangStringParts, AddParts) {
  const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
      {"Home | ge:Heim|x", {"??:Home ", "ge:Heim"}},
      {"en:a|en:a|  en:a", {"en:a"}},
      {"||| |", {}},
      {"ab", {}},
      {"abc", {"??:abc"}},
      {"en:", {"en:"}},
      {"ge:Heim|fr:Maison|??:Logo", {"??:Logo", "fr:Maison", "ge:Heim"}},
      {"", {}},
  };
  for (const auto& [text, parts] : cases) {
    MultiLangString s;
    s.AddParts(text);
    EXPECT_EQ(partsOf(s), parts) << "'" << text << "'";
  }
  MultiLangString s;
  s.AddParts(nullptr);
  EXPECT_EQ(s.count(), 0);
}

TEST(MultiLangStringParts, Compose) {
  const MultiLangString s =
      MultiLangString::Compose("en:No matching object found!", "ge:Kein passendes Objekt gefunden!");
  EXPECT_EQ(partsOf(s), (std::vector<std::string>{"en:No matching object found!",
                                                  "ge:Kein passendes Objekt gefunden!"}));
  const MultiLangString six =
      MultiLangString::Compose("en:1", "ge:2", "", nullptr, "fr:5|it:5", "sp:6");
  EXPECT_EQ(partsOf(six),
            (std::vector<std::string>{"en:1", "fr:5", "ge:2", "it:5", "sp:6"}));
}

TEST(MultiLangStringParts, TitleAttributes) {
  EXPECT_EQ(fromParts({"ge:Heim|Logo|en:Home"}).TitleAttributes(),
            "Title=??:Logo\nTitle=en:Home\nTitle=ge:Heim\n");
  EXPECT_EQ(MultiLangString().TitleAttributes(), "");
  // A line break inside a part would smuggle another attribute into the
  // record.
  EXPECT_EQ(fromParts({"en:Home\nRights=W:all\r"}).TitleAttributes(),
            "Title=en:Home Rights=W:all \n");
}

// These use the program's list, in its default order unless set here.
class MultiLangStringProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Languages::instance(), nullptr);
    saved_ = *Languages::instance();
  }
  void TearDown() override { *Languages::instance() = saved_; }
  Languages saved_;
};

TEST_F(MultiLangStringProgram, TextAndComparisons) {
  const MultiLangString home = MultiLangString::Compose("en:Home", "ge:Heim");
  const MultiLangString house = MultiLangString::Compose("en:House", "ge:Heim");
  EXPECT_EQ(home.Text(), "Home");
  EXPECT_STREQ(home.CStr(), "Home");
  EXPECT_TRUE(home == "Home");
  EXPECT_FALSE(home == "Heim");
  EXPECT_TRUE(home != house);

  ASSERT_TRUE(Languages::instance()->setOrder("geen"));
  EXPECT_EQ(home.Text(), "Heim");
  EXPECT_TRUE(home == "Heim");
  EXPECT_FALSE(home != house);  // both show "Heim"
  EXPECT_STREQ(house.CStr(), "Heim");
}

}  // namespace

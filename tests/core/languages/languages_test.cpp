// The language list: its table, ranks, preference changes, the order string
// and the reading of the "LanguageOrder" setting.
#include "core/languages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string order(const Languages& l) { return l.orderString().c_str(); }

TEST(Languages, DefaultTable) {
  Languages l;
  const char* codes[] = {"en", "ge", "fr", "st", "it", "sp", "kr", "jp"};
  const char* names[] = {"English", "German",  "French", "Styrian",
                         "Italian", "Spanish", "Korean", "Japanese"};
  ASSERT_EQ(l.count(), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(l.indexOf(codes[i]), i);
    EXPECT_EQ(l.name(codes[i]), names[i]);
    EXPECT_EQ(l.rank(codes[i]), i);
    EXPECT_EQ(l.codeAtRank(i), codes[i]);
    EXPECT_TRUE(l.isActive(i));
  }
  EXPECT_EQ(order(l), "engefrstitspkrjp");
  EXPECT_EQ(l.indexOf("EN"), -1);
  EXPECT_EQ(l.indexOf("xx"), -1);
  EXPECT_EQ(l.indexOf(nullptr), -1);
  EXPECT_EQ(l.name("xx"), "");
  EXPECT_EQ(l.rank("xx"), Languages::kUnranked);
  EXPECT_EQ(l.codeAtRank(8), "");
  EXPECT_EQ(l.codeAtRank(-1), "");
}

TEST(Languages, AddUpToTen) {
  Languages l;
  EXPECT_EQ(l.add("en", "Again", true), 8);  // known: count unchanged
  EXPECT_EQ(l.name("en"), "English");
  EXPECT_EQ(l.add("nl", "Dutch", true), 9);
  EXPECT_EQ(l.rank("nl"), 8);
  EXPECT_EQ(l.add("pt", "Portuguese", false), 10);
  EXPECT_EQ(l.rank("pt"), Languages::kUnranked);  // inactive
  EXPECT_EQ(l.add("da", "Danish", true), 0);      // eleventh
  EXPECT_EQ(l.indexOf("da"), -1);
  EXPECT_EQ(l.count(), 10);
  EXPECT_EQ(order(l), "engefrstitspkrjpnl");

  Languages m;
  for (const char* bad : {"", "e", "eng", static_cast<const char*>(nullptr)})
    EXPECT_EQ(m.add(bad, "Bad", true), 0) << (bad ? bad : "(null)");
  EXPECT_EQ(m.count(), 8);
}

struct PreferCase {
  const char* setup;  // setOrder first, unless empty
  const char* code;
  bool ok;
  const char* order;
};

TEST(Languages, Prefer) {
  const std::vector<PreferCase> cases = {
      {"", "fr", true, "frengestitspkrjp"},
      {"", "en", true, "engefrstitspkrjp"},
      {"", "jp", true, "jpengefrstitspkr"},
      {"", "xx", false, "engefrstitspkrjp"},
      // An inactive language comes first and takes part again.
      {"frge", "st", true, "stfrge"},
      {"frge", "en", true, "enfrge"},
      {"frge", "ge", true, "gefr"},
  };
  for (const PreferCase& c : cases) {
    Languages l;
    if (*c.setup) {
      ASSERT_TRUE(l.setOrder(c.setup));
    }
    EXPECT_EQ(l.prefer(c.code), c.ok) << c.setup << " " << c.code;
    EXPECT_EQ(order(l), c.order) << c.setup << " " << c.code;
    EXPECT_EQ(l.codeAtRank(0), CString(c.order).Left(2)) << c.setup << " " << c.code;
  }

  // Languages ranked after the preferred one keep their ranks.
  Languages l;
  l.prefer("fr");
  EXPECT_EQ(l.rank("fr"), 0);
  EXPECT_EQ(l.rank("en"), 1);
  EXPECT_EQ(l.rank("ge"), 2);
  EXPECT_EQ(l.rank("st"), 3);
  EXPECT_EQ(l.rank("jp"), 7);
}

TEST(Languages, PreferRank) {
  Languages l;
  EXPECT_TRUE(l.preferRank(2));
  EXPECT_EQ(order(l), "frengestitspkrjp");
  EXPECT_FALSE(l.preferRank(8));
  EXPECT_FALSE(l.preferRank(-1));
  ASSERT_TRUE(l.setOrder("frge"));
  EXPECT_FALSE(l.preferRank(2));  // held by no active language
  EXPECT_TRUE(l.preferRank(1));
  EXPECT_EQ(order(l), "gefr");
}

struct OrderCase {
  const char* codes;
  bool ok;
  const char* order;  // afterwards
};

TEST(Languages, SetOrder) {
  const std::vector<OrderCase> cases = {
      {"frge", true, "frge"},
      {"frgex", true, "frge"},      // odd character ignored
      {"frxx", false, "engefrstitspkrjp"},
      {"FRGE", false, "engefrstitspkrjp"},
      {"", false, "engefrstitspkrjp"},
      {"e", false, "engefrstitspkrjp"},
      {"frfrge", true, "frge"},     // a repeated code keeps its first place
      {"jpkrspitstfrgeen", true, "jpkrspitstfrgeen"},
      {"engefrstitspkrjpengefr", true, "engefrstitspkrjp"},
  };
  for (const OrderCase& c : cases) {
    Languages l;
    EXPECT_EQ(l.setOrder(c.codes), c.ok) << c.codes;
    EXPECT_EQ(order(l), c.order) << c.codes;
  }
  Languages l;
  ASSERT_TRUE(l.setOrder("frge"));
  EXPECT_EQ(l.rank("fr"), 0);
  EXPECT_EQ(l.rank("ge"), 1);
  EXPECT_EQ(l.rank("en"), Languages::kUnranked);
  EXPECT_FALSE(l.isActive(0));
  EXPECT_EQ(l.codeAtRank(2), "");
  EXPECT_FALSE(l.setOrder(nullptr));
}

TEST(LanguageOrderSetting, Parse) {
  const std::vector<OrderCase> cases = {
      {"ge, en", true, "geen"},
      {"geenfr", true, "geenfr"},
      {"ge, en fr", true, "geenfr"},
      {"ge,,, \t en,\r\nfr,", true, "geenfr"},
      {"ge en f", true, "geen"},          // a last single character is ignored
      {"ge, xx", false, "engefrstitspkrjp"},
      {"ge en zz fr", false, "engefrstitspkrjp"},
      {"", false, "engefrstitspkrjp"},
      {"g", false, "engefrstitspkrjp"},
      {" ge", false, "engefrstitspkrjp"},  // must begin with a code
      {"en ge fr st it sp kr jp en ge fr", true, "engefrstitspkrjp"},
      {"en ge fr st it sp kr jp nl da pt", false, "engefrstitspkrjp"},
  };
  for (const OrderCase& c : cases) {
    Languages l;
    EXPECT_EQ(parseLanguageOrder(c.codes, &l), c.ok) << "'" << c.codes << "'";
    EXPECT_EQ(order(l), c.order) << "'" << c.codes << "'";
  }
  EXPECT_FALSE(parseLanguageOrder("ge", nullptr));
  Languages l;
  EXPECT_FALSE(parseLanguageOrder(nullptr, &l));

  // A long setting of many repeats is read without limit on its length.
  std::string many;
  for (int i = 0; i < 500; ++i) many += "fr, ge, ";
  EXPECT_TRUE(parseLanguageOrder(many.c_str(), &l));
  EXPECT_EQ(order(l), "frge");
}

TEST(LanguageOrderSetting, ProgramList) {
  Languages* program = Languages::instance();
  ASSERT_NE(program, nullptr);
  const Languages saved = *program;
  EXPECT_TRUE(parseLanguageOrder("ge, en"));
  EXPECT_EQ(program->codeAtRank(0), "ge");
  EXPECT_EQ(program->codeAtRank(1), "en");
  EXPECT_EQ(program->rank("fr"), Languages::kUnranked);
  *program = saved;
}

}  // namespace

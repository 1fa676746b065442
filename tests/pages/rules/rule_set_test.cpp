// The rule file: which rule holds for which member counts and attributes,
// and how bad rules are reported and dropped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/object_utils.h"
#include "pages/rules/rule_set.h"
#include "pages/support/pages_fixture.h"
#include "pages/support/test_objects.h"

namespace {

using pages_test::PagesTest;
using Lines = std::vector<std::string>;

class RuleSetTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    objects_.Install();
  }
  void TearDown() override {
    objects_.Remove();
    PagesTest::TearDown();
  }
  // The result of a one-rule set for the object.
  CString Evaluate(const char* rules, const Ref<KXObject>& object) {
    RuleSet set;
    set.parse(rules);
    TypeCount counts;
    counts.countMembers(object);
    return set.evaluate(counts);
  }
  pages_test::TestObjects objects_;
};

TEST_F(RuleSetTest, ConditionsOnCountsAndAttributes) {
  const Ref<KXObject> cluster = objects_.Cluster(
      100, {objects_.Image(1), objects_.Image(2), objects_.Image(3), objects_.Image(4)});
  const Ref<KXObject> mixed = objects_.Cluster(101, {objects_.Image(5), objects_.Text(6)});
  const Ref<KXObject> anna = objects_.Document(7, "Image", "Author=Anna\nSequence=12a\nScore=7\n");
  const Ref<KXObject> a = objects_.Document(8, "text", "Author=A\nTitle=en:Q\nName=first\nName=second\n");
  const Ref<KXObject> lower = objects_.Document(9, "text", "Author=anna\nSubType=sync\n");
  const Ref<KXObject> plain = objects_.Collection(10, {objects_.Image(11)});
  struct Case {
    const char* rule;
    Ref<KXObject> object;
    bool holds;
  };
  const Case cases[] = {
      {"imagecnt > 3 & textcnt == 0 => X", cluster, true},
      {"imagecnt > 3 & textcnt == 0 => X", mixed, false},
      {"imagecnt == 1 && textcnt >= 1 && totalcnt != 3 => X", mixed, true},
      {"imagecnt < 1 => X", mixed, false},
      {"imagecnt <= 1 => X", mixed, true},
      // A plain collection counts as one collection, whatever it holds.
      {"collectioncnt == 1 & totalcnt == 1 => X", plain, true},
      {"imagecnt == 1 => X", anna, true},
      {"Author ~ \"A*\" => X", anna, true},
      {"Author ~ \"A*\" => X", a, true},
      {"Author ~ \"A*\" => X", lower, false},
      {"Author ~ \"*n?a\" => X", anna, true},
      {"Title ~ \"?\" => X", a, true},
      {"Title ~ \"?\" => X", anna, false},
      {"Name == \"first\" => X", a, true},
      {"SubType == \"sync\" & Type == \"Text\" => X", lower, true},
      {"SequenceNr == 12 & Score == 7 => X", anna, true},
      {"Type == \"Cluster\" & genericcnt == 0 & soundcnt == 0 & moviecnt == 0 => X", cluster, true},
      {"Author == 5 => X", anna, false},   // the number's text is empty
      {"Author != 5 => X", anna, true},
      {"GlobalID == \"\" & URL != \"x\" => X", anna, true},
      {"=> X", nullptr, true},
      {"Author == \"\" => X", nullptr, true},  // no object: empty attributes
  };
  for (const Case& c : cases) EXPECT_EQ(Evaluate(c.rule, c.object), c.holds ? " X" : "") << c.rule;
}

TEST_F(RuleSetTest, TheFirstRuleThatHoldsGivesTheResultWithoutItsLineEnd) {
  RuleSet set;
  set.parse(
      "' page styles\n"
      "imagecnt > 100 => Huge()\r\n"
      "/* a comment\n over lines */ imagecnt >= 1 =>  Gallery(columns = 3)  \r\n"
      "=> DefaultPage()\r\n"
      "=> Never()\n");
  ASSERT_EQ(set.count(), 4);
  TypeCount counts;
  counts.countMembers(objects_.Cluster(1, {objects_.Image(2)}));
  EXPECT_EQ(set.evaluate(counts), "  Gallery(columns = 3)");
  TypeCount none;
  EXPECT_EQ(set.evaluate(none), " DefaultPage()");
  set.clear();
  EXPECT_EQ(set.evaluate(none), "");
}

TEST_F(RuleSetTest, BadRulesAreDroppedAndReported) {
  struct Case {
    const char* text;
    int kept;
    Lines log;
  };
  const Case cases[] = {
      {"imagecnt = 3 => X\n=> Y", 1, {"invalid operation", "rule ignored:  = 3 => X"}},
      {"imagecnt ! 3 => X", 0,
       {"invalid character (!) maybe you want !=", "invalid operation",
        "rule ignored:  ! 3 => X"}},
      {"imagecnt > => X", 0, {"syntax error at  X", "rule ignored:  > => X"}},
      {"imagecnt > 3 imagecnt => X", 0, {"rule ignored:  > 3 imagecnt => X"}},
      {"\"open => X", 0, {"missing end of literal", "invalid operation", "rule ignored: "}},
      // An invalid character is passed over; the rule stands.
      {"a > 1 # => X", 1, {"invalid character"}},
      {"/* open", 0, {"comment started by /* not closed by */"}},
      {"a > 1 & => X", 1, {}},
  };
  for (const Case& c : cases) {
    ClearLog();
    RuleSet set;
    set.parse(c.text);
    EXPECT_EQ(set.count(), c.kept) << c.text;
    EXPECT_EQ(LogLines(), c.log) << c.text;
  }
}

TEST_F(RuleSetTest, OperandsThatCannotBeComparedAreReportedAtEachEvaluation) {
  struct Case {
    const char* rule;
    Lines log;
  };
  const Case cases[] = {
      {"5 == Author => X", {"right operand must be value"}},
      {"imagecnt ~ 3 => X", {"invalid numeric operation"}},
      {"Author < \"b\" => X", {"invalid string operation"}},
      {"Colour == 1 => X", {"Cannot evaluate identifier Colour"}},
  };
  const Ref<KXObject> doc = objects_.Document(1, "Image", "Author=Anna\n");
  for (const Case& c : cases) {
    RuleSet set;
    set.parse(c.rule);
    ASSERT_EQ(set.count(), 1) << c.rule;
    TypeCount counts;
    counts.countMembers(doc);
    ClearLog();
    EXPECT_EQ(set.evaluate(counts), "") << c.rule;
    EXPECT_EQ(set.evaluate(counts), "") << c.rule;
    Lines twice = c.log;
    twice.insert(twice.end(), c.log.begin(), c.log.end());
    EXPECT_EQ(LogLines(), twice) << c.rule;
  }
}

TEST_F(RuleSetTest, PatternsMatchWithoutTryingEverySplit) {
  struct Case {
    const char* pattern;
    const char* text;
    bool match;
  };
  const Case cases[] = {{"A*", "Anna", true},      {"A*", "A", true},       {"A*", "anna", false},
                        {"*", "", true},           {"?", "", false},        {"a*b*c", "aXbYc", true},
                        {"a*b*c", "aXbY", false},  {"*a", "bbba", true},    {"a??", "abc", true},
                        {"a??", "ab", false},      {"**x**", "yyxyy", true}, {"", "", true}};
  for (const Case& c : cases)
    EXPECT_EQ(RulePatternMatches(c.pattern, c.text), c.match) << c.pattern << " " << c.text;
  const std::string text(20000, 'a');
  const std::string stars = std::string(200, '*') + "b";
  EXPECT_FALSE(RulePatternMatches(stars.c_str(), text.c_str()));
}

TEST_F(RuleSetTest, AMissingFileGivesNoRules) {
  RuleSet set;
  set.load(tmp_.file("none.rul").c_str());
  EXPECT_EQ(set.count(), 0);
  EXPECT_EQ(LogLines(), Lines{"cannot load rules from " + tmp_.file("none.rul")});
  set.load(tmp_.write("tolm.rul", "=> A()\n").c_str());
  EXPECT_EQ(set.count(), 1);
}

}  // namespace

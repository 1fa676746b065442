#include "text/build/doc_builder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "text/support/recording_atoms.h"
#include "support/temp_dir.h"
#include "text/support/test_listener.h"
#include "text/build/grow_capacity.h"
#include "text/build/viewer_document.h"
#include "text/form/form.h"
#include "text/resources/dingbat_table.h"
#include "text/style_definition.h"

namespace {

std::string tree(Atom* root) { return root ? static_cast<RecordingAtom*>(root)->Tree() : "none"; }

class DocBuilderTest : public ::testing::Test {
 protected:
  DocBuilderTest() : builder(&listener, &context, 0, nullptr, nullptr, &factory) {}
  ~DocBuilderTest() override = default;
  RecordingAtom* current() { return static_cast<RecordingAtom*>(builder.Current()); }

  RecordingFactory factory;
  RecordingListener listener;
  TestContext context;
  DocBuilder builder;
};

TEST_F(DocBuilderTest, TheRootNeverClosesAndRecordsTheFirstError) {
  ASSERT_TRUE(builder.AddPage(3, nullptr));
  EXPECT_EQ(builder.Root(), builder.Current());
  EXPECT_EQ(builder.EndAtom(50), nullptr);
  EXPECT_EQ(builder.ErrorPosition(), 3);
  builder.AddParagraph(10, nullptr);
  current()->refuseEnd = true;
  EXPECT_EQ(builder.EndAtom(20), nullptr);
  EXPECT_EQ(builder.ErrorPosition(), 3);  // the first one stays
  EXPECT_EQ(builder.Depth(), 2);
}

TEST_F(DocBuilderTest, ARefusedEndKeepsTheStackAndIsRecorded) {
  builder.AddPage(0, nullptr);
  builder.AddParagraph(7, nullptr);
  current()->refuseEnd = true;
  EXPECT_EQ(builder.EndAtom(9), nullptr);
  EXPECT_EQ(builder.ErrorPosition(), 7);
  EXPECT_EQ(current()->kind(), "para");
}

TEST_F(DocBuilderTest, ARefusedChildIsDeleted) {
  builder.AddPage(0, nullptr);
  builder.AddWord(1, nullptr);
  EXPECT_EQ(builder.AddParagraph(2, nullptr), nullptr);  // words take no children
  EXPECT_EQ(current()->kind(), "word");
  EXPECT_EQ(factory.live, 2);
}

TEST_F(DocBuilderTest, TextAfterAPictureGoesIntoANewWord) {
  builder.AddPage(0, nullptr);
  builder.AddWord(0, nullptr);
  builder.AddText(0, nullptr, 0, "ab");
  ASSERT_TRUE(builder.AddPicture(2, nullptr, "moon.gif", "Dest=1", 0, 5, 6));
  builder.EndAtom(3);
  builder.AddText(3, nullptr, 0, "cd");
  EXPECT_EQ(tree(builder.Root()), "page[word\"ab\" pic(moon.gif) word\"cd\"]");
  EXPECT_EQ(listener.requests, (std::vector<std::string>{"moon.gif|Dest=1|doc'"}));
  // Without an interrupted word, text goes on in the current atom.
  builder.EndAtom(5);
  builder.AddPicture(6, nullptr, "x", "", 0, 0, 0);
  builder.EndAtom(7);
  EXPECT_FALSE(builder.AddText(7, nullptr, 0, "ef"));  // the page takes no text
  EXPECT_EQ(tree(builder.Root()), "page[word\"ab\" pic(moon.gif) word\"cd\" pic(x)]");
}

TEST_F(DocBuilderTest, DingbatsComeFromTheTable) {
  testing_support::TempDir dir;
  dir.write("d.bmp", "dot");
  InstalledPictures pictures;
  DingbatTable dingbats(CString(dir.write("Dingbat.dat", "DOT d.bmp\n").c_str()));
  DocBuilder b(&listener, nullptr, 0, nullptr, &dingbats, &factory);
  b.AddPage(0, nullptr);
  b.AddPicture(1, nullptr, "dot", "", 1, 0, 0);
  b.EndAtom(2);
  b.AddPicture(2, nullptr, "unknown", "", 1, 0, 0);
  b.EndAtom(3);
  EXPECT_EQ(tree(b.Root()), "page[pic(file:dot) pic(default)]");
  EXPECT_TRUE(listener.requests.empty());
}

TEST_F(DocBuilderTest, TableRowsMakeNoAtom) {
  builder.AddPage(0, nullptr);
  builder.AddTable(1, nullptr, TableAttrs{});
  EXPECT_EQ(builder.AddTableRow(2, nullptr, 0), nullptr);
  EXPECT_TRUE(builder.AddTableRowItem(2));
  EXPECT_EQ(tree(builder.Root()), "page[table[#210]]");
}

TEST_F(DocBuilderTest, HeldLabelIsHandedToItsHolder) {
  builder.AddPage(0, nullptr);
  builder.AddListItem(1, nullptr, 0);
  ASSERT_TRUE(builder.SetHolder(kListItemMask, "Counter"));
  builder.AddList(1, nullptr);
  builder.AddWord(0, nullptr);
  builder.AddText(0, nullptr, 0, "1.");
  builder.EndAtom(500);
  builder.EndAtom(1);  // the label closes: handed over
  builder.AddWord(4, nullptr);
  builder.AddText(4, nullptr, 0, "item");
  builder.CloseAll(9);
  EXPECT_EQ(tree(builder.Root()), "page[li[label:list[word\"1.\"] word\"item\"]]");
  EXPECT_EQ(factory.live, 5);
}

TEST_F(DocBuilderTest, ARefusedLabelIsDeleted) {
  builder.AddPage(0, nullptr);
  builder.AddParagraph(1, nullptr);
  builder.SetHolder(kListItemMask, "Counter");
  builder.AddList(1, nullptr);
  builder.EndAtom(2);  // a paragraph adopts no label
  EXPECT_EQ(tree(builder.Root()), "page[para]");
  EXPECT_EQ(factory.live, 2);
}

TEST_F(DocBuilderTest, ItemsGoToTheInnermostContainerThatTakesThem) {
  builder.AddPage(0, nullptr);
  builder.AddParagraph(1, nullptr);
  builder.AddWord(2, nullptr);
  EXPECT_TRUE(builder.AddLineBreak(3));  // the word refuses, the paragraph takes it
  builder.EndAtom(3);
  builder.AddTable(4, nullptr, TableAttrs{});
  EXPECT_TRUE(builder.AddLineBreak(5));  // the table refuses, the paragraph takes it
  EXPECT_TRUE(builder.AddTableRowItem(5));
  builder.EndAtom(6);
  EXPECT_EQ(builder.AddTableRowItem(7), nullptr);  // nobody takes a row outside a table
  builder.CloseAll(10);
  EXPECT_EQ(tree(builder.Root()), "page[para[#120 #120 word table[#210]]]");
}

TEST_F(DocBuilderTest, ItemsAreNotOfferedBeyondTheHolder) {
  builder.AddPage(0, nullptr);
  builder.AddParagraph(1, nullptr);
  builder.AddTable(2, nullptr, TableAttrs{});
  builder.SetHolder(kListItemMask, "Counter");
  builder.AddList(3, nullptr);
  // The list and the table refuse a line break; the paragraph below the
  // holder would take it, but is not asked.
  EXPECT_EQ(builder.AddLineBreak(3), nullptr);
  builder.CloseAll(9);
  EXPECT_EQ(tree(builder.Root()), "page[para[table]]");
}

TEST_F(DocBuilderTest, WordSpaces) {
  builder.AddPage(0, nullptr);
  builder.AddParagraph(0, nullptr);
  builder.AddWord(0, nullptr);
  builder.AddText(0, nullptr, 0, "one");
  builder.EndAtom(3);
  builder.AddWordSpace(3, nullptr);
  builder.AddPicture(4, nullptr, "p", "", 0, 0, 0);
  builder.EndAtom(5);
  builder.AddWordSpace(5, nullptr);
  builder.AddWord(6, nullptr);
  builder.EndAtom(6);
  builder.AddWordSpace(6, nullptr);  // an empty word gets no blank
  builder.CloseAll(9);
  EXPECT_EQ(tree(builder.Root()), "page[para[word\"one \" pic(p) word\" \" word]]");
}

TEST_F(DocBuilderTest, AWordSpaceFollowsOnlyAWordThatTookText) {
  builder.AddPage(0, nullptr);
  builder.AddParagraph(0, nullptr);
  builder.AddWord(0, nullptr);
  builder.AddText(0, nullptr, 0, "");
  builder.EndAtom(1);
  builder.AddWordSpace(1, nullptr);  // empty text is no text
  builder.AddWord(2, nullptr);
  builder.AddText(2, nullptr, 0, "a");
  builder.AddText(3, nullptr, 0, "b");
  builder.EndAtom(4);
  builder.AddWordSpace(4, nullptr);
  builder.AddWordSpace(5, nullptr);  // still the word before
  builder.AddParagraph(6, nullptr);
  builder.AddWordSpace(6, nullptr);  // a new container has no word yet
  builder.CloseAll(9);
  EXPECT_EQ(tree(builder.Root()), "page[para[word word\"ab  \" para]]");
}

TEST_F(DocBuilderTest, FormFields) {
  struct Case {
    LONG kind;
    std::vector<std::pair<int, const char*>> record;
    bool withForm;
    std::function<void(const FormFieldSpec&)> check;
  };
  auto rec = [](const std::vector<std::pair<int, const char*>>& values) {
    FormFieldRecord r;
    for (auto& [i, v] : values) r[i] = v;
    return r;
  };
  const std::vector<Case> cases = {
      {kFieldSubmit, {}, true, [](const FormFieldSpec& s) {
         EXPECT_EQ(s.label, "Submit");
         EXPECT_EQ(s.name, "");
         ASSERT_TRUE(s.action);
         EXPECT_EQ(s.action->Kind(), FormAction::kSubmit);
       }},
      {kFieldReset, {{FormFieldRecord::kValue, "Again"}}, true, [](const FormFieldSpec& s) {
         EXPECT_EQ(s.label, "Again");
         EXPECT_EQ(s.action->Kind(), FormAction::kReset);
       }},
      {kFieldReset, {}, false, [](const FormFieldSpec& s) { EXPECT_EQ(s.label, "Reset"); }},
      {kFieldSelection, {{FormFieldRecord::kSize, "1"}}, true, [](const FormFieldSpec& s) { EXPECT_TRUE(s.combo); }},
      {kFieldSelection, {{FormFieldRecord::kSize, "2"}}, true, [](const FormFieldSpec& s) { EXPECT_FALSE(s.combo); }},
      {kFieldSelection, {{FormFieldRecord::kSize, "1"}, {FormFieldRecord::kMultiple, "1"}}, true,
       [](const FormFieldSpec& s) { EXPECT_FALSE(s.combo); }},
      {kFieldNumeric, {{FormFieldRecord::kMinimum, "1"}, {FormFieldRecord::kMaximum, "10"}}, true,
       [](const FormFieldSpec& s) { EXPECT_TRUE(s.integral); }},
      {kFieldNumeric, {{FormFieldRecord::kMinimum, "0.5"}, {FormFieldRecord::kMaximum, "10"}}, true,
       [](const FormFieldSpec& s) {
         EXPECT_FALSE(s.integral);
         EXPECT_EQ(s.minimum, 0.5);
       }},
      {kFieldText,
       {{FormFieldRecord::kName, "q"}, {FormFieldRecord::kSize, "20"}, {FormFieldRecord::kDisabled, "1"}}, true,
       [](const FormFieldSpec& s) {
         EXPECT_EQ(s.name, "q");
         EXPECT_EQ(s.size, 20);
         EXPECT_EQ(s.rows, -1);
         EXPECT_EQ(s.disabled, 1);
         EXPECT_TRUE(s.form);
       }},
      {kFieldHidden, {{FormFieldRecord::kName, "h"}, {FormFieldRecord::kValue, "v"}}, false,
       [](const FormFieldSpec& s) {
         EXPECT_EQ(s.kind, kFieldSubmit);  // no form: shown as a button
         EXPECT_EQ(s.label, "v");
       }},
  };
  for (const Case& c : cases) {
    RecordingFactory f;
    RecordingListener l;
    DocBuilder b(&l, nullptr, 0, nullptr, nullptr, &f);
    b.AddPage(0, nullptr);
    if (c.withForm) b.SetForm("act", 0, 0, nullptr);
    Atom* atom = b.AddFormField(1, nullptr, c.kind, rec(c.record));
    ASSERT_TRUE(atom) << c.kind;
    c.check(static_cast<RecordingAtom*>(atom)->field());
  }
}

TEST_F(DocBuilderTest, HiddenPairsJoinTheFormAndRadiosFindTheirGroup) {
  builder.AddPage(0, nullptr);
  builder.SetForm("act", 0, 0, nullptr);
  FormFieldRecord hidden;
  hidden[FormFieldRecord::kName] = "h";
  hidden[FormFieldRecord::kValue] = "v";
  EXPECT_EQ(builder.AddFormField(1, nullptr, kFieldHidden, hidden), nullptr);
  EXPECT_EQ(builder.CurrentForm()->NextIndex(), 1);
  EXPECT_EQ(factory.live, 1);

  struct Radio : FormControl {
    CString ControlName() const override { return "r"; }
    bool CollectValues(std::vector<CString>&) override { return true; }
    void ResetControl() override {}
    int ControlKind() const override { return kRadio; }
    void SetIndex(LONG) override {}
    LONG Index() const override { return 1; }
  } first;
  builder.CurrentForm()->AddControl(&first);
  FormFieldRecord radio;
  radio[FormFieldRecord::kName] = "r";
  radio[FormFieldRecord::kChecked] = "1";
  auto* atom = static_cast<RecordingAtom*>(builder.AddFormField(2, nullptr, kFieldRadio, radio));
  ASSERT_TRUE(atom);
  EXPECT_EQ(atom->field().radioGroupOf, &first);
  EXPECT_EQ(atom->field().checked, 1);
  builder.CurrentForm()->RemoveControl(&first);
}

TEST_F(DocBuilderTest, PictureSubmitRequestsItsPicture) {
  builder.AddPage(0, nullptr);
  builder.SetForm("act", 0, 0, nullptr);
  FormFieldRecord r;
  r[FormFieldRecord::kPicture] = "go.gif";
  r[FormFieldRecord::kPictureLink] = "Dest=go";
  auto* atom = static_cast<RecordingAtom*>(builder.AddFormField(3, nullptr, kFieldPictureSubmit, r));
  ASSERT_TRUE(atom);
  EXPECT_EQ(listener.requests, (std::vector<std::string>{"go.gif|Dest=go|doc'"}));
  EXPECT_TRUE(atom->field().action);
  EXPECT_EQ(tree(builder.Root()), "page[field(go.gif)(7)]");
}

TEST_F(DocBuilderTest, RootOwnershipAcrossResetAndDetach) {
  builder.AddPage(0, nullptr);
  builder.AddParagraph(1, nullptr);
  LONG first = builder.Generation();
  builder.Reset(nullptr);  // the owned tree goes
  EXPECT_EQ(factory.live, 0);
  EXPECT_EQ(listener.finished, (std::vector<LONG>{first}));
  EXPECT_GT(builder.Generation(), first);

  builder.AddPage(0, nullptr);
  std::unique_ptr<Atom> taken(builder.DetachRoot());
  ASSERT_TRUE(taken);
  EXPECT_EQ(builder.Root(), nullptr);
  builder.Reset(nullptr);
  EXPECT_EQ(factory.live, 1);  // the caller's tree is left alone
  builder.AddPage(0, nullptr);   // a new root is the builder's again
  builder.AddWord(1, nullptr);
  taken.reset();
  EXPECT_EQ(factory.live, 2);
}

TEST(DocBuilderLifetime, EverythingGoesWithTheBuilder) {
  RecordingFactory factory;
  RecordingListener listener;
  {
    DocBuilder builder(&listener, nullptr, 0, nullptr, nullptr, &factory);
    builder.AddPage(0, nullptr);
    builder.AddListItem(1, nullptr, 0);
    builder.SetHolder(kListItemMask, "Counter");
    builder.AddList(2, nullptr);  // held, never handed over
    builder.AddWord(2, nullptr);
  }
  EXPECT_EQ(factory.live, 0);
  EXPECT_EQ(listener.finished.size(), 1u);
}

TEST(DocBuilderDepth, DeepNestingGrowsTheStack) {
  RecordingFactory factory;
  DocBuilder builder(nullptr, nullptr, 0, nullptr, nullptr, &factory);
  builder.AddPage(0, nullptr);
  for (int i = 1; i <= 100000; ++i) ASSERT_TRUE(builder.AddParagraph(i, nullptr)) << i;
  EXPECT_EQ(builder.Depth(), 100001);
  builder.CloseAll(200000);
  EXPECT_EQ(builder.Current(), nullptr);
  // The chain of paragraphs is torn down by the recording atoms' own
  // recursion; detach it and free it level by level.
  std::unique_ptr<Atom> root(builder.DetachRoot());
  auto* a = static_cast<RecordingAtom*>(root.get());
  std::vector<RecordingAtom*> chain;
  while (!a->children().empty()) {
    a = static_cast<RecordingAtom*>(a->children().front());
    chain.push_back(a);
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    auto* parent = it + 1 != chain.rend() ? *(it + 1) : static_cast<RecordingAtom*>(root.get());
    const_cast<std::vector<Atom*>&>(parent->children()).clear();
    delete *it;
  }
}

TEST(GrowCapacity, LadderAndOverflow) {
  struct Case {
    DWORD count, size, expected;
  };
  const Case cases[] = {
      {3, 16, 7},                  // 112 / 16
      {1, 48, 2},                  // 48 is not larger than 48
      {0, 16, 3},                  // 48 / 16
      {2, 24, 4},                  // 112 / 24
      {4, 24, 10},                 // 112 holds only 4 of 24 bytes: 240 / 24
      {4194302, 16, 4194303},      // 67108832 bytes: the last rung
      {4194303, 16, 4194303},      // beyond the ladder: unchanged
      {0x10000001, 16, 0x10000001},  // the product passes 32 bits: no small answer
      {5, 0, 5},
  };
  for (const Case& c : cases) EXPECT_EQ(GrowCapacity(c.count, c.size), c.expected) << c.count << "x" << c.size;
}

}  // namespace

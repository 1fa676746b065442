// The memory of a shown document's atoms: every kind of atom comes from the
// atom pool and goes back to it, whether the document is closed, laid out
// again or replaced, and atoms that a container drops while it is built go
// back at once.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "layout/atoms/horizontal_rule_atom.h"
#include "layout/atoms/list_item.h"
#include "layout/atoms/page_atom.h"
#include "layout/atoms/paragraph_atom.h"
#include "layout/atoms/table_atom.h"
#include "layout/atoms/word_atom.h"
#include "layout/pictures/dib_picture.h"
#include "layout/pictures/picture_factory_impl.h"
#include "layout/support/fake_output.h"
#include "layout/support/test_atoms.h"
#include "layout/view/support/view_fixture.h"
#include "text/atom/atom_pool.h"

namespace view_test {
namespace {

// One of every atom the builder makes: words (plain, script, in a link),
// paragraphs, headings, a list with its items and labels, a table with its
// cells, a rule, a picture, and the fields of a form with a picture that
// submits it.
const char kEveryKind[] =
    "<H1>Berths of Marrow Bay</H1>"
    "<P>The <A HREF=\"korvex://quay.example/tide\">tide</A> rises H<SUB>2</SUB>O and x<SUP>2</SUP>"
    " <B>twice</B> a day.<BR>Ask Ida Marsh.</P>"
    "<UL><LI>nets<LI>rope</UL><OL><LI>first<LI>second</OL>"
    "<TABLE BORDER=1><TR><TD>berth</TD><TD COLSPAN=2>Heron</TD></TR><TR><TD>1</TD><TD>2</TD><TD>3</TD></TR></TABLE>"
    "<HR><P><IMG SRC=\"chart.bmp\"></P>"
    "<FORM ACTION=\"http://quay.example/cgi/berth\">"
    "<INPUT NAME=boat VALUE=Heron><INPUT TYPE=PASSWORD NAME=key>"
    "<INPUT TYPE=CHECKBOX NAME=news CHECKED><INPUT TYPE=RADIO NAME=r VALUE=a><INPUT TYPE=RADIO NAME=r VALUE=b>"
    "<INPUT TYPE=NUMBER NAME=n MIN=1 MAX=9 VALUE=3>"
    "<SELECT NAME=port><OPTION>Lindholm<OPTION SELECTED>Velden</SELECT>"
    "<SELECT NAME=many SIZE=3 MULTIPLE><OPTION>a<OPTION>b</SELECT>"
    "<TEXTAREA NAME=note ROWS=2 COLS=10>calm sea</TEXTAREA>"
    "<INPUT TYPE=IMAGE NAME=spot SRC=\"chart.bmp\"><INPUT TYPE=SUBMIT><INPUT TYPE=RESET>"
    "</FORM><PRE>  fixed   width</PRE>";

void CollectKinds(Atom* atom, std::set<std::string>& kinds) {
  kinds.insert(typeid(*atom).name());
  if (auto* c = dynamic_cast<Container*>(atom))
    for (Atom* child = c->FirstChild(); child; child = Container::NextOf(child)) CollectKinds(child, kinds);
}

class AtomMemoryTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    const std::string bmp = SolidBmp(12, 10, 0x00FF00);
    chart_ = CreatePictureFromBytes(bmp.data(), static_cast<LONG>(bmp.size()));
    ASSERT_NE(chart_, nullptr);
    chart_->acquire();
    shelf_.pictures["chart.bmp"] = chart_;
  }
  void TearDown() override {
    view_.reset();
    if (chart_) chart_->release();
    ViewTest::TearDown();
  }
  DibPicture* chart_ = nullptr;
};

TEST_F(AtomMemoryTest, EveryAtomOfAShownDocumentGoesBackWhenTheDocumentGoes) {
  const size_t liveBefore = AtomPool::LiveObjects();
  TextView& view = Show(kEveryKind, 420, 300);
  ASSERT_NE(view.Document(), nullptr);
  std::set<std::string> kinds;
  CollectKinds(view.Document()->GetRoot(), kinds);
  for (const char* kind : {typeid(WordAtom).name(), typeid(ParagraphAtom).name(), typeid(PageAtom).name(),
                           typeid(TableAtom).name(), typeid(TableItemAtom).name(), typeid(ListItem).name(),
                           typeid(ListAtom).name(), typeid(HorizontalRuleAtom).name()})
    EXPECT_EQ(kinds.count(kind), 1u) << kind;
  // Pictures and form fields are the view's own atoms.
  EXPECT_GE(kinds.size(), 12u);
  EXPECT_GT(AtomPool::LiveObjects(), liveBefore + 50);

  // Laid out again at other widths: the lines of the old layout go back.
  const size_t shown = AtomPool::LiveObjects();
  for (int width : {200, 600, 420}) {
    view.SetWindowPos(nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
  }
  EXPECT_EQ(AtomPool::LiveObjects(), shown);

  // Replaced by another document, then closed.
  Show("<P>Only a word or two.</P>", 420, 300);
  EXPECT_LT(AtomPool::LiveObjects(), shown);
  view_->SetDocument(nullptr);
  EXPECT_EQ(AtomPool::LiveObjects(), liveBefore);
  if (liveBefore == 0) EXPECT_EQ(AtomPool::Blocks(), 0u);
}

TEST(AtomMemory, ALabelThatIsReplacedGoesBackAtOnce) {
  TestStyles styles;
  TabSettingsList tabs;
  const size_t liveBefore = AtomPool::LiveObjects();
  {
    ListItem item(0, styles.Plain(), &tabs);
    const DWORD mask = kListItemMask;
    auto* first = new ListAtom(0, styles.Plain());
    ASSERT_TRUE(first->AddChild(MakeWord(0, "1.", styles.Plain()).release()));
    ASSERT_TRUE(item.AdoptLabel(&mask, first));
    const size_t withFirst = AtomPool::LiveObjects();
    auto* second = new ListAtom(0, styles.Plain());
    ASSERT_TRUE(second->AddChild(MakeWord(0, "2.", styles.Plain()).release()));
    ASSERT_TRUE(item.AdoptLabel(&mask, second));
    // The first label and its word are gone; the second took their place.
    EXPECT_EQ(AtomPool::LiveObjects(), withFirst);
    EXPECT_EQ(item.ChildCount(), 1);
    EXPECT_EQ(item.FirstChild(), second);
  }
  EXPECT_EQ(AtomPool::LiveObjects(), liveBefore);
}

// Laying out makes a position for every word it formats; those come from
// the pool too, and a caller that deletes one as a plain Position gives it
// back there. Copies a caller makes are its own.
TEST(AtomMemory, PositionsAtomsHandOutGoBackToThePool) {
  TestStyles styles;
  const size_t liveBefore = AtomPool::LiveObjects();
  {
    std::unique_ptr<WordAtom> word = MakeWord(7, "tide ", styles.Plain());
    const size_t withWord = AtomPool::LiveObjects();
    FakeOutput out;
    std::vector<Position*> handedOut;
    Position* continuation = nullptr;
    word->Format(&out, LayoutRect::Of(0, 1000, 0, 100), continuation, FirstPosition(), 0);
    handedOut.push_back(continuation);
    handedOut.push_back(word->StartPosition());
    handedOut.push_back(word->EndPosition());
    handedOut.push_back(word->ResumeAfter(Position(11)));
    for (Position* p : handedOut) ASSERT_NE(p, nullptr);
    EXPECT_EQ(handedOut[1]->Number(), 7);
    EXPECT_EQ(handedOut[2]->Number(), 12);
    EXPECT_EQ(AtomPool::LiveObjects(), withWord + handedOut.size());
    std::unique_ptr<Position> copy(handedOut[1]->Clone());
    for (Position* p : handedOut) delete p;
    EXPECT_EQ(AtomPool::LiveObjects(), withWord);
    EXPECT_EQ(copy->Number(), 7);
  }
  EXPECT_EQ(AtomPool::LiveObjects(), liveBefore);
}

}  // namespace
}  // namespace view_test

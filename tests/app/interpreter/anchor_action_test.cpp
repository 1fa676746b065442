// Activating an anchor: a source anchor with a Layout text runs the action
// the styles give it, with its destination's address as argument 1;
// everything else is followed with a goto.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands/command_queue.h"
#include "app/commands/navigation_commands.h"
#include "app/interpreter/interpreter.h"
#include "app/shell_state.h"
#include "core/anchor.h"
#include "core/store.h"
#include "core/object_id.h"
#include "core/object_utils.h"
#include "app/dialogs/support/ui_fixture.h"
#include "framework/user_break.h"
#include "pages/style/property_table.h"

namespace {

// Resolves every reference to the one destination.
class OneDestination : public ObjectUtilityServices {
 public:
  Ref<KXObject> anchorDestination(KXObject&) override { return destination; }
  Ref<KXObject> resolveReference(const CString&) override { return destination; }
  const List* destinationAnchors(KXObject&) override { return nullptr; }
  const List* collectionChildren(KXObject&) override { return nullptr; }
  void clusterMembers(KXObject&, List&) override {}
  Ref<KXObject> makeMultiCluster(const CString&, const List&) override { return {}; }
  Ref<KXObject> destination;
};

class AnchorActionTest : public shell_ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    TheCommandQueue().ResetForTests();
    ResetStopFlagForTests();
    services_.destination = Ref<KXObject>(new KXObject(
        "ObjectID=0x20\nType=Document\nDocumentType=text\nGOid=00000001 00000020\n", Ref<Store>()));
    services_.destination->setStore(store_);
    previous_ = SetObjectUtilityServices(&services_);
    Styles("SourceAnchor = { String onclick }");
  }
  void TearDown() override {
    SetObjectUtilityServices(previous_);
    SetLongOperationFlag(0);
    TheCommandQueue().ResetForTests();
    UiTest::TearDown();
  }
  Ref<KXObject> MakeAnchor(const char* tanchor, const char* layout) {
    std::string record = "ObjectID=0x30\nType=Anchor\nGOid=00000001 00000030\nDest=0x20\nTAnchor=";
    record += tanchor;
    record += "\n";
    if (*layout) record += std::string("Layout=") + layout + "\n";
    Ref<KXObject> anchor(new Anchor(CString(record.c_str())));
    anchor->setStore(store_);
    return anchor;
  }
  // What activating the object queued.
  static std::string Activate(const Ref<KXObject>& object) {
    TheCommandQueue().ResetForTests();
    Interpreter::ExecuteAnchorAction(object);
    if (TheCommandQueue().Count() != 1) return "queued " + std::to_string(TheCommandQueue().Count());
    const auto* g = dynamic_cast<const GotoCommand*>(TheCommandQueue().At(0));
    if (!g) return "no goto";
    if (g->kind == GotoCommand::kName) return "goto '" + g->name.str() + "'";
    return "goto object " + (g->target ? ObjectId(g->target->getObjectId()).Format().str() : "null");
  }

  // Objects of a store have addresses.
  Ref<Store> store_{new Store("korvex://vela.test/")};
  OneDestination services_;
  ObjectUtilityServices* previous_ = nullptr;
};

TEST_F(AnchorActionTest, ActionsAndLinks) {
  const char* action = "onclick = \"goto #1\"";
  EXPECT_EQ(Activate(MakeAnchor("Src", action)), "goto 'korvex:00000001 00000020'");
  // An action that is no goto runs as it is; nothing is followed.
  EXPECT_EQ(Activate(MakeAnchor("Src", "onclick = \"language ge\"")).substr(0, 6), "no got");
  // No action: the link is followed.
  EXPECT_EQ(Activate(MakeAnchor("Src", "")), "goto object 0x00000030");
  EXPECT_EQ(Activate(MakeAnchor("Src", "onclick = \"\"")), "goto object 0x00000030");
  EXPECT_EQ(Activate(MakeAnchor("Dest", action)), "goto object 0x00000030");
  EXPECT_EQ(Activate(services_.destination), "goto object 0x00000020");
  EXPECT_EQ(Activate(Ref<KXObject>()), "queued 0");
}

TEST_F(AnchorActionTest, WhileBusyTheAnchorStandsForItsDestination) {
  SetLongOperationFlag(1);
  EXPECT_EQ(Activate(MakeAnchor("Src", "onclick = \"goto #1\"")), "goto 'korvex:00000001 00000030'");
}

TEST_F(AnchorActionTest, WithoutTheSourceAnchorStyleTheLinkIsFollowed) {
  StyleTable().clear();
  EXPECT_EQ(Activate(MakeAnchor("Src", "onclick = \"goto #1\"")), "goto object 0x00000030");
}

}  // namespace

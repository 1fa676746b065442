// The interpreter's statements: what each command line leaves in the
// command queue, in the bookmark and in the logbook.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/commands/command_queue.h"
#include "app/commands/navigation_commands.h"
#include "app/commands/session_commands.h"
#include "app/history/nav_history.h"
#include "app/interpreter/deferred_commands.h"
#include "app/interpreter/immediate_statements.h"
#include "app/interpreter/interpreter.h"
#include "app/shell_state.h"
#include "core/kx_object.h"
#include "core/store.h"
#include "core/object_id.h"
#include "app/dialogs/support/ui_fixture.h"
#include "pages/objects/vgroup.h"

namespace {

using Lines = std::vector<std::string>;

// One queued command as text: its kind and what it carries.
std::string Describe(const Command* c) {
  if (!c) return "(cancelled)";
  if (dynamic_cast<const StopCommand*>(c)) return "stop";
  if (dynamic_cast<const ReloadCommand*>(c)) return "reload";
  switch (c->GetType()) {
    case kCommandGoto: {
      const auto* g = static_cast<const GotoCommand*>(c);
      if (g->kind == GotoCommand::kName) return "goto '" + g->name.str() + "'";
      if (g->kind == GotoCommand::kObject)
        return "goto object " + (g->target ? ObjectId(g->target->getObjectId()).Format().str() : "null");
      return "goto kind " + std::to_string(g->kind);
    }
    case kCommandBack: return "back";
    case kCommandForward: return "forward";
    case kCommandNext: return "next";
    case kCommandPrev: return "prev";
    case kCommandRoot: return "root";
    case kCommandKorvexRoot: return "korvexroot";
    case kCommandHome: return "home";
    case kCommandUp: return "up";
    case kCommandParents: return "parents";
    case kCommandHistory: return "history " + std::to_string(static_cast<const HistoryCommand*>(c)->limit);
    case kCommandSearch: {
      const auto* s = static_cast<const SearchCommand*>(c);
      return "search mode " + std::to_string(s->mode) + " '" + s->expression.str() + "'";
    }
    case kCommandQuit: return "quit";
    case kCommandLanguage: {
      const auto* l = static_cast<const LanguageCommand*>(c);
      return l->mode == 0 ? std::string("language dialog") : "language '" + l->code.str() + "'";
    }
    default: return "type " + std::to_string(c->GetType());
  }
}

class InterpreterTest : public shell_ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Fresh();
  }
  void TearDown() override {
    Fresh();
    UiTest::TearDown();
  }
  static void Fresh() {
    TheCommandQueue().ResetForTests();
    ResetStopFlagForTests();
    TheHistory().Clear();
    Interpreter::ResetForTests();
    ResetAudioForTests();
  }
  static Lines Queue() {
    Lines out;
    for (int i = 0; i < TheCommandQueue().Count(); ++i) out.push_back(Describe(TheCommandQueue().At(i)));
    return out;
  }
  // Runs the text on an empty queue: what is queued and what was logged.
  std::pair<Lines, Lines> Run(const char* text, const char* arguments = nullptr) {
    TheCommandQueue().ResetForTests();
    ClearLog();
    Interpreter::Run(text, arguments);
    return {Queue(), LogLines()};
  }
  static Ref<KXObject> Object(int id, const char* extra = "") {
    char record[256];
    std::snprintf(record, sizeof record, "ObjectID=0x%x\nType=Document\nDocumentType=text\n%s", id, extra);
    Ref<KXObject> object(new KXObject(CString(record), Ref<Store>()));
    // An object of a store has an address.
    object->setStore(Ref<Store>(new Store("korvex://vela.test/")));
    return object;
  }
};

TEST_F(InterpreterTest, StatementsAndWhatTheyQueue) {
  struct Case {
    const char* text;
    const char* arguments;
    Lines queue;
    Lines log;
  };
  const Case cases[] = {
      {"goto Vela", nullptr, {"goto 'Vela'"}, {}},
      {"goto \"Vela; Lyra\"", nullptr, {"goto '\"Vela; Lyra\"'"}, {}},
      {"goto Vela   ;", nullptr, {"goto 'Vela   '"}, {}},
      {"goto #2", "korvex://a, b ,c", {"goto 'b '"}, {}},
      {"goto #2", nullptr, {"goto ''"}, {}},
      {"goto", nullptr, {}, {"goto command missing parameter (URL or collection name)"}},
      {"Back", nullptr, {}, {"Cannot interpret unknown command Back"}},
      {"*", nullptr, {}, {"Cannot interpret unknown command *"}},
      {"back", nullptr, {"back"}, {}},
      {"undo", nullptr, {"back"}, {}},
      {"forward", nullptr, {"forward"}, {}},
      {"redo now", nullptr, {"forward"}, {}},
      {"next", nullptr, {"next"}, {}},
      {"prev", nullptr, {"prev"}, {}},
      {"previous", nullptr, {"prev"}, {}},
      {"root", nullptr, {"root"}, {}},
      {"korvexroot", nullptr, {"korvexroot"}, {}},
      {"home", nullptr, {"home"}, {}},
      {"up", nullptr, {"up"}, {}},
      {"parents", nullptr, {"parents"}, {}},
      {"history", nullptr, {"history 50"}, {}},
      {"search", nullptr, {"search mode 0 ''"}, {}},
      {"search comet tails", nullptr, {"search mode 0 'comet tails'"}, {}},
      {"fulltextsearch comet", nullptr, {"search mode 1 'comet'"}, {}},
      {"fulltextsearch", nullptr, {"search mode 1 ''"}, {}},
      {"language", nullptr, {"language dialog"}, {}},
      {"language ge fr", nullptr, {"language 'ge'"}, {}},
      {"language ,ge", nullptr, {"language ''"}, {}},
      // Non-navigating commands queue in order; a navigating one empties
      // the queue first.
      {"language ge; language fr", nullptr, {"language 'ge'", "language 'fr'"}, {}},
      {"language ge; back; language fr", nullptr, {"back", "language 'fr'"}, {}},
      {"end; back", nullptr, {"quit"}, {}},
      {"do", nullptr, {}, {}},  // nothing is shown yet
      {"gotobookmark", nullptr, {}, {}},
      {"setbookmark korvex://vela/0x2; gotobookmark", nullptr, {"goto 'korvex://vela/0x2'"}, {}},
      {"stop", nullptr, {"stop"}, {}},
      {"language ge; reload", nullptr, {"language 'ge'", "reload"}, {}},
      {"  ;; ; ", nullptr, {}, {}},
      {"audioon; toggleaudio; set title.x = 1", nullptr, {}, {}},  // no page: nothing
  };
  for (const Case& c : cases) {
    Fresh();
    const auto [queue, log] = Run(c.text, c.arguments);
    EXPECT_EQ(queue, c.queue) << c.text;
    EXPECT_EQ(log, c.log) << c.text;
  }
}

TEST_F(InterpreterTest, CurrentObjectBookmarkAndAgain) {
  TheHistory().Push(Object(0x42, "GOid=00000001 00000042\n"));
  EXPECT_EQ(Run("do").first, Lines{"goto object 0x00000042"});
  EXPECT_EQ(Run("again").first, Lines{"goto object 0x00000042"});
  Run("setbookmark");
  EXPECT_STREQ(Interpreter::Bookmark(), "korvex:00000001 00000042");
  TheHistory().Push(Object(0x43));
  EXPECT_EQ(Run("gotobookmark").first, Lines{"goto 'korvex:00000001 00000042'"});
}

// Counts the sound switches the page's objects get.
class SoundCounter : public VGroup {
 public:
  SoundCounter() : VGroup(0, 0, 10, 10) {}
  void SetAudio(bool off) override { calls.push_back(off ? "off" : "on"); }
  void HandleEvent(PageEvent& event) override {
    if (event.code == PageEvent::AudioOff || event.code == PageEvent::AudioOn)
      calls.push_back(std::string(AudioMuted() ? "muted " : "loud ") +
                      (event.code == PageEvent::AudioOff ? "off" : "on"));
  }
  Lines calls;
};

TEST_F(InterpreterTest, AudioSwitchesOnceAndInOrder) {
  SoundCounter page;
  SwitchAudio(&page, AudioSwitch::On);  // not muted: nothing
  EXPECT_TRUE(page.calls.empty());
  SwitchAudio(&page, AudioSwitch::Off);  // switched off before the flag is set
  SwitchAudio(&page, AudioSwitch::Off);
  EXPECT_TRUE(AudioMuted());
  SwitchAudio(&page, AudioSwitch::Toggle);  // switched on after the flag is cleared
  SwitchAudio(&page, AudioSwitch::On);
  SwitchAudio(&page, AudioSwitch::Toggle);
  EXPECT_EQ(page.calls, (Lines{"loud off", "loud on", "loud off"}));
  EXPECT_TRUE(AudioMuted());
  SwitchAudio(nullptr, AudioSwitch::Toggle);
  EXPECT_TRUE(AudioMuted());
}

}  // namespace

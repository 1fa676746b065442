// The catalogue of user-command names in four languages.
#include <gtest/gtest.h>

#include <string>

#include "app/interpreter/command_names.h"
#include "core/languages.h"
#include "app/dialogs/support/ui_fixture.h"

namespace {

class CommandNamesTest : public shell_ui_test::UiTest {
 protected:
  static std::string In(const char* code, int slot) {
    Languages* languages = Languages::instance();
    EXPECT_TRUE(languages->prefer(code));
    return CommandName(slot).Text().str();
  }
};

TEST_F(CommandNamesTest, EnglishNamesInSlotOrder) {
  const char* english[kCommandNameTexts] = {
      "help", "quit", "exit", "language english", "language german", "language french",
      "language styrian", "info", "links", "references", "browse", "output +",
      "search on attributes", "find similar", "search titles", "search full text", "children",
      "parents", "home", "history", "undo", "redo", "continue", "identify", "insert document",
      "erase object", "move to coll.", "copy to coll.", "unlink from coll.", "create duplicate",
      "mail native", "mail ascii", "mail postscript", "mail rtf", "option sort", "option full text",
      "activate", "deactivate", "show active colls", "status", "edit text", "new text", "annotate",
      "make link", "update screen", "modify attributes", "add attributes", "change password",
      "goto collection", "show annotations", "", "insert collection", "insert cluster",
      "insert image", "insert movie", "insert sound", "insert scene", "insert postscript document",
      "insert remote connection", "insert generic", "send message", "make link", "inline"};
  for (int slot = 0; slot < kCommandNameTexts; ++slot) EXPECT_EQ(In("en", slot), english[slot]) << slot;
}

TEST_F(CommandNamesTest, VariantsByLanguage) {
  struct Case {
    int slot;
    int parts;
    const char* en;
    const char* ge;
    const char* fr;
    const char* st;
  };
  const Case cases[] = {
      {0, 4, "help", "hilfe", "aide", nullptr},
      {1, 3, "quit", "quit", "quitter", "gibs auf"},  // "??" serves English and German
      {2, 4, "exit", "ende", "sortir", nullptr},
      {7, 1, "info", "info", "info", "info"},
      {8, 3, "links", "links", "liens", "zag de links"},
      {39, 2, "status", "status", "status", nullptr},
      {43, 4, "make link", "verbinde", nullptr, nullptr},
      {49, 4, "show annotations", "zeige kommentare", "show annotations@", "zag kommentare"},
      {61, 4, "make link", "neuer Link", "make link", "moch an link"},
      {62, 1, "inline", "inline", "inline", "inline"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandName(c.slot).count(), c.parts) << c.slot;
    const char* codes[] = {"en", "ge", "fr", "st"};
    const char* want[] = {c.en, c.ge, c.fr, c.st};
    for (int i = 0; i < 4; ++i)
      if (want[i]) EXPECT_EQ(In(codes[i], c.slot), want[i]) << c.slot << " " << codes[i];
  }
  // Every other slot has one name in each of the four languages.
  for (int slot = 0; slot < kCommandNameTexts; ++slot) {
    if (slot == 0 || slot == 1 || slot == 2 || slot == 7 || slot == 8 || slot == 39 || slot == 43 ||
        slot == 49 || slot == 50 || slot == 61 || slot == 62)
      continue;
    EXPECT_EQ(CommandName(slot).count(), 4) << slot;
    for (const char* code : {"en", "ge", "fr", "st"}) EXPECT_FALSE(In(code, slot).empty()) << slot << code;
  }
}

TEST_F(CommandNamesTest, EmptySlots) {
  for (int slot : {50, 63, 69, 70, -1}) {
    EXPECT_EQ(CommandName(slot).count(), 0) << slot;
    EXPECT_EQ(In("en", slot), "") << slot;
  }
}

}  // namespace

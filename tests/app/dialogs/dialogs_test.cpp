// The shell's dialogs driven as a user drives them: keys typed into the
// login and search dialogs, clicks in the Language Options list, and the
// texts the search dialog takes from the styles.
#include <gtest/gtest.h>

#include <string>

#include "app/dialogs/dialog_resources.h"
#include "app/dialogs/interpreter_dialog.h"
#include "app/dialogs/language_options_dialog.h"
#include "app/dialogs/login_dialog.h"
#include "app/dialogs/search_dialog.h"
#include "core/languages.h"
#include "app/dialogs/support/ui_fixture.h"
#include "display/headless.h"

namespace {

using shell_ui_test::Driven;
using shell_ui_test::ItemText;
using shell_ui_test::Key;
using shell_ui_test::Type;
using shell_ui_test::WindowText;

class DialogsTest : public shell_ui_test::UiTest {};

TEST_F(DialogsTest, LoginTakesWhatIsTyped) {
  struct Case {
    const char* name;
    std::string keys;  // typed into the user field, which has the focus first
    bool cancel;
    INT_PTR result;
    const char* user;
    const char* password;
  };
  const Case cases[] = {
      {"right password", "alice\tlantern", false, IDOK, "alice", "lantern"},
      {"wrong password", "alice\tlanterns", false, IDOK, "alice", "lanterns"},
      {"empty password", "alice", false, IDOK, "alice", ""},
      {"cancelled", "bob\tsecret", true, IDCANCEL, "guest", "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Driven<CLoginDlg> dlg;
    dlg.user = "guest";
    dlg.password = "old";
    dlg.location = "korvex://vela.example:1234/";
    std::string shownLocation;
    UINT passwordChar = 0;
    dlg.steps.push_back([&](Driven<CLoginDlg>& d) {
      shownLocation = ItemText(d.m_hWnd, kLoginLocationEdit);
      passwordChar = static_cast<UINT>(
          ::SendDlgItemMessage(d.m_hWnd, kLoginPasswordEdit, EM_GETPASSWORDCHAR, 0, 0));
      // The user field starts selected, so typing replaces the preset name;
      // the password field is selected when the tab key reaches it.
      for (const char ch : c.keys) {
        if (ch == '\t')
          Key(VK_TAB);
        else
          Type(std::string(1, ch));
      }
      if (c.keys.find('\t') == std::string::npos && !c.cancel) {
        Key(VK_TAB);
        Key(VK_DELETE);
      }
    });
    dlg.steps.push_back([&](Driven<CLoginDlg>&) { Key(c.cancel ? VK_ESCAPE : VK_RETURN); });
    EXPECT_EQ(dlg.DoModal(), c.result);
    EXPECT_EQ(shownLocation, "korvex://vela.example:1234/");
    EXPECT_NE(passwordChar, 0u);  // typed characters are hidden
    EXPECT_STREQ(dlg.user, c.user);
    EXPECT_STREQ(dlg.password, c.password);
    EXPECT_STREQ(dlg.location, "korvex://vela.example:1234/");
  }
}

TEST_F(DialogsTest, SearchTakesTheExpressionAndTheFullTextOption) {
  Driven<CSearchDlg> dlg;
  bool checkedAtStart = true;
  dlg.steps.push_back([&](Driven<CSearchDlg>& d) {
    checkedAtStart = ::IsDlgButtonChecked(d.m_hWnd, kSearchFullTextCheck) != 0;
    Type("comet tails");
    Key(VK_TAB);
    Key(VK_SPACE);  // the check box
  });
  dlg.steps.push_back([&](Driven<CSearchDlg>&) { Key(VK_RETURN); });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_FALSE(checkedAtStart);
  EXPECT_STREQ(dlg.expression, "comet tails");
  EXPECT_EQ(dlg.fullText, 1);

  // Cancel keeps what the caller set.
  Driven<CSearchDlg> again;
  again.fullText = 1;
  again.expression = "nebula";
  again.steps.push_back([&](Driven<CSearchDlg>& d) {
    EXPECT_EQ(ItemText(d.m_hWnd, kSearchExpressionEdit), "nebula");
    EXPECT_TRUE(::IsDlgButtonChecked(d.m_hWnd, kSearchFullTextCheck));
    Type("x");
    Key(VK_ESCAPE);
  });
  EXPECT_EQ(again.DoModal(), IDCANCEL);
  EXPECT_STREQ(again.expression, "nebula");
}

TEST_F(DialogsTest, SearchTextsFollowTheStylesAndThePreferredLanguage) {
  struct Texts {
    std::string question, caption, option;
  };
  const Texts templateTexts{"&Search expression:", "Search", "in &whole text"};
  auto shown = [] {
    Texts t;
    Driven<CSearchDlg> dlg;
    dlg.steps.push_back([&](Driven<CSearchDlg>& d) {
      t = {ItemText(d.m_hWnd, kSearchQuestionText), WindowText(d.m_hWnd),
           ItemText(d.m_hWnd, kSearchFullTextCheck)};
      Key(VK_ESCAPE);
    });
    dlg.DoModal();
    return t;
  };
  auto expect = [](const Texts& got, const Texts& want) {
    EXPECT_EQ(got.question, want.question);
    EXPECT_EQ(got.caption, want.caption);
    EXPECT_EQ(got.option, want.option);
  };

  {
    SCOPED_TRACE("no SearchDialog struct");
    expect(shown(), templateTexts);
  }
  // The caption has no English part, the option is empty: the caption
  // falls back to the German text, the option keeps the template's.
  Styles(
      "SearchDialog = { String question = \"en:Find what?|ge:Was suchen?\"; "
      "String caption = \"ge:Suche\"; String fulltextoption = \"\" }");
  {
    SCOPED_TRACE("English first");
    expect(shown(), {"Find what?", "Suche", "in &whole text"});
  }
  ASSERT_TRUE(Languages::instance()->prefer("ge"));
  {
    SCOPED_TRACE("German first");
    expect(shown(), {"Was suchen?", "Suche", "in &whole text"});
  }
}

// The names the list shows, top to bottom.
std::string ListNames(HWND dialog) {
  HWND list = ::GetDlgItem(dialog, kLanguageList);
  std::string names;
  const int n = static_cast<int>(::SendMessage(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char buf[64] = {};
    ::SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    names += (i ? "," : "") + std::string(buf);
  }
  return names;
}

// A click on the entry at that position, as the list box reports it.
void ClickEntry(HWND dialog, int index) {
  HWND list = ::GetDlgItem(dialog, kLanguageList);
  RECT r{};
  ::SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ::ClientToScreen(list, &p);
  win::headless::Click(p.x, p.y);
}

TEST_F(DialogsTest, LanguageClicksReorderAtOnceAndCancelRestores) {
  Languages* languages = Languages::instance();
  ASSERT_TRUE(languages->setOrder("engefr"));
  const std::string english = languages->name("en").str();
  const std::string german = languages->name("ge").str();
  const std::string french = languages->name("fr").str();

  Driven<CLanguageOptionsDlg> dlg;
  std::vector<std::string> lists, orders;
  auto record = [&](Driven<CLanguageOptionsDlg>& d) {
    lists.push_back(ListNames(d.m_hWnd));
    orders.push_back(languages->orderString().str());
  };
  dlg.steps.push_back([&](Driven<CLanguageOptionsDlg>& d) {
    record(d);
    ClickEntry(d.m_hWnd, 0);  // the first entry: nothing changes
  });
  dlg.steps.push_back([&](Driven<CLanguageOptionsDlg>& d) {
    record(d);
    ClickEntry(d.m_hWnd, 1);  // German to the top
  });
  dlg.steps.push_back([&](Driven<CLanguageOptionsDlg>& d) {
    record(d);
    ClickEntry(d.m_hWnd, 1);  // English back to the top: the opening order
  });
  dlg.steps.push_back([&](Driven<CLanguageOptionsDlg>& d) {
    record(d);
    ClickEntry(d.m_hWnd, 2);  // French to the top
  });
  dlg.steps.push_back([&](Driven<CLanguageOptionsDlg>& d) {
    record(d);
    Key(VK_ESCAPE);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  const std::string opening = english + "," + german + "," + french;
  EXPECT_EQ(lists, (std::vector<std::string>{opening, opening, german + "," + english + "," + french,
                                             opening, french + "," + english + "," + german}));
  EXPECT_EQ(orders, (std::vector<std::string>{"engefr", "engefr", "geenfr", "engefr", "frenge"}));
  EXPECT_STREQ(languages->orderString(), "engefr");
  EXPECT_FALSE(dlg.IsChanged());
}

TEST_F(DialogsTest, LanguageSwitchKeptByOk) {
  Languages* languages = Languages::instance();
  Driven<CLanguageOptionsDlg> dlg;
  dlg.steps.push_back([&](Driven<CLanguageOptionsDlg>& d) { ClickEntry(d.m_hWnd, 1); });
  dlg.steps.push_back([&](Driven<CLanguageOptionsDlg>&) { Key(VK_RETURN); });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(dlg.IsChanged());
  EXPECT_EQ(languages->codeAtRank(0), CString("ge"));
  EXPECT_EQ(languages->codeAtRank(1), CString("en"));
}

TEST_F(DialogsTest, InterpreterWindowExchangesItsText) {
  Driven<InterpreterDialog> dlg;
  dlg.text = "goto Vela";
  std::string shown;
  dlg.steps.push_back([&](Driven<InterpreterDialog>& d) {
    shown = ItemText(d.m_hWnd, kInterpreterTextEdit);
    Key(VK_END);
    Type("; back");
    // Return breaks the line in the edit instead of pressing Ok.
    Key(VK_RETURN);
    Type("home");
  });
  dlg.steps.push_back([&](Driven<InterpreterDialog>& d) {
    EXPECT_TRUE(::IsWindowVisible(d.m_hWnd));
    d.PostMessage(WM_COMMAND, IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(shown, "goto Vela");
  EXPECT_STREQ(dlg.text, "goto Vela; back\r\nhome");
}

}  // namespace

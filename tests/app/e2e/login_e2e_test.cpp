// The connect command with the login dialog (answered by the test as a user
// would fill it): the typed user is logged in, a wrong password is refused,
// and cancelling ends the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands/session_commands.h"
#include "app/history/nav_history.h"
#include "app/shell_state.h"
#include "app/shell_ui.h"
#include "app/support/shell_fixture.h"

namespace app_test {
namespace {

// What the user types into the dialog; `ok` false is Cancel.
struct Typed {
  bool ok;
  const char* user;
  const char* password;
};
Typed gTyped;
std::vector<std::string> gShown;

BOOL FakeLogin(LoginFields& fields) {
  gShown.push_back(fields.user.str() + "|" + fields.location.str());
  if (!gTyped.ok) return FALSE;
  fields.user = gTyped.user;
  fields.password = gTyped.password;
  return TRUE;
}

class LoginTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    gShown.clear();
    ini["CONNECT"]["Autologin"] = "0";
    ini["CONNECT"]["Login"] = "carol";
  }
  void Start(Typed typed) {
    gTyped = typed;
    StartPeer();
    ShellUi ui;
    ui.login = &FakeLogin;
    ReplaceShellUi(ui);
    StartClient();
  }
};

TEST_F(LoginTest, TheTypedUserIsLoggedInAndShownItsHome) {
  Start({true, "alice", "stargazer"});
  ASSERT_TRUE(IdleUntil([] { return bool(TheHistory().Current()); })) << ::testing::PrintToString(BoxTexts());
  // The dialog came with the configured user and the server's address.
  ASSERT_EQ(gShown.size(), 1u);
  EXPECT_EQ(gShown[0], "carol|" + ini["CONNECT"]["Server"]);
  EXPECT_EQ(CurrentId(), 0x109);
  EXPECT_EQ(TheHistory().Current()->getUserName(), "alice");
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
}

TEST_F(LoginTest, AWrongPasswordIsNotIdentifiedAndEndsTheProgram) {
  Start({true, "alice", "wrong"});
  IdleUntil([&] { return !BoxTexts().empty(); });
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kCannotIdentifyText});
  EXPECT_TRUE(quitSeen || IdleUntil([&] { return quitSeen; }));
  EXPECT_EQ(quitCode, 1);
}

TEST_F(LoginTest, CancelEndsTheProgramThroughTheQuitCommand) {
  Start({false, "", ""});
  IdleUntil([] { return StopFlag(); });
  EXPECT_TRUE(StopFlag());
  EXPECT_EQ(TheHistory().Current(), nullptr);
  EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
}  // namespace app_test

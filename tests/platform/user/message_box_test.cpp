#include <vector>

#include "display/headless.h"
#include "recorder.h"
#include "win/kernel.h"

using namespace user_test;

namespace {

using MessageBoxTest = UserTest;

TEST_F(MessageBoxTest, DefaultAnswersFollowTheDefaultButton) {
  struct Case {
    UINT type;
    int answer;
  };
  const Case cases[] = {
      {MB_OK, IDOK},
      {MB_OK | MB_DEFBUTTON2, IDOK},  // a button the box lacks: the first
      {MB_OKCANCEL, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_YESNO, IDYES},
      {MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_RETRYCANCEL, IDRETRY},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MessageBoxDefaultAnswer(c.type), c.answer) << c.type;
    EXPECT_EQ(MessageBox(nullptr, "t", "c", c.type), c.answer) << c.type;
  }
  EXPECT_EQ(win::MessageBoxLog().size(), std::size(cases));
}

TEST_F(MessageBoxTest, QueuedAnswersComeFirstThenTheHookThenTheDefault) {
  HWND owner = Top();
  win::QueueMessageBoxAnswer(IDNO);
  win::QueueMessageBoxAnswer(IDCANCEL);
  EXPECT_EQ(MessageBox(owner, "Delete File Cache?", "Tolm", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBox(nullptr, "second", nullptr, MB_OKCANCEL), IDCANCEL);
  int hooked = 0;
  win::SetMessageBoxHook([&](const win::MessageBoxRecord& r) {
    ++hooked;
    return r.text == "third" ? IDRETRY : IDABORT;
  });
  EXPECT_EQ(MessageBox(nullptr, "third", "x", MB_RETRYCANCEL), IDRETRY);
  win::SetMessageBoxHook(nullptr);
  EXPECT_EQ(MessageBox(nullptr, nullptr, "x", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(hooked, 1);

  const auto& log = win::MessageBoxLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0].owner, owner);
  EXPECT_EQ(log[0].text, "Delete File Cache?");
  EXPECT_EQ(log[0].caption, "Tolm");
  EXPECT_EQ(log[0].type, static_cast<UINT>(MB_YESNO));
  EXPECT_EQ(log[0].answer, IDNO);
  EXPECT_EQ(log[1].caption, "Error");  // Windows' caption for none
  EXPECT_EQ(log[3].text, "");

  win::QueueMessageBoxAnswer(IDYES);
  win::ClearMessageBoxLog();  // also drops the queued answer
  EXPECT_TRUE(win::MessageBoxLog().empty());
  EXPECT_EQ(MessageBox(nullptr, "t", "c", MB_YESNO), IDYES);  // the default, not the dropped one
}

}  // namespace

namespace {

// Box windows: answered by the user through the same input path as the
// display's.
class MessageBoxWindowTest : public user_test::UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    win::ShowMessageBoxWindows(1);
  }
};

HWND gBoxOwner = nullptr;
int gClickId = 0;
std::vector<UINT> gKeys;

// Runs from a timer inside the box's modal loop: the box is the active window.
void CALLBACK AnswerTheBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND box = GetActiveWindow();
  EXPECT_NE(box, gBoxOwner);
  if (gBoxOwner) {
    EXPECT_FALSE(IsWindowEnabled(gBoxOwner));
  }
  if (gClickId) {
    RECT r;
    ASSERT_TRUE(GetWindowRect(GetDlgItem(box, gClickId), &r));
    win::headless::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  for (UINT vk : gKeys) win::headless::TypeKey(vk);
}

TEST_F(MessageBoxWindowTest, TheUserAnswersWithTheMouseOrTheKeyboard) {
  struct Case {
    const char* what;
    UINT type;
    int click;
    std::vector<UINT> keys;
    int answer;
  };
  const Case cases[] = {
      {"click No", MB_YESNO, IDNO, {}, IDNO},
      {"click Retry", MB_RETRYCANCEL, IDRETRY, {}, IDRETRY},
      {"Enter takes the default", MB_YESNOCANCEL | MB_DEFBUTTON2, 0, {VK_RETURN}, IDNO},
      {"Escape cancels", MB_OKCANCEL, 0, {VK_ESCAPE}, IDCANCEL},
      {"Escape closes an OK box", MB_OK, 0, {VK_ESCAPE}, IDOK},
      {"Tab moves to the next button", MB_YESNO, 0, {VK_TAB, VK_RETURN}, IDNO},
  };
  HWND owner = Top("owner");
  ShowWindow(owner, SW_SHOW);
  for (const Case& c : cases) {
    gBoxOwner = owner;
    gClickId = c.click;
    gKeys = c.keys;
    SetTimer(nullptr, 0, 10, AnswerTheBox);
    EXPECT_EQ(MessageBox(owner, "Delete File Cache?", "Tolm", c.type), c.answer) << c.what;
    EXPECT_TRUE(IsWindowEnabled(owner)) << c.what;
    EXPECT_EQ(GetActiveWindow(), owner) << c.what;
  }
  EXPECT_EQ(win::MessageBoxLog().size(), std::size(cases));
  EXPECT_EQ(win::MessageBoxLog().back().answer, IDNO);
  // A queued answer still comes first.
  win::QueueMessageBoxAnswer(IDCANCEL);
  EXPECT_EQ(MessageBox(owner, "t", "c", MB_YESNOCANCEL), IDCANCEL);
}

TEST_F(MessageBoxWindowTest, AQuitEndsTheBoxWithTheDefaultAndStaysQueued) {
  gBoxOwner = nullptr;
  gClickId = 0;
  gKeys.clear();
  SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(4);
  });
  EXPECT_EQ(MessageBox(nullptr, "t", "c", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 4u);
}

}  // namespace

#include "recorder.h"

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

// Message maps: each kind of entry reaches its handler with the arguments
// decoded, results go back to the sender, base maps are searched after the
// derived one, Default passes the current message on, and the window object
// is tied to its handle before the window's first message.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "mfc/afx.h"
#include "support/mfc_fixture.h"

namespace {

using mfc_test::MfcTest;

std::string Format(const char* fmt, long long a = 0, long long b = 0, long long c = 0) {
  char buf[128];
  std::snprintf(buf, sizeof buf, fmt, a, b, c);
  return buf;
}

constexpr UINT kUserMessage = WM_USER + 5;
constexpr UINT kCommand = 100;
constexpr UINT kDisabledCommand = 101;
constexpr UINT kRangeFirst = 201;
constexpr UINT kRangeLast = 203;
constexpr UINT kButton = 300;

class Recorder : public CWnd {
 public:
  std::vector<std::string> log;
  HWND other = nullptr;  // the window the focus and palette messages name
  HBRUSH brush = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(0x1234));

  void Add(const std::string& s) { log.push_back(s); }
  std::string Name(CWnd* w) const { return !w ? "null" : w->m_hWnd == other ? "other" : "?"; }

  afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs) {
    Add(std::string("nccreate ") + cs->lpszName);
    return CWnd::OnNcCreate(cs);
  }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    Add(std::string("create ") + cs->lpszName);
    return CWnd::OnCreate(cs);
  }
  afx_msg void OnDestroy() {
    Add("destroy");
    CWnd::OnDestroy();
  }
  afx_msg void OnClose() { Add("close"); }  // no default: the window stays
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    Add(dc.m_hDC ? "paint" : "paint without dc");
  }
  afx_msg BOOL OnEraseBkgnd(CDC* dc) {
    Add(dc && dc->m_hDC ? "erase" : "erase without dc");
    return TRUE;
  }
  afx_msg void OnSize(UINT type, int cx, int cy) { Add(Format("size %lld %lld %lld", type, cx, cy)); }
  afx_msg void OnMove(int x, int y) { Add(Format("move %lld %lld", x, y)); }
  afx_msg void OnTimer(UINT_PTR id) { Add(Format("timer %lld", static_cast<long long>(id))); }
  afx_msg void OnLButtonDown(UINT f, CPoint p) { Add(Format("ldown %lld %lld,%lld", f, p.x, p.y)); }
  afx_msg void OnLButtonUp(UINT f, CPoint p) { Add(Format("lup %lld %lld,%lld", f, p.x, p.y)); }
  afx_msg void OnLButtonDblClk(UINT f, CPoint p) { Add(Format("ldbl %lld %lld,%lld", f, p.x, p.y)); }
  afx_msg void OnRButtonDown(UINT f, CPoint p) { Add(Format("rdown %lld %lld,%lld", f, p.x, p.y)); }
  afx_msg void OnRButtonUp(UINT f, CPoint p) { Add(Format("rup %lld %lld,%lld", f, p.x, p.y)); }
  afx_msg void OnMouseMove(UINT f, CPoint p) { Add(Format("move-mouse %lld %lld,%lld", f, p.x, p.y)); }
  afx_msg BOOL OnSetCursor(CWnd* w, UINT hit, UINT msg) {
    Add("setcursor " + Name(w) + Format(" %lld %lld", hit, msg));
    return TRUE;
  }
  afx_msg void OnKeyDown(UINT c, UINT r, UINT f) { Add(Format("keydown %lld %lld %lld", c, r, f)); }
  afx_msg void OnKeyUp(UINT c, UINT r, UINT f) { Add(Format("keyup %lld %lld %lld", c, r, f)); }
  afx_msg void OnChar(UINT c, UINT r, UINT f) { Add(Format("char %lld %lld %lld", c, r, f)); }
  afx_msg void OnSetFocus(CWnd* old) { Add("setfocus " + Name(old)); }
  afx_msg void OnKillFocus(CWnd* next) { Add("killfocus " + Name(next)); }
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar) {
    Add(Format("hscroll %lld %lld", code, pos) + (bar ? " bar" : " null"));
  }
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
    Add(Format("vscroll %lld %lld", code, pos) + (bar ? " bar" : " null"));
  }
  afx_msg BOOL OnQueryEndSession() {
    Add("queryend");
    return FALSE;
  }
  afx_msg void OnEndSession(BOOL ending) { Add(Format("endsession %lld", ending)); }
  afx_msg void OnPaletteChanged(CWnd* w) { Add("palettechanged " + Name(w)); }
  afx_msg BOOL OnQueryNewPalette() {
    Add("querynewpalette");
    return TRUE;
  }
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* w, UINT type) {
    Add("ctlcolor " + Name(w) + Format(" %lld", type) + (dc ? " dc" : " nodc"));
    return brush;
  }
  afx_msg LRESULT OnUser(WPARAM wp, LPARAM lp) {
    Add(Format("user %lld %lld", static_cast<long long>(wp), lp));
    return 99;
  }
  afx_msg LRESULT OnSetText(WPARAM, LPARAM lp) {
    Add(std::string("settext ") + reinterpret_cast<const char*>(lp));
    return Default();  // the text is kept by the default processing
  }
  afx_msg void OnCommandHandler() { Add("command"); }
  afx_msg void OnDisabledCommand() { Add("disabled command ran"); }
  afx_msg void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }
  afx_msg void OnRange(UINT id) { Add(Format("range %lld", id)); }
  afx_msg void OnButtonClicked() { Add("clicked"); }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Recorder, CWnd)
  ON_WM_NCCREATE()
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_MOVE()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
  ON_WM_CHAR()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_QUERYENDSESSION()
  ON_WM_ENDSESSION()
  ON_WM_PALETTECHANGED()
  ON_WM_QUERYNEWPALETTE()
  ON_WM_CTLCOLOR()
  ON_MESSAGE(kUserMessage, OnUser)
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_COMMAND(kCommand, OnCommandHandler)
  ON_COMMAND(kDisabledCommand, OnDisabledCommand)
  ON_UPDATE_COMMAND_UI(kDisabledCommand, OnUpdateDisabled)
  ON_COMMAND_RANGE(kRangeFirst, kRangeLast, OnRange)
  ON_BN_CLICKED(kButton, OnButtonClicked)
END_MESSAGE_MAP()

// Overrides one handler; everything else comes from the base's map.
class DerivedRecorder : public Recorder {
 public:
  afx_msg void OnSize(UINT, int cx, int) { Add(Format("derived size %lld", cx)); }
  afx_msg void OnTimer(UINT_PTR id) {
    Add("derived timer");
    Recorder::OnTimer(id);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedRecorder, Recorder)
  ON_WM_SIZE()
  ON_WM_TIMER()
END_MESSAGE_MAP()

class MessageMapTest : public MfcTest {
 protected:
  template <class W>
  void Make(W& w) {
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS);
    ASSERT_NE(cls, nullptr);
    ASSERT_TRUE(w.CreateEx(0, cls, "rec", WS_POPUP | WS_VISIBLE, 10, 20, 200, 100, nullptr, nullptr));
    w.other = CreateWindow("STATIC", "other", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w.other, nullptr);
  }
};

TEST_F(MessageMapTest, TheObjectIsTiedBeforeTheFirstMessage) {
  Recorder w;
  Make(w);
  ASSERT_GE(w.log.size(), 2u);
  EXPECT_EQ(w.log[0], "nccreate rec");
  EXPECT_EQ(w.log[1], "create rec");
  EXPECT_EQ(CWnd::FromHandlePermanent(w.m_hWnd), &w);
  // The window's own class procedure is the framework's: no default to chain.
  EXPECT_EQ(::SendMessage(w.m_hWnd, WM_QUERYAFXWNDPROC, 0, 0), 1);
}

TEST_F(MessageMapTest, EachEntryDecodesItsArguments) {
  Recorder w;
  Make(w);
  HDC dc = GetDC(w.m_hWnd);
  struct Case {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    std::string expected;
    LRESULT result;
  };
  const HWND other = w.other;
  const Case cases[] = {
      {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(30, 40), "size 2 30 40", 0},
      {WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-5), 7), "move -5 7", 0},
      {WM_TIMER, 9, 0, "timer 9", 0},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4), "ldown 1 3,4", 0},
      {WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-3), 4), "lup 0 -3,4", 0},
      {WM_LBUTTONDBLCLK, MK_LBUTTON | MK_SHIFT, MAKELPARAM(1, 2), "ldbl 5 1,2", 0},
      {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(6, 7), "rdown 2 6,7", 0},
      {WM_RBUTTONUP, 0, MAKELPARAM(6, 7), "rup 0 6,7", 0},
      {WM_MOUSEMOVE, MK_CONTROL, MAKELPARAM(8, static_cast<WORD>(-9)), "move-mouse 8 8,-9", 0},
      {WM_SETCURSOR, reinterpret_cast<WPARAM>(other), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
       "setcursor other 1 512", TRUE},
      {WM_KEYDOWN, 'A', MAKELPARAM(2, 0x1E), "keydown 65 2 30", 0},
      {WM_KEYUP, 'A', MAKELPARAM(1, 0xC01E), "keyup 65 1 49182", 0},
      {WM_CHAR, 'a', MAKELPARAM(1, 0x1E), "char 97 1 30", 0},
      {WM_SETFOCUS, reinterpret_cast<WPARAM>(other), 0, "setfocus other", 0},
      {WM_KILLFOCUS, 0, 0, "killfocus null", 0},
      {WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 77), 0, "hscroll 5 77 null", 0},
      {WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0, "vscroll 1 0 null", 0},
      {WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0, "erase", TRUE},
      {WM_CLOSE, 0, 0, "close", 0},
      {WM_QUERYENDSESSION, 0, 0, "queryend", FALSE},
      {WM_ENDSESSION, TRUE, 0, "endsession 1", 0},
      {WM_PALETTECHANGED, reinterpret_cast<WPARAM>(other), 0, "palettechanged other", 0},
      {WM_QUERYNEWPALETTE, 0, 0, "querynewpalette", TRUE},
      {WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(other),
       "ctlcolor other 3 dc", reinterpret_cast<LRESULT>(w.brush)},
      {WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(other),
       "ctlcolor other 6 dc", reinterpret_cast<LRESULT>(w.brush)},
      {kUserMessage, 1, 2, "user 1 2", 99},
      {WM_COMMAND, kCommand, 0, "command", 1},
      {WM_COMMAND, MAKEWPARAM(202, 0), 0, "range 202", 1},
      {WM_COMMAND, MAKEWPARAM(kButton, BN_CLICKED), reinterpret_cast<LPARAM>(other), "clicked", 1},
  };
  for (const Case& c : cases) {
    w.log.clear();
    const LRESULT r = ::SendMessage(w.m_hWnd, c.msg, c.wp, c.lp);
    ASSERT_EQ(w.log.size(), 1u) << "message 0x" << std::hex << c.msg;
    EXPECT_EQ(w.log[0], c.expected);
    EXPECT_EQ(r, c.result) << c.expected;
  }
  ReleaseDC(w.m_hWnd, dc);
  // Paint comes through the queue.
  w.UpdateWindow();
  w.log.clear();
  w.Invalidate(FALSE);
  w.UpdateWindow();
  EXPECT_EQ(w.log, (std::vector<std::string>{"paint"}));
  EXPECT_TRUE(IsWindow(w.m_hWnd));  // WM_CLOSE's handler kept it
  w.log.clear();
  w.DestroyWindow();
  ASSERT_FALSE(w.log.empty());
  EXPECT_EQ(w.log.back(), "destroy");
  EXPECT_EQ(w.m_hWnd, nullptr);
  DestroyWindow(w.other);
}

TEST_F(MessageMapTest, CommandsDisabledByTheirUpdateHandlerAreDropped) {
  Recorder w;
  Make(w);
  w.log.clear();
  // A menu or accelerator command is asked about first.
  EXPECT_EQ(::SendMessage(w.m_hWnd, WM_COMMAND, kDisabledCommand, 0), 1);
  EXPECT_TRUE(w.log.empty());
  // Ids outside every entry are not handled: the default processing runs.
  EXPECT_EQ(::SendMessage(w.m_hWnd, WM_COMMAND, kRangeLast + 1, 0), 0);
  EXPECT_TRUE(w.log.empty());
  // CCmdUI asks the update handler and, without one, whether a handler exists.
  CCmdUI ui;
  struct Probe : CCmdUI {
    BOOL enabled = -1;
    void Enable(BOOL on) override {
      enabled = on;
      m_bEnableChanged = TRUE;
    }
  } probe;
  probe.m_nID = kDisabledCommand;
  EXPECT_TRUE(probe.DoUpdate(&w, TRUE));
  EXPECT_EQ(probe.enabled, FALSE);
  probe.m_nID = kCommand;
  probe.enabled = -1;
  EXPECT_FALSE(probe.DoUpdate(&w, TRUE));  // no update handler...
  EXPECT_EQ(probe.enabled, TRUE);          // ...but a command handler
  probe.m_nID = 999;
  EXPECT_FALSE(probe.DoUpdate(&w, TRUE));
  EXPECT_EQ(probe.enabled, FALSE);
  DestroyWindow(w.other);
}

TEST_F(MessageMapTest, DerivedMapsComeFirstAndFallBackToTheBase) {
  DerivedRecorder w;
  Make(w);
  w.log.clear();
  ::SendMessage(w.m_hWnd, WM_SIZE, 0, MAKELPARAM(7, 8));
  ::SendMessage(w.m_hWnd, WM_TIMER, 3, 0);
  ::SendMessage(w.m_hWnd, WM_MOVE, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(w.log, (std::vector<std::string>{"derived size 7", "derived timer", "timer 3",
                                             "move 1 1"}));
  DestroyWindow(w.other);
}

TEST_F(MessageMapTest, DefaultPassesTheCurrentMessageOn) {
  Recorder w;
  Make(w);
  w.log.clear();
  w.SetWindowText("hello");
  EXPECT_EQ(w.log, (std::vector<std::string>{"settext hello"}));
  CString text;
  w.GetWindowText(text);
  EXPECT_STREQ(text, "hello");
  EXPECT_EQ(w.GetCurrentMessage()->message, 0u);  // nothing is being handled now
  DestroyWindow(w.other);
}

// A control of a standard class made through the framework: the creation
// hook ties it before WM_NCCREATE, and its class's behaviour stays the
// default processing.
class HookedButton : public CButton {
 public:
  std::vector<UINT> seen;
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs) {
    seen.push_back(WM_NCCREATE);
    return CButton::OnNcCreate(cs);
  }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    seen.push_back(WM_CREATE);
    return CButton::OnCreate(cs);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HookedButton, CButton)
  ON_WM_NCCREATE()
  ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(MessageMapTest, StandardControlsMadeThroughTheFrameworkAreTiedFromTheStart) {
  Recorder parent;
  Make(parent);
  HookedButton button;
  ASSERT_TRUE(button.Create("Press", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 0, 50, 20),
                            &parent, 77));
  EXPECT_EQ(button.seen, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  EXPECT_EQ(button.GetDlgCtrlID(), 77);
  CString caption;
  button.GetWindowText(caption);
  EXPECT_STREQ(caption, "Press");  // the BUTTON class kept its text
  button.SetCheck(BST_CHECKED);
  EXPECT_EQ(button.GetCheck(), BST_CHECKED);
  parent.DestroyWindow();  // the child goes with it and is untied
  EXPECT_EQ(button.m_hWnd, nullptr);
  DestroyWindow(parent.other);
}

class Refuses : public CWnd {
 public:
  afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
  void PostNcDestroy() override { ++ended; }
  int ended = 0;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Refuses, CWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(MessageMapTest, AFailedCreationUntiesTheObject) {
  Refuses w;
  EXPECT_FALSE(w.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(w.m_hWnd, nullptr);
  EXPECT_EQ(w.ended, 1);  // WM_NCDESTROY ran it once
}

}  // namespace

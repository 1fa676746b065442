// A single-document template making document, frame and view in the
// framework's order; commands routed view, document, frame, application;
// the view as the frame's client; accelerators and menu updates; closing the
// main frame closes the document and ends the loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/headless.h"
#include "mfc/afx.h"
#include "support/mfc_fixture.h"

namespace {

using mfc_test::MfcTest;

std::vector<std::string>& Events() {
  static std::vector<std::string> e;
  return e;
}
void Note(const std::string& s) { Events().push_back(s); }

constexpr UINT kTemplate = 128;
constexpr UINT kAppOnly = 40001;
constexpr UINT kEveryone = 40002;
constexpr UINT kDocFrameApp = 40003;
constexpr UINT kFrameApp = 40004;
constexpr UINT kNobody = 40005;

class TDoc : public CDocument {
  DECLARE_DYNCREATE(TDoc)
 public:
  TDoc() { Note("doc constructed"); }
  ~TDoc() override { Note("doc deleted"); }
  BOOL OnNewDocument() override {
    Note("doc new, views " + std::to_string(GetViewCount()));
    return CDocument::OnNewDocument();
  }
  afx_msg void OnEveryone() { Note("doc"); }
  afx_msg void OnDocFrameApp() { Note("doc"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TDoc, CDocument)
BEGIN_MESSAGE_MAP(TDoc, CDocument)
  ON_COMMAND(kEveryone, OnEveryone)
  ON_COMMAND(kDocFrameApp, OnDocFrameApp)
END_MESSAGE_MAP()

class TView : public CView {
  DECLARE_DYNCREATE(TView)
 public:
  ~TView() override { Note("view deleted"); }
  void OnDraw(CDC*) override {}
  void OnInitialUpdate() override {
    Note("view initial update");
    CView::OnInitialUpdate();
  }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    const int r = CView::OnCreate(cs);
    Note(std::string("view create, document ") + (GetDocument() ? "set" : "missing"));
    return r;
  }
  afx_msg void OnEveryone() { Note("view"); }
  afx_msg void OnUpdateEveryone(CCmdUI* ui) { ui->SetCheck(1); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TView, CView)
BEGIN_MESSAGE_MAP(TView, CView)
  ON_WM_CREATE()
  ON_COMMAND(kEveryone, OnEveryone)
  ON_UPDATE_COMMAND_UI(kEveryone, OnUpdateEveryone)
END_MESSAGE_MAP()

class TFrame : public CFrameWnd {
  DECLARE_DYNCREATE(TFrame)
 public:
  ~TFrame() override { Note("frame deleted"); }
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.style = WS_OVERLAPPEDWINDOW;
    return TRUE;
  }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    Note("frame create");
    return CFrameWnd::OnCreate(cs);
  }
  afx_msg void OnEveryone() { Note("frame"); }
  afx_msg void OnDocFrameApp() { Note("frame"); }
  afx_msg void OnFrameApp() { Note("frame"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(TFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(kEveryone, OnEveryone)
  ON_COMMAND(kDocFrameApp, OnDocFrameApp)
  ON_COMMAND(kFrameApp, OnFrameApp)
END_MESSAGE_MAP()

class TApp : public CWinApp {
 public:
  TApp() : CWinApp("Test") {}
  afx_msg void OnAll() { Note("app"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TApp, CWinApp)
  ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
  ON_COMMAND(kAppOnly, OnAll)
  ON_COMMAND(kEveryone, OnAll)
  ON_COMMAND(kDocFrameApp, OnAll)
  ON_COMMAND(kFrameApp, OnAll)
END_MESSAGE_MAP()

const char kScript[] =
    "128 MENU\n"
    "BEGIN\n"
    "  POPUP \"&File\"\n"
    "  BEGIN\n"
    "    MENUITEM \"&New\", 57600\n"
    "    MENUITEM \"Everyone\", 40002\n"
    "    MENUITEM \"Frame\", 40004\n"
    "    MENUITEM \"Nobody\", 40005\n"
    "  END\n"
    "END\n"
    "128 ACCELERATORS\n"
    "BEGIN\n"
    "  \"Q\", 40004, VIRTKEY, CONTROL\n"
    "END\n";

class DocFrameViewTest : public MfcTest {
 protected:
  void SetUp() override {
    MfcTest::SetUp();
    Events().clear();
    mfc_test::RegisterScript(kScript);
    app_.AddDocTemplate(new CSingleDocTemplate(kTemplate, RUNTIME_CLASS(TDoc),
                                               RUNTIME_CLASS(TFrame), RUNTIME_CLASS(TView)));
    app_.m_nCmdShow = SW_SHOWNORMAL;
  }
  void TearDown() override {
    // The frame goes the way the program ends: closed.
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(WM_CLOSE);
    mfc_test::TakeQuit();
    MfcTest::TearDown();
  }
  CFrameWnd* Frame() { return dynamic_cast<CFrameWnd*>(AfxGetMainWnd()); }

  TApp app_;
};

TEST_F(DocFrameViewTest, FileNewMakesDocumentFrameAndViewInOrder) {
  app_.OnFileNew();
  EXPECT_EQ(Events(), (std::vector<std::string>{"doc constructed", "frame create",
                                                "view create, document set", "doc new, views 1",
                                                "view initial update"}));
  CFrameWnd* frame = Frame();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->IsWindowVisible());
  auto* view = dynamic_cast<TView*>(frame->GetActiveView());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(frame->GetActiveDocument(), view->GetDocument());
  EXPECT_STREQ(view->GetDocument()->GetTitle(), "Untitled");
  // The view fills the client area and carries the sunken edge itself.
  CRect client;
  frame->GetClientRect(&client);
  frame->ClientToScreen(&client);
  CRect pane;
  view->GetWindowRect(&pane);
  EXPECT_EQ(pane, client);
  EXPECT_TRUE(view->GetExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(frame->GetExStyle() & WS_EX_CLIENTEDGE);
  // Resizing the frame resizes the view.
  frame->MoveWindow(0, 0, 300, 250);
  frame->GetClientRect(&client);
  view->GetWindowRect(&pane);
  EXPECT_EQ(pane.Size(), client.Size());

  // A second File New reuses the document and its frame.
  Events().clear();
  app_.OnFileNew();
  EXPECT_EQ(Events(), (std::vector<std::string>{"doc new, views 1", "view initial update"}));
  EXPECT_EQ(Frame(), frame);
}

TEST_F(DocFrameViewTest, CommandsGoToViewDocumentFrameThenApplication) {
  app_.OnFileNew();
  CFrameWnd* frame = Frame();
  ASSERT_NE(frame, nullptr);
  struct Case {
    UINT id;
    const char* handler;
  };
  const Case cases[] = {{kEveryone, "view"}, {kDocFrameApp, "doc"}, {kFrameApp, "frame"},
                        {kAppOnly, "app"}};
  for (const Case& c : cases) {
    Events().clear();
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, c.id), 1);
    EXPECT_EQ(Events(), (std::vector<std::string>{c.handler})) << c.id;
  }
  Events().clear();
  EXPECT_EQ(frame->SendMessage(WM_COMMAND, kNobody), 0);
  EXPECT_TRUE(Events().empty());
}

TEST_F(DocFrameViewTest, AcceleratorsAndMenusOfTheFrame) {
  app_.OnFileNew();
  CFrameWnd* frame = Frame();
  ASSERT_NE(frame, nullptr);
  frame->GetActiveView()->SetFocus();
  mfc_test::PumpPending();
  Events().clear();
  win::headless::PressKey(VK_CONTROL);
  win::headless::TypeKey('Q');
  win::headless::ReleaseKey(VK_CONTROL);
  mfc_test::PumpPending();
  EXPECT_EQ(Events(), (std::vector<std::string>{"frame"}));

  // Before the popup shows, each item asks its update handler; items that
  // no target handles are greyed.
  CMenu* bar = frame->GetMenu();
  ASSERT_NE(bar, nullptr);
  HMENU file = ::GetSubMenu(bar->m_hMenu, 0);
  ASSERT_NE(file, nullptr);
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE));
  EXPECT_EQ(::GetMenuState(file, kEveryone, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(::GetMenuState(file, kFrameApp, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(::GetMenuState(file, kNobody, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(::GetMenuState(file, ID_FILE_NEW, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(DocFrameViewTest, ClosingTheMainFrameClosesTheDocumentAndEndsTheLoop) {
  app_.OnFileNew();
  CFrameWnd* frame = Frame();
  ASSERT_NE(frame, nullptr);
  Events().clear();
  frame->SendMessage(WM_CLOSE);
  EXPECT_EQ(Events(), (std::vector<std::string>{"view deleted", "frame deleted", "doc deleted"}));
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  int code = -1;
  EXPECT_TRUE(mfc_test::TakeQuit(&code));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(app_.GetOpenDocumentCount(), 0);
}

TEST_F(DocFrameViewTest, AModifiedDocumentAsksBeforeClosingAndCancelKeepsIt) {
  app_.OnFileNew();
  CFrameWnd* frame = Frame();
  ASSERT_NE(frame, nullptr);
  frame->GetActiveDocument()->SetModifiedFlag(TRUE);
  win::QueueMessageBoxAnswer(IDCANCEL);
  frame->SendMessage(WM_CLOSE);
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text, "Save changes to Untitled?");
  EXPECT_EQ(AfxGetMainWnd(), frame);  // still there
  // No: closed without saving.
  win::QueueMessageBoxAnswer(IDNO);
  frame->SendMessage(WM_CLOSE);
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  EXPECT_TRUE(mfc_test::TakeQuit());
}

// The client's main frame: a borderless popup whose menu is taken off at
// creation and that keeps its accelerators.
class PopupFrame : public CFrameWnd {
  DECLARE_DYNCREATE(PopupFrame)
 public:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.style = WS_POPUP;
    return TRUE;
  }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    removedMenu = ::GetMenu(m_hWnd);
    SetMenu(nullptr);
    ShowWindow(SW_SHOW);
    return 0;
  }
  afx_msg void OnFrameApp() { Note("popup frame"); }
  HMENU removedMenu = nullptr;
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(PopupFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(PopupFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(kFrameApp, OnFrameApp)
END_MESSAGE_MAP()

TEST_F(DocFrameViewTest, APopupFrameWithoutItsMenuKeepsItsAccelerators) {
  auto* frame = new PopupFrame;
  ASSERT_TRUE(frame->LoadFrame(kTemplate));
  EXPECT_EQ(frame->GetStyle() & ~static_cast<DWORD>(WS_VISIBLE | WS_CLIPSIBLINGS), static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
  const HMENU menu = frame->removedMenu;
  ASSERT_TRUE(::IsMenu(menu));
  ::SetActiveWindow(frame->m_hWnd);
  ::SetFocus(frame->m_hWnd);
  mfc_test::PumpPending();
  Events().clear();
  win::headless::PressKey(VK_CONTROL);
  win::headless::TypeKey('Q');
  win::headless::ReleaseKey(VK_CONTROL);
  mfc_test::PumpPending();
  EXPECT_EQ(Events(), (std::vector<std::string>{"popup frame"}));
  // The menu it took off goes with it.
  frame->DestroyWindow();
  EXPECT_FALSE(::IsMenu(menu));
}

}  // namespace

// The framework's view printing over the PDF printer: File Print through
// the print dialog to a PDF of the chosen pages, Print Setup's page, and
// File Print Preview in the frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/headless.h"
#include "mfc/afx.h"
#include "platform/mfc/support/mfc_fixture.h"
#include "gdi/printer.h"
#include "print/preview_window.h"
#include "support/pdf_pages.h"
#include "support/temp_dir.h"
#include "win/print.h"

namespace {

using print_test::PagePicture;

std::vector<std::string>& Events() {
  static std::vector<std::string> e;
  return e;
}

class PDoc : public CDocument {
  DECLARE_DYNCREATE(PDoc)
};
IMPLEMENT_DYNCREATE(PDoc, CDocument)

// A document of three pages; page n has a black band at n tenths down.
class PView : public CView {
  DECLARE_DYNCREATE(PView)
 public:
  void OnDraw(CDC*) override {}
  BOOL OnPreparePrinting(CPrintInfo* info) override {
    info->SetMaxPage(3);
    info->m_pPD->m_pd.Flags &= ~static_cast<DWORD>(PD_NOPAGENUMS);
    return DoPreparePrinting(info);
  }
  void OnBeginPrinting(CDC* dc, CPrintInfo*) override {
    Events().push_back("begin " + std::to_string(dc->GetDeviceCaps(HORZRES)));
  }
  void OnPrint(CDC* dc, CPrintInfo* info) override {
    const int w = dc->GetDeviceCaps(HORZRES);
    const int h = dc->GetDeviceCaps(VERTRES);
    dc->PatBlt(0, static_cast<int>(info->m_nCurPage) * h / 10, w, h / 20, BLACKNESS);
    Events().push_back("page " + std::to_string(info->m_nCurPage));
  }
  void OnEndPrinting(CDC*, CPrintInfo*) override { Events().push_back("end"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(PView, CView)
BEGIN_MESSAGE_MAP(PView, CView)
  ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

class PFrame : public CFrameWnd {
  DECLARE_DYNCREATE(PFrame)
};
IMPLEMENT_DYNCREATE(PFrame, CFrameWnd)

class PApp : public CWinApp {
 public:
  PApp() : CWinApp("Test") {}
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PApp, CWinApp)
  ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
  ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

int BandOf(const PagePicture& p) {
  for (int page = 1; page < 10; ++page) {
    if (p.At(p.width / 2, page * p.height / 10 + p.height / 40) == 0) return page;
  }
  return 0;
}

class ViewPrinting : public mfc_test::MfcTest {
 protected:
  void SetUp() override {
    MfcTest::SetUp();
    Events().clear();
    ini_ = dir_.write("settings.ini", "[Printer]\nPageSize=Letter\nResolution=72\nOutput=" +
                                          dir_.file("default.pdf") + "\n");
    // GDI's placeholder: the print dialog puts the PDF printer in its place.
    win::gdi::SetPrinterProvider(nullptr);
    win::print::ResetPrinterChoices();
    win::print::SetPrinterProfile(ini_.c_str());
    mfc_test::RegisterScript("128 MENU\nBEGIN\n  MENUITEM \"&Print\", 57607\nEND\n");
    app_.AddDocTemplate(new CSingleDocTemplate(128, RUNTIME_CLASS(PDoc), RUNTIME_CLASS(PFrame),
                                               RUNTIME_CLASS(PView)));
    app_.m_nCmdShow = SW_SHOWNORMAL;
    app_.OnFileNew();
    frame_ = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    ASSERT_NE(frame_, nullptr);
    Events().clear();
  }
  void TearDown() override {
    win::print::SetPrintDialogHook(nullptr);
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(WM_CLOSE);
    mfc_test::TakeQuit();
    win::print::SetPrinterProfile(nullptr);
    win::print::ResetPrinterChoices();
    win::gdi::SetPrinterProvider(nullptr);  // GDI's own tests expect its placeholder
    MfcTest::TearDown();
  }

  testing_support::TempDir dir_;
  std::string ini_;
  PApp app_;
  CFrameWnd* frame_ = nullptr;
};

TEST_F(ViewPrinting, FilePrintWritesTheChosenPagesToTheChosenFile) {
  const std::string chosen = dir_.file("two-pages.pdf");
  win::print::PrintDialogState shown;
  win::print::SetPrintDialogHook([&](win::print::PrintDialogState& s) {
    shown = s;
    s.output = chosen;
    s.range = PD_PAGENUMS;
    s.fromPage = 2;
    s.toPage = 3;
    return true;
  });
  frame_->SendMessage(WM_COMMAND, ID_FILE_PRINT);
  EXPECT_TRUE(shown.pagesEnabled);
  EXPECT_EQ(shown.maxPage, 3);
  EXPECT_EQ(Events(), (std::vector<std::string>{"begin 612", "page 2", "page 3", "end"}));
  EXPECT_TRUE(win::print::LastPrintJob().finished) << win::print::LastPrintJob().error;
  std::string error;
  const std::vector<PagePicture> pages =
      print_test::RenderPdf(chosen, 72, print_test::Reader::Cairo, &error);
  ASSERT_EQ(pages.size(), 2u) << error;
  EXPECT_EQ(BandOf(pages[0]), 2);
  EXPECT_EQ(BandOf(pages[1]), 3);

  // Cancel prints nothing.
  Events().clear();
  win::print::SetPrintDialogHook([](win::print::PrintDialogState&) { return false; });
  frame_->SendMessage(WM_COMMAND, ID_FILE_PRINT);
  EXPECT_TRUE(Events().empty());
}

TEST_F(ViewPrinting, PrintSetupsPageReachesTheNextPrintout) {
  win::print::SetPrintDialogHook([](win::print::PrintDialogState& s) {
    if (s.setup) {
      s.paper = win::print::Paper::Legal;
      s.landscape = true;
    }
    return true;
  });
  frame_->SendMessage(WM_COMMAND, ID_FILE_PRINT_SETUP);
  frame_->SendMessage(WM_COMMAND, ID_FILE_PRINT);
  ASSERT_FALSE(Events().empty());
  EXPECT_EQ(Events()[0], "begin 1008");  // 14 inches across at 72 dpi
  std::string error;
  const std::vector<PagePicture> pages =
      print_test::RenderPdf(dir_.file("default.pdf"), 72, print_test::Reader::Cairo, &error);
  ASSERT_EQ(pages.size(), 3u) << error;
  EXPECT_EQ(pages[0].width, 1008);
  EXPECT_EQ(pages[0].height, 612);
}

TEST_F(ViewPrinting, PreviewShowsThePagesInTheFrameUntilClosed) {
  CView* view = frame_->GetActiveView();
  ASSERT_NE(view, nullptr);
  frame_->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
  HWND preview = frame_->m_hWndPreview;
  ASSERT_TRUE(preview);
  EXPECT_EQ(win::print::PreviewPage(preview), 1u);
  EXPECT_FALSE(view->IsWindowVisible());
  EXPECT_EQ(Events(), (std::vector<std::string>{"begin 612", "page 1"}));

  SendMessage(preview, WM_COMMAND, AFX_ID_PREVIEW_NEXT, 0);
  EXPECT_EQ(win::print::PreviewPage(preview), 2u);
  // The preview follows the frame's size.
  frame_->MoveWindow(0, 0, 500, 400);
  RECT client{}, shown{};
  frame_->GetClientRect(&client);
  GetClientRect(preview, &shown);
  EXPECT_EQ(shown.right, client.right);

  SendMessage(preview, WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
  EXPECT_FALSE(IsWindow(preview));
  EXPECT_TRUE(view->IsWindowVisible());
  EXPECT_EQ(Events().back(), "end");
  EXPECT_EQ(frame_->m_hWndPreview, nullptr);
}

}  // namespace

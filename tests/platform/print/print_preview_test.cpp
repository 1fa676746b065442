// Print preview in a frame: the pages it shows, its buttons and keys, and
// how it ends.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "display/headless.h"
#include "gdi/surface.h"
#include "print/preview_render.h"
#include "print/preview_window.h"
#include "support/print_fixture.h"
#include "win/gdi.h"
#include "win/print.h"
#include "win/user.h"

namespace print_test {
namespace {

using win::print::PreviewOptions;

constexpr char kFrameClass[] = "PreviewTestFrame";

// Page n has a black quarter: top left on odd pages, bottom right on even
// ones.
bool DrawQuarter(HDC dc, UINT page) {
  const int w = GetDeviceCaps(dc, HORZRES);
  const int h = GetDeviceCaps(dc, VERTRES);
  const bool odd = page % 2 == 1;
  return PatBlt(dc, odd ? 0 : w / 2, odd ? 0 : h / 2, w / 2, h / 2, BLACKNESS) != 0;
}

class PreviewTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    Settings("Letter", "Portrait", 72);
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = kFrameClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClass(&wc);
    frame_ = CreateWindowEx(0, kFrameClass, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640,
                            560, nullptr, nullptr, nullptr, nullptr);
    RECT client{};
    GetClientRect(frame_, &client);
    view_ = CreateWindowEx(0, kFrameClass, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                           client.bottom, frame_, nullptr, nullptr, nullptr);
    ASSERT_TRUE(frame_ && view_);
  }

  void TearDown() override {
    // A preview still open goes with its frame, freeing what it holds.
    if (IsWindow(frame_)) DestroyWindow(frame_);
    PrintTest::TearDown();
  }

  PreviewOptions Options(UINT maxPage, UINT lastRenderable) {
    PreviewOptions o;
    o.maxPage = maxPage;
    o.render = [lastRenderable](HDC dc, UINT page) {
      return page <= lastRenderable && DrawQuarter(dc, page);
    };
    o.closed = [this] { events_.push_back("closed"); };
    o.print = [this] { events_.push_back("print"); };
    return o;
  }

  // The pixel shown at a place of the page (fractions of its width and
  // height); -1 where the window does not show the page.
  std::int64_t ShownPixel(HWND preview, double fx, double fy) {
    win::headless::DispatchPending();
    auto picture = win::headless::CaptureWindow(preview);
    if (!picture) return -1;
    const RECT r = win::print::PreviewPageRect(preview);
    const int x = r.left + static_cast<int>((r.right - r.left) * fx);
    const int y = r.top + static_cast<int>((r.bottom - r.top) * fy);
    if (!picture->Contains(x, y) || y < 30) return -1;  // off the window or under the toolbar
    return picture->At(x, y) & 0xFFFFFF;
  }

  // Which quarter the shown page has black: 1 top left, 2 bottom right, 0
  // neither (or both).
  int ShownQuarter(HWND preview) {
    const std::int64_t topLeft = ShownPixel(preview, 0.25, 0.25);
    const std::int64_t bottomRight = ShownPixel(preview, 0.75, 0.75);
    if (topLeft == 0 && bottomRight == 0xFFFFFF) return 1;
    if (topLeft == 0xFFFFFF && bottomRight == 0) return 2;
    return 0;
  }

  void Click(HWND preview, UINT id) {
    const RECT r = win::print::PreviewButtonRect(preview, id);
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(preview, &pt);
    win::headless::Click(pt.x, pt.y);
    win::headless::DispatchPending();
  }

  HWND frame_ = nullptr;
  HWND view_ = nullptr;
  std::vector<std::string> events_;
};

TEST_F(PreviewTest, ShowsPageOneAndTwoWithNextAndPrev) {
  HWND preview = win::print::ShowPrintPreview(frame_, Options(2, 2));
  ASSERT_TRUE(preview);
  EXPECT_EQ(GetParent(preview), frame_);
  EXPECT_FALSE(IsWindowVisible(view_));  // the view stands aside
  RECT frameClient{}, shown{};
  GetClientRect(frame_, &frameClient);
  GetClientRect(preview, &shown);
  EXPECT_EQ(shown.right, frameClient.right);
  EXPECT_EQ(shown.bottom, frameClient.bottom);

  EXPECT_EQ(win::print::PreviewPage(preview), 1u);
  EXPECT_EQ(ShownQuarter(preview), 1);
  EXPECT_FALSE(win::print::PreviewButtonEnabled(preview, AFX_ID_PREVIEW_PREV));
  EXPECT_TRUE(win::print::PreviewButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));

  Click(preview, AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(win::print::PreviewPage(preview), 2u);
  EXPECT_EQ(ShownQuarter(preview), 2);
  EXPECT_FALSE(win::print::PreviewButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
  Click(preview, AFX_ID_PREVIEW_NEXT);  // past the last page: nothing
  EXPECT_EQ(win::print::PreviewPage(preview), 2u);

  Click(preview, AFX_ID_PREVIEW_PREV);
  EXPECT_EQ(win::print::PreviewPage(preview), 1u);
  EXPECT_EQ(ShownQuarter(preview), 1);

  // The keys do the same.
  win::headless::TypeKey(VK_NEXT);
  win::headless::DispatchPending();
  EXPECT_EQ(win::print::PreviewPage(preview), 2u);
  EXPECT_EQ(ShownQuarter(preview), 2);
  win::headless::TypeKey(VK_PRIOR);
  win::headless::DispatchPending();
  EXPECT_EQ(win::print::PreviewPage(preview), 1u);
  EXPECT_TRUE(events_.empty());
}

TEST_F(PreviewTest, AnUnknownEndIsFoundWhenAPageDoesNotRender) {
  HWND preview = win::print::ShowPrintPreview(frame_, Options(0xFFFF, 2));
  ASSERT_TRUE(preview);
  Click(preview, AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(win::print::PreviewPage(preview), 2u);
  EXPECT_TRUE(win::print::PreviewButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
  Click(preview, AFX_ID_PREVIEW_NEXT);  // page 3 is not there
  EXPECT_EQ(win::print::PreviewPage(preview), 2u);
  EXPECT_EQ(ShownQuarter(preview), 2);
  EXPECT_FALSE(win::print::PreviewButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
}

TEST_F(PreviewTest, ZoomShowsTheSamePageLargerWithScrollBars) {
  HWND preview = win::print::ShowPrintPreview(frame_, Options(2, 2));
  ASSERT_TRUE(preview);
  const RECT whole = win::print::PreviewPageRect(preview);
  EXPECT_FALSE(GetWindowLong(preview, GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(win::print::PreviewButtonEnabled(preview, AFX_ID_PREVIEW_ZOOMOUT));
  Click(preview, AFX_ID_PREVIEW_ZOOMIN);
  EXPECT_EQ(win::print::PreviewZoom(preview), 1);
  const RECT closer = win::print::PreviewPageRect(preview);
  EXPECT_NEAR(closer.right - closer.left, 2 * (whole.right - whole.left), 2);
  EXPECT_TRUE(GetWindowLong(preview, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(ShownPixel(preview, 0.25, 0.25), 0);  // the top left is black still
  EXPECT_EQ(ShownPixel(preview, 0.75, 0.25), 0xFFFFFF);
  EXPECT_EQ(ShownPixel(preview, 0.75, 0.75), -1);  // below the window

  // Scrolling down moves the page up.
  SendMessage(preview, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_LT(win::print::PreviewPageRect(preview).top, closer.top);

  Click(preview, AFX_ID_PREVIEW_ZOOMIN);
  EXPECT_EQ(win::print::PreviewZoom(preview), 2);
  EXPECT_FALSE(win::print::PreviewButtonEnabled(preview, AFX_ID_PREVIEW_ZOOMIN));
  Click(preview, AFX_ID_PREVIEW_ZOOMOUT);
  Click(preview, AFX_ID_PREVIEW_ZOOMOUT);
  EXPECT_EQ(win::print::PreviewZoom(preview), 0);
  const RECT back = win::print::PreviewPageRect(preview);
  EXPECT_EQ(back.right - back.left, whole.right - whole.left);
  EXPECT_FALSE(GetWindowLong(preview, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(PreviewTest, EveryWayOutClosesOnceAndGivesTheViewBack) {
  struct Case {
    const char* how;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {"Close", {"closed"}},
      {"Escape", {"closed"}},
      {"Print", {"closed", "print"}},
      {"frame destroyed", {"closed"}},
  };
  for (const Case& c : cases) {
    events_.clear();
    if (!IsWindow(frame_)) SetUp();
    SetFocus(view_);
    HWND preview = win::print::ShowPrintPreview(frame_, Options(2, 2));
    ASSERT_TRUE(preview) << c.how;
    const std::string how = c.how;
    if (how == "Close") Click(preview, AFX_ID_PREVIEW_CLOSE);
    if (how == "Escape") {
      win::headless::TypeKey(VK_ESCAPE);
      win::headless::DispatchPending();
    }
    if (how == "Print") Click(preview, AFX_ID_PREVIEW_PRINT);
    if (how == "frame destroyed") DestroyWindow(frame_);
    EXPECT_FALSE(IsWindow(preview)) << c.how;
    EXPECT_EQ(events_, c.events) << c.how;
    if (IsWindow(view_)) {
      EXPECT_TRUE(IsWindowVisible(view_)) << c.how;
      EXPECT_EQ(GetFocus(), view_) << c.how;  // where it was before
    }
  }
}

TEST_F(PreviewTest, PagesAreDrawnOnTheGivenPrinterDcOrOneOfTheCurrentPrinter) {
  HDC given = PrinterDc();
  std::vector<HDC> used;
  PreviewOptions o = Options(2, 2);
  o.printerDc = given;
  o.render = [&](HDC dc, UINT page) {
    used.push_back(dc);
    return DrawQuarter(dc, page);
  };
  HWND preview = win::print::ShowPrintPreview(frame_, o);
  ASSERT_TRUE(preview);
  Click(preview, AFX_ID_PREVIEW_CLOSE);
  ASSERT_EQ(used.size(), 1u);
  EXPECT_EQ(used[0], given);
  EXPECT_EQ(GetDeviceCaps(given, HORZRES), 612);  // still there: the caller's
  DeleteDC(given);

  used.clear();
  o.printerDc = nullptr;
  preview = win::print::ShowPrintPreview(frame_, o);
  ASSERT_TRUE(preview);
  ASSERT_EQ(used.size(), 1u);
  EXPECT_EQ(GetDeviceCaps(used[0], TECHNOLOGY), DT_RASPRINTER);
  Click(preview, AFX_ID_PREVIEW_CLOSE);
  EXPECT_EQ(GetObjectType(used[0]), 0u);  // the preview's own, deleted
}

TEST_F(PreviewTest, NoPreviewWhenTheFirstPageDoesNotRender) {
  EXPECT_FALSE(win::print::ShowPrintPreview(frame_, Options(2, 0)));
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(IsWindowVisible(view_));
  EXPECT_FALSE(win::print::ShowPrintPreview(nullptr, Options(2, 2)));
}

TEST(PreviewPictures, ShrinkingAveragesWhatEachPixelCovers) {
  auto page = win::gdi::Surface::Create(4, 2, win::gdi::PixelFormat::Color, 0xFFFFFF);
  page->Row(0)[0] = 0x000000;  // one black pixel of the left 2 x 2 block
  page->Row(1)[3] = 0xFF0000;
  auto small = win::print::ScalePicture(*page, 2, 1);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->At(0, 0), 0xBFBFBFu);  // (3 * 255 + 0) / 4, rounded
  EXPECT_EQ(small->At(1, 0), 0xFFBFBFu);
  auto big = win::print::ScalePicture(*page, 8, 4);
  ASSERT_TRUE(big);
  EXPECT_EQ(big->At(1, 1), 0x000000u);
  EXPECT_EQ(big->At(2, 1), 0xFFFFFFu);
  EXPECT_FALSE(win::print::ScalePicture(*page, 0, 1));
}

}  // namespace
}  // namespace print_test

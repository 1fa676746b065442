// The text view: what it shows (a golden picture in the pinned fonts), how
// it lays the text out again when its width changes, how it scrolls, and
// how the mouse and the keys select text and follow links.
#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

#include "display/headless.h"
#include "gdi/text/font_text_engine.h"
#include "layout/pictures/dib_picture.h"
#include "layout/pictures/picture_factory_impl.h"
#include "layout/view/support/view_fixture.h"
#include "support/golden.h"
#include "win/kernel.h"
#include "mfc/dc.h"
#include "mfc/print.h"
#include "win/gdi.h"
#include "win/print.h"
#include "win/user.h"

namespace view_test {
namespace {

const char kStory[] =
    "<H1>Harbour notes</H1>"
    "<P>The ferry from <A HREF=\"korvex://ostrava.example/Lindholm\">Lindholm</A> leaves at seven; "
    "the boats of Marrow Bay wait for the tide.</P>"
    "<UL><LI>nets and ropes<LI>salted fish</UL>"
    "<P><B>Bold words</B> and <I>leaning words</I> close the page.</P>";

std::string longText(int paragraphs) {
  std::string s;
  for (int i = 0; i < paragraphs; ++i)
    s += "<P>Paragraph " + std::to_string(i) + " tells of the quiet streets of Velden and the mill by the river.</P>";
  return s;
}

TEST_F(ViewTest, AStoryLooksAsItDidInThePinnedFonts) {
  // The picture holds only for the pinned face behind "Arial".
  const std::string file = testing_support::ArialFontFile();
  ASSERT_NE(file.find("LiberationSans-Regular.ttf"), std::string::npos) << file;
  ASSERT_EQ(GetDeviceCaps(GetDC(nullptr), LOGPIXELSY), 96);

  for (int width : {360, 200}) {
    SCOPED_TRACE(width);
    view_.reset();
    Show(kStory, width, 220);
    auto shot = Shot();
    ASSERT_NE(shot, nullptr);
    testing_support::ExpectGolden(*shot, "tests/layout/view/golden/story_" + std::to_string(width) + ".png");
  }
}

TEST_F(ViewTest, ANarrowerWindowLaysTheTextOutTallerAndShowsAScrollBar) {
  TextView& view = Show(longText(8), 600, 400);
  const LayoutRect wide = view.Extent();
  ASSERT_TRUE(wide.IsComputed());
  // The whole text fits: no bar has a range.
  int lo = 0, hi = 0;
  view.GetScrollRange(SB_VERT, &lo, &hi);
  EXPECT_EQ(hi - lo, 0);

  view.MoveWindow(0, 0, 150, 400);
  Pump();
  const LayoutRect narrow = view.Extent();
  EXPECT_GT(narrow.Height(), wide.Height());
  // The text is laid out to the client width less the margins and the
  // room kept for a vertical bar.
  EXPECT_LE(narrow.Width() - 2 * TextView::kMargin, 150 - 30 - GetSystemMetrics(SM_CXVSCROLL));
  view.GetScrollRange(SB_VERT, &lo, &hi);
  EXPECT_GT(hi, 0);
  EXPECT_EQ(view.GetScrollPos(SB_HORZ), 0);
}

TEST_F(ViewTest, ScrollStepsAreATenthOfTheWindowAndStopAtTheEnds) {
  struct Case {
    int height;
    UINT code;
    int from;
    int expected;
  };
  const Case cases[] = {
      {50, SB_LINEDOWN, 0, 10},    // a tenth of 50 is below the 10-pixel minimum
      {300, SB_LINEDOWN, 0, 30},
      {300, SB_PAGEDOWN, 0, 240},  // four fifths
      {300, SB_LINEUP, 0, 0},      // never above the top
      {300, SB_BOTTOM, 0, -1},     // -1: the bar's limit
      {300, SB_TOP, 100, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.height << " code " << c.code);
    view_.reset();
    TextView& view = Show(longText(40), 300, c.height);
    view.SetScrollPos(SB_VERT, c.from, FALSE);
    view.SendMessage(WM_VSCROLL, MAKEWPARAM(c.code, 0), 0);
    const int limit = view.GetScrollLimit(SB_VERT);
    ASSERT_GT(limit, 300);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), c.expected < 0 ? limit : c.expected);
  }
}

TEST_F(ViewTest, ScrollingShowsTheSameTextAsAViewOpenedFurtherDown) {
  TextView& view = Show(longText(40), 300, 200);
  view.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
  view.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
  ASSERT_EQ(view.GetScrollPos(SB_VERT), 40);
  auto scrolled = Shot();
  // Everything drawn again at the same position gives the same picture:
  // the strip that scrolling uncovered was drawn where it belongs.
  view.Invalidate(TRUE);
  auto repainted = Shot();
  ASSERT_TRUE(scrolled && repainted);
  int differing = 0;
  for (int y = 0; y < scrolled->height(); ++y)
    for (int x = 0; x < scrolled->width(); ++x)
      if ((scrolled->At(x, y) & 0xFFFFFF) != (repainted->At(x, y) & 0xFFFFFF)) ++differing;
  EXPECT_EQ(differing, 0);
}

// The client point over the middle of the text between two positions.
POINT pointOf(TextView& view, LONG from, LONG to) {
  MarkupDocument* doc = view.Document();
  view.GoToRange(from, to);
  LayoutRect r;
  {
    view.Surface().BeginWindow(view.GetSafeHwnd(), &doc->Viewer().Colors());
    r = doc->GetSelectionStartRect(&view);
    view.Surface().End();
  }
  POINT scroll = view.ScrollPosition();
  LONG x = (r.left + r.right) / 2 - view.Extent().left - scroll.x;
  LONG y = (r.top + r.bottom) / 2 - view.Extent().top - scroll.y;
  view.GoToRange(0, 0);
  return POINT{x, y};
}

TEST_F(ViewTest, AClickOnALinkFollowsItOnceAndADragAcrossItOnlySelects) {
  const std::string html = std::string("<P>Go to ") + "<A HREF=\"korvex://ostrava.example/Lindholm\">Lindholm</A>" +
                           " by the morning boat.</P>";
  TextView& view = Show(html, 400, 200);
  const LONG at = static_cast<LONG>(html.find("Lindholm</A>"));
  POINT link = pointOf(view, at + 1, at + 5);
  POINT p = Screen(link.x, link.y);
  win::headless::Click(p.x, p.y);
  Pump();
  ASSERT_EQ(listener_.followed.size(), 1u);
  EXPECT_NE(listener_.followed[0].find("Lindholm"), std::string::npos);
  EXPECT_EQ(listener_.followed[0].substr(listener_.followed[0].size() - 4), "\n\n\n\n");
  // The whole anchor is selected (its range begins at its tag).
  EXPECT_EQ(view.GetSelectionStart(), static_cast<LONG>(html.find("<A")));
  EXPECT_EQ(view.SelectedText(), "Lindholm");
  // Moving over it showed the link text.
  ASSERT_FALSE(listener_.shown.empty());

  listener_.followed.clear();
  const LONG boat = static_cast<LONG>(html.find("boat"));
  POINT end = pointOf(view, boat + 1, boat + 3);
  POINT q = Screen(end.x, end.y);
  // From the boat back onto the link (far from the click: no double click).
  win::headless::PressButton(q.x, q.y);
  win::headless::MoveMouse((p.x + q.x) / 2, q.y);
  win::headless::ReleaseButton(p.x, p.y);
  Pump();
  EXPECT_TRUE(listener_.followed.empty());
  EXPECT_NE(view.GetSelectionStart(), view.GetSelectionEnd());
}

// A view that keeps what it showed each time the document being built
// reported its progress.
class WatchingView : public TextView {
 public:
  using TextView::TextView;
  void ContentAdded(MarkupDocument& document, LONG count) override {
    TextView::ContentAdded(document, count);
    counts.push_back(count);
    heights.push_back(Extent().IsComputed() ? Extent().Height() : -1);
    if (!first) first = win::headless::CaptureWindow(GetSafeHwnd());
  }
  std::vector<LONG> counts;
  std::vector<LONG> heights;
  std::unique_ptr<win::gdi::Surface> first;
};

TEST_F(ViewTest, ALongDocumentIsShownFromItsBeginningWhileItIsBuilt) {
  WatchingView view(&listener_);
  RECT r{0, 0, 300, 200};
  ASSERT_TRUE(view.CreateView(WS_CHILD | WS_VISIBLE, r, CWnd::FromHandle(host_)));
  const std::string html = longText(1200);  // about 100 KB
  ASSERT_TRUE(LoadInto(view, html));
  Pump();
  // Reported at doubling distances: a handful of layouts, not one per item.
  ASSERT_GE(view.counts.size(), 2u);
  EXPECT_LE(view.counts.size(), 4u);
  for (size_t i = 1; i < view.counts.size(); ++i) {
    EXPECT_GE(view.counts[i], 2 * view.counts[i - 1]);
    EXPECT_GT(view.heights[i], view.heights[i - 1]);
  }
  EXPECT_GT(view.heights[0], 0);
  EXPECT_LT(view.heights.back(), view.Extent().Height());
  // The first screen, shown while the rest was still to come, is what the
  // finished document shows.
  auto done = win::headless::CaptureWindow(view.GetSafeHwnd());
  ASSERT_NE(view.first, nullptr);
  ASSERT_NE(done, nullptr);
  int differing = 0;
  // (The scroll bar's thumb shrinks as the document grows: the text is
  // compared.)
  RECT client;
  view.GetClientRect(&client);
  for (int y = 0; y < std::min<int>(done->height(), client.bottom); ++y)
    for (int x = 0; x < std::min<int>(done->width(), client.right); ++x)
      differing += (view.first->At(x, y) & 0xFFFFFF) != (done->At(x, y) & 0xFFFFFF);
  EXPECT_EQ(differing, 0);
  // The view took the whole of it.
  view.GoToRange(static_cast<LONG>(html.size()) - 30, static_cast<LONG>(html.size()) - 4);
  EXPECT_NE(view.SelectedText().Find("river"), -1) << view.SelectedText().c_str();
}

int pixelsOf(const win::gdi::Surface& shot, std::uint32_t rgb) {
  int n = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) n += (shot.At(x, y) & 0xFFFFFF) == rgb;
  return n;
}

// A view that, at each report of a document being built, keeps the part of
// the window the report had drawn again, and checks it against drawing the
// whole window afresh.
class RepaintWatchingView : public TextView {
 public:
  using TextView::TextView;
  struct Report {
    LONG previousBottom;  // client y where the content of the last report ended
    bool painted = false;
    LONG paintTop = -1;   // client y of the top of what was drawn again
    int stale = 0;        // pixels that a whole repaint then changed
  };
  void ContentAdded(MarkupDocument& document, LONG count) override {
    Report r{Extent().IsComputed() ? Extent().bottom - Extent().top - ScrollPosition().y : -1};
    current_ = &r;
    TextView::ContentAdded(document, count);
    current_ = nullptr;
    auto partial = win::headless::CaptureWindow(GetSafeHwnd());
    Invalidate(TRUE);
    UpdateWindow();
    auto whole = win::headless::CaptureWindow(GetSafeHwnd());
    RECT client;
    GetClientRect(&client);
    for (int y = 0; y < std::min<int>(whole->height(), client.bottom); ++y)
      for (int x = 0; x < std::min<int>(whole->width(), client.right); ++x)
        r.stale += (partial->At(x, y) & 0xFFFFFF) != (whole->At(x, y) & 0xFFFFFF);
    reports.push_back(r);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    RECT u;
    if (message == WM_PAINT && current_ && GetUpdateRect(&u, FALSE)) {
      current_->painted = true;
      current_->paintTop = u.top;
    }
    return TextView::WindowProc(message, wParam, lParam);
  }
  std::vector<Report> reports;

 private:
  Report* current_ = nullptr;
};

TEST_F(ViewTest, AReportOfNewContentDrawsOnlyFromTheFirstLineThatChangedDown) {
  std::string rows;
  // Later rows are wider: each new cell may widen the columns of the rows
  // above it.
  for (int i = 0; i < 40; ++i)
    rows += "<TR><TD>Berth " + std::to_string(i) + "</TD><TD>" + std::string(static_cast<size_t>(i / 4), 'w') +
            " moored</TD></TR>";
  struct Case {
    const char* name;
    std::string html;
    bool lastDraws;  // the last report still changes what the window shows
  };
  const Case cases[] = {
      {"paragraphs", longText(60), false},
      {"justified paragraph", "<P ALIGN=JUSTIFY>" + std::string(longText(40)).substr(3), false},
      // The table grows from its top: only the paragraph above it stays.
      {"table", "<P>Moorings</P><TABLE BORDER=1>" + rows + "</TABLE>", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RepaintWatchingView view(&listener_);
    RECT r{0, 0, 320, 460};
    ASSERT_TRUE(view.CreateView(WS_CHILD | WS_VISIBLE, r, CWnd::FromHandle(host_)));
    ASSERT_TRUE(LoadInto(view, c.html, 200));
    ASSERT_GE(view.reports.size(), 4u);
    bool partial = false;
    for (size_t i = 0; i < view.reports.size(); ++i) {
      SCOPED_TRACE(i);
      const auto& rep = view.reports[i];
      // What was left as it was is what a whole repaint shows.
      EXPECT_EQ(rep.stale, 0);
      if (i == 0 || !rep.painted) continue;
      // Drawn from no lower than where the earlier content ended.
      EXPECT_LE(rep.paintTop, rep.previousBottom);
      partial = partial || rep.paintTop > 0;
    }
    // Some report draws less than the whole window.
    EXPECT_TRUE(partial);
    // Once the changes are past the window's bottom, a report draws nothing.
    EXPECT_EQ(view.reports.back().painted, c.lastDraws);
  }
}

// A view that, at each report of a document being built and once it is
// complete, lays the whole tree out afresh after its own layout and counts
// the pixels and the extent that this changes.
class RelayoutWatchingView : public TextView {
 public:
  using TextView::TextView;
  void ContentAdded(MarkupDocument& document, LONG count) override {
    TextView::ContentAdded(document, count);
    CompareWithWholeLayout();
  }
  void CompareWithWholeLayout() {
    Invalidate(TRUE);
    UpdateWindow();
    auto kept = win::headless::CaptureWindow(GetSafeHwnd());
    const LayoutRect keptExtent = Extent();
    RECT client;
    GetClientRect(&client);
    Reformat(client.right, client.bottom);
    Invalidate(TRUE);
    UpdateWindow();
    auto whole = win::headless::CaptureWindow(GetSafeHwnd());
    int differing = 0;
    for (int y = 0; y < std::min<int>(whole->height(), client.bottom); ++y)
      for (int x = 0; x < std::min<int>(whole->width(), client.right); ++x)
        differing += (kept->At(x, y) & 0xFFFFFF) != (whole->At(x, y) & 0xFFFFFF);
    differingPixels.push_back(differing);
    extentsEqual.push_back(keptExtent.left == Extent().left && keptExtent.right == Extent().right &&
                           keptExtent.top == Extent().top && keptExtent.bottom == Extent().bottom);
  }
  std::vector<int> differingPixels;
  std::vector<bool> extentsEqual;
};

TEST_F(ViewTest, AReportLaysOutOnlyWhatMayHaveChangedAndShowsWhatAWholeLayoutShows) {
  std::string rows, linked;
  for (int i = 0; i < 30; ++i)
    rows += "<TR><TD>berth " + std::to_string(i) + "</TD><TD>the boat of Ida Marsh waits</TD></TR>";
  // Links are styled once the document is complete, in paragraphs, cells
  // and list items long laid out by then.
  for (int i = 0; i < 12; ++i)
    linked += "<P ALIGN=JUSTIFY>The ferry to <A HREF=\"korvex://quay.example/" + std::to_string(i) +
              "\">Lindholm " + std::to_string(i) + "</A> waits in the lee of the mole.</P>" +
              "<TABLE BORDER=1><TR><TD><A HREF=\"korvex://quay.example/b\">berth</A></TD><TD>Heron</TD></TR>" +
              "</TABLE><UL><LI>rope and <A HREF=\"korvex://quay.example/t\">tar</A><LI>nets</UL>";
  const std::string items = "<UL><LI>nets of small mesh<LI>rope and tar<OL><LI>first<LI>second</OL></UL>";
  const std::string cases[] = {
      longText(60),
      "<P ALIGN=JUSTIFY>" + std::string(longText(30)).substr(3),
      "<P>Moorings</P><TABLE BORDER=1>" + rows + "</TABLE><P>After the table.</P>",
      items + longText(5) + items + "<HR><PRE>  fixed\n    width</PRE>" + items + longText(10),
      linked,
  };
  for (const std::string& html : cases) {
    SCOPED_TRACE(html.substr(0, 40));
    RelayoutWatchingView view(&listener_);
    RECT r{0, 0, 320, 900};
    ASSERT_TRUE(view.CreateView(WS_CHILD | WS_VISIBLE, r, CWnd::FromHandle(host_)));
    ASSERT_TRUE(LoadInto(view, html, 150));
    ASSERT_GE(view.differingPixels.size(), 3u);
    // The completed document too: after the last report, as it came.
    view.CompareWithWholeLayout();
    for (size_t i = 0; i < view.differingPixels.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(view.differingPixels[i], 0);
      EXPECT_TRUE(view.extentsEqual[i]);
    }
  }
}

TEST_F(ViewTest, LinksShowInTheAnchorColourUnderlinedOverTheBodysBackground) {
  // The first anchor colour of the colour table when no profile names one.
  const std::uint32_t anchor = 0xBF0000;
  struct Case {
    const char* html;
    bool link;
  };
  const Case cases[] = {
      {"<BODY BGCOLOR=\"#FFFF00\"><P>Go to <A HREF=\"korvex://ostrava.example/Lindholm\">Lindholm</A> "
       "by boat.</P></BODY>",
       true},
      {"<BODY BGCOLOR=\"#FFFF00\"><P>Go to Lindholm by boat.</P></BODY>", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    view_.reset();
    Show(c.html, 300, 120);
    auto shot = Shot();
    ASSERT_NE(shot, nullptr);
    // The body's colour is the background, also below the text.
    EXPECT_EQ(shot->At(2, 2) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(shot->At(150, 110) & 0xFFFFFF, 0xFFFF00u);
    // The link's text and its underline are in the anchor colour; the
    // plain text has none of it.
    if (c.link)
      EXPECT_GE(pixelsOf(*shot, anchor), 30);
    else
      EXPECT_EQ(pixelsOf(*shot, anchor), 0);
  }
}

TEST_F(ViewTest, TheBodysBackgroundPictureIsTiledBehindTheWholeView) {
  // Two columns: cyan, then blue, so that the tiling shows.
  const std::string bmp = IndexedBmp(2, 1, {0x00FFFF, 0x0000FF}, {0, 1});
  DibPicture* sand = CreatePictureFromBytes(bmp.data(), static_cast<LONG>(bmp.size()));
  ASSERT_NE(sand, nullptr);
  sand->acquire();
  shelf_.pictures["sand.bmp"] = sand;
  Show("<BODY BACKGROUND=\"sand.bmp\"><P>Shells on the beach.</P></BODY>", 300, 120);
  auto shot = Shot();
  ASSERT_NE(shot, nullptr);
  // Every margin pixel is one of the two, and neighbours alternate.
  for (int y : {1, 118}) {
    for (int x : {0, 1, 2, 150, 297, 298}) {
      SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
      const std::uint32_t a = shot->At(x, y) & 0xFFFFFF, b = shot->At(x + 1, y) & 0xFFFFFF;
      EXPECT_TRUE(a == 0x00FFFF || a == 0x0000FF) << std::hex << a;
      EXPECT_NE(a, b);
    }
  }
  view_.reset();
  sand->release();
}

TEST_F(ViewTest, PicturesThatArriveLaterLayTheTextOutOnceMoreAtTheNextMessage) {
  // Two pictures still to come: they show the 8 x 8 default picture.
  DibPicture* pictures[2] = {CreateInlinePicture(), CreateInlinePicture()};
  for (int i = 0; i < 2; ++i) {
    ASSERT_NE(pictures[i], nullptr);
    pictures[i]->acquire();
    shelf_.pictures["chart" + std::to_string(i) + ".bmp"] = pictures[i];
  }
  TextView& view = Show("<P><IMG SRC=\"chart0.bmp\"></P><P><IMG SRC=\"chart1.bmp\"></P><P>Tide table</P>", 300, 200);
  const LONG before = view.Extent().Height();
  const std::string tall = SolidBmp(20, 150, 0x0000FF);
  for (DibPicture* p : pictures) ASSERT_TRUE(p->LoadFromMemory(tall.data(), static_cast<LONG>(tall.size())));
  // Nothing moves while the pictures are being handed over ...
  EXPECT_EQ(view.Extent().Height(), before);
  Pump();
  // ... and afterwards the text makes room for both.
  EXPECT_GE(view.Extent().Height(), before + 2 * (150 - 8));
  view_.reset();
  for (DibPicture* p : pictures) p->release();
}

TEST_F(ViewTest, AClickOnAFormsPictureSubmitsTheFormWithThePoint) {
  const std::string bmp = SolidBmp(40, 30, 0x00FF00);
  DibPicture* map = CreatePictureFromBytes(bmp.data(), static_cast<LONG>(bmp.size()));
  ASSERT_NE(map, nullptr);
  map->acquire();
  shelf_.pictures["harbour-map.bmp"] = map;
  Show("<FORM ACTION=\"http://quay.example/cgi/berth\"><INPUT NAME=boat VALUE=Heron>"
       "<INPUT TYPE=IMAGE NAME=spot SRC=\"harbour-map.bmp\"></FORM>",
       400, 200);
  auto shot = Shot();
  ASSERT_NE(shot, nullptr);
  // The picture's top-left corner: the first green pixel.
  int left = -1, top = -1;
  for (int y = 0; y < shot->height() && top < 0; ++y)
    for (int x = 0; x < shot->width(); ++x)
      if ((shot->At(x, y) & 0xFFFFFF) == 0x00FF00) {
        left = x, top = y;
        break;
      }
  ASSERT_GE(left, 0);
  POINT p = Screen(left + 7, top + 12);
  win::headless::Click(p.x, p.y);
  Pump();
  ASSERT_EQ(listener_.requests.size(), 1u);
  const std::string& request = listener_.requests[0];
  EXPECT_NE(request.find("quay.example"), std::string::npos) << request;
  EXPECT_EQ(request.substr(request.find('|') + 1), "boat=Heron&spot.x=7&spot.y=12");
  // Beside the picture a click submits nothing.
  p = Screen(left + 60, top + 12);
  win::headless::Click(p.x, p.y);
  Pump();
  EXPECT_EQ(listener_.requests.size(), 1u);
  view_.reset();
  map->release();
}

TEST_F(ViewTest, KeysMoveTheCaretExtendTheSelectionAndCopyIt) {
  const std::string html = "<P>amber birch cedar</P>";
  TextView& view = Show(html, 400, 200);
  view.SetFocus();
  const LONG amber = static_cast<LONG>(html.find("amber"));
  view.GoToRange(amber, amber);
  auto key = [&](UINT vk, bool shift = false, bool ctrl = false) {
    if (shift) win::headless::PressKey(VK_SHIFT);
    if (ctrl) win::headless::PressKey(VK_CONTROL);
    win::headless::TypeKey(vk);
    if (ctrl) win::headless::ReleaseKey(VK_CONTROL);
    if (shift) win::headless::ReleaseKey(VK_SHIFT);
    Pump();
  };
  key(VK_RIGHT);
  EXPECT_EQ(view.GetSelectionEnd(), amber + 1);
  EXPECT_EQ(view.GetSelectionStart(), amber + 1);
  for (int i = 0; i < 4; ++i) key(VK_RIGHT, true);
  EXPECT_EQ(view.GetSelectionStart(), amber + 1);
  EXPECT_EQ(view.GetSelectionEnd(), amber + 5);
  EXPECT_EQ(view.SelectedText(), "mber");
  key('C', false, true);
  ASSERT_TRUE(OpenClipboard(view.GetSafeHwnd()));
  HANDLE data = GetClipboardData(CF_TEXT);
  ASSERT_NE(data, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(data)), "mber");
  GlobalUnlock(data);
  CloseClipboard();
}

TEST_F(ViewTest, TabSelectsTheNextLinkAndEnterFollowsIt) {
  const std::string html = "<P>From <A HREF=\"korvex://h/a\">Ardmore</A> to <A HREF=\"korvex://h/b\">Brisk</A></P>";
  TextView& view = Show(html, 400, 200);
  view.SetFocus();
  win::headless::TypeKey(VK_TAB);
  Pump();
  EXPECT_EQ(view.SelectedText(), "Ardmore");
  win::headless::TypeKey(VK_TAB);
  win::headless::TypeKey(VK_RETURN);
  Pump();
  EXPECT_EQ(view.SelectedText(), "Brisk");
  ASSERT_EQ(listener_.followed.size(), 1u);
  EXPECT_NE(listener_.followed[0].find("korvex://h/b"), std::string::npos);
}

TEST_F(ViewTest, ADocumentPrintsToPdfOnePagePerBandAndTheSelectionAlone) {
  TextView& view = Show(longText(60), 300, 200);
  win::print::InstallPdfPrinter();
  struct Case {
    bool selection;
    int minPages, maxPages;
  };
  for (const Case& c : {Case{false, 2, 40}, Case{true, 1, 1}}) {
    SCOPED_TRACE(c.selection);
    if (c.selection) view.GoToRange(3, 40);
    HDC dc = CreateDC(win::print::kPrinterDriver, win::print::kPrinterName, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    CDC* cdc = CDC::FromHandle(dc);
    CPrintInfo info;
    if (c.selection) info.m_pPD->m_pd.Flags |= PD_SELECTION;
    ASSERT_TRUE(view.BeginPrinting(cdc, &info));
    const UINT last = info.GetMaxPage();
    EXPECT_GE(static_cast<int>(last), c.minPages);
    EXPECT_LE(static_cast<int>(last), c.maxPages);
    win::print::PrintLoop loop;
    loop.docName = "Velden";
    loop.last = last;
    loop.print = [&](HDC, UINT page) {
      info.m_nCurPage = page;
      view.PrintPage(cdc, &info, "Velden", std::to_string(page).c_str());
      return true;
    };
    int pages = 0;
    ASSERT_TRUE(win::print::PrintPages(dc, loop, &pages));
    view.EndPrinting();
    DeleteDC(dc);
    EXPECT_EQ(pages, static_cast<int>(last));
    EXPECT_TRUE(win::print::LastPrintJob().finished) << win::print::LastPrintJob().error;
  }
  // The screen is laid out as before.
  view.Invalidate(TRUE);
  EXPECT_NE(Shot(), nullptr);
}

}  // namespace
}  // namespace view_test

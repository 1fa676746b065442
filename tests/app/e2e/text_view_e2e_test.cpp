// A user reading the sample web's text documents in the client, against the
// reference peer: a document opens in its page's text view, a click on a
// link goes where the link leads, a selection dragged with the mouse is
// copied with the keys, a form's submission reaches the peer as a request
// with its query, and the page prints the document to a PDF file whose
// text reads back.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/commands/command_queue.h"
#include "app/commands/navigation_commands.h"
#include "app/history/nav_history.h"
#include "app/support/shell_fixture.h"
#include "core/object_utils.h"
#include "display/headless.h"
#include "layout/view/text_view.h"
#include "mfc/afxres.h"
#include "mfc/app.h"
#include "mfc/wnd.h"
#include "support/tools.h"
#include "text/anchors/anchor_range.h"
#include "win/kernel.h"
#include "win/print.h"
#include "win/user.h"

namespace app_test {
namespace {

constexpr long kWelcome = 0x120;
constexpr long kPlanets = 0x102;
constexpr long kEarth = 0x123;
constexpr long kBerths = 0x1F0;  // added to a copy of the sample web

HWND findViewer(HWND parent) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char name[32] = {0};
    GetWindowText(c, name, sizeof name);
    if (std::string(name) == TextView::kWindowName && IsWindowVisible(c)) return c;
    if (HWND inner = findViewer(c)) return inner;
  }
  return nullptr;
}

class TextViewE2ETest : public ShellTest {
 protected:
  // Goes to the object and waits until its text view shows a document.
  TextView* Open(long id) {
    TheCommandQueue().Push(new GotoCommand(ObjectId(id)));
    TextView* view = nullptr;
    const bool shown = IdleUntil([&] {
      if (CurrentId() != id || !AfxGetMainWnd()) return false;
      HWND h = findViewer(AfxGetMainWnd()->GetSafeHwnd());
      view = h ? dynamic_cast<TextView*>(CWnd::FromHandlePermanent(h)) : nullptr;
      return view && view->Document() && view->Extent().IsComputed();
    });
    EXPECT_TRUE(shown) << "boxes: " << ::testing::PrintToString(BoxTexts());
    return shown ? view : nullptr;
  }

  // The screen point over the middle of the text between two positions.
  static POINT ScreenPointOf(TextView& view, LONG from, LONG to) {
    MarkupDocument* doc = view.Document();
    view.GoToRange(from, to);
    view.Surface().BeginWindow(view.GetSafeHwnd(), &doc->Viewer().Colors());
    LayoutRect r = doc->GetSelectionStartRect(&view);
    view.Surface().End();
    const POINT scroll = view.ScrollPosition();
    POINT p{(r.left + r.right) / 2 - view.Extent().left - scroll.x,
            (r.top + r.bottom) / 2 - view.Extent().top - scroll.y};
    view.GoToRange(0, 0);
    ClientToScreen(view.GetSafeHwnd(), &p);
    return p;
  }

  // A copy of the sample web with a page of its own: a form that books a
  // berth.
  void AddBerthForm() {
    const std::string content = tmp_.file("content");
    std::filesystem::copy(DataDir() + "/sample", content, std::filesystem::copy_options::recursive);
    std::ofstream(content + "/documents/berths.html.rec")
        << "ObjectID=0x000001f0\nType=Document\nGOid=0x7f000001 0x000001f0\nDocumentType=text\nMimeType=text/html\nName=berths\n"
           "Title=en:Berths of Marrow Bay\nParent=0x00000101\nAuthor=system\nTimeCreated=96/11/04 20:00:00\n";
    std::ofstream(content + "/documents/berths.html.body")
        << "<HTML><BODY><H1>Berths</H1><FORM ACTION=\"http://quay.example/cgi/berth\" METHOD=GET>"
           "<P>Boat <INPUT NAME=boat VALUE=\"Grey Heron\"> <INPUT TYPE=SUBMIT VALUE=Book></FORM></BODY></HTML>\n";
    // What the quay's booking script answers (the peer fetches it for the
    // client, whatever the query).
    std::filesystem::create_directories(content + "/remote/quay");
    std::ofstream(content + "/remote/quay/berth.remote") << "URL=http://quay.example:80/cgi/berth\n";
    std::ofstream(content + "/remote/quay/berth.body")
        << "<HTML><BODY><P>Berth 4 is booked for you.</P></BODY></HTML>\n";
    peerOptions.content = content;
  }
};

TEST_F(TextViewE2ETest, AClickOnALinkOfTheWelcomePageGoesToThePlanets) {
  StartAndLogIn();
  TextView* view = Open(kWelcome);
  ASSERT_NE(view, nullptr);
  // The anchor on "the planets" (its server record names the positions).
  const AnchorRange* planets = nullptr;
  for (ListElement* e = view->Document()->AnchorRanges().first(); e; e = e->next()) {
    auto* range = static_cast<AnchorRange*>(e);
    if (view->Document()->GetLinksAt(range->Lower()).Find("0x00000102") >= 0) planets = range;
  }
  ASSERT_NE(planets, nullptr);
  const POINT p = ScreenPointOf(*view, planets->Lower().Number() + 1, planets->Upper().Number() - 1);
  win::headless::Click(p.x, p.y);
  EXPECT_TRUE(IdleUntil([] { return CurrentId() == kPlanets; })) << CurrentId();
}

TEST_F(TextViewE2ETest, TextDraggedOverIsCopiedWithTheKeys) {
  StartAndLogIn();
  TextView* view = Open(kEarth);
  ASSERT_NE(view, nullptr);
  const std::string body = testing_support::TempDir::read(DataDir() + "/sample/documents/earth.html.body");
  const LONG third = static_cast<LONG>(body.find("third planet"));
  ASSERT_GT(third, 0);
  // Pressed and released over the letters on either side of the words: a
  // point inside a letter selects up to its nearer edge, so a drag from the
  // middle of the first letter of the words may leave that letter out.
  const POINT from = ScreenPointOf(*view, third - 2, third - 1);
  const POINT to = ScreenPointOf(*view, third + 13, third + 14);
  view->SetFocus();
  win::headless::PressButton(from.x, from.y);
  win::headless::MoveMouse(to.x, to.y);
  win::headless::ReleaseButton(to.x, to.y);
  win::headless::PressKey(VK_CONTROL);
  win::headless::TypeKey('C');
  win::headless::ReleaseKey(VK_CONTROL);
  std::string copied;
  ASSERT_TRUE(IdleUntil([&] {
    if (!OpenClipboard(nullptr)) return false;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
      if (const char* text = static_cast<const char*>(GlobalLock(data))) copied = text;
      GlobalUnlock(data);
    }
    CloseClipboard();
    return copied.find("planet") != std::string::npos;
  })) << copied;
  EXPECT_NE(copied.find("third planet"), std::string::npos) << copied;
  // A drag only selects: the page is still the Earth's.
  EXPECT_EQ(CurrentId(), kEarth);
}

TEST_F(TextViewE2ETest, ASubmittedFormReachesThePeerWithItsQuery) {
  AddBerthForm();
  StartAndLogIn();
  TextView* view = Open(kBerths);
  ASSERT_NE(view, nullptr);
  // The button's window is placed where its line is drawn: wait until the
  // view has painted it.
  HWND button = nullptr;
  ASSERT_TRUE(IdleUntil([&] {
    for (HWND c = GetWindow(view->GetSafeHwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      char text[16] = {0};
      GetWindowText(c, text, sizeof text);
      if (std::string(text) == "Book" && IsWindowVisible(c)) button = c;
    }
    return button != nullptr;
  }));
  RECT r;
  GetWindowRect(button, &r);
  win::headless::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  // The goto of the query's pseudo document asks the peer for the remote
  // content with the method and the encoded pairs, and the page shows the
  // script's answer in its text view.
  TextView* answer = nullptr;
  ASSERT_TRUE(IdleUntil([&] {
    HWND h = AfxGetMainWnd() ? findViewer(AfxGetMainWnd()->GetSafeHwnd()) : nullptr;
    answer = h ? dynamic_cast<TextView*>(CWnd::FromHandlePermanent(h)) : nullptr;
    return answer && answer->Document() && answer->Document()->RecordText().Find("CGI_QUERY_STRING=") >= 0 &&
           answer->Extent().IsComputed();
  })) << peer_->log();
  const std::string log = peer_->log();
  const size_t request = log.find("name=remote-content");
  ASSERT_NE(request, std::string::npos) << log;
  const std::string line = log.substr(request, log.find('\n', request) - request);
  EXPECT_NE(line.find("CGI_REQUEST_METHOD=GET"), std::string::npos) << line;
  EXPECT_NE(line.find("CGI_QUERY_STRING=boat=Grey+Heron"), std::string::npos) << line;
  // The query is exactly the pairs: the path carries it, and it is the body.
  EXPECT_NE(line.find("Path=/cgi/berth?boat=Grey+Heron\\n"), std::string::npos) << line;
  EXPECT_NE(line.find("\ttext=boat=Grey+Heron\t"), std::string::npos) << line;
  // The answer's bytes came over the data connection.
  EXPECT_NE(log.find("data-done", request), std::string::npos) << log;
}

// The printer writes each page as a picture, so the PDF has no text layer
// to read back: the page is read back as pixels instead, and the printed
// document must have put ink on it.
TEST_F(TextViewE2ETest, ThePagePrintsItsDocumentToAPdfWithInkOnItsPage) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("pdftoppm"), "pdftoppm");
  const std::string pdf = tmp_.file("earth.pdf");
  const std::string printerIni =
      tmp_.write("printer.ini", "[Printer]\nPageSize=A4\nOrientation=Portrait\nResolution=150\nOutput=" + pdf + "\n");
  win::print::SetPrinterProfile(printerIni.c_str());
  win::print::InstallPdfPrinter();
  StartAndLogIn();
  TextView* view = Open(kEarth);
  ASSERT_NE(view, nullptr);
  // The page's window prints its text object, straight to the printer.
  HWND page = GetParent(view->GetSafeHwnd());
  ASSERT_NE(page, nullptr);
  SendMessage(page, WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
  ASSERT_TRUE(IdleUntil([&] { return win::print::LastPrintJob().finished; })) << win::print::LastPrintJob().error;
  win::print::SetPrinterProfile(nullptr);
  const std::string prefix = tmp_.file("earth-page");
  ASSERT_EQ(std::system(("pdftoppm -f 1 -l 1 -r 30 -gray '" + pdf + "' '" + prefix + "'").c_str()), 0);
  std::string image;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(prefix).parent_path()))
    if (entry.path().extension() == ".pgm") image = testing_support::TempDir::read(entry.path().string());
  ASSERT_GT(image.size(), 64u);
  // A binary grey map: "P5", width, height, the largest value, then a byte
  // a pixel. The document's own text fills the top of the page; the foot
  // holds the printer's page line, which must not count.
  std::istringstream header(image);
  std::string magic;
  size_t width = 0, height = 0, largest = 0;
  header >> magic >> width >> height >> largest;
  ASSERT_EQ(magic, "P5");
  const size_t at = static_cast<size_t>(header.tellg()) + 1;
  ASSERT_GE(image.size(), at + width * height);
  size_t dark = 0;
  for (size_t i = at; i < at + width * (height / 2); ++i)
    if (static_cast<unsigned char>(image[i]) < 128) ++dark;
  EXPECT_GT(dark, 20u) << "the document's part of the printed page is blank";
}

}  // namespace
}  // namespace app_test

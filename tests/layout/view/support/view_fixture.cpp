#include "layout/view/support/view_fixture.h"

#include <cstring>
#include <sstream>

#include "display/headless.h"
#include "mfc/dc.h"
#include "layout/pictures/picture_loader.h"
#include "layout/view/view_atom_factory.h"
#include "text/document/html_document.h"
#include "text/draw/draw_styles.h"
#include "gdi/printer.h"
#include "win/gdi.h"
#include "win/print.h"
#include "win/user.h"

namespace view_test {

namespace {

constexpr char kHostClass[] = "ViewTestHost";

struct Source : PictureContext {
  PictureContext* Clone() const override { return new Source; }
};

void put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, unsigned v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

std::string bmpHeader(int w, int h, int bits, unsigned colors, unsigned imageBytes) {
  std::string s = "BM";
  const unsigned offset = 14 + 40 + colors * 4;
  put32(s, offset + imageBytes);
  put32(s, 0);
  put32(s, offset);
  put32(s, 40);
  put32(s, static_cast<unsigned>(w));
  put32(s, static_cast<unsigned>(h));
  put16(s, 1);
  put16(s, static_cast<unsigned>(bits));
  put32(s, 0);
  put32(s, imageBytes);
  put32(s, 2835);
  put32(s, 2835);
  put32(s, colors);
  put32(s, 0);
  return s;
}

}  // namespace

NamedObject* PictureShelf::RequestPicture(const CString& name, const CString&, const PictureContext*, BuildTarget*,
                                          LONG) {
  auto it = pictures.find(name.c_str());
  return it == pictures.end() ? nullptr : it->second;
}

void ViewTest::SetUp() {
  win::ResetUserState();
  win::ResetGdiState();
  // The draw styles in the pinned fonts: Arial (Liberation Sans) 12 points.
  std::string ini = dir_.write("Tolm.ini", std::string("[TextViewer]\nHTMLDir=") + ZEMRA_SOURCE_DIR +
                                               "/data/textdefs\nhomeDir=" + dir_.path().string() +
                                               "\n[Styles]\nDrawStyles=1\n[DrawStyle 0]\nFont=Arial,12\n");
  // The loader's magic table and the default picture in the home directory.
  dir_.write("format.dat", testing_support::TempDir::read(std::string(ZEMRA_SOURCE_DIR) + "/data/format.dat"));
  dir_.write("default.bmp", SolidBmp(8, 8, 0x808080));
  app_ = std::make_unique<CWinApp>("ZemraViewTest");
  app_->m_pszProfileName = strdup(ini.c_str());
  DrawStyles::Unload();
  PictureSettings::ForgetForTests(24);
  // Printing goes to a PDF file in the test's directory.
  printerIni_ = dir_.write("printer.ini", "[Printer]\nPageSize=Letter\nOrientation=Portrait\nResolution=150\nOutput=" +
                                              dir_.file("out.pdf") + "\n");
  win::print::SetPrinterProfile(printerIni_.c_str());
  InstallTextViewFactories();
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = kHostClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  RegisterClass(&wc);
  host_ = CreateWindow(kHostClass, "host", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host_, nullptr);
}

void ViewTest::TearDown() {
  view_.reset();
  // The framework's temporary objects go at idle time, which tests skip.
  CWnd::DeleteTempMap();
  CDC::DeleteTempMap();
  win::print::SetPrinterProfile(nullptr);
  win::gdi::SetPrinterProvider(nullptr);
  if (host_) DestroyWindow(host_);
  DrawStyles::Unload();
  PictureSettings::ForgetForTests(0);
  win::ResetUserState();
  win::ResetGdiState();
}

TextView& ViewTest::OpenView(int width, int height) {
  view_.reset();
  view_ = std::make_unique<TextView>(&listener_);
  RECT r{0, 0, width, height};
  EXPECT_TRUE(view_->CreateView(WS_CHILD | WS_VISIBLE, r, CWnd::FromHandle(host_)));
  return *view_;
}

std::unique_ptr<MarkupDocument> ViewTest::Build(const std::string& record, const std::string& text) {
  static Source source;
  DocumentResources resources;
  resources.fileSource = &source;
  resources.listener = &shelf_;
  resources.view = view_.get();
  std::unique_ptr<MarkupDocument> doc = MakeDocumentFor(CString(record.c_str()), resources, 1);
  if (!doc) return nullptr;
  doc->SetInputStream(std::make_unique<std::istringstream>(text));
  if (doc->Load(&target_, "", true) != MarkupDocument::kLoadComplete) return nullptr;
  return doc;
}

bool ViewTest::LoadInto(TextView& view, const std::string& html, LONG firstReport) {
  static Source source;
  DocumentResources resources;
  resources.fileSource = &source;
  resources.listener = &shelf_;
  resources.view = &view;
  std::unique_ptr<MarkupDocument> doc = MakeDocumentFor("MimeType=text/html\n", resources, 1);
  if (!doc) return false;
  if (firstReport) doc->SetFirstContentReport(firstReport);
  doc->SetInputStream(std::make_unique<std::istringstream>(html));
  MarkupDocument* shown = doc.get();
  view.SetDocument(std::move(doc));
  const bool complete = shown->Load(&target_, "", true) == MarkupDocument::kLoadComplete;
  view.DocumentComplete();
  return complete;
}

TextView& ViewTest::Show(const std::string& html, int width, int height) {
  TextView& view = view_ ? *view_ : OpenView(width, height);
  auto doc = Build("MimeType=text/html\n", html);
  EXPECT_TRUE(doc);
  view.SetDocument(std::move(doc));
  Pump();
  return view;
}

void ViewTest::Pump() { win::headless::DispatchPending(); }

std::unique_ptr<win::gdi::Surface> ViewTest::Shot() {
  Pump();
  return win::headless::CaptureWindow(view_->GetSafeHwnd());
}

POINT ViewTest::Screen(int x, int y) const {
  POINT p{x, y};
  ClientToScreen(view_->GetSafeHwnd(), &p);
  return p;
}

std::string SolidBmp(int w, int h, unsigned rgb) {
  const unsigned row = (static_cast<unsigned>(w) * 3 + 3) & ~3u;
  std::string s = bmpHeader(w, h, 24, 0, row * static_cast<unsigned>(h));
  for (int y = 0; y < h; ++y) {
    std::string line;
    for (int x = 0; x < w; ++x) {
      line += static_cast<char>(rgb & 0xFF);
      line += static_cast<char>((rgb >> 8) & 0xFF);
      line += static_cast<char>((rgb >> 16) & 0xFF);
    }
    line.resize(row, '\0');
    s += line;
  }
  return s;
}

std::string IndexedBmp(int w, int h, const std::vector<unsigned>& colors, const std::vector<unsigned char>& pixels) {
  const unsigned row = (static_cast<unsigned>(w) + 3) & ~3u;
  std::string s = bmpHeader(w, h, 8, static_cast<unsigned>(colors.size()), row * static_cast<unsigned>(h));
  for (unsigned c : colors) put32(s, c & 0xFFFFFF);
  for (int y = h - 1; y >= 0; --y) {
    std::string line(pixels.begin() + y * w, pixels.begin() + (y + 1) * w);
    line.resize(row, '\0');
    s += line;
  }
  return s;
}

}  // namespace view_test

// bench-libs: zemra_test_support
// Text documents in the view, headless. Loading, laying out and painting
// an HTML document of 100 KB, 1 MB and 10 MB beside `w3m -dump` of the
// same file (time per document, and the peak memory of each: ours is the
// process's high-water mark, w3m's that of its run); laying out again
// after a width change and scrolling by one line on the 1 MB document
// (only the strip that scrolling uncovers is painted); and text measured
// and drawn through the view's drawing surface against FreeType rendering
// the same glyphs directly (loaded at run time). After the benchmarks each
// pair is timed again and printed as a ratio (ours / theirs; below 1 is
// faster): the loads as the medians of turns taken one after the other.
// `--ratio_sizes_kb=1024,...` limits those turns to the sizes named (to
// compare two builds quickly, with --benchmark_filter for the rest).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display/headless.h"
#include "gdi/text/font_text_engine.h"
#include "layout/view/text_view.h"
#include "layout/view/view_atom_factory.h"
#include "mfc/app.h"
#include "mfc/dc.h"
#include "support/median.h"
#include "support/temp_dir.h"
#include "text/build/build_listener.h"
#include "text/document/html_document.h"
#include "text/draw/draw_styles.h"
#include "text/style/color_table.h"
#include "win/gdi.h"
#include "win/user.h"

namespace {

// One section of the generated document: about a kilobyte of headings,
// paragraphs with links and character styles, a list and a small table.
std::string section(int i) {
  const std::string n = std::to_string(i);
  return "<H2>Quay " + n + " of Marrow Bay</H2>\n"
         "<P>The boats of <A HREF=\"korvex://quay.example/berth" + n + "\">berth " + n +
         "</A> leave at dawn for <B>Lindholm</B> and <I>Ardmore</I>; the harbour master, Ida Marsh, "
         "writes their names in the book of the quay and the tide tables of the week.</P>\n"
         "<UL><LI>salted herring from the north<LI>rope and tar<LI>nets of small mesh</UL>\n"
         "<TABLE BORDER=1><TR><TD>berth</TD><TD>" + n + "</TD><TD>Heron</TD></TR>"
         "<TR><TD COLSPAN=2>owner</TD><TD>Tomas Brack</TD></TR></TABLE>\n"
         "<P>When the wind turns west the ferries wait in the lee of the mole until the water rises "
         "over the bar, and the market closes early.</P>\n";
}

class Harness {
 public:
  Harness() {
    ini_ = dir_.write("Tolm.ini", std::string("[TextViewer]\nHTMLDir=") + ZEMRA_SOURCE_DIR +
                                      "/data/textdefs\nhomeDir=" + dir_.path().string() +
                                      "\n[Styles]\nDrawStyles=1\n[DrawStyle 0]\nFont=Arial,12\n");
    app_ = std::make_unique<CWinApp>("ZemraTextViewBench");
    app_->m_pszProfileName = strdup(ini_.c_str());
    DrawStyles::Unload();
    InstallTextViewFactories();
    host_ = CreateWindow("STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 800, 700, nullptr, nullptr, nullptr,
                         nullptr);
    view_ = std::make_unique<TextView>(nullptr);
    RECT r{0, 0, 640, 600};
    view_->CreateView(WS_CHILD | WS_VISIBLE, r, CWnd::FromHandle(host_));
  }
  ~Harness() {
    view_.reset();
    if (host_) DestroyWindow(host_);
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    DrawStyles::Unload();
  }

  // The file of a generated document of at least `bytes` bytes.
  std::string File(long bytes) {
    const std::string path = dir_.file("quay-" + std::to_string(bytes) + ".html");
    std::ifstream probe(path);
    if (probe) return path;
    std::ofstream out(path, std::ios::binary);
    out << "<HTML><BODY><H1>The quays of Marrow Bay</H1>\n";
    long written = 0;
    for (int i = 0; written < bytes; ++i) {
      const std::string s = section(i);
      out << s;
      written += static_cast<long>(s.size());
    }
    out << "</BODY></HTML>\n";
    return path;
  }

  // Loads the file into the view as the page's text object does (the view
  // shows the document while it is built), lays it out and paints.
  void Show(const std::string& path) {
    DocumentResources resources;
    resources.fileSource = &source_;
    resources.listener = &pictures_;
    resources.view = view_.get();
    std::unique_ptr<MarkupDocument> doc = MakeDocumentFor("MimeType=text/html\n", resources, 1);
    doc->SetInputStream(std::make_unique<std::ifstream>(path, std::ios::binary));
    MarkupDocument* shown = doc.get();
    view_->SetDocument(std::move(doc));
    shown->Load(&target_, "", true);
    view_->DocumentComplete();
    view_->UpdateWindow();
  }

  TextView& View() { return *view_; }

 private:
  struct Source : PictureContext {
    PictureContext* Clone() const override { return new Source; }
  };
  struct NoPictures : BuildListener {
    void BuildFinished(BuildTarget*, LONG) override {}
    NamedObject* RequestPicture(const CString&, const CString&, const PictureContext*, BuildTarget*, LONG) override {
      return nullptr;
    }
  };

  testing_support::TempDir dir_;
  std::string ini_;
  std::unique_ptr<CWinApp> app_;
  HWND host_ = nullptr;
  std::unique_ptr<TextView> view_;
  Source source_;
  NoPictures pictures_;
  BuildTarget target_;
};

Harness& TheHarness() {
  static Harness* harness = new Harness;
  return *harness;
}

long OwnPeakKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

bool HaveTime() {
  static const bool have = access("/usr/bin/time", X_OK) == 0;
  return have;
}

// Runs `w3m -dump` of the file to /dev/null; its peak memory in KB (0 when
// it cannot be told), -1 when it could not run. A process forked from this
// one carries this one's high-water mark through exec, so w3m is started by
// a small process of its own (time(1)), which tells w3m's own peak.
long W3mDump(const std::string& path) {
  const std::string peakFile = path + ".w3m-peak";
  std::fflush(nullptr);  // nothing buffered here is written twice by the child
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (FILE* null = std::freopen("/dev/null", "w", stdout)) (void)null;
    if (HaveTime())
      execl("/usr/bin/time", "time", "-f", "%M", "-o", peakFile.c_str(), "w3m", "-dump", "-T", "text/html", "-cols",
            "80", path.c_str(), static_cast<char*>(nullptr));
    else
      execlp("w3m", "w3m", "-dump", "-T", "text/html", "-cols", "80", path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  long peak = 0;
  if (FILE* f = std::fopen(peakFile.c_str(), "r")) {
    if (std::fscanf(f, "%ld", &peak) != 1) peak = 0;
    std::fclose(f);
  }
  return peak;
}

bool HaveW3m() {
  static const bool have = std::system("command -v w3m >/dev/null 2>&1") == 0;
  return have;
}

void BM_LoadLayoutPaint(benchmark::State& state) {
  Harness& h = TheHarness();
  const std::string path = h.File(state.range(0));
  for (auto _ : state) h.Show(path);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
  state.counters["peak_kb"] = static_cast<double>(OwnPeakKb());
}

void BM_W3mDump(benchmark::State& state) {
  if (!HaveW3m()) {
    state.SkipWithError("w3m not found");
    return;
  }
  const std::string path = TheHarness().File(state.range(0));
  long peak = 0;
  for (auto _ : state) peak = W3mDump(path);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
  state.counters["peak_kb"] = static_cast<double>(peak);
}

constexpr long kOneMegabyte = 1 << 20;

void ResizeBack(int& width) {
  TextView& view = TheHarness().View();
  width = width == 640 ? 639 : 640;
  view.SetWindowPos(nullptr, 0, 0, width, 600, SWP_NOMOVE | SWP_NOZORDER);
  view.UpdateWindow();
}

void BM_RelayoutAfterWidthChange(benchmark::State& state) {
  Harness& h = TheHarness();
  h.Show(h.File(kOneMegabyte));
  int width = 640;
  for (auto _ : state) ResizeBack(width);
}

void ScrollOneLine(bool& down) {
  TextView& view = TheHarness().View();
  view.SendMessage(WM_VSCROLL, down ? SB_LINEDOWN : SB_LINEUP, 0);
  down = !down;
}

void BM_ScrollOneLine(benchmark::State& state) {
  Harness& h = TheHarness();
  h.Show(h.File(kOneMegabyte));
  bool down = true;
  for (auto _ : state) ScrollOneLine(down);
}

// ---- Text runs against FreeType --------------------------------------------------

const char kLine[] = "The boats of Marrow Bay leave at dawn for Lindholm and Ardmore, and come back with the tide.";

// Measures and draws the line word by word through the view's drawing
// surface, as text runs do; the number of glyphs.
long OursGlyphs() {
  TextView& view = TheHarness().View();
  DrawingSurface& surface = view.Surface();
  static ColorTable colors(true);
  surface.BeginWindow(view.GetSafeHwnd(), &colors);
  FontDescriptor d(0, 0, 100, 0);
  long glyphs = 0;
  LONG x = 0;
  const char* word = kLine;
  while (*word) {
    const char* end = std::strchr(word, ' ');
    const LONG n = end ? static_cast<LONG>(end - word) : static_cast<LONG>(std::strlen(word));
    LayoutRect box;
    surface.TextExtent(box, word, n, d);
    surface.DrawText(LayoutPoint{x % 600, 40}, word, n, d);
    x += box.Width() + 4;
    glyphs += n;
    word += n;
    while (*word == ' ') ++word;
  }
  surface.End();
  return glyphs;
}

struct FreeTypeApi {
  using Library = void*;
  using Face = void*;
  int (*init)(Library*) = nullptr;
  int (*newFace)(Library, const char*, long, Face*) = nullptr;
  int (*setPixelSizes)(Face, unsigned, unsigned) = nullptr;
  unsigned (*charIndex)(Face, unsigned long) = nullptr;
  int (*getAdvance)(Face, unsigned, int, long*) = nullptr;
  int (*loadGlyph)(Face, unsigned, int) = nullptr;
  Library library = nullptr;
  Face face = nullptr;
  bool ok = false;
  static constexpr int kLoadRender = 1 << 2;

  FreeTypeApi() {
    void* so = dlopen("libfreetype.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!so) return;
    init = reinterpret_cast<decltype(init)>(dlsym(so, "FT_Init_FreeType"));
    newFace = reinterpret_cast<decltype(newFace)>(dlsym(so, "FT_New_Face"));
    setPixelSizes = reinterpret_cast<decltype(setPixelSizes)>(dlsym(so, "FT_Set_Pixel_Sizes"));
    charIndex = reinterpret_cast<decltype(charIndex)>(dlsym(so, "FT_Get_Char_Index"));
    getAdvance = reinterpret_cast<decltype(getAdvance)>(dlsym(so, "FT_Get_Advance"));
    loadGlyph = reinterpret_cast<decltype(loadGlyph)>(dlsym(so, "FT_Load_Glyph"));
    if (!init || !newFace || !setPixelSizes || !charIndex || !getAdvance || !loadGlyph) return;
    if (init(&library) != 0) return;
    // The face the view's "Arial" resolves to.
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT f = CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY, 0, "Arial");
    HGDIOBJ old = SelectObject(dc, f);
    const std::string file = win::gdi::text::SelectedFontFile(dc);
    SelectObject(dc, old);
    DeleteObject(f);
    DeleteDC(dc);
    if (file.empty() || newFace(library, file.c_str(), 0, &face) != 0) return;
    ok = setPixelSizes(face, 0, 16) == 0;
  }
};

FreeTypeApi& FreeType() {
  static FreeTypeApi* api = new FreeTypeApi;
  return *api;
}

// The same glyphs advanced and rendered by FreeType itself.
long FreeTypeGlyphs() {
  FreeTypeApi& ft = FreeType();
  long glyphs = 0;
  for (const char* p = kLine; *p; ++p) {
    if (*p == ' ') continue;
    const unsigned g = ft.charIndex(ft.face, static_cast<unsigned char>(*p));
    long advance = 0;
    ft.getAdvance(ft.face, g, 0, &advance);
    ft.loadGlyph(ft.face, g, FreeTypeApi::kLoadRender);
    ++glyphs;
  }
  return glyphs;
}

void BM_TextRunsThroughTheSurface(benchmark::State& state) {
  long glyphs = 0;
  for (auto _ : state) glyphs += OursGlyphs();
  state.counters["glyphs_per_s"] = benchmark::Counter(static_cast<double>(glyphs), benchmark::Counter::kIsRate);
}

void BM_FreeTypeDirect(benchmark::State& state) {
  if (!FreeType().ok) {
    state.SkipWithError("FreeType not found");
    return;
  }
  long glyphs = 0;
  for (auto _ : state) glyphs += FreeTypeGlyphs();
  state.counters["glyphs_per_s"] = benchmark::Counter(static_cast<double>(glyphs), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_LoadLayoutPaint)->Arg(100 << 10)->Arg(kOneMegabyte)->Arg(10 * kOneMegabyte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_W3mDump)->Arg(100 << 10)->Arg(kOneMegabyte)->Arg(10 * kOneMegabyte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayoutAfterWidthChange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollOneLine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextRunsThroughTheSurface)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FreeTypeDirect)->Unit(benchmark::kMicrosecond);

double Seconds(const std::function<void()>& fn, int reps, bool warmUp = true) {
  if (warmUp) fn();
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < reps; ++i) fn();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / reps;
}

// The sizes the ratios are taken at, from --ratio_sizes_kb (removed from
// the arguments); all three without it.
std::vector<long> RatioSizes(int& argc, char** argv) {
  std::vector<long> sizes;
  const char kFlag[] = "--ratio_sizes_kb=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kFlag, sizeof kFlag - 1) != 0) continue;
    for (const char* p = argv[i] + sizeof kFlag - 1; *p;) {
      char* end = nullptr;
      const long kb = std::strtol(p, &end, 10);
      if (end == p) break;
      if (kb > 0 && kb <= 10 * 1024) sizes.push_back(kb << 10);
      p = *end == ',' ? end + 1 : end;
    }
    for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
    --argc;
    return sizes;
  }
  return {100L << 10, kOneMegabyte, 10 * kOneMegabyte};
}

}  // namespace

int main(int argc, char** argv) {
  setenv("ZEMRA_HEADLESS", "1", 0);
  win::gdi::text::InstallFontTextEngine();
  const std::vector<long> ratioSizes = RatioSizes(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Harness& h = TheHarness();
  if (HaveW3m()) {
    for (long size : ratioSizes) {
      const std::string path = h.File(size);
      // Turns taken one after the other and the median of each side, so a
      // burst of load on the machine lands on both or is outvoted.
      long theirPeak = 0;
      h.Show(path);  // warm up
      const int turns = size > kOneMegabyte ? 3 : 7;
      std::vector<double> ourTimes, theirTimes;
      for (int turn = 0; turn < turns; ++turn) {
        ourTimes.push_back(Seconds([&] { h.Show(path); }, 1, false));
        theirTimes.push_back(Seconds([&] { theirPeak = W3mDump(path); }, 1, false));
      }
      const double ours = bench_support::Median(ourTimes), theirs = bench_support::Median(theirTimes);
      std::printf("load, lay out, paint %6ld KB: ours %8.1f ms  w3m -dump %8.1f ms  ratio %.2f"
                  "  (peak: ours so far %ld KB, w3m %ld KB)\n",
                  size >> 10, ours * 1e3, theirs * 1e3, ours / theirs, OwnPeakKb(), theirPeak);
    }
  } else {
    std::printf("w3m not found: no load ratios\n");
  }
  if (FreeType().ok) {
    const double ours = Seconds([] { OursGlyphs(); }, 200), theirs = Seconds([] { FreeTypeGlyphs(); }, 200);
    std::printf("text runs: ours %.1f us  FreeType %.1f us per line  ratio %.2f\n", ours * 1e6, theirs * 1e6,
                ours / theirs);
  }
  return 0;
}

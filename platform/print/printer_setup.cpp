// The printer's setup: the [Printer] settings and this session's choices.
#include <cstdlib>
#include <optional>
#include <string>

#include "mfc/app.h"
#include "win/kernel.h"
#include "win/path_map.h"
#include "win/print.h"

namespace win::print {
namespace {

constexpr char kSection[] = "Printer";
constexpr int kDefaultDpi = 300;
// Below 72 dpi text is unreadable; above 600 a Legal page no longer fits
// GDI's largest surface.
constexpr int kMinDpi = 72;
constexpr int kMaxDpi = 600;
constexpr char kDefaultOutputName[] = "print.pdf";

struct Choices {
  std::optional<Paper> paper;
  std::optional<bool> landscape;
  std::optional<std::string> output;
};

Choices& choices() {
  static Choices c;
  return c;
}

std::string& profileOverride() {
  static std::string file;
  return file;
}

// A [Printer] value: from the override file, else the application's
// profile, else the default.
std::string Setting(const char* key, const char* def) {
  if (!profileOverride().empty()) {
    char buf[1024] = {};
    GetPrivateProfileString(kSection, key, def, buf, sizeof buf, profileOverride().c_str());
    return buf;
  }
  if (CWinApp* app = AfxGetApp(); app && app->m_pszProfileName) {
    return static_cast<const char*>(app->GetProfileString(kSection, key, def));
  }
  return def;
}

bool SameText(const std::string& a, const char* b) { return SameNameIgnoringCase(a, b); }

std::optional<Paper> ParsePaper(const std::string& text) {
  if (SameText(text, "A4")) return Paper::A4;
  if (SameText(text, "Letter")) return Paper::Letter;
  if (SameText(text, "Legal")) return Paper::Legal;
  return std::nullopt;
}

// The whole text must be the number.
int ParseDpi(const std::string& text) {
  if (text.empty() || text.size() > 6) return kDefaultDpi;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (!end || *end != '\0' || value < kMinDpi || value > kMaxDpi) return kDefaultDpi;
  return static_cast<int>(value);
}

// In the user's own temporary directory, where no one else can put a file
// or a link under that name first.
std::string DefaultOutput() {
  std::string dir = PrivateTempWindowsDirectory();
  return (dir.empty() ? TempWindowsDirectory() : dir) + kDefaultOutputName;
}

}  // namespace

void SetPrinterProfile(LPCSTR file) { profileOverride() = file ? file : ""; }

PrinterSetup CurrentPrinterSetup() {
  PrinterSetup setup;
  setup.paper = ParsePaper(Setting("PageSize", "A4")).value_or(Paper::A4);
  setup.landscape = SameText(Setting("Orientation", "Portrait"), "Landscape");
  setup.dpi = ParseDpi(Setting("Resolution", ""));
  setup.output = Setting("Output", "");
  if (setup.output.empty()) setup.output = DefaultOutput();

  const Choices& c = choices();
  if (c.paper) setup.paper = *c.paper;
  if (c.landscape) setup.landscape = *c.landscape;
  if (c.output) setup.output = *c.output;
  return setup;
}

SIZE PagePixels(const PrinterSetup& setup) {
  // Paper sides: in millimetres for A4, in tenths of an inch for the others.
  int width = 0;
  int height = 0;
  const int dpi = setup.dpi;
  switch (setup.paper) {
    case Paper::A4:
      width = (210 * dpi * 10 + 127) / 254;
      height = (297 * dpi * 10 + 127) / 254;
      break;
    case Paper::Letter:
      width = 85 * dpi / 10;
      height = 110 * dpi / 10;
      break;
    case Paper::Legal:
      width = 85 * dpi / 10;
      height = 140 * dpi / 10;
      break;
  }
  if (setup.landscape) return SIZE{height, width};
  return SIZE{width, height};
}

void ChoosePaper(Paper paper, bool landscape) {
  choices().paper = paper;
  choices().landscape = landscape;
}

bool ChooseOutput(const std::string& file) {
  if (file.empty()) return false;
  choices().output = file;
  return true;
}

void ResetPrinterChoices() { choices() = Choices{}; }

}  // namespace win::print

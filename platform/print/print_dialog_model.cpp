// The dialogs' state and checks, and the DEVMODE / DEVNAMES blocks.
#include "print/print_dialog_model.h"

#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "win/kernel.h"
#include "win/path_map.h"

namespace win::print {
namespace {

// Output names longer than this are refused (DEVNAMES offsets are WORDs, and
// no Windows path is longer).
constexpr std::size_t kMaxOutputName = 1024;

// The directory part of a host path ("." for a bare name).
std::string HostDirectory(const std::string& hostPath) {
  const std::size_t slash = hostPath.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return hostPath.substr(0, slash);
}

bool IsDirectory(const std::string& hostPath) {
  struct stat st{};
  return stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Trimmed(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const std::size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

// A locked view of a global block of at least `need` bytes; null otherwise.
struct LockedBlock {
  explicit LockedBlock(HGLOBAL h) : handle(h) {
    if (h) {
      size = GlobalSize(h);
      data = static_cast<BYTE*>(GlobalLock(h));
    }
  }
  ~LockedBlock() {
    if (data) GlobalUnlock(handle);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;
  HGLOBAL handle;
  BYTE* data = nullptr;
  DWORD_PTR size = 0;
};

// `h` if it holds at least `bytes`, else a new (or grown) moveable block.
HGLOBAL BlockOfSize(HGLOBAL h, std::size_t bytes) {
  if (h && GlobalSize(h) >= bytes) return h;
  if (h) {
    if (HGLOBAL grown = GlobalReAlloc(h, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT)) return grown;
    return nullptr;
  }
  return GlobalAlloc(GHND, bytes);
}

}  // namespace

PrintDialogState InitialDialogState(const PRINTDLG& pd, const PrinterSetup& setup) {
  PrintDialogState s;
  s.setup = (pd.Flags & PD_PRINTSETUP) != 0;
  s.output = setup.output;
  s.pagesEnabled = (pd.Flags & PD_NOPAGENUMS) == 0;
  s.selectionEnabled = (pd.Flags & PD_NOSELECTION) == 0;
  if ((pd.Flags & PD_SELECTION) && s.selectionEnabled) {
    s.range = PD_SELECTION;
  } else if ((pd.Flags & PD_PAGENUMS) && s.pagesEnabled) {
    s.range = PD_PAGENUMS;
  } else {
    s.range = PD_ALLPAGES;
  }
  s.minPage = pd.nMinPage;
  s.maxPage = pd.nMaxPage;
  s.fromPage = pd.nFromPage;
  s.toPage = pd.nToPage;
  s.paper = setup.paper;
  s.landscape = setup.landscape;
  return s;
}

const char* DialogCaption(const PrintDialogState& state) {
  return state.setup ? "Print Setup" : "Print";
}

std::optional<std::string> CheckDialogChoice(const PrintDialogState& state) {
  if (state.setup) return std::nullopt;  // every paper and orientation is fine
  const std::string output = Trimmed(state.output);
  if (output.empty()) return std::string("Enter the name of the file to print to.");
  if (output.size() > kMaxOutputName) return std::string("The file name is too long.");
  const std::string host = HostPath(output);
  if (host.empty() || host.back() == '/' || IsDirectory(host)) {
    return output + " is a folder.\nEnter the name of the file to print to.";
  }
  if (!IsDirectory(HostDirectory(host))) {
    return "The folder of " + output + " does not exist.";
  }
  switch (state.range) {
    case PD_ALLPAGES:
      break;
    case PD_SELECTION:
      if (!state.selectionEnabled) return std::string("There is no selection to print.");
      break;
    case PD_PAGENUMS:
      if (!state.pagesEnabled) return std::string("This document cannot be printed by pages.");
      if (state.fromPage < state.minPage || state.toPage > state.maxPage ||
          state.fromPage > state.toPage) {
        return "Enter page numbers between " + std::to_string(state.minPage) + " and " +
               std::to_string(state.maxPage) + ", the first not after the last.";
      }
      break;
    default:
      return std::string("Choose which pages to print.");
  }
  return std::nullopt;
}

void ReadDevMode(HGLOBAL devMode, PrinterSetup* setup) {
  LockedBlock block(devMode);
  if (!block.data || block.size < sizeof(DEVMODE)) return;
  DEVMODE dm;
  std::memcpy(&dm, block.data, sizeof dm);
  if (std::memchr(dm.dmDeviceName, '\0', sizeof dm.dmDeviceName) == nullptr) return;
  if (std::strcmp(dm.dmDeviceName, kPrinterName) != 0) return;
  if (dm.dmFields & DM_PAPERSIZE) {
    switch (dm.dmPaperSize) {
      case DMPAPER_A4: setup->paper = Paper::A4; break;
      case DMPAPER_LETTER: setup->paper = Paper::Letter; break;
      case DMPAPER_LEGAL: setup->paper = Paper::Legal; break;
      default: break;
    }
  }
  if (dm.dmFields & DM_ORIENTATION) {
    if (dm.dmOrientation == DMORIENT_PORTRAIT) setup->landscape = false;
    if (dm.dmOrientation == DMORIENT_LANDSCAPE) setup->landscape = true;
  }
}

void ReadDevNames(HGLOBAL devNames, PrinterSetup* setup) {
  LockedBlock block(devNames);
  if (!block.data || block.size < sizeof(DEVNAMES)) return;
  DEVNAMES dn;
  std::memcpy(&dn, block.data, sizeof dn);
  // Each name must start inside the block and end there.
  auto name = [&](WORD offset) -> std::optional<std::string> {
    if (offset < sizeof(DEVNAMES) || offset >= block.size) return std::nullopt;
    const char* start = reinterpret_cast<const char*>(block.data) + offset;
    const void* end = std::memchr(start, '\0', block.size - offset);
    if (!end) return std::nullopt;
    return std::string(start, static_cast<const char*>(end));
  };
  const std::optional<std::string> device = name(dn.wDeviceOffset);
  const std::optional<std::string> output = name(dn.wOutputOffset);
  if (!device || *device != kPrinterName || !output) return;
  if (!output->empty() && output->size() <= kMaxOutputName) setup->output = *output;
}

HGLOBAL WriteDevMode(HGLOBAL devMode, const PrinterSetup& setup) {
  HGLOBAL h = BlockOfSize(devMode, sizeof(DEVMODE));
  LockedBlock block(h);
  if (!block.data) return nullptr;
  DEVMODE dm{};
  std::strncpy(dm.dmDeviceName, kPrinterName, sizeof dm.dmDeviceName - 1);
  dm.dmSpecVersion = DM_SPECVERSION;
  dm.dmSize = sizeof(DEVMODE);
  dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION;
  dm.dmOrientation = setup.landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  dm.dmPaperSize = setup.paper == Paper::A4       ? DMPAPER_A4
                   : setup.paper == Paper::Letter ? DMPAPER_LETTER
                                                  : DMPAPER_LEGAL;
  dm.dmCopies = 1;
  dm.dmPrintQuality = static_cast<short>(setup.dpi);
  dm.dmYResolution = static_cast<short>(setup.dpi);
  std::memcpy(block.data, &dm, sizeof dm);
  return h;
}

HGLOBAL WriteDevNames(HGLOBAL devNames, const PrinterSetup& setup) {
  std::vector<char> text;
  auto add = [&](const std::string& s) {
    const std::size_t at = sizeof(DEVNAMES) + text.size();
    text.insert(text.end(), s.begin(), s.end());
    text.push_back('\0');
    return static_cast<WORD>(at);
  };
  DEVNAMES dn{};
  const std::string output =
      setup.output.size() <= kMaxOutputName ? setup.output : std::string();
  dn.wDriverOffset = add(kPrinterDriver);
  dn.wDeviceOffset = add(kPrinterName);
  dn.wOutputOffset = add(output);
  dn.wDefault = DN_DEFAULTPRN;
  HGLOBAL h = BlockOfSize(devNames, sizeof(DEVNAMES) + text.size());
  LockedBlock block(h);
  if (!block.data) return nullptr;
  std::memcpy(block.data, &dn, sizeof dn);
  std::memcpy(block.data + sizeof dn, text.data(), text.size());
  return h;
}

}  // namespace win::print

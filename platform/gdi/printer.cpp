// Printer pages: the provider registration and the document calls.
#include "gdi/printer.h"

#include "gdi/dc.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace win::gdi {
namespace {
PrinterProvider* g_printer = nullptr;
}

void SetPrinterProvider(PrinterProvider* provider) { g_printer = provider; }
PrinterProvider* GetPrinterProvider() { return g_printer; }

}  // namespace win::gdi

namespace {

DcRecord* PrinterDc(HDC h) {
  DcRecord* dc = LookupDc(h);
  return dc && dc->kind == DcKind::Printer ? dc : nullptr;
}

int g_jobs = 0;

}  // namespace

int StartDoc(HDC h, const DOCINFO* doc) {
  DcRecord* dc = PrinterDc(h);
  if (!dc || dc->docStarted) return SP_ERROR;
  std::string name = doc && doc->lpszDocName ? doc->lpszDocName : "";
  if (g_printer && !g_printer->StartDoc(name)) return SP_ERROR;
  dc->docStarted = true;
  return ++g_jobs;
}

int StartPage(HDC h) {
  DcRecord* dc = PrinterDc(h);
  if (!dc || !dc->docStarted || dc->pageStarted || !dc->surface) return SP_ERROR;
  dc->surface->Fill(0xFFFFFF);
  dc->pageStarted = true;
  return 1;
}

int EndPage(HDC h) {
  DcRecord* dc = PrinterDc(h);
  if (!dc || !dc->pageStarted) return SP_ERROR;
  dc->pageStarted = false;
  if (g_printer && dc->surface) g_printer->Page(*dc->surface);
  return 1;
}

int EndDoc(HDC h) {
  DcRecord* dc = PrinterDc(h);
  if (!dc || !dc->docStarted) return SP_ERROR;
  if (dc->pageStarted) EndPage(h);
  dc->docStarted = false;
  if (g_printer) g_printer->EndDoc(false);
  return 1;
}

int AbortDoc(HDC h) {
  DcRecord* dc = PrinterDc(h);
  if (!dc || !dc->docStarted) return SP_ERROR;
  dc->docStarted = false;
  dc->pageStarted = false;
  if (g_printer) g_printer->EndDoc(true);
  return 1;
}

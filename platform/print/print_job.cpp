// The standard print loop over a printer DC.
#include "gdi/printer.h"
#include "print/pdf_printer.h"
#include "win/gdi.h"
#include "win/print.h"

namespace win::print {

bool PrintPages(HDC dc, const PrintLoop& loop, int* pages) {
  if (pages) *pages = 0;
  if (!loop.print || loop.first < 1 || loop.last < loop.first) return false;
  DOCINFO doc{static_cast<int>(sizeof(DOCINFO)), loop.docName ? loop.docName : "", nullptr,
              nullptr, 0};
  if (StartDoc(dc, &doc) <= 0) return false;
  int printed = 0;
  for (UINT page = loop.first; page <= loop.last && page != 0; ++page) {
    if (loop.prepare && !loop.prepare(dc, page)) break;
    if (StartPage(dc) <= 0) {
      AbortDoc(dc);
      return false;
    }
    // Each page starts from the DC as the document left it.
    const int saved = SaveDC(dc);
    const bool drawn = loop.print(dc, page);
    if (saved > 0) RestoreDC(dc, saved);
    if (!drawn || EndPage(dc) <= 0) {
      AbortDoc(dc);
      return false;
    }
    ++printed;
  }
  if (pages) *pages = printed;
  if (printed == 0) {
    AbortDoc(dc);
    return false;
  }
  if (EndDoc(dc) <= 0) return false;
  // GDI's EndDoc cannot tell that the file failed; the PDF printer can.
  if (gdi::GetPrinterProvider() == &ThePdfPrinter()) return LastPrintJob().finished;
  return true;
}

}  // namespace win::print

// Printer devices. CreateDC of any driver other than "DISPLAY" and "DIB"
// asks the installed PrinterProvider for the page: its size in pixels and
// its resolution. Each page is drawn on a white surface of that size; EndPage
// hands it to the provider (which may print it, save it or drop it).
#pragma once

#include <string>

#include "gdi/surface.h"
#include "win/types.h"

namespace win::gdi {

struct PrinterInfo {
  int dpiX = 300;
  int dpiY = 300;
  int pageWidth = 2550;   // pixels (8.5 inches at 300 dpi)
  int pageHeight = 3300;  // pixels (11 inches)
};

class PrinterProvider {
 public:
  virtual ~PrinterProvider() = default;
  // False: no such printer (CreateDC fails).
  virtual bool Describe(const std::string& driver, const std::string& device, PrinterInfo& out) = 0;
  virtual bool StartDoc(const std::string& /*docName*/) { return true; }
  virtual void Page(const Surface& /*page*/) {}
  virtual void EndDoc(bool /*aborted*/) {}
};

// Not owned; null puts back the placeholder (the PrinterInfo defaults, pages
// dropped).
void SetPrinterProvider(PrinterProvider* provider);
PrinterProvider* GetPrinterProvider();

}  // namespace win::gdi

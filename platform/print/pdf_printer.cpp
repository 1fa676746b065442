// The PDF printer provider and its installation.
#include "print/pdf_printer.h"

#include "gdi/dc.h"
#include "gdi/dc_internal.h"
#include "win/user.h"

namespace win::print {
namespace {

// The resolution of the printer DC whose page this is (each DC keeps the
// resolution it was made with, which may differ from today's setup).
bool PageResolution(const gdi::Surface& page, int* dpiX, int* dpiY) {
  for (gdi::DcRecord* dc : gdi::AllDcs()) {
    if (dc->kind == gdi::DcKind::Printer && dc->surface == &page) {
      *dpiX = dc->dpiX;
      *dpiY = dc->dpiY;
      return true;
    }
  }
  return false;
}

}  // namespace

bool PdfPrinter::Describe(const std::string&, const std::string&, gdi::PrinterInfo& out) {
  // There is one printer: every driver and device name is this one.
  const PrinterSetup setup = CurrentPrinterSetup();
  const SIZE page = PagePixels(setup);
  out.dpiX = setup.dpi;
  out.dpiY = setup.dpi;
  out.pageWidth = page.cx;
  out.pageHeight = page.cy;
  return true;
}

bool PdfPrinter::StartDoc(const std::string& docName) {
  if (job_) return false;
  const PrinterSetup setup = CurrentPrinterSetup();
  auto job = std::make_unique<Job>();
  job->dpi = setup.dpi;
  last_ = PrintJobResult{};
  last_.output = setup.output;
  if (!job->file.Open(setup.output, &last_.error)) return false;
  job->writer = std::make_unique<PdfWriter>(job->file.stream());
  if (!job->writer->Begin(docName)) {
    last_.error = job->writer->error();
    return false;  // the pending file goes with the job
  }
  job_ = std::move(job);
  return true;
}

void PdfPrinter::Page(const gdi::Surface& page) {
  if (!job_) return;
  int dpiX = job_->dpi;
  int dpiY = job_->dpi;
  PageResolution(page, &dpiX, &dpiY);
  // After a failed page the writer refuses the rest; EndDoc reports it.
  job_->writer->AddPage(page, dpiX, dpiY);
}

void PdfPrinter::EndDoc(bool aborted) {
  if (!job_) return;
  std::unique_ptr<Job> job = std::move(job_);
  last_.pages = job->writer->pages();
  if (aborted) {
    job->file.Discard();
    last_.aborted = true;
    return;
  }
  if (last_.pages == 0) {
    // Nothing was printed: no empty file in place of the old one.
    job->file.Discard();
    last_.error = "the document has no pages";
    return;
  }
  if (!job->writer->Finish()) {
    last_.error = job->writer->error();
    job->file.Discard();
  } else if (job->file.Commit(&last_.error)) {
    last_.finished = true;
    return;
  }
  const std::string text = "The document could not be printed to " + last_.output + ".\n" + last_.error;
  MessageBox(GetActiveWindow(), text.c_str(), "Print", MB_OK | MB_ICONEXCLAMATION);
}

PdfPrinter& ThePdfPrinter() {
  // Never destroyed: GDI may end a document while other statics go away.
  static PdfPrinter* printer = new PdfPrinter;
  return *printer;
}

void InstallPdfPrinter() { gdi::SetPrinterProvider(&ThePdfPrinter()); }

void EnsurePrinterInstalled() {
  if (gdi::GetPrinterProvider() == nullptr) InstallPdfPrinter();
}

PrintJobResult LastPrintJob() { return ThePdfPrinter().last(); }

}  // namespace win::print

// The PDF printer: GDI's printer provider. It describes the page of the
// current printer setup, and turns a document (StartDoc .. EndDoc) into a
// PDF file at the setup's output name. One document at a time.
#pragma once

#include <memory>
#include <string>

#include "gdi/printer.h"
#include "print/pdf_writer.h"
#include "print/pending_file.h"
#include "win/print.h"

namespace win::print {

class PdfPrinter : public gdi::PrinterProvider {
 public:
  bool Describe(const std::string& driver, const std::string& device,
                gdi::PrinterInfo& out) override;
  // False (StartDoc gives SP_ERROR) while another document is open or when
  // the output file cannot be made.
  bool StartDoc(const std::string& docName) override;
  void Page(const gdi::Surface& page) override;
  // Completes the file, or removes it when aborted or without pages. A file
  // that cannot be completed is removed and the user told in a message box
  // (GDI's EndDoc cannot report it); LastPrintJob() has the reason.
  void EndDoc(bool aborted) override;

  const PrintJobResult& last() const { return last_; }

 private:
  struct Job {
    PendingFile file;
    std::unique_ptr<PdfWriter> writer;
    int dpi = 300;  // the setup's, for a page whose DC cannot be found
  };
  std::unique_ptr<Job> job_;
  PrintJobResult last_;
};

PdfPrinter& ThePdfPrinter();

// Installs the PDF printer unless GDI has a printer already (a test's).
void EnsurePrinterInstalled();

}  // namespace win::print

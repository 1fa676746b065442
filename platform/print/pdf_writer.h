// A PDF file whose pages are pictures: each page is one RGB image (Flate-
// compressed, lossless) drawn over the whole page, the page as large in
// points (1/72 inch) as the picture is at its resolution. Pages are written
// as they come, so a long document never sits in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "gdi/surface.h"

namespace win::print {

class PdfWriter {
 public:
  // Most pages a document may have.
  static constexpr int kMaxPages = 100000;

  explicit PdfWriter(std::FILE* out);  // not owned; left open

  // The header and the document information (`title` shows as the
  // document's title). Once per file, first.
  bool Begin(const std::string& title);
  // One page: the surface's pixels at dpiX x dpiY dots per inch.
  bool AddPage(const gdi::Surface& page, int dpiX, int dpiY);
  // The page tree, the cross-reference table and the trailer; the file is
  // complete (and flushed) when this returns true.
  bool Finish();

  int pages() const { return static_cast<int>(kids_.size()); }
  // Why the last call failed; every call after a failure fails too.
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& why);
  bool Write(const void* data, std::size_t size);
  bool Write(const std::string& text) { return Write(text.data(), text.size()); }
  int Reserve();            // the next object number
  bool Open(int object);    // "n 0 obj" at the current offset
  bool WriteImage(const gdi::Surface& page, int lengthObject);

  std::FILE* out_;
  std::uint64_t offset_ = 0;
  std::vector<std::uint64_t> offsets_;  // by object number; 0: not written yet
  std::vector<int> kids_;               // page objects in order
  std::string error_;
  bool begun_ = false;
  bool finished_ = false;
};

// A length in points for `pixels` at `dpi`, as PDF text: at most four
// decimals, rounded down, so that a reader that rounds a page up to whole
// pixels gets back exactly `pixels`.
std::string PdfPoints(int pixels, int dpi);
// A PDF literal string (with its parentheses) of `text`: parentheses and
// backslashes escaped, bytes outside printable ASCII as octal escapes; cut to
// 255 bytes of text.
std::string PdfString(const std::string& text);

}  // namespace win::print

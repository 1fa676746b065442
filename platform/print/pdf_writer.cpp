// The PDF writer: objects written in order with their offsets recorded, an
// image stream deflated row by row, and the cross-reference table at the end.
#include "print/pdf_writer.h"

#include "print/zlib_calls.h"


#include <cerrno>
#include <cinttypes>
#include <cstring>

namespace win::print {
namespace {

// Object numbers fixed by the writer; pages follow.
constexpr int kCatalog = 1;
constexpr int kPageTree = 2;
constexpr int kInfo = 3;

// A cross-reference entry holds ten digits.
constexpr std::uint64_t kMaxOffset = 9999999999ull;

// Rows are deflated in chunks of this many output bytes.
constexpr std::size_t kChunk = 64 * 1024;

std::string Number(std::uint64_t n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%" PRIu64, n);
  return buf;
}

}  // namespace

std::string PdfPoints(int pixels, int dpi) {
  if (pixels <= 0 || dpi <= 0) return "0";
  // Ten-thousandths of a point, rounded down.
  const std::uint64_t units = static_cast<std::uint64_t>(pixels) * 72u * 10000u / static_cast<unsigned>(dpi);
  std::string text = Number(units / 10000);
  unsigned frac = static_cast<unsigned>(units % 10000);
  if (frac != 0) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04u", frac);
    std::string digits = buf;
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return text;
}

std::string PdfString(const std::string& text) {
  std::string out = "(";
  const std::size_t n = text.size() < 255 ? text.size() : 255;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '(' || c == ')' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c > 0x7E) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + ")";
}

PdfWriter::PdfWriter(std::FILE* out) : out_(out) { offsets_.resize(kInfo + 1, 0); }

bool PdfWriter::Fail(const std::string& why) {
  if (error_.empty()) error_ = why;
  return false;
}

bool PdfWriter::Write(const void* data, std::size_t size) {
  if (!error_.empty()) return false;
  if (!out_) return Fail("no output file");
  if (size == 0) return true;
  if (std::fwrite(data, 1, size, out_) != size) return Fail(std::strerror(errno));
  offset_ += size;
  if (offset_ > kMaxOffset) return Fail("the document is too large");
  return true;
}

int PdfWriter::Reserve() {
  offsets_.push_back(0);
  return static_cast<int>(offsets_.size()) - 1;
}

bool PdfWriter::Open(int object) {
  if (object <= 0 || static_cast<std::size_t>(object) >= offsets_.size()) {
    return Fail("bad object number");
  }
  offsets_[static_cast<std::size_t>(object)] = offset_;
  return Write(Number(static_cast<std::uint64_t>(object)) + " 0 obj\n");
}

bool PdfWriter::Begin(const std::string& title) {
  if (begun_) return Fail("the document was already begun");
  begun_ = true;
  // The second line's high bytes mark the file as binary for transfer tools.
  static const char header[] = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  if (!Write(header, sizeof header - 1)) return false;
  if (!Open(kCatalog)) return false;
  if (!Write("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n")) return false;
  if (!Open(kInfo)) return false;
  return Write("<< /Producer (Zemra) /Title " + PdfString(title) + " >>\nendobj\n");
}

bool PdfWriter::WriteImage(const gdi::Surface& page, int lengthObject) {
  std::string why;
  const ZlibCalls* zlib = Zlib(&why);
  if (!zlib) return Fail(why);
  z_stream z{};
  if (zlib->init(&z, Z_DEFAULT_COMPRESSION, ZLIB_VERSION, static_cast<int>(sizeof z)) != Z_OK)
    return Fail("the compressor failed to start");
  const int width = page.width();
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  std::vector<unsigned char> chunk(kChunk);
  std::uint64_t compressed = 0;
  bool ok = true;
  // Feeds `flush` through the compressor until it has taken all input (and,
  // at Z_FINISH, ended the stream).
  auto pump = [&](int flush) {
    for (;;) {
      z.next_out = chunk.data();
      z.avail_out = static_cast<uInt>(chunk.size());
      const int rc = zlib->compress(&z, flush);
      if (rc == Z_STREAM_ERROR) return Fail("the compressor failed");
      const std::size_t produced = chunk.size() - z.avail_out;
      if (!Write(chunk.data(), produced)) return false;
      compressed += produced;
      if (flush == Z_FINISH ? rc == Z_STREAM_END : z.avail_out != 0) return true;
    }
  };
  for (int y = 0; ok && y < page.height(); ++y) {
    const std::uint32_t* src = page.Row(y);
    for (int x = 0; x < width; ++x) {
      row[static_cast<std::size_t>(x) * 3 + 0] = static_cast<unsigned char>(src[x] >> 16);
      row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<unsigned char>(src[x] >> 8);
      row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<unsigned char>(src[x]);
    }
    z.next_in = row.data();
    z.avail_in = static_cast<uInt>(row.size());
    ok = pump(Z_NO_FLUSH);
  }
  if (ok) ok = pump(Z_FINISH);
  zlib->end(&z);
  if (!ok) return false;
  if (!Write("\nendstream\nendobj\n")) return false;
  if (!Open(lengthObject)) return false;
  return Write(Number(compressed) + "\nendobj\n");
}

bool PdfWriter::AddPage(const gdi::Surface& page, int dpiX, int dpiY) {
  if (!begun_ || finished_) return Fail("no document is open");
  if (dpiX <= 0 || dpiY <= 0) return Fail("bad resolution");
  if (pages() >= kMaxPages) return Fail("too many pages");
  const int pageObject = Reserve();
  const int contents = Reserve();
  const int image = Reserve();
  const int imageLength = Reserve();
  const std::string w = PdfPoints(page.width(), dpiX);
  const std::string h = PdfPoints(page.height(), dpiY);

  if (!Open(pageObject)) return false;
  if (!Write("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + w + " " + h + "]\n"
             "/Resources << /XObject << /Im0 " + Number(image) + " 0 R >> >>\n"
             "/Contents " + Number(contents) + " 0 R >>\nendobj\n")) {
    return false;
  }
  // The image fills the page: its unit square scaled to the page's size.
  const std::string draw = "q " + w + " 0 0 " + h + " 0 0 cm /Im0 Do Q\n";
  if (!Open(contents)) return false;
  if (!Write("<< /Length " + Number(draw.size()) + " >>\nstream\n" + draw + "endstream\nendobj\n")) {
    return false;
  }
  if (!Open(image)) return false;
  if (!Write("<< /Type /XObject /Subtype /Image /Width " + Number(page.width()) +
             " /Height " + Number(page.height()) +
             " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Interpolate false"
             " /Filter /FlateDecode /Length " + Number(imageLength) + " 0 R >>\nstream\n")) {
    return false;
  }
  if (!WriteImage(page, imageLength)) return false;
  kids_.push_back(pageObject);
  return true;
}

bool PdfWriter::Finish() {
  if (!begun_ || finished_) return Fail("no document is open");
  finished_ = true;
  std::string tree = "<< /Type /Pages /Count " + Number(kids_.size()) + " /Kids [";
  for (std::size_t i = 0; i < kids_.size(); ++i) {
    tree += (i % 10 == 0) ? "\n" : " ";
    tree += Number(static_cast<std::uint64_t>(kids_[i])) + " 0 R";
  }
  tree += "\n] >>\nendobj\n";
  if (!Open(kPageTree) || !Write(tree)) return false;

  const std::uint64_t xref = offset_;
  std::string table = "xref\n0 " + Number(offsets_.size()) + "\n0000000000 65535 f \n";
  for (std::size_t i = 1; i < offsets_.size(); ++i) {
    if (offsets_[i] == 0) return Fail("an object was never written");
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010" PRIu64 " 00000 n \n", offsets_[i]);
    table += entry;
  }
  table += "trailer\n<< /Size " + Number(offsets_.size()) + " /Root 1 0 R /Info 3 0 R >>\n";
  table += "startxref\n" + Number(xref) + "\n%%EOF\n";
  if (!Write(table)) return false;
  if (std::fflush(out_) != 0) return Fail(std::strerror(errno));
  return true;
}

}  // namespace win::print

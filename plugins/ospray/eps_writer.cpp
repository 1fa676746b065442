#include "eps_writer.h"

#include <new>
#include <string>
#include <vector>

#include "eps_lzw.h"
#include "ospray_messages.h"

namespace ospray {
namespace {

constexpr const char* kCrLf = "\r\n";

// Text lines, each ended by CR LF; remembers a short write.
class Lines {
 public:
  explicit Lines(const EpsSink& sink) : sink_(sink) {}
  bool Raw(const void* data, std::size_t size) {
    if (ok_ && size && !sink_(data, size)) ok_ = false;
    return ok_;
  }
  bool Line(const std::string& text) {
    std::string l = text + kCrLf;
    return Raw(l.data(), l.size());
  }
  bool ok() const { return ok_; }

 private:
  const EpsSink& sink_;
  bool ok_ = true;
};

std::string Definition(const char* name, std::int64_t value) {
  std::string s = name;
  s.resize(15, ' ');
  return s + std::to_string(value) + " def";
}

std::string HexLine(const std::uint8_t* data, std::size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s(size * 2, '0');
  for (std::size_t i = 0; i < size; ++i) {
    s[2 * i] = kDigits[data[i] >> 4];
    s[2 * i + 1] = kDigits[data[i] & 15];
  }
  return s;
}

// What the image writers share: the sample row of each stored row, and
// how it is encoded.
enum class Samples { kGrey, kIndices, kRgb };

struct ImageJob {
  Samples samples = Samples::kGrey;
  bool dictionary = false;
  std::size_t rowBytes = 0;
  std::uint8_t grey[256] = {};  // grey of each colour-table entry
};

void FillSampleRow(const plugins::DibSource& dib, const ImageJob& job, LONG stored, std::uint8_t* out) {
  const std::uint8_t* row = dib.bits + static_cast<std::size_t>(stored) * dib.rowBytes;
  const LONG w = dib.width;
  auto index = [&](LONG x) -> std::uint32_t {
    switch (dib.bitCount) {
      case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
      case 4: return (row[x / 2] >> ((x & 1) ? 0 : 4)) & 15;
      default: return row[x];
    }
  };
  switch (job.samples) {
    case Samples::kIndices:
      std::copy(row, row + job.rowBytes, out);
      return;
    case Samples::kGrey:
      for (LONG x = 0; x < w; ++x) {
        if (dib.bitCount == 24)
          out[x] = GreyOf(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        else
          out[x] = job.grey[index(x)];
      }
      return;
    case Samples::kRgb:
      for (LONG x = 0; x < w; ++x) {
        if (dib.bitCount == 24) {
          out[3 * x] = row[3 * x + 2];
          out[3 * x + 1] = row[3 * x + 1];
          out[3 * x + 2] = row[3 * x];
        } else {
          dib.Color(index(x), out[3 * x], out[3 * x + 1], out[3 * x + 2]);
        }
      }
      return;
  }
}

// "[/Indexed /DeviceRGB n <", the table in lines of eight entries (the
// two entries of a 1-bit picture on one line), "> ] setcolorspace".
void WriteIndexedColorSpace(const plugins::DibSource& dib, Lines& out) {
  const int bits = dib.bitCount;
  const int entries = 1 << bits;
  out.Line(std::string("[/Indexed /DeviceRGB ") + std::to_string(entries - 1) + " <");
  const int perLine = bits == 1 ? 2 : 8;
  for (int first = 0; first < entries; first += perLine) {
    std::uint8_t rgb[8 * 3];
    for (int i = 0; i < perLine; ++i)
      dib.Color(static_cast<DWORD>(first + i), rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    out.Line(HexLine(rgb, static_cast<std::size_t>(perLine) * 3));
  }
  out.Line("> ] setcolorspace");
}

// The dictionary up to the DataSource line; false for an unknown encoding
// (">>" and "image" are still written, as the reader of a broken file
// finds them).
bool WriteDictionary(int bitsPerComponent, const char* decode, int encoding, Lines& out) {
  out.Line("<<");
  out.Line("  /ImageType 1");
  out.Line("  /Width  OsprayX");
  out.Line("  /Height OsprayY");
  out.Line("  /BitsPerComponent " + std::to_string(bitsPerComponent));
  out.Line(std::string("  /Decode ") + decode);
  out.Line("  /ImageMatrix [OsprayX 0 0 OsprayY 0 0]");
  bool known = true;
  if (encoding == 1)
    out.Line("  /DataSource currentfile /ASCIIHexDecode filter");
  else if (encoding == 2)
    out.Line("  /DataSource currentfile /LZWDecode filter");
  else
    known = false;
  out.Line(">>");
  out.Line("image");
  return known;
}

const char* WriteImage(const plugins::DibSource& dib, const EpsWriteOptions& o, Lines& out,
                       const EpsProgress& progress) {
  ImageJob job;
  job.dictionary = o.level == 2 || o.encoding != 1;
  const bool grey = o.grey != 0;
  const int bits = dib.bitCount;
  const auto w = static_cast<std::size_t>(dib.width);
  if (grey) {
    job.samples = Samples::kGrey;
    job.rowBytes = w;
    for (DWORD i = 0; i < 256; ++i) {
      std::uint8_t r, g, b;
      dib.Color(i, r, g, b);  // black beyond the used colours
      job.grey[i] = GreyOf(r, g, b);
    }
  } else if (job.dictionary && bits != 24) {
    job.samples = Samples::kIndices;
    job.rowBytes = plugins::PackedRowBytes(w, static_cast<unsigned>(bits));
  } else {
    job.samples = Samples::kRgb;
    job.rowBytes = 3 * w;
  }

  std::vector<std::uint8_t> row;
  try {
    row.resize(job.rowBytes);
  } catch (const std::bad_alloc&) {
    return msg::kNoMemoryEps;
  }

  bool knownEncoding = true;
  if (!job.dictionary) {
    out.Line("OsprayX OsprayY 8");
    out.Line("[ OsprayX 0 0 OsprayY 0 0 ]");
    if (grey) {
      out.Line("{ currentfile OsprayX string readhexstring pop }");
      out.Line("image");
    } else {
      out.Line("{ currentfile OsprayX 3 mul string readhexstring pop }");
      out.Line("false 3");
      out.Line("colorimage");
    }
  } else if (grey) {
    out.Line("/DeviceGray setcolorspace");
    knownEncoding = WriteDictionary(8, "[0 1]", o.encoding, out);
  } else if (bits == 24) {
    out.Line("/DeviceRGB setcolorspace");
    knownEncoding = WriteDictionary(8, "[0 1 0 1 0 1]", o.encoding, out);
  } else {
    WriteIndexedColorSpace(dib, out);
    const char* decode = bits == 1 ? "[0 1]" : bits == 4 ? "[0 15]" : "[0 255]";
    knownEncoding = WriteDictionary(bits, decode, o.encoding, out);
  }
  if (!out.ok()) return msg::kWriteFailed;
  if (!knownEncoding) return msg::kUnknownCompression;

  const bool lzw = job.dictionary && o.encoding == 2;
  LzwEncoder encoder([&](const std::uint8_t* data, std::size_t size) { return out.Raw(data, size); });
  if (lzw && !encoder.Start()) return msg::kNoMemoryLzw;
  std::string line;
  for (LONG r = 0; r < dib.height; ++r) {
    // The stored order, bottom row first: the image matrix puts it at the
    // bottom of the unit square.
    const LONG stored = dib.topDown ? dib.height - 1 - r : r;
    FillSampleRow(dib, job, stored, row.data());
    if (lzw) {
      if (!encoder.Put(row.data(), row.size())) return msg::kWriteFailed;
    } else {
      try {
        line = HexLine(row.data(), row.size());
      } catch (const std::bad_alloc&) {
        return msg::kNoMemoryEps;
      }
      if (!out.Line(line)) return msg::kWriteFailed;
    }
    if (progress) progress(static_cast<int>(std::int64_t{r} * 100 / dib.height));
  }
  if (lzw && !encoder.Finish()) return msg::kWriteFailed;
  if (job.dictionary && o.encoding == 1 && o.level == 2 && !out.Line("> % EOD")) return msg::kWriteFailed;
  // Level 1 with hex in the dictionary form cannot happen: level 1 and hex
  // take the operator form. Level 1 with LZW ends with the LZW data.
  return nullptr;
}

std::string OneLine(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

}  // namespace

const char* WriteEpsPostScript(const plugins::DibSource& dib, const EpsWriteOptions& o, const EpsText& text,
                               const EpsSink& sink, const EpsProgress& progress) {
  Lines out(sink);
  const std::int64_t w = dib.width, h = dib.height;
  out.Line("%!PS-Adobe-3.0 EPSF-3.0");
  out.Line("%%Title: " + OneLine(text.title));
  out.Line("%%Creator: Ospray.DLL V1.0");
  out.Line("%%CreationDate: " + OneLine(text.creationDate));
  out.Line("%%Pages: 1");
  out.Line("%%BoundingBox: 36 36 " + std::to_string(w / 2 + 36) + " " + std::to_string(h / 2 + 36));
  if (o.level == 2)
    out.Line("%%LanguageLevel: 2");
  else if (o.grey == 0)
    out.Line("%%Extensions: CMYK");
  out.Line("%%EndComments");
  out.Line("");
  out.Line("%%BeginProlog");
  out.Line("%%EndProlog");
  out.Line("");
  out.Line("%%Page: ? ?");
  out.Line("");
  out.Line(Definition("/OsprayX", w));
  out.Line(Definition("/OsprayY", h));
  out.Line(Definition("/OsprayWidth", w / 2));
  out.Line(Definition("/OsprayHeight", h / 2));
  out.Line("");
  out.Line("/OsprayObj save def");
  out.Line("36 36 translate");
  out.Line("OsprayWidth OsprayHeight scale");
  if (!out.ok()) return msg::kWriteFailed;

  if (const char* bad = WriteImage(dib, o, out, progress)) return bad;

  out.Line("OsprayObj restore");
  out.Line("");
  if (o.frame == 1) {
    out.Line("% Rahmen");
    out.Line("0.5 setlinewidth");
    out.Line("newpath");
    out.Line("    36            36    moveto");
    out.Line("OsprayWidth       0    rlineto");
    out.Line("     0    OsprayHeight rlineto");
    out.Line("OsprayWidth neg   0    rlineto");
    out.Line("closepath");
    out.Line("stroke");
    out.Line("");
  }
  out.Line("showpage");
  out.Line("");
  if (!out.ok()) return msg::kWriteFailed;
  if (!out.Line("%%EOF")) return msg::kDiskFull;
  return nullptr;
}

}  // namespace ospray

#include "eps_reader.h"

#include <cctype>
#include <cstring>

#include "ospray_messages.h"

namespace ospray {
namespace {

using std::string_view;
constexpr string_view::size_type npos = string_view::npos;

// A hex digit as this reader has always counted it: digits their value,
// letters their place in the alphabet plus 10, anything else 0.
int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  return 0;
}

bool IsLineBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The start of the line that begins with `prefix` at or after `from`
// and before `to`; npos when none.
string_view::size_type FindLineStart(string_view text, string_view prefix, std::size_t from, std::size_t to) {
  std::size_t pos = from;
  while (pos < to) {
    if (text.compare(pos, prefix.size(), prefix) == 0 && pos + prefix.size() <= to) return pos;
    std::size_t nl = text.find('\n', pos);
    if (nl == npos) break;
    pos = nl + 1;
  }
  return npos;
}

// The end of the line that starts at `pos` (its LF, or the text's end).
std::size_t LineEnd(string_view text, std::size_t pos) {
  std::size_t nl = text.find('\n', pos);
  return nl == npos ? text.size() : nl;
}

// The line at `pos` without its line end and trailing blanks.
string_view LineAt(string_view text, std::size_t pos) {
  std::size_t end = LineEnd(text, pos);
  while (end > pos && IsLineBlank(text[end - 1])) --end;
  return text.substr(pos, end - pos);
}

std::size_t SkipBlanks(string_view text, std::size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  return pos;
}

// A decimal number at pos (after blanks): false when there is none or it
// does not fit 31 bits.
bool ReadNumber(string_view text, std::size_t pos, std::int64_t& value) {
  pos = SkipBlanks(text, pos);
  bool negative = pos < text.size() && text[pos] == '-';
  if (negative) ++pos;
  if (pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos]))) return false;
  value = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
    value = value * 10 + (text[pos++] - '0');
    if (value > 0x7FFFFFFF) return false;
  }
  if (negative) value = -value;
  return true;
}

// The value of "name <number> def" at the start of a line of the body.
bool ReadDefinition(string_view text, string_view name, std::size_t from, std::size_t to, std::int64_t& value) {
  std::size_t at = FindLineStart(text, name, from, to);
  if (at == npos) return false;
  std::size_t after = at + name.size();
  if (after < text.size() && text[after] != ' ' && text[after] != '\t') return false;  // "/OsprayXY"
  return ReadNumber(text, after, value);
}

// The first line of the body that is the image operator alone ("image",
// or "colorimage" of the level 1 colour form); the offset after it.
std::size_t FindImageOperator(string_view text, std::size_t from) {
  std::size_t pos = from;
  while (pos < text.size()) {
    string_view line = LineAt(text, pos);
    if (line == "image" || line == "colorimage") return pos + line.size();
    std::size_t nl = text.find('\n', pos);
    if (nl == npos) break;
    pos = nl + 1;
  }
  return npos;
}

bool Contains(string_view region, string_view word) { return region.find(word) != npos; }

}  // namespace

const char* FindPostScript(plugins::ByteSpan file, string_view& text) {
  std::uint32_t magic = 0;
  if (file.U32(0, false, magic) && magic == kDosEpsMagic) {
    std::uint32_t offset = 0, length = 0;
    if (!file.Has(0, 30) || !file.U32(4, false, offset) || !file.U32(8, false, length) ||
        !file.Has(offset, length))
      return msg::kReadFailed;
    text = string_view(reinterpret_cast<const char*>(file.At(offset)), length);
    return nullptr;
  }
  if (file.Has(0, 2) && file.At(0)[0] == '%' && file.At(0)[1] == '!') {
    text = string_view(reinterpret_cast<const char*>(file.data()), file.size());
    return nullptr;
  }
  return msg::kNotEps;
}

const char* PlanEps(string_view text, EpsPlan& plan) {
  plan = EpsPlan{};
  plan.text = text;
  // The header comments end at "%%EndComments"; the title among them may
  // hold any words.
  std::size_t headerEnd = FindLineStart(text, "%%EndComments", 0, text.size());
  std::size_t bodyStart = headerEnd == npos ? npos : LineEnd(text, headerEnd);
  std::size_t header = headerEnd == npos ? text.size() : headerEnd;

  std::size_t creator = FindLineStart(text, "%%Creator:", 0, header);
  if (creator == npos) return msg::kNotOspray;
  std::size_t name = SkipBlanks(text, creator + std::strlen("%%Creator:"));
  if (text.compare(name, 10, "Ospray.DLL") != 0) return msg::kNotOspray;
  if (bodyStart == npos) return msg::kInterpretFailed;

  std::int64_t width = 0, height = 0;
  if (!ReadDefinition(text, "/OsprayX", bodyStart, text.size(), width) ||
      !ReadDefinition(text, "/OsprayY", bodyStart, text.size(), height) || width <= 0 || height <= 0)
    return msg::kInterpretFailed;

  std::size_t imageEnd = FindImageOperator(text, bodyStart);
  if (imageEnd == npos) return msg::kDecodeFailed;
  plan.dataStart = imageEnd;
  string_view setup = text.substr(bodyStart, imageEnd - bodyStart);

  std::size_t levelLine = FindLineStart(text, "%%LanguageLevel:", 0, header);
  std::int64_t level = 1;
  if (levelLine != npos) ReadNumber(text, levelLine + std::strlen("%%LanguageLevel:"), level);

  // Nothing is read from LZW data, whichever level the file claims.
  if (Contains(setup, "/LZWDecode")) return msg::kNoLzw;
  unsigned bits = 8;
  std::uint32_t colors = 256;
  if (level == 2) {
    if (!Contains(setup, "/ASCIIHexDecode")) return msg::kNoLzw;
    std::size_t rgb = setup.find("/DeviceRGB");
    if (rgb == npos) {
      plan.grey = true;
    } else if (Contains(setup, "/Indexed")) {
      std::int64_t highest = 0;
      ReadNumber(setup, rgb + std::strlen("/DeviceRGB"), highest);
      bits = highest == 255 ? 8 : highest == 15 ? 4 : 1;
      colors = 1u << bits;
      std::size_t open = setup.find(" <", rgb);
      if (open == npos) return msg::kInterpretFailed;
      plan.paletteStart = bodyStart + open + 2;
    } else {
      plan.rgb = true;
    }
  } else if (FindLineStart(text, "%%Extensions: CMYK", 0, header) != npos) {
    plan.rgb = true;
  } else {
    plan.grey = true;
  }
  if (plan.rgb) {
    bits = 24;
    colors = 0;
  }
  if (!plugins::MakeDibLayout(width, height, bits, colors, plan.layout)) return msg::kNoMemoryDib;
  plan.packedRowBytes = static_cast<std::size_t>(plugins::PackedRowBytes(static_cast<std::uint64_t>(width), bits));
  return nullptr;
}

const char* DecodeEps(const EpsPlan& plan, std::uint8_t* dib) {
  const plugins::DibLayout& l = plan.layout;
  plugins::FillDibHeader(dib, l, plugins::kDefaultPelsPerMeter, plugins::kDefaultPelsPerMeter, l.colors, 0);
  const string_view text = plan.text;
  if (plan.grey) {
    for (std::uint32_t i = 0; i < 256; ++i) {
      auto v = static_cast<std::uint8_t>(i);
      plugins::SetDibColor(dib, i, v, v, v);
    }
  } else if (!plan.rgb) {
    // The palette's hex string: pairs of digits, line ends between them,
    // up to its ">"; entries it does not hold stay black.
    std::size_t pos = plan.paletteStart;
    std::uint8_t rgb[3];
    for (std::uint32_t i = 0; i < l.colors; ++i) {
      bool complete = true;
      for (int k = 0; k < 3 && complete; ++k) {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
        if (pos + 1 >= text.size() || text[pos] == '>') {
          complete = false;
          break;
        }
        rgb[k] = static_cast<std::uint8_t>(DigitValue(text[pos]) * 16 + DigitValue(text[pos + 1]));
        pos += 2;
      }
      if (!complete) break;
      plugins::SetDibColor(dib, i, rgb[0], rgb[1], rgb[2]);
    }
  }

  std::uint8_t* rows = dib + l.bitsOffset;
  std::size_t pos = plan.dataStart;
  const std::size_t need = plan.packedRowBytes * 2;
  for (LONG r = 0; r < l.height; ++r) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\r' || text[pos] == '\n')) ++pos;
    if (text.size() - pos < need) return msg::kDecodeFailed;  // the data end inside the text
    const char* hex = text.data() + pos;
    std::uint8_t* row = rows + static_cast<std::size_t>(r) * l.rowBytes;
    if (plan.rgb) {
      for (LONG x = 0; x < l.width; ++x) {
        const char* p = hex + 6 * x;
        row[3 * x + 2] = static_cast<std::uint8_t>(DigitValue(p[0]) * 16 + DigitValue(p[1]));
        row[3 * x + 1] = static_cast<std::uint8_t>(DigitValue(p[2]) * 16 + DigitValue(p[3]));
        row[3 * x + 0] = static_cast<std::uint8_t>(DigitValue(p[4]) * 16 + DigitValue(p[5]));
      }
    } else {
      for (std::size_t i = 0; i < plan.packedRowBytes; ++i)
        row[i] = static_cast<std::uint8_t>(DigitValue(hex[2 * i]) * 16 + DigitValue(hex[2 * i + 1]));
    }
    pos += need;
  }
  return nullptr;
}

}  // namespace ospray

// The message of a magic rule is a printf format taken from a data file: it
// is used as one only when that is safe for the argument at hand.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/magic.h"

namespace {

constexpr int kMaxFieldDigits = 3;

enum class Shape { kPlain, kOneConversion, kLiteral };

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads past up to kMaxFieldDigits digits; false when there are more.
bool skipField(const char*& p) {
  int n = 0;
  for (; isDigit(*p); ++p)
    if (++n > kMaxFieldDigits) return false;
  return true;
}

// What the message is as a format for an argument of `type`: plain text
// (at most "%%" escapes), one conversion that fits, or neither.
Shape classify(const char* m, std::uint8_t type) {
  int conversions = 0;
  for (const char* p = m; *p;) {
    if (*p != '%') {
      ++p;
      continue;
    }
    if (p[1] == '%') {
      p += 2;
      continue;
    }
    ++p;
    while (*p && std::strchr("-+ #0", *p)) ++p;
    if (!skipField(p)) return Shape::kLiteral;
    if (*p == '.') {
      ++p;
      if (!skipField(p)) return Shape::kLiteral;
    }
    const char c = *p;
    const bool fits = type == kMagicString ? c == 's' : (c != '\0' && std::strchr("diuxXoc", c));
    if (!fits || ++conversions > 1) return Shape::kLiteral;
    ++p;
  }
  return conversions ? Shape::kOneConversion : Shape::kPlain;
}

// The plain text with "%%" read as "%", as printf would print it.
std::string unescapePercents(const char* m) {
  std::string out;
  for (const char* p = m; *p; ++p) {
    out += *p;
    if (p[0] == '%' && p[1] == '%') ++p;
  }
  return out;
}

// The conversion character of a message known to hold exactly one.
char conversionOf(const char* m) {
  for (const char* p = m; *p; ++p) {
    if (*p != '%') continue;
    if (p[1] == '%') {
      ++p;
      continue;
    }
    for (++p; *p && !std::strchr("diuxXocs", *p); ++p) {
    }
    return *p;
  }
  return '\0';
}

#if defined(__clang__) || defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
template <typename Arg>
std::string print(const char* format, Arg arg) {
  int n = std::snprintf(nullptr, 0, format, arg);
  if (n < 0) return std::string(format);
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(out.data(), out.size(), format, arg);
  out.resize(std::strlen(out.c_str()));  // a %c of 0 ends the text
  return out;
}
#if defined(__clang__) || defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

}  // namespace

std::string FormatMagicMessage(const MagicEntry& entry, std::int32_t number, const char* text) {
  char message[kMagicMessageChars + 1];
  std::memcpy(message, entry.message, sizeof message);
  message[kMagicMessageChars] = '\0';

  switch (classify(message, entry.type)) {
    case Shape::kLiteral: return message;
    case Shape::kPlain: return unescapePercents(message);
    case Shape::kOneConversion: break;
  }
  switch (conversionOf(message)) {
    case 's': return print(message, text ? text : "");
    case 'd':
    case 'i':
    case 'c': return print(message, static_cast<int>(number));
    default: return print(message, static_cast<unsigned>(number));
  }
}

// Matching a buffer against the magic table.
#include <cstring>
#include <string>

#include "core/magic.h"
#include "core/magic_table.h"
#include "core/message_boxes.h"

namespace {

using Byte = unsigned char;

struct Reading {
  std::int32_t value;  // the number read, or the string difference
  std::string text;    // for a string rule: the buffer's text at the offset
};

bool fits(std::int32_t offset, int width, int size) {
  return offset >= 0 && width >= 0 && static_cast<long long>(offset) + width <= size;
}

// The value at the rule's offset; false when it lies beyond the buffer.
bool read(const MagicEntry& e, const Byte* buf, int size, Reading& r) {
  switch (e.type) {
    case kMagicByte:
      if (!fits(e.offset, 1, size)) return false;
      r.value = static_cast<std::int8_t>(buf[e.offset]);
      return true;
    case kMagicShort:
      if (!fits(e.offset, 2, size)) return false;
      r.value = static_cast<std::int16_t>(buf[e.offset] | buf[e.offset + 1] << 8);
      return true;
    case kMagicLong: {
      if (!fits(e.offset, 4, size)) return false;
      const Byte* p = buf + e.offset;
      r.value =
          static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | std::uint32_t{p[1]} << 8 |
                                    std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
      return true;
    }
    case kMagicString: {
      const int length = e.stringLength <= kMagicMaxString ? e.stringLength : kMagicMaxString;
      if (!fits(e.offset, length, size)) return false;
      const Byte* p = buf + e.offset;
      r.value = 0;
      for (int i = 0; i < length; ++i) {
        const Byte rule = static_cast<Byte>(e.string[i]);
        if (p[i] != rule) {
          r.value = p[i] - rule;
          break;
        }
      }
      // The %s argument: up to a line feed, a NUL or the end of the buffer.
      const Byte* end = buf + size;
      const Byte* q = p;
      while (q < end && *q != '\n' && *q != '\0') ++q;
      r.text.assign(reinterpret_cast<const char*>(p), q - p);
      return true;
    }
    default: ShowErrorNumber("Magic numbers: can't happen: m->type=", e.type); return false;
  }
}

bool test(const MagicEntry& e, const Byte* buf, int size, Reading& r) {
  if (!read(e, buf, size, r)) return false;
  const std::int32_t rule = e.type == kMagicString ? 0 : e.value;
  switch (e.relation) {
    case '=': return r.value == rule;
    case '<': return r.value < rule;
    case '>': return r.value > rule;
    case '&': return (r.value & rule) != 0;
    default: return false;
  }
}

// Appends `text` (after a blank unless it is the first) when it fits.
void append(char* out, int outSize, int& used, const std::string& text, bool first) {
  const std::string piece = first ? text : " " + text;
  if (static_cast<long long>(used) + static_cast<long long>(piece.size()) >= outSize) return;
  std::memcpy(out + used, piece.c_str(), piece.size() + 1);
  used += static_cast<int>(piece.size());
}

}  // namespace

bool MatchLoadedMagic(const void* buffer, int size, char* out, int outSize) {
  const Byte* buf = static_cast<const Byte*>(buffer);
  if (!buf || size < 0) size = 0;
  const MagicEntry* entries = MagicEntries();
  const int count = MagicEntryCount();

  for (int i = 0; i < count; ++i) {
    Reading r;
    if (entries[i].continuation || !test(entries[i], buf, size, r)) continue;

    int used = 0;
    const bool haveOut = out && outSize > 0;
    if (haveOut) {
      out[0] = '\0';
      append(out, outSize, used, FormatMagicMessage(entries[i], r.value, r.text.c_str()), true);
    }
    for (int j = i + 1; j < count && entries[j].continuation; ++j) {
      Reading c;
      if (test(entries[j], buf, size, c) && haveOut)
        append(out, outSize, used, FormatMagicMessage(entries[j], c.value, c.text.c_str()), false);
    }
    return true;
  }
  return false;
}

bool MatchMagic(const char* path, const void* buffer, int size, char* out, int outSize) {
  if (!LoadMagic(path)) return false;
  return MatchLoadedMagic(buffer, size, out, outSize);
}

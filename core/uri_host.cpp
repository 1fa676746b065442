// Host, port, path, params and search checks of the URI parser.
#include <string>

#include "core/regexp.h"
#include "core/uri.h"
#include "core/uri_chars.h"

using uri_chars::CheckPart;
using uri_chars::PartRule;

namespace {

// True when the pattern (anchored at both ends) matches the whole text.
bool WholeMatch(Regexp& rx, const CString& text) {
  std::string buffer = text.str();  // Search writes a NUL at the end
  const int length = static_cast<int>(buffer.size());
  return rx.Search(buffer.data(), length, 0) == length;
}

Regexp& PortPattern() {
  static Regexp rx("^[0-9]+$");
  return rx;
}
Regexp& DottedAddressPattern() {
  static Regexp rx("^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$");
  return rx;
}
Regexp& DotsPattern() {
  static Regexp rx("^\\.+$");
  return rx;
}
Regexp& LabelsPattern() {
  static Regexp rx("^[^\\.]+(\\.[^\\.]+)*$");
  return rx;
}

const PartRule kTopLabel{uri_chars::IsAlpha, uri_chars::IsXalpha, true};
const PartRule kLabel{uri_chars::IsAlnum, uri_chars::IsXalnum, true};
const PartRule kSegment{nullptr, uri_chars::IsPchar, true};
const PartRule kParam{nullptr, uri_chars::IsParamChar, true};
const PartRule kSearch{nullptr, uri_chars::IsUchar, false};

}  // namespace

// host [":" port]; the port is kept only when it is not the scheme's default.
bool URI::hostport(const CString& text) {
  const int colon = text.Find(':');
  const CString name = colon < 0 ? text : text.Left(colon);
  CString checked;
  if (!checkHost(name, checked)) return false;
  if (!base_.present) port.Empty();
  if (colon >= 0) {
    const CString digits = text.Mid(colon + 1);
    if (!WholeMatch(PortPattern(), digits)) return fail("uri:" + scheme + ":port: " + text);
    port = digits == defaultPort() ? CString() : digits;
  }
  host = checked;
  return true;
}

// A dotted address (no range check), a short run of dots, or labels: each
// label starts with a letter or digit, the last one with a letter.
bool URI::checkHost(const CString& text, CString& out) {
  if (WholeMatch(DottedAddressPattern(), text)) {
    out = text;
    return true;
  }
  if (text.GetLength() < 4 && WholeMatch(DotsPattern(), text)) {
    out = text;
    return true;
  }
  CString name = text;
  if (name.GetLength() > 0 && name[name.GetLength() - 1] == '.') name = name.Left(name.GetLength() - 1);
  const CString message = "uri:" + scheme + ":host: " + text;
  if (!WholeMatch(LabelsPattern(), name)) return fail(message);

  CString joined;
  int start = 0;
  for (;;) {
    const int dot = name.Find('.', start);
    const bool last = dot < 0;
    CString label = last ? name.Mid(start) : name.Mid(start, dot - start);
    if (last && !CheckPart(label, kTopLabel)) return fail(message);
    if (!CheckPart(label, kLabel)) return fail(message);
    if (start > 0) joined += ".";
    joined += label;
    if (last) break;
    start = dot + 1;
  }
  out = joined;
  return true;
}

// "pchars": runs of "/" are kept, every segment between them is checked and
// unescaped.
bool URI::checkPath(CString& text) {
  CString out;
  const int n = text.GetLength();
  int i = 0;
  while (i < n) {
    if (text[i] == '/') {
      out += '/';
      ++i;
      continue;
    }
    const int slash = text.Find('/', i);
    const int end = slash < 0 ? n : slash;
    CString segment = text.Mid(i, end - i);
    bool badEscape = false;
    if (!CheckPart(segment, kSegment, &badEscape)) {
      if (badEscape) error("hex definition");
      return fail("path:pchars: " + text.Mid(i, end - i));
    }
    out += segment;
    i = end;
  }
  text = out;
  return true;
}

// Params: segments between ";" are checked one by one.
bool URI::checkParams(CString& text) {
  CString out;
  int start = 0;
  for (;;) {
    const int semi = text.Find(';', start);
    CString segment = semi < 0 ? text.Mid(start) : text.Mid(start, semi - start);
    bool badEscape = false;
    if (!CheckPart(segment, kParam, &badEscape)) {
      if (badEscape) error("hex definition");
      return fail("params: " + segment);
    }
    out += segment;
    if (semi < 0) break;
    out += ';';
    start = semi + 1;
  }
  text = out;
  return true;
}

// Search texts are checked, escapes included, but never unescaped.
bool URI::checkSearch(const CString& text) {
  CString copy = text;
  bool badEscape = false;
  if (CheckPart(copy, kSearch, &badEscape)) return true;
  if (badEscape) error("hex definition");
  return false;
}

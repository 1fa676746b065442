// Host, port, path, params and search checks of the URI parser.
#include <string_view>

#include "core/uri.h"
#include "core/uri_chars.h"
#include "core/uri_scan.h"

using uri_chars::CheckPart;
using uri_chars::PartRule;

namespace {

const PartRule kTopLabel{uri_chars::IsAlpha, uri_chars::IsXalpha, true};
const PartRule kLabel{uri_chars::IsAlnum, uri_chars::IsXalnum, true};
const PartRule kSegment{nullptr, uri_chars::IsPchar, true};
const PartRule kParam{nullptr, uri_chars::IsParamChar, true};
const PartRule kSearch{nullptr, uri_chars::IsUchar, false};

// Labels without escapes that pass as written: each starts with a letter
// or digit and goes on with xalpha characters or digits, the last one
// starts with a letter and goes on with xalpha characters. Such a name is
// its own checked form.
bool PlainLabels(std::string_view name) {
  if (name.find('%') != std::string_view::npos) return false;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = name.find('.', start);
    const bool last = dot == std::string_view::npos;
    const std::string_view label = name.substr(start, last ? std::string_view::npos : dot - start);
    if (label.empty()) return false;
    const auto first = static_cast<unsigned char>(label[0]);
    if (!uri_chars::IsAlnum(first) || (last && !uri_chars::IsAlpha(first))) return false;
    for (std::size_t i = 1; i < label.size(); ++i) {
      const auto c = static_cast<unsigned char>(label[i]);
      if (!uri_chars::IsXalnum(c) || (last && !uri_chars::IsXalpha(c))) return false;
    }
    if (last) return true;
    start = dot + 1;
  }
}

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
    if (!uri_scan::IsDigits(digits.view())) return fail("uri:" + scheme + ":port: " + text);
    port = digits == defaultPort() ? CString() : digits;
  }
  host = checked;
  return true;
}

// A dotted address (no range check), a short run of dots, or labels: each
// label starts with a letter or digit, the last one with a letter.
bool URI::checkHost(const CString& text, CString& out) {
  if (uri_scan::IsDottedAddress(text.view())) {
    out = text;
    return true;
  }
  if (text.GetLength() < 4 && uri_scan::IsDots(text.view())) {
    out = text;
    return true;
  }
  CString name = text;
  if (name.GetLength() > 0 && name[name.GetLength() - 1] == '.') name = name.Left(name.GetLength() - 1);
  const auto failHost = [&] { return fail("uri:" + scheme + ":host: " + text); };
  if (!uri_scan::IsDotSeparated(name.view())) return failHost();
  if (PlainLabels(name.view())) {
    out = name;
    return true;
  }

  CString joined;
  int start = 0;
  for (;;) {
    const int dot = name.Find('.', start);
    const bool last = dot < 0;
    CString label = last ? name.Mid(start) : name.Mid(start, dot - start);
    if (last && !CheckPart(label, kTopLabel)) return failHost();
    if (!CheckPart(label, kLabel)) return failHost();
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
  const std::string_view v = text.view();
  // Without escapes the path stays as it is when every byte is allowed.
  if (v.find('%') == std::string_view::npos) {
    bool allowed = true;
    for (char c : v) allowed = allowed && (c == '/' || uri_chars::IsPchar(static_cast<unsigned char>(c)));
    if (allowed) return true;
  }
  CString out;
  const int n = text.GetLength();
  int i = 0;
  while (i < n) {
    if (v[i] == '/') {
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

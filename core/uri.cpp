#include "core/uri.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "core/uri_chars.h"

using uri_chars::CheckPart;
using uri_chars::PartRule;

namespace {

bool g_debug = false;

// Diagnostics only: a parse keeps a few messages, each cut to a sane length.
constexpr std::size_t kMaxMessages = 16;
constexpr int kMaxMessageLength = 256;

bool StartsWith(const CString& s, const char* prefix) {
  return s.view().substr(0, std::char_traits<char>::length(prefix)) == prefix;
}

// "%3b" or "%3B" at position i.
bool EscapedSemicolonAt(const CString& s, int i) {
  const std::string_view v = s.view();
  return i >= 0 && static_cast<std::size_t>(i) + 3 <= v.size() && v[i] == '%' && v[i + 1] == '3' &&
         (v[i + 2] == 'b' || v[i + 2] == 'B');
}

// "%7e" or "%7E" at the start.
bool EscapedTildeFirst(const CString& s) {
  const std::string_view v = s.view();
  return v.size() >= 3 && v[0] == '%' && v[1] == '7' && (v[2] == 'e' || v[2] == 'E');
}

// The first of ";" or "?" at or after `from`, or the length.
int ParamsOrSearchStart(const CString& s, int from) {
  const std::size_t at = s.view().find_first_of(";?", static_cast<std::size_t>(from));
  return at == std::string_view::npos ? s.GetLength() : static_cast<int>(at);
}

// The first escaped semicolon in [from, end), or -1.
int EscapedSemicolonIn(const CString& s, int from, int end) {
  const std::string_view v = s.view();
  for (std::size_t k = v.find('%', static_cast<std::size_t>(from));
       k != std::string_view::npos && k < static_cast<std::size_t>(end); k = v.find('%', k + 1))
    if (EscapedSemicolonAt(s, static_cast<int>(k))) return static_cast<int>(k);
  return -1;
}

}  // namespace

void URI::SetDebug(bool on) { g_debug = on; }
bool URI::Debug() { return g_debug; }

void URI::trace(const CString& line) const {
  if (g_debug) std::printf("%s\n", line.c_str());
}

void URI::error(const CString& message) {
  if (messages_.size() >= kMaxMessages) return;
  messages_.push_back(message.GetLength() > kMaxMessageLength ? message.Left(kMaxMessageLength)
                                                              : message);
}

bool URI::fail(const CString& message) {
  error(message);
  return false;
}

const char* URI::defaultPort() const { return scheme == kKorvex ? kKorvexPort : kHttpPort; }

bool URI::Parse(const CString& text) {
  messages_.clear();
  noHost = false;
  globalOid.Empty();
  localOid.Empty();
  fragment.Empty();
  fragmentOnly = false;

  CString rest = text;
  const int hash = text.Find('#');
  if (hash >= 0) {
    fragmentOnly = hash == 0;
    CString frag = text.Mid(hash + 1);
    rest = text.Left(hash);
    // A bad fragment fails without a message, and `valid` stays as it was.
    if (!frag.IsEmpty() && !CheckPart(frag, PartRule{nullptr, uri_chars::IsUcharOrBlank, true}))
      return false;
    fragment = frag;
  }
  valid = pUri(rest);
  if (valid) {
    NormaliseUriPath(path);
    // "korvex://host/./" names the root, as "korvex://host/" does.
    if (path.IsEmpty() && scheme == kKorvex && !noHost) path = "/";
  }
  return valid;
}

bool URI::pUri(const CString& text) {
  base_.present = valid;
  if (valid) {
    base_.scheme = scheme;
    base_.host = host;
    base_.port = port;
  }

  const int colon = text.Find(':');
  const int slash = text.Find('/');
  if (colon < 0 || (slash >= 0 && slash < colon)) {
    if (g_debug) trace("URI::pUri relative");
    absolutePath = false;
    sameServer = true;
    if (!base_.present) return fail("pUri: no defaults");
    if (scheme == kKorvex) return pKorvex(text);
    if (scheme == kMailto) return pMailto(text);
    if (scheme != kHttp) return fail("pUri: only http scheme relative");
    return pGeneric(text, false);
  }

  if (g_debug) trace("URI::pUri absolute: " + text);  // no text is built for nothing
  absolutePath = true;
  sameServer = false;
  CString name = text.Left(colon);
  name.Remove(' ');
  name.MakeLower();
  if (name.IsEmpty() || !CheckPart(name, PartRule{uri_chars::IsAlpha, uri_chars::IsXalpha, true}))
    return fail("uri:scheme: " + text);
  name.MakeLower();  // an escape may have brought back a capital
  if (g_debug) trace("URI::pUri scheme: " + name);
  scheme = name;
  host.Empty();
  port.Empty();
  path.Empty();
  search.Empty();
  params.Empty();
  CString rest = text.Mid(colon + 1);
  if (scheme == kKorvex) return pKorvex(rest);
  if (scheme == kMailto) return pMailto(rest);
  return pGeneric(std::move(rest), true);
}

// Everything but korvex and mailto: other schemes keep their text as the
// path; http reads "//" host and port, merges relative paths with the base
// and reads path, params and search.
bool URI::pGeneric(CString text, bool absolute) {
  text.Remove(' ');
  if (scheme != kHttp) {
    if (!text.IsEmpty() && !checkSearch(text)) return fail("uri: " + text);
    path = text;
    search.Empty();
    return true;
  }

  if (StartsWith(text, "//")) {
    absolutePath = true;
    sameServer = false;
    const int slash = text.Find('/', 2);
    const CString token = slash < 0 ? text.Mid(2) : text.Mid(2, slash - 2);
    if (token.IsEmpty() || !hostport(token))
      return fail("uri:" + scheme + ":hostport: " + text);
    // Nothing after the server names its root: an empty path.
    text = slash < 0 ? CString("/") : text.Mid(slash);
  } else if (absolute) {
    return fail("uri:" + scheme + ": " + text);
  }

  if (StartsWith(text, "/")) {
    absolutePath = true;
  } else {
    // A relative path replaces the last segment of the base path; a
    // reference of only params or search keeps the whole base path.
    CString ref = text;
    if (EscapedSemicolonAt(ref, 0)) ref = ";" + ref.Mid(3);
    if (!ref.IsEmpty() && ref[0] != ';' && ref[0] != '?') {
      const int last = path.ReverseFind('/');
      text = last < 0 ? "/" + ref : "/" + path.Left(last + 1) + ref;
    } else {
      text = "/" + path + ref;
    }
  }
  return pHttpPath(std::move(text));
}

// `text` starts with "/": path, then ";" params, then "?" search.
bool URI::pHttpPath(CString text) {
  int i = 1;
  if (EscapedSemicolonAt(text, i)) text = "/;" + text.Mid(4);

  CString newPath;
  if (i < text.GetLength() && (text[i] == ';' || text[i] == '?')) {
    // empty path
  } else {
    int end = ParamsOrSearchStart(text, i);
    // An escaped semicolon inside the path begins the params.
    if (const int k = EscapedSemicolonIn(text, i, end); k >= 0) {
      text = text.Left(k) + ";" + text.Mid(k + 3);
      end = k;
    }
    CString part = text.Mid(i, end - i);
    i = end;
    CString prefix;
    if (EscapedTildeFirst(part)) {
      if (part.GetLength() == 3 || part[3] == '/')
        return fail("uri:" + scheme + ":path: " + text);
      prefix = "~";
      part = part.Mid(3);
    } else if (part.GetLength() >= 2 && part[0] == '~' && part[1] != '/') {
      prefix = "~";
      part = part.Mid(1);
    }
    if (!part.IsEmpty()) {
      const auto c = static_cast<unsigned char>(part[0]);
      if (!(uri_chars::IsPchar(c) || c == '%') || !checkPath(part))
        return fail("uri:" + scheme + ":path: " + text);
    }
    newPath = prefix.IsEmpty() ? std::move(part) : prefix + part;
  }

  CString newParams;
  if (i < text.GetLength() && text[i] == ';') {
    const int q = text.Find('?', i + 1);
    const int end = q < 0 ? text.GetLength() : q;
    newParams = text.Mid(i + 1, end - i - 1);
    if (newParams.IsEmpty() || !checkParams(newParams))
      return fail("uri:" + scheme + ":params: " + text);
    i = end;
  }

  CString newSearch;
  if (i < text.GetLength() && text[i] == '?') {
    newSearch = text.Mid(i + 1);
    if (!newSearch.IsEmpty() && !checkSearch(newSearch))
      return fail("uri:" + scheme + ":search: " + text);
    i = text.GetLength();
  }

  if (i < text.GetLength()) return fail("uri:" + scheme + ":unknown: " + text);

  path = std::move(newPath);
  search = std::move(newSearch);
  params = std::move(newParams);
  globalOid.Empty();
  localOid.Empty();
  if (!sameServer && base_.present && scheme == base_.scheme && host == base_.host &&
      port == base_.port)
    sameServer = true;
  httpObjectIds();
  return true;
}

// A same-server http path may name korvex objects: "G_L", "L@G", "GL" or "L",
// each id "0x" and eight hex digits. Unknown shapes set no id.
void URI::httpObjectIds() {
  if (!sameServer || !search.IsEmpty() || !StartsWith(path, "0x")) return;
  const CString g = path.Left(10);
  const int n = path.GetLength();
  if (n > 12 && path[10] == '_' && path[11] == '0' && path[12] == 'x' && n <= 21) {
    globalOid = g;
    localOid = path.Mid(11);
  } else if (n > 10 && path[10] == '@') {
    globalOid = path.Mid(11);
    localOid = g;
  } else if (n > 11 && path[10] == '0' && path[11] == 'x' && n <= 20) {
    const CString local = path.Mid(10);
    path = g + "_" + local;
    globalOid = g;
    localOid = local;
  } else if (n <= 10) {
    localOid = g;
  }
}

CString URI::toString() const {
  CString out = scheme + ":";
  if (!noHost) {
    if (scheme == kHttp || scheme == kKorvex) {
      out += "//" + host;
      if (!port.IsEmpty()) out += ":" + port;
      out += "/";
      out += path;
    } else if (scheme == kMailto) {
      out += mailUser + "@" + mailHost;
    } else {
      out += path;
    }
  } else {
    out += path.IsEmpty() ? CString("/") : path;
  }
  // Params belong to the link as much as its search; without them the text
  // would name another object.
  if (!params.IsEmpty() && (noHost || scheme == kHttp || scheme == kKorvex)) out += ";" + params;
  if (!search.IsEmpty()) out += "?" + search;
  if (!fragment.IsEmpty()) out += "#" + fragment;
  return out;
}

// Link targets of documents, parsed into their parts, checked against the
// RFC 1630 grammar as far as the client needs it, unescaped where the grammar
// allows, and composed into text again.
//
// Three schemes are known by name: "http", "korvex" (the server system's own
// links, with object ids) and "mailto"; any other scheme keeps the text after
// its ":" as the path. A URI that parsed successfully is the base of the next
// Parse: relative references take scheme, host and port (and for http the
// path they are merged with) from it.
#pragma once

#include <vector>

#include "mfc/cstring.h"

class URI {
 public:
  static constexpr const char* kHttp = "http";
  static constexpr const char* kKorvex = "korvex";
  static constexpr const char* kMailto = "mailto";
  static constexpr const char* kKorvexPort = "418";
  static constexpr const char* kHttpPort = "80";

  CString fragment;   // text after the first "#", unescaped
  CString scheme;     // lower case, blanks removed
  CString host;       // host name or dotted address
  CString port;       // decimal digits; empty for the scheme's default or none
  CString path;       // http: without its leading "/"; other schemes: all after ":"
  CString search;     // text after "?"
  CString params;     // text after ";"
  bool valid = false;          // result of the last parse; a base is present
  bool absolutePath = false;   // the path was given from the root
  bool sameServer = false;     // the reference names the base's server
  bool fragmentOnly = false;   // the text started with "#"
  bool noHost = false;         // a korvex link without its "//host" part
  CString globalOid;  // korvex global object id ("0x" and 8 hex digits)
  CString localOid;   // korvex local object id
  CString mailUser;   // mailto: part before "@"
  CString mailHost;   // mailto: part after "@"

  // Parses `text` (fragment included) into the fields; returns and keeps
  // `valid`. A bad fragment fails at once and leaves `valid` as it was.
  bool Parse(const CString& text);
  // The grammar without the fragment.
  bool pUri(const CString& text);
  // The link as text again: scheme, "//host:port/" for http and korvex,
  // the path, ";" params, "?" search and "#" fragment.
  CString toString() const;

  // Where every failure goes. Callers see only the parse result; the
  // messages of the latest Parse are kept for diagnostics.
  void error(const CString& message);
  const std::vector<CString>& messages() const { return messages_; }

  // Developer switch: trace lines of pUri on standard output.
  static void SetDebug(bool on);
  static bool Debug();

 private:
  // Scheme, host and port of the previous successful parse.
  struct Base {
    bool present = false;
    CString scheme;
    CString host;
    CString port;
  };

  bool fail(const CString& message);
  void trace(const CString& line) const;
  bool pKorvex(const CString& text);
  bool pMailto(const CString& text);
  bool pGeneric(CString text, bool absolute);
  bool pHttpPath(CString text);
  void httpObjectIds();
  bool hostport(const CString& text);
  bool checkHost(const CString& text, CString& out);
  bool checkPath(CString& text);
  bool checkParams(CString& text);
  bool checkSearch(const CString& text);
  const char* defaultPort() const;

  Base base_;
  std::vector<CString> messages_;
};

// Drops "." and "name/.." steps from a path, the way Parse does after a
// successful parse (a leading "../" that climbs above the start is dropped).
void NormaliseUriPath(CString& path);

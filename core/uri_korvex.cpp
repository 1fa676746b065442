// The korvex and mailto rules of the URI parser.
#include "core/str_helpers.h"
#include "core/uri.h"
#include "core/uri_chars.h"

namespace {

constexpr int kOidLength = 10;  // "0x" and eight hex digits

}  // namespace

// korvex: ["//" hostport "/"] main [";" params] ["?" query], where main is a
// path or object ids: "G_L", "L@G", "GL" (stored as "G_L") or "L".
bool URI::pKorvex(const CString& text) {
  globalOid.Empty();
  localOid.Empty();
  path.Empty();
  noHost = false;
  search.Empty();
  params.Empty();

  const int p = text.Find(';');
  const int q = text.Find('?');
  CString main = text;
  CString prm;
  CString query;
  if (p < 0 && q >= 0) {
    main = text.Left(q);
    query = text.Mid(q + 1);
  } else if (p >= 0 && q < 0) {
    main = text.Left(p);
    prm = text.Mid(p + 1);
  } else if (p >= 0 && p < q) {
    main = text.Left(p);
    prm = text.Mid(p + 1, q - p - 1);
    query = text.Mid(q + 1);
  }
  main.Remove(' ');
  prm.Remove(' ');
  query.TrimLeft(' ');
  query.TrimRight(' ');

  if (main.GetLength() >= 2 && main[0] == '/' && main[1] == '/') {
    const int slash = main.Find('/', 2);
    const CString token = slash < 0 ? main.Mid(2) : main.Mid(2, slash - 2);
    if (token.IsEmpty() || !hostport(token)) return fail("pKorvex:hostport: " + text);
    main = slash < 0 ? CString() : main.Mid(slash + 1);
  } else {
    noHost = true;
    if (main.GetLength() >= 1 && main[0] == '/') main = main.Mid(1);
  }

  if (main.GetLength() >= 2 && main[0] == '0' && main[1] == 'x') {
    const CString g = main.Left(kOidLength);
    if (main.GetLength() > kOidLength) {
      const char c = main[kOidLength];
      if (c != '_' && c != '@' && c != '0') return fail("pKorvex: no local oid: " + text);
      if (!query.IsEmpty()) return fail("pKorvex: no query for global oid: " + text);
      if (c == '_') {
        globalOid = g;
        localOid = main.Mid(kOidLength + 1);
        path = main;
      } else if (c == '@') {
        localOid = g;
        globalOid = main.Mid(kOidLength + 1);
        path = main;
      } else {
        const CString local = main.Mid(kOidLength);
        globalOid = g;
        localOid = local;
        path = g + "_" + local;
      }
    } else {
      if (!query.IsEmpty()) return fail("pKorvex: no query for local oid: " + text);
      localOid = g;
      path = main;
    }
  } else if (main.IsEmpty()) {
    path = "/";
  } else {
    if (!checkPath(main)) return fail("pKorvex:path: " + main);
    path = main;
  }

  if (!prm.IsEmpty()) {
    if (!checkParams(prm)) return fail("pKorvex:params: " + prm);
    params = prm;
  }
  if (!query.IsEmpty()) {
    if (!uri_chars::CheckPart(query, {nullptr, uri_chars::IsUcharOrBlank, true}))
      return fail("pKorvex:kxquery: " + query);
    search = query;
  }
  return true;
}

// mailto: user "@" host; the user is the first non-empty field before an "@".
bool URI::pMailto(const CString& text) {
  int pos = 0;
  CString user;
  if (!StrNextField(text, pos, '@', user)) return fail("void \"mailto\" addr-spec");
  mailUser = user;
  mailHost = pos < text.GetLength() && text[pos] == '@' ? text.Mid(pos + 1) : CString();
  return true;
}

// The link records a document makes from anchor values and URLs found in
// its text, and the encoding of its form submissions.
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/attr_record.h"
#include "core/uri.h"
#include "text/document/markup_document.h"
#include "text/form/form.h"

namespace {

// Targets that are not server objects get negative ids, one process-wide
// count.
LONG gRemoteLinks = 0;

// The lines a URL link record starts with, from "ObjectID=" to the "Path="
// line (which only http links have).
CString remoteLines(const URI& uri, LONG id) {
  // A link is made for every anchor of a document: the numbers are written
  // directly rather than through a formatter.
  char line[64] = "ObjectID=";
  char* p = line + 9;
  p = std::to_chars(p, line + sizeof line, static_cast<std::int32_t>(id)).ptr;
  std::memcpy(p, "\nRefID=0x", 9);
  p += 9;
  p = std::to_chars(p, line + sizeof line, static_cast<std::uint32_t>(static_cast<DWORD>(id) + 0x0ffffffeu), 16).ptr;
  *p++ = '\n';
  CString out(line, static_cast<int>(p - line));
  out += "Type=Document\nDocumentType=Remote\nRemoteType=Remote\n";
  out += "Protocol=" + uri.scheme + "\n";
  if (uri.scheme == URI::kHttp) {
    out += "Host=" + uri.host + "\n";
    out += "Port=" + (uri.port.IsEmpty() ? CString(URI::kHttpPort) : uri.port) + "\n";
    out += "Path=/" + uri.path;
    if (!uri.params.IsEmpty()) out += ";" + uri.params;
    if (!uri.search.IsEmpty()) out += "?" + uri.search;
    out += "\n";
  }
  return out;
}

}  // namespace

CString MarkupDocument::MakeAnchorLink(const CString& text) {
  if (text.IsEmpty()) return CString();
  AttrRecord record(text);
  if (record.getAttribute("LinkType=") == "KTFAnchor") {
    // The key's line: at the start or after a line feed, as the record
    // lookup found it.
    int key = text.Find("LinkType=");
    while (key > 0 && text[key - 1] != '\n') key = text.Find("LinkType=", key + 1);
    if (key < 0) return text;
    int after = text.Find('\n', key);
    CString out = text.Left(key + 9) + "inline\n";
    if (after >= 0) out += text.Mid(after + 1);
    return out;
  }
  URI uri;
  uri.Parse(text);
  LONG id = --gRemoteLinks;
  return remoteLines(uri, id) + "LinkType=inline\nDest=" + text + "\nHint=URL:" + text + "\n";
}

CString MarkupDocument::MakeUrlLink(const CString& text, const CString& linkType) {
  if (text.IsEmpty()) return CString();
  if (linkType == "KTFAnchor") return text;
  CString url = text;
  if (text.Left(4).CompareNoCase("URL:") == 0) url = text.Mid(4);
  URI uri;
  uri.Parse(url);
  LONG id = --gRemoteLinks;
  CString out = remoteLines(uri, id);
  if (uri.scheme == URI::kHttp) {
    if (!uri.fragment.IsEmpty()) out += "Fragment=" + uri.fragment + "\n";
    if (!uri.search.IsEmpty()) out += "Search=" + uri.search + "\n";
  }
  out += "Title=en:" + url + "\nHint=URL:" + url + "\n";

  AttrRecord own(RecordText());
  CString referrer;
  if (own.getAttribute("DocumentType=") == "Remote" && own.getAttribute("Protocol=") == "http") {
    referrer = "http://" + own.getAttribute("Host=");
    CString port = own.getAttribute("Port=");
    if (!port.IsEmpty()) referrer += ":" + port;
    referrer += own.getAttribute("Path=");
  } else if (!own.find("Title=en:", referrer)) {
    CString title = own.getAttribute("Title=");
    int colon = title.Find(':');
    referrer = colon == 2 ? title.Mid(3) : title;
  }
  out += "Referrer=" + referrer + "\n";
  if (!linkType.IsEmpty()) out += "LinkType=" + linkType + "\n";
  return out;
}

CString EncodeFormValue(const CString& text) {
  static const char kHex[] = "0123456789abcdef";
  CString out;
  const int n = text.GetLength();
  for (int i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80 && (std::isalnum(c) || c == '_' || c == '-' || c == '.')) {
      out += static_cast<char>(c);
    } else if (c == '\r' || c == '\n') {
      // One line end, however it was written.
      out += "%0D%0A";
      if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

void MarkupDocument::EncodeFormSubmission(const Form& form, CString& action, CString& query) {
  action.Empty();
  query.Empty();
  std::vector<FormPairText> pairs;
  form.CollectPairs(pairs);
  for (const FormPairText& pair : pairs) {
    if (!query.IsEmpty()) query += "&";
    query += EncodeFormValue(pair.name) + "=" + EncodeFormValue(pair.value);
  }
  action = form.GetAction() + (form.GetMethod() ? "\nMethod=WWW_GET" : "\nMethod=WWW_POST");
}

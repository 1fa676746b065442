// fuzz-libs: zemra_text
// Link records on arbitrary bytes: the server's anchor text split into
// records and insertions, positions read back, link records made from
// anchor values and URLs, and form values encoded. The input is split at NUL
// bytes into the anchor text, a referrer, a document record and a value.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "text/anchors/anchor_range.h"
#include "text/anchors/anchor_record.h"
#include "text/document/insertions.h"
#include "text/document/markup_document.h"

namespace {

void fail(const char* what, int line) {
  std::fprintf(stderr, "check failed at line %d: %s\n", line, what);
  std::abort();
}
#define check(ok) ((ok) ? (void)0 : fail(#ok, __LINE__))

class LinkDocument : public MarkupDocument {
 public:
  explicit LinkDocument(const CString& record) : MarkupDocument(record, nullptr, nullptr, DocumentResources(), 1) {}
};

std::vector<std::string> split(const std::string& input) {
  std::vector<std::string> parts;
  size_t from = 0;
  while (parts.size() < 3) {
    size_t nul = input.find('\0', from);
    if (nul == std::string::npos) break;
    parts.push_back(input.substr(from, nul - from));
    from = nul + 1;
  }
  // Values of records never hold a NUL: the last part ends at one.
  parts.push_back(input.substr(from, input.find('\0', from) - from));
  while (parts.size() < 4) parts.emplace_back();
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16 * 1024) return 0;
  std::vector<std::string> part = split(std::string(reinterpret_cast<const char*>(data), size));
  const CString anchors(part[0]);
  const CString referrer(part[1]);
  const CString record(part[2]);
  const CString value(part[3]);

  AnchorRecordList records;
  records.Set(anchors, referrer);
  for (ListElement* e = records.Records().first(); e; e = e->next()) {
    const CString& text = static_cast<AnchorRecord*>(e)->Text();
    check(text.Right(2) == "\n\n");
    check(records.Find(text) != nullptr);
    std::unique_ptr<AnchorRange> range(AnchorRange::FromPosition(static_cast<AnchorRecord*>(e)));
  }
  List insertions;
  RebuildInsertions(insertions, records);
  LONG last = -0x7fffffff - 1;
  for (ListElement* e = insertions.first(); e; e = e->next()) {
    LONG at = static_cast<Insertion*>(e)->position;
    check(at >= last);  // ordered by position
    last = at;
  }
  insertions.clearAndDelete();

  int used = 0;
  std::unique_ptr<Position> p(Position::Parse(value.c_str(), used));
  check(used >= 0 && used <= value.GetLength());
  check((p != nullptr) == (used > 0));

  LinkDocument doc(record);
  CString link = doc.MakeAnchorLink(value);
  check(value.IsEmpty() == link.IsEmpty());
  CString url = doc.MakeUrlLink(value, referrer);
  if (!value.IsEmpty() && referrer != "KTFAnchor") check(url.Find("Referrer=") >= 0);

  CString encoded = EncodeFormValue(value);
  for (int i = 0; i < encoded.GetLength(); ++i) {
    unsigned char c = static_cast<unsigned char>(encoded[i]);
    check(c < 0x80 && c != ' ' && c != '\n' && c != '\r' && c != '&' && c != '=');
  }
  return 0;
}

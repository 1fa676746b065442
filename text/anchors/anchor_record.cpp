#include "text/anchors/anchor_record.h"

#include <new>

AnchorRecordList::~AnchorRecordList() { records_.clearAndDelete(); }

void AnchorRecordList::Set(const CString& anchorText, const CString& referrer) {
  records_.clearAndDelete();
  int from = 0;
  for (;;) {
    int blank = anchorText.Find("\n\n", from);
    if (blank < 0) break;
    Append(anchorText.Mid(from, blank + 1 - from) + "Referrer=" + referrer + "\n\n");
    from = blank + 2;
  }
}

AnchorRecord* AnchorRecordList::Append(const CString& text) {
  auto* record = new (std::nothrow) AnchorRecord(text);
  if (record) records_.append(record);
  return record;
}

AnchorRecord* AnchorRecordList::Find(const CString& text) const {
  for (ListElement* e = records_.first(); e; e = e->next()) {
    auto* record = static_cast<AnchorRecord*>(e);
    const CString& own = record->Text();
    if (own.GetLength() == text.GetLength() && own.str() == text.str()) return record;
  }
  return nullptr;
}

// The link records of a text document's anchors. A record is the attribute
// record text of one anchor (lines of key "=" value, each ended by "\n");
// records of the server's anchors carry a "Referrer=" line naming the
// document they belong to, records made while the document is read (named
// anchors, links written in the text) hold whatever their maker put there.
#pragma once

#include "core/list.h"
#include "mfc/cstring.h"

class AnchorRecord : public ListElement {
 public:
  explicit AnchorRecord(const CString& text) : text_(text) {}
  const CString& Text() const { return text_; }

 private:
  CString text_;
};

class AnchorRecordList {
 public:
  AnchorRecordList() = default;
  AnchorRecordList(const AnchorRecordList&) = delete;
  AnchorRecordList& operator=(const AnchorRecordList&) = delete;
  virtual ~AnchorRecordList();

  // Replaces every record by those of `anchorText`: each stretch that ends
  // with a blank line ("\n\n") is one record (the stretch with its first
  // "\n"), followed by "Referrer=", the referrer and "\n\n". Text after the
  // last blank line is not a record.
  void Set(const CString& anchorText, const CString& referrer);
  // A new record with this text at the end; null when memory failed.
  AnchorRecord* Append(const CString& text);
  // The first record whose text equals `text` byte for byte, or null.
  AnchorRecord* Find(const CString& text) const;
  void Clear() { records_.clearAndDelete(); }

  List& Records() { return records_; }
  const List& Records() const { return records_; }

 private:
  List records_;
};

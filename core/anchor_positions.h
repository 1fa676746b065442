// The places of a document's source anchors inside its content, kept in the
// order in which they occur there. The text, image and movie viewers walk
// the list to draw and hit-test anchors in document order. Each record
// names the anchor (its id text), where its link leads (its "Dest=", or the
// address of a "URL:" hint), the link type, where the anchor sits (parsed
// from its "Position=" by the document's kind) and, once the destination
// anchor of the same document is met, where that one sits.
#pragma once

#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "core/kx_object.h"
#include "core/list.h"
#include "core/objref.h"
#include "mfc/cstring.h"

class Document;

// The document kinds that keep anchor positions, by class code.
enum class AnchorDocumentKind : std::int32_t { Text = 7, Image = 9, PostScript = 12 };

// Where an anchor sits. Keys of one list are all of one type (the
// document's kind); comparing keys of different types answers false.
class PositionKey {
 public:
  virtual ~PositionKey() = default;
  // The list order.
  virtual bool Less(const PositionKey& other) const = 0;
  // The kind's second comparison (greater-than by start for text spans,
  // not-less-than for the others).
  virtual bool SecondCompare(const PositionKey& other) const = 0;
};

// A span of a text document: start and end offsets. (The layout has a
// TextSpan of its own: a run of text.)
class TextSpanKey : public PositionKey {
 public:
  TextSpanKey() = default;
  TextSpanKey(std::int32_t s, std::int32_t e) : start(s), end(e) {}
  // "start end" in decimal, else "0xstart 0xend"; numbers not read stay 0.
  static TextSpanKey Parse(const CString& text);
  bool Less(const PositionKey& other) const override;
  bool SecondCompare(const PositionKey& other) const override;

  std::int32_t start = 0;
  std::int32_t end = 0;
};

// A region of a page of a PostScript document: "page:a,b,c,d", kind 2 when
// written behind "V20@", else 1.
class PageRegion : public PositionKey {
 public:
  static PageRegion Parse(const CString& text);
  bool Less(const PositionKey& other) const override;
  bool SecondCompare(const PositionKey& other) const override;

  std::int32_t kind = 1;
  std::int32_t page = 0;
  std::int32_t values[4] = {0, 0, 0, 0};
};

// A shape of an image: "Circle x y r", "Ellipse a b c d", or any other word
// and four numbers.
class ImageShape : public PositionKey {
 public:
  enum Kind : std::int32_t { kOther = 0, kCircle = 1, kEllipse = 2 };
  static ImageShape Parse(const CString& text);
  bool Less(const PositionKey& other) const override;
  bool SecondCompare(const PositionKey& other) const override;

  std::int32_t kind = kOther;
  float values[4] = {0, 0, 0, 0};

 private:
  float Left() const;
  float Right() const;
  float Top() const;
  float Bottom() const;
};

class AnchorPosition : public ListElement {
 public:
  ~AnchorPosition() override;
  bool precedes(const ListElement& other) const override;

  // Both answer the record's own position key (null only for a record
  // whose parse gave none).
  virtual const PositionKey* GetPosition() const { return position.get(); }
  virtual const PositionKey* GetKey() const { return position.get(); }
  // Where the destination anchor sits; null until one is attached.
  virtual const PositionKey* GetDestPosition() const { return destPosition.get(); }
  // Takes the destination anchor's place as this record's destination; a
  // place attached before is freed.
  virtual void AttachDest(const KXObject& destAnchor);
  // The key for an anchor's "Position=" text; the base knows no form.
  virtual std::unique_ptr<PositionKey> ParsePosition(const CString& text) const;

  CString GetDest() const { return dest; }
  // The destination object when the object cache holds it; null otherwise.
  // The record names it rather than holding it: documents that link to each
  // other would otherwise keep each other alive for ever.
  Ref<KXObject> DestObject() const;

  CString anchorId;
  CString dest;
  CString linkType;
  std::int32_t documentKind = 0;
  std::uint8_t destFlag = 0;
  std::unique_ptr<PositionKey> position;
  std::unique_ptr<PositionKey> destPosition;

 protected:
  AnchorPosition() = default;
  friend AnchorPosition* CreateAnchorPosition(const Ref<KXObject>& anchor,
                                              const Document* document);
  // The fields every kind reads from the anchor, then the kind's key.
  void Fill(const KXObject& anchor);
};

class TextAnchorPosition : public AnchorPosition {
 public:
  TextAnchorPosition() { documentKind = static_cast<std::int32_t>(AnchorDocumentKind::Text); }
  // A record made by the text layout for a link it found in the content.
  TextAnchorPosition(std::int32_t start, std::int32_t end, const CString& id, const CString& to);
  std::unique_ptr<PositionKey> ParsePosition(const CString& text) const override;
};

class ShapeAnchorPosition : public AnchorPosition {
 public:
  ShapeAnchorPosition() { documentKind = static_cast<std::int32_t>(AnchorDocumentKind::Image); }
  std::unique_ptr<PositionKey> ParsePosition(const CString& text) const override;
};

class AreaAnchorPosition : public AnchorPosition {
 public:
  AreaAnchorPosition() {
    documentKind = static_cast<std::int32_t>(AnchorDocumentKind::PostScript);
  }
  std::unique_ptr<PositionKey> ParsePosition(const CString& text) const override;
};

// A new record for the anchor by the document's class code (text, image,
// PostScript); null for any other kind, a null anchor or no document. The
// caller owns it.
AnchorPosition* CreateAnchorPosition(const Ref<KXObject>& anchor, const Document* document);

class AnchorPositionList {
 public:
  AnchorPositionList() = default;
  AnchorPositionList(const AnchorPositionList&) = delete;
  AnchorPositionList& operator=(const AnchorPositionList&) = delete;
  ~AnchorPositionList() { records_.clearAndDelete(); }

  // A source anchor gets a new record in order; a destination anchor is
  // attached to every record whose destination is its id text.
  void AddAnchor(const Ref<KXObject>& anchor, const Document* document);
  // Takes the record: before the first record whose position is not less
  // than its own (so before records of equal position), else at the end.
  void InsertSorted(AnchorPosition* record);
  void clear() { records_.clearAndDelete(); }

  std::size_t size() const { return static_cast<std::size_t>(records_.count()); }
  bool empty() const { return records_.isEmpty(); }
  // Null out of range.
  const AnchorPosition* at(std::size_t i) const;

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = AnchorPosition;
    using difference_type = std::ptrdiff_t;
    using pointer = const AnchorPosition*;
    using reference = const AnchorPosition&;
    explicit const_iterator(const ListElement* e = nullptr) : e_(e) {}
    reference operator*() const { return static_cast<reference>(*e_); }
    pointer operator->() const { return static_cast<pointer>(e_); }
    const_iterator& operator++() {
      e_ = e_->next();
      return *this;
    }
    bool operator==(const const_iterator& o) const { return e_ == o.e_; }
    bool operator!=(const const_iterator& o) const { return e_ != o.e_; }

   private:
    const ListElement* e_;
  };
  const_iterator begin() const { return const_iterator(records_.first()); }
  const_iterator end() const { return const_iterator(nullptr); }

 private:
  List records_;
};

// The document's link anchors in the order of their places in it, as its
// anchor-position list keeps them, so that a viewer draws, hit-tests and
// follows them by place. Link anchors the list holds no place for (a kind
// of document without positions) follow in the order the server gave them.
std::vector<Ref<KXObject>> LinkAnchorsInPlaceOrder(Document& document);

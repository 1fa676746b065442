// Position items: small objects that are not atoms but sit at a position in
// a container (line breaks, tab marks, table rows, the options of a
// selection). The builder makes them on request and offers each to the open
// containers, innermost first, through Atom::AddItem; the first that takes
// it owns it, and when none does the builder deletes it. An item's type mask
// is its kind.
#pragma once

#include "core/list.h"
#include "mfc/cstring.h"
#include "text/atom/atom_pool.h"
#include "text/position/position.h"
#include "win/types.h"

enum PositionItemKind : DWORD {
  kParagraphItemBit = 0x100,  // paragraphs take these
  kTableItemBit = 0x200,      // tables take these
  kTabStopItemKind = 0x110,
  kTabItemKind = 0x111,
  kBorderMarkKind = 0x112,
  kLineBreakKind = 0x120,
  kTableRowKind = 0x210,
  kOptionKind = 0x310,
  kBackgroundItemKind = 0x800,
};

class PositionItem : public ListElement {
 public:
  explicit PositionItem(LONG position) : position_(position) {}
  PositionItem(const PositionItem& other) : ListElement(), position_(other.position_) {}
  PositionItem& operator=(const PositionItem&) = delete;
  ZEMRA_POOLED_ALLOCATION

  // A new copy when the item lies strictly inside (from, to), else null.
  virtual PositionItem* CloneInside(const Position& from, const Position& to) const = 0;
  virtual DWORD TypeMask() const = 0;
  // Replaces `out` with the item's text (a line break's is "\n"); true.
  virtual bool GetText(CString& out, LONG unused) const;

  LONG Start() const { return position_; }
  void SetStart(LONG position) { position_ = position; }

 protected:
  bool Inside(const Position& from, const Position& to) const {
    return from.Number() < position_ && position_ < to.Number();
  }
  template <class T>
  static PositionItem* CopyIfInside(const T& item, const Position& from, const Position& to) {
    return item.Inside(from, to) ? new T(item) : nullptr;
  }

 private:
  LONG position_;
};

// Items that carry a second value (0 as the builder makes them).
class SecondValueItem : public PositionItem {
 public:
  explicit SecondValueItem(LONG position, LONG second = 0) : PositionItem(position), second_(second) {}
  LONG Second() const { return second_; }

 private:
  LONG second_;
};

class LineBreakItem : public SecondValueItem {
 public:
  using SecondValueItem::SecondValueItem;
  PositionItem* CloneInside(const Position& from, const Position& to) const override {
    return CopyIfInside(*this, from, to);
  }
  DWORD TypeMask() const override { return kLineBreakKind; }
  bool GetText(CString& out, LONG unused) const override;
};

// A named mark of a paragraph's tab handling, with a flag (an int32 that
// the paragraph reads by the mark's kind).
class TabMark : public SecondValueItem {
 public:
  TabMark(LONG position, const CString& name, LONG flag) : SecondValueItem(position), name_(name), flag_(flag) {}
  const CString& Name() const { return name_; }
  LONG Flag() const { return flag_; }

 private:
  CString name_;
  LONG flag_;
};

// A tab: the paragraph writes the stop's kind and x into it when it meets
// it on a line.
class TabItem : public TabMark {
 public:
  using TabMark::TabMark;
  PositionItem* CloneInside(const Position& from, const Position& to) const override {
    return CopyIfInside(*this, from, to);
  }
  DWORD TypeMask() const override { return kTabItemKind; }

  LONG stopKind = 0;
  LONG stopX = 0;
};

// Where the left border of the following lines goes (hanging list items).
class BorderMark : public TabItem {
 public:
  using TabItem::TabItem;
  PositionItem* CloneInside(const Position& from, const Position& to) const override {
    return CopyIfInside(*this, from, to);
  }
  DWORD TypeMask() const override { return kBorderMarkKind; }
};

// The three values a tab stop definition carries along.
struct TabStopValues {
  LONG a = 0;
  LONG b = 0;
  LONG c = 0;
};

// Defines a tab stop under the mark's name at the place the line reached.
class TabStopItem : public TabMark {
 public:
  TabStopItem(LONG position, const CString& name, LONG flag, const TabStopValues& values)
      : TabMark(position, name, flag), values_(values) {}
  PositionItem* CloneInside(const Position& from, const Position& to) const override {
    return CopyIfInside(*this, from, to);
  }
  DWORD TypeMask() const override { return kTabStopItemKind; }
  const TabStopValues& Values() const { return values_; }

 private:
  TabStopValues values_;
};

// A table row begins here.
class TableRowItem : public PositionItem {
 public:
  using PositionItem::PositionItem;
  PositionItem* CloneInside(const Position& from, const Position& to) const override {
    return CopyIfInside(*this, from, to);
  }
  DWORD TypeMask() const override { return kTableRowKind; }
};

// One option of a selection field; the selection's atom takes it.
class OptionItem : public PositionItem {
 public:
  OptionItem(const CString& value, BYTE selected, const CString& text1, BYTE defaultSelected, const CString& text2)
      : PositionItem(0),
        value_(value),
        text1_(text1),
        selected_(selected),
        defaultSelected_(defaultSelected),
        text2_(text2) {}
  PositionItem* CloneInside(const Position& from, const Position& to) const override {
    return CopyIfInside(*this, from, to);
  }
  DWORD TypeMask() const override { return kOptionKind; }

  const CString& Value() const { return value_; }
  BYTE Selected() const { return selected_; }
  BYTE DefaultSelected() const { return defaultSelected_; }
  const CString& Text1() const { return text1_; }
  const CString& Text2() const { return text2_; }

 private:
  CString value_;
  CString text1_;
  BYTE selected_;
  BYTE defaultSelected_;
  CString text2_;
};

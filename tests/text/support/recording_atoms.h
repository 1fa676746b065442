// A recording implementation of the atom interface for the builder's tests:
// atoms that keep what they were given (children, text, items, styles,
// pictures, form fields) and a factory that makes them and logs every call.
// Tree() writes the tree as one line, e.g. page[para[word"Hi" word"there"]].
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/named_list.h"
#include "text/atom/atom.h"
#include "text/atom/atom_factory.h"
#include "text/atom/position_item.h"

class RecordingFactory;

class RecordingAtom : public Atom {
 public:
  RecordingAtom(RecordingFactory* factory, DWORD mask, std::string kind, LONG start, ResolvedStyle* style);
  ~RecordingAtom() override;

  DWORD TypeMask() const override { return mask_; }
  bool AppendText(CString& out, const Position& from, const Position& to, BOOL atEnd, LONG option) override;
  bool AddChild(Atom* child) override;
  bool AddText(std::string_view text, LONG position, LONG textKind, ResolvedStyle* style) override;
  bool SetStyle(ResolvedStyle* style, LONG second) override;
  bool AdoptLabel(const DWORD* typeMask, Atom* label) override;
  bool SetEnd(LONG end) override;
  bool ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  bool ApplyParagraphStyle(const Position&, const Position&, const StyleDefinition*) override { return true; }
  ResolvedStyle* StyleAt(const Position&) override { return style_; }
  bool SetMarks(const Position& from, const Position& to, BYTE bits) override;
  bool ClearMarks(const Position& from, const Position& to, BYTE bits) override;
  void MarksAt(const Position&, BYTE& bits) override { bits = marks_; }
  bool AddItem(PositionItem* item) override;
  void Reset(int) override {}
  int Format(TextOutput*, const LayoutRect&, Position*&, const Position&, int) override { return 0; }
  int Extent(LayoutRect& out, TextOutput*, const Position&, const Position&, int) override;
  LONG Spacing(int, TextOutput*, const Position&, const Position&, int) override { return 0; }
  LONG Unnamed(LONG, LONG) override { return 0; }
  LONG GapCount(const Position&, const Position&) override { return 0; }
  int Draw(TextOutput*, const LayoutPoint&, const LayoutRect&, const Position&, const Position&, int,
           const PositionRange*) override {
    return 0;
  }

  // The tree below this atom as one line; with styles, each word and
  // picture shows what its resolved style changes from the default: b bold,
  // i italic, u underline, f<n> draw style, s<n> scale, #rrggbb colour.
  std::string Tree(bool styles = false) const;

  const std::string& kind() const { return kind_; }
  const std::vector<Atom*>& children() const { return children_; }
  const std::vector<PositionItem*>& items() const { return items_; }
  const std::string& text() const { return text_; }
  ResolvedStyle* style() const { return style_; }
  NamedObject* picture() const { return picture_; }
  const FormFieldSpec& field() const { return field_; }
  std::vector<const StyleDefinition*> appliedStyles;
  std::vector<std::pair<LONG, LONG>> markedRanges;  // SetMarks
  LONG picA = 0;
  LONG picB = 0;
  LONG number = 0;  // table, rule values
  TableAttrs table;
  CellAttrs cell;

  // Behaviour switches for the tests.
  bool refuseChildren = false;
  bool refuseEnd = false;

 private:
  friend class RecordingFactory;
  RecordingFactory* factory_;
  DWORD mask_;
  std::string kind_;
  ResolvedStyle* style_;
  std::vector<Atom*> children_;
  std::vector<PositionItem*> items_;
  std::string text_;
  NamedObject* picture_ = nullptr;
  FormFieldSpec field_;
  Atom* label_ = nullptr;
  BYTE marks_ = 0;
};

class RecordingFactory : public AtomFactory {
 public:
  Atom* NewWord(LONG start, ResolvedStyle* style) override;
  Atom* NewParagraph(LONG start, ResolvedStyle* style, TabSettingsList* tabs) override;
  Atom* NewPage(LONG start, ResolvedStyle* style) override;
  Atom* NewTable(LONG start, ResolvedStyle* style, const TableAttrs& attrs) override;
  Atom* NewTableItem(LONG start, ResolvedStyle* style, const CellAttrs& attrs) override;
  Atom* NewListItem(LONG start, ResolvedStyle* style, TabSettingsList* tabs) override;
  Atom* NewList(LONG start, ResolvedStyle* style) override;
  Atom* NewHorizontalRule(LONG start, ResolvedStyle* style, LONG value) override;
  Atom* NewPicture(LONG start, ResolvedStyle* style, NamedObject* picture, LONG a, LONG b) override;
  Atom* NewFormField(LONG start, ResolvedStyle* style, const FormFieldSpec& spec) override;

  // Every call, in order ("word@3", "add page<-word", "end word@7" ...).
  std::vector<std::string> log;
  int live = 0;     // atoms made and not yet deleted
  int made = 0;
  TabSettingsList* lastTabs = nullptr;
  // When set, called with each new atom before it is handed out.
  std::function<void(RecordingAtom&)> onMake;

 private:
  friend class RecordingAtom;
  RecordingAtom* make(DWORD mask, const char* kind, LONG start, ResolvedStyle* style);
};

// A picture that counts how many of its kind are alive.
struct TestPicture : NamedObject {
  explicit TestPicture(std::string n) : name(std::move(n)) { ++alive; }
  ~TestPicture() override { --alive; }
  std::string name;
  static int alive;
};

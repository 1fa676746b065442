// The layout atoms of form fields. A FormAtom places its field inline in a
// line of text: it asks the field for its size (the field's window is made
// then), aligns it to the line as the style says, and moves the window there
// whenever the line is drawn. A TextAreaAtom gathers the element's text as
// the field's initial value; a SelectAtom gathers the options of a
// selection. The atom owns its field.
#pragma once

#include <memory>

#include "layout/forms/form_item.h"
#include "text/atom/atom.h"

class WordAtom;

class FormAtom : public Atom {
 public:
  // Without a field the atom takes no room and draws nothing.
  FormAtom(LONG start, ResolvedStyle* style, FormItem* field);
  ~FormAtom() override;

  DWORD TypeMask() const override { return kFormMask; }
  bool AppendText(CString& out, const Position&, const Position&, BOOL, LONG) override {
    (void)out;
    return true;
  }
  bool AddText(std::string_view text, LONG position, LONG textKind, ResolvedStyle* style) override;
  bool SetEnd(LONG end) override;
  bool ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  bool ApplyParagraphStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  ResolvedStyle* StyleAt(const Position& position) override;
  bool SetMarks(const Position& from, const Position& to, BYTE bits) override;
  bool ClearMarks(const Position& from, const Position& to, BYTE bits) override;
  void MarksAt(const Position& position, BYTE& bits) override;
  void Reset(int) override {}
  int Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
             int flag) override;
  int Extent(LayoutRect& out, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  LONG Spacing(int, TextOutput*, const Position&, const Position&, int) override { return 0; }
  LONG Unnamed(LONG, LONG) override { return 0; }
  LONG GapCount(const Position&, const Position&) override { return 0; }
  int Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position& from,
           const Position& to, int flag, const PositionRange* range) override;
  oldio::ostream& Dump(oldio::ostream& out, int indent) override;

  // Takes the field (destroying the item it held); null keeps a plain item.
  void SetField(FormItem* field);
  FormItem* Field() const { return field_; }
  const CString& Content() const { return content_; }

 protected:
  bool overlaps(const Position& from, const Position& to) const;
  LayoutRect measure(TextOutput* ctx);

  CString content_;
  FormItem* field_ = nullptr;             // owned
  std::unique_ptr<StyledItem> ownItem_;  // when there is no field
  LONG offset_ = 0;
};

// A multi-line text field: the element's text is the initial value; word
// atoms inside it are taken and never laid out.
class TextAreaAtom : public FormAtom {
 public:
  using FormAtom::FormAtom;
  ~TextAreaAtom() override;
  bool AddChild(Atom* child) override;
  bool SetEnd(LONG end) override;

 private:
  Atom* pendingWord_ = nullptr;
};

// A selection: the option items and their texts become the field's options.
class SelectAtom : public FormAtom {
 public:
  using FormAtom::FormAtom;
  ~SelectAtom() override;
  bool AddChild(Atom* child) override;
  bool AddItem(PositionItem* item) override;
  bool AddText(std::string_view text, LONG position, LONG textKind, ResolvedStyle* style) override;
  bool SetEnd(LONG end) override;

 private:
  void finishOption();
  std::unique_ptr<OptionRecord> current_;
  CString optionText_;
  Atom* pendingWord_ = nullptr;
};

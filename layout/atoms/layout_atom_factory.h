// The factory through which the document builder makes the layout's atoms.
// The text view installs one at start-up (InstallAtomFactory).
#pragma once

#include "text/atom/atom_factory.h"

class LayoutAtomFactory : public AtomFactory {
 public:
  Atom* NewWord(LONG start, ResolvedStyle* style) override;
  Atom* NewParagraph(LONG start, ResolvedStyle* style, TabSettingsList* tabs) override;
  Atom* NewPage(LONG start, ResolvedStyle* style) override;
  Atom* NewTable(LONG start, ResolvedStyle* style, const TableAttrs& attrs) override;
  Atom* NewTableItem(LONG start, ResolvedStyle* style, const CellAttrs& attrs) override;
  Atom* NewListItem(LONG start, ResolvedStyle* style, TabSettingsList* tabs) override;
  Atom* NewList(LONG start, ResolvedStyle* style) override;
  Atom* NewHorizontalRule(LONG start, ResolvedStyle* style, LONG value) override;
  // Pictures and form fields are atoms of the view's own factory, which
  // derives from this one; here they are not made (null), and the builder
  // leaves them out.
  Atom* NewPicture(LONG start, ResolvedStyle* style, NamedObject* picture, LONG a, LONG b) override;
  Atom* NewFormField(LONG start, ResolvedStyle* style, const FormFieldSpec& spec) override;
};

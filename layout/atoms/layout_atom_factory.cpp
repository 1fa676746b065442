#include "layout/atoms/layout_atom_factory.h"

#include <new>

#include "layout/atoms/horizontal_rule_atom.h"
#include "layout/atoms/list_item.h"
#include "layout/atoms/page_atom.h"
#include "layout/atoms/paragraph_atom.h"
#include "layout/atoms/table_atom.h"
#include "layout/atoms/word_atom.h"

Atom* LayoutAtomFactory::NewWord(LONG start, ResolvedStyle*) { return new (std::nothrow) WordAtom(start); }

Atom* LayoutAtomFactory::NewParagraph(LONG start, ResolvedStyle* style, TabSettingsList* tabs) {
  return new (std::nothrow) ParagraphAtom(start, style, tabs);
}

Atom* LayoutAtomFactory::NewPage(LONG start, ResolvedStyle* style) { return new (std::nothrow) PageAtom(start, style); }

Atom* LayoutAtomFactory::NewTable(LONG start, ResolvedStyle* style, const TableAttrs& attrs) {
  return new (std::nothrow) TableAtom(start, style, attrs);
}

Atom* LayoutAtomFactory::NewTableItem(LONG start, ResolvedStyle* style, const CellAttrs& attrs) {
  return new (std::nothrow) TableItemAtom(start, style, attrs);
}

Atom* LayoutAtomFactory::NewListItem(LONG start, ResolvedStyle* style, TabSettingsList* tabs) {
  return new (std::nothrow) ListItem(start, style, tabs);
}

Atom* LayoutAtomFactory::NewList(LONG start, ResolvedStyle* style) { return new (std::nothrow) ListAtom(start, style); }

Atom* LayoutAtomFactory::NewHorizontalRule(LONG start, ResolvedStyle* style, LONG value) {
  return new (std::nothrow) HorizontalRuleAtom(start, style, value);
}

Atom* LayoutAtomFactory::NewPicture(LONG, ResolvedStyle*, NamedObject*, LONG, LONG) { return nullptr; }
Atom* LayoutAtomFactory::NewFormField(LONG, ResolvedStyle*, const FormFieldSpec&) { return nullptr; }

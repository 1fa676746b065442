#include "layout/atoms/layout_atom_factory.h"

#include <new>

#include "layout/atoms/page_atom.h"
#include "layout/atoms/paragraph_atom.h"
#include "layout/atoms/word_atom.h"

Atom* LayoutAtomFactory::NewWord(LONG start, ResolvedStyle*) { return new (std::nothrow) WordAtom(start); }

Atom* LayoutAtomFactory::NewParagraph(LONG start, ResolvedStyle* style, TabSettingsList* tabs) {
  return new (std::nothrow) ParagraphAtom(start, style, tabs);
}

Atom* LayoutAtomFactory::NewPage(LONG start, ResolvedStyle* style) { return new (std::nothrow) PageAtom(start, style); }

Atom* LayoutAtomFactory::NewTable(LONG, ResolvedStyle*, const TableAttrs&) { return nullptr; }
Atom* LayoutAtomFactory::NewTableItem(LONG, ResolvedStyle*, const CellAttrs&) { return nullptr; }
Atom* LayoutAtomFactory::NewListItem(LONG, ResolvedStyle*, TabSettingsList*) { return nullptr; }
Atom* LayoutAtomFactory::NewList(LONG, ResolvedStyle*) { return nullptr; }
Atom* LayoutAtomFactory::NewHorizontalRule(LONG, ResolvedStyle*, LONG) { return nullptr; }
Atom* LayoutAtomFactory::NewPicture(LONG, ResolvedStyle*, NamedObject*, LONG, LONG) { return nullptr; }
Atom* LayoutAtomFactory::NewFormField(LONG, ResolvedStyle*, const FormFieldSpec&) { return nullptr; }

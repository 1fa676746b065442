// The atom factory of documents shown in a text view: the layout's atoms,
// and besides them pictures and form fields, which need the view's pictures
// and windows.
#pragma once

#include "layout/atoms/layout_atom_factory.h"

class ViewAtomFactory : public LayoutAtomFactory {
 public:
  Atom* NewPicture(LONG start, ResolvedStyle* style, NamedObject* picture, LONG a, LONG b) override;
  Atom* NewFormField(LONG start, ResolvedStyle* style, const FormFieldSpec& spec) override;
};

// Installs one factory for every document, and the view's pictures (once).
void InstallTextViewFactories();

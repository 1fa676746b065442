// The attribute record of a form field as the field action of a definition
// file hands it to the builder: twelve strings in this order (the action's
// second to thirteenth parameters). The definition files write them in this
// order; the builder reads them by these indices.
#pragma once

#include "mfc/cstring.h"

struct FormFieldRecord {
  enum Index : int {
    kName = 0,
    kValue = 1,
    kSize = 2,         // text: columns; selection: visible rows
    kRows = 3,         // -1 (or empty) for a one-line text field
    kChecked = 4,      // a number: non-zero checked
    kMinimum = 5,      // numeric fields
    kMaximum = 6,
    kMultiple = 7,     // a number: non-zero lets a selection take several
    kDisabled = 8,     // a number: non-zero disables the field
    kAuxText = 9,      // kept with the field
    kPicture = 10,     // picture submit: the picture as written
    kPictureLink = 11, // picture submit: the picture's resolved name
    kCount = 12,
  };
  CString field[kCount];

  const CString& operator[](int i) const { return field[i]; }
  CString& operator[](int i) { return field[i]; }
};

// Field kinds of the form-field action.
enum FormFieldKind : int {
  kFieldText = 0,
  kFieldPassword = 1,
  kFieldCheckBox = 2,
  kFieldRadio = 3,
  kFieldNumeric = 4,
  kFieldHidden = 5,
  kFieldSubmit = 6,
  kFieldPictureSubmit = 7,
  kFieldReset = 8,
  kFieldSelection = 9,
};

// How the builder makes atoms. The layout implements this interface (one
// factory for all documents) and installs it at start-up; the builder never
// names a layout class. Each call makes one atom with its start position and
// the resolved style of the element it belongs to (shared, never owned by the
// atom), or returns null when it cannot; the builder inserts what it gets.
#pragma once

#include "mfc/cstring.h"
#include "text/atom/table_attrs.h"
#include "win/types.h"

class Atom;
class Form;
class FormAction;
class FormControl;
class NamedObject;
class ResolvedStyle;
class TabSettingsList;

// A form field as the builder decoded it from the field's attribute record.
// The factory makes the field's form atom and its control, and sets the
// control up in this order: the kind's own set-up (size and password flag;
// checked state as default; range and whole-number flag; size and multiple
// flag), joining `form` (when there is one), the name (buttons: `label`
// instead, and no name), the value, the disabled flag, the auxiliary text;
// then the atom takes the control. Without a control (allocation failed, a
// picture submit) the atom stands empty.
struct FormFieldSpec {
  enum Kind : int {
    kText = 0,
    kPassword = 1,
    kCheckBox = 2,
    kRadio = 3,
    kNumeric = 4,
    kSubmit = 6,
    kPictureSubmit = 7,
    kReset = 8,
    kSelection = 9,
  };
  int kind = kText;
  Form* form = nullptr;  // the form the field joins; may be null
  CString name;
  CString value;
  CString label;  // buttons: the value, or "Submit" / "Reset"
  CString auxText;
  BYTE disabled = 0;
  LONG size = 0;   // text: columns; selection: visible rows
  LONG rows = -1;  // text: -1 for one line, else a multi-line text area
  BYTE checked = 0;
  FormControl* radioGroupOf = nullptr;  // a radio button of this name already in the form
  double minimum = 0;
  double maximum = 0;
  BYTE integral = 0;  // numeric: both bounds are whole numbers
  BYTE multiple = 0;
  BYTE combo = 0;                 // selection: a drop-down list
  FormAction* action = nullptr;   // submit and reset buttons, picture submit
  NamedObject* picture = nullptr; // picture submit
};

class AtomFactory {
 public:
  virtual ~AtomFactory();
  virtual Atom* NewWord(LONG start, ResolvedStyle* style) = 0;
  virtual Atom* NewParagraph(LONG start, ResolvedStyle* style, TabSettingsList* tabs) = 0;
  // The root of every document is a page.
  virtual Atom* NewPage(LONG start, ResolvedStyle* style) = 0;
  virtual Atom* NewTable(LONG start, ResolvedStyle* style, const TableAttrs& attrs) = 0;
  virtual Atom* NewTableItem(LONG start, ResolvedStyle* style, const CellAttrs& attrs) = 0;
  virtual Atom* NewListItem(LONG start, ResolvedStyle* style, TabSettingsList* tabs) = 0;
  // The label row of a list item.
  virtual Atom* NewList(LONG start, ResolvedStyle* style) = 0;
  virtual Atom* NewHorizontalRule(LONG start, ResolvedStyle* style, LONG value) = 0;
  // The picture is borrowed from the pool or the Dingbat table; the atom
  // takes its own reference.
  virtual Atom* NewPicture(LONG start, ResolvedStyle* style, NamedObject* picture, LONG a, LONG b) = 0;
  virtual Atom* NewFormField(LONG start, ResolvedStyle* style, const FormFieldSpec& spec) = 0;
};

// The factory the builders use; the layout installs it at start-up. Without
// one every atom request gives null and documents build empty.
void InstallAtomFactory(AtomFactory* factory);
AtomFactory* TheAtomFactory();

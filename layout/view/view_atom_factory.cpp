#include "layout/view/view_atom_factory.h"

#include <new>

#include "layout/forms/form_atom.h"
#include "layout/forms/form_controls.h"
#include "layout/forms/picture_submit_atom.h"
#include "layout/pictures/picture_atom.h"
#include "layout/pictures/picture_factory_impl.h"

namespace {

// The marks a new field's item starts with (the eighth extra style flag).
constexpr BYTE kFieldMarks = 0x80;

// The field of a spec, made and set up in the order its model relies on:
// the kind's own set-up, the form, the name (buttons: their label), the
// value, the disabled flag and the auxiliary text. Null when none is made.
FormItem* makeField(ResolvedStyle* style, const FormFieldSpec& spec) {
  FormItem* field = nullptr;
  switch (spec.kind) {
    case FormFieldSpec::kText:
    case FormFieldSpec::kPassword:
      field = new (std::nothrow) FormEdit(style, kFieldMarks);
      if (field) {
        field->SetSize(spec.size, spec.rows);
        field->SetPassword(spec.kind == FormFieldSpec::kPassword);
      }
      break;
    case FormFieldSpec::kCheckBox:
      field = new (std::nothrow) FormCheckBox(style, kFieldMarks);
      if (field) field->SetChecked(spec.checked, 1);
      break;
    case FormFieldSpec::kRadio: {
      auto* other = dynamic_cast<FormItem*>(spec.radioGroupOf);
      field = new (std::nothrow) FormRadioButton(style, kFieldMarks, other ? other->Group() : nullptr);
      if (field) field->SetChecked(spec.checked, 1);
      break;
    }
    case FormFieldSpec::kNumeric:
      field = new (std::nothrow) FormNumberEdit(style, kFieldMarks);
      if (field) {
        field->SetRange(spec.minimum, spec.maximum);
        field->SetNumeric(spec.integral);
      }
      break;
    case FormFieldSpec::kSubmit:
    case FormFieldSpec::kReset:
      field = new (std::nothrow) FormPushButton(style, kFieldMarks, spec.action);
      break;
    case FormFieldSpec::kSelection:
      if (spec.combo)
        field = new (std::nothrow) FormComboBox(style, kFieldMarks);
      else
        field = new (std::nothrow) FormListBox(style, kFieldMarks);
      if (field) {
        field->SetSize(spec.size, 0);
        field->SetMultiple(spec.multiple);
      }
      break;
    default:
      return nullptr;
  }
  if (!field) return nullptr;
  field->SetForm(spec.form);
  const bool button = spec.kind == FormFieldSpec::kSubmit || spec.kind == FormFieldSpec::kReset;
  field->SetName(button ? spec.label : spec.name);
  field->SetValue(spec.value);
  field->SetDisabled(spec.disabled);
  field->SetAuxText(spec.auxText);
  return field;
}

}  // namespace

Atom* ViewAtomFactory::NewPicture(LONG start, ResolvedStyle* style, NamedObject* picture, LONG a, LONG b) {
  return new (std::nothrow) PictureAtom(start, style, picture, a, b);
}

Atom* ViewAtomFactory::NewFormField(LONG start, ResolvedStyle* style, const FormFieldSpec& spec) {
  // A picture that submits its form shows its picture; a click on it
  // submits the form with the point.
  if (spec.kind == FormFieldSpec::kPictureSubmit)
    return new (std::nothrow) PictureSubmitAtom(start, style, spec.picture, spec.action, spec.name);
  FormAtom* atom = nullptr;
  if ((spec.kind == FormFieldSpec::kText || spec.kind == FormFieldSpec::kPassword) && spec.rows != -1)
    atom = new (std::nothrow) TextAreaAtom(start, style, nullptr);
  else if (spec.kind == FormFieldSpec::kSelection)
    atom = new (std::nothrow) SelectAtom(start, style, nullptr);
  else
    atom = new (std::nothrow) FormAtom(start, style, nullptr);
  if (!atom) return nullptr;
  atom->SetField(makeField(style, spec));
  return atom;
}

void InstallTextViewFactories() {
  static ViewAtomFactory factory;
  InstallViewPictures();
  InstallAtomFactory(&factory);
}

// The actions of a definition file at work. An ACTION names a property kind
// by its FUNCT number; when an event that lists the action is dispatched, a
// property of that kind is made, filled from the action's parameters
// (PARAM0 .. PARAM12, already translated against the event's attributes),
// applied once to the document's viewer faces and dropped.
//
// Numbers are read like atoi, colours as "#RRGGBB" or "RRGGBB". A file or
// link parameter is resolved before use: the event's attached link when it
// has one, else the tokenizer's anchor resolution and the document's link
// record for it.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "mfc/cstring.h"
#include "text/color_record.h"
#include "win/types.h"

class Action;
class AnchorInterface;
class AnchorRecord;
class BuilderInterface;
class CounterInterface;
class DefinitionSet;
class ElementInterface;
class FormSubmitter;
class LinkMaker;
class SetupInterface;
class TokenSource;

// The five faces of the viewer document the properties act on.
struct ViewerFaces {
  BuilderInterface* builder = nullptr;
  ElementInterface* elements = nullptr;
  CounterInterface* counters = nullptr;
  AnchorInterface* anchors = nullptr;
  SetupInterface* setup = nullptr;

  // From an object that shows all five.
  template <typename V>
  static ViewerFaces Of(V& v) {
    return ViewerFaces{&v, &v, &v, &v, &v};
  }
};

// Bit 0 of the dispatcher's flag word: while set, only the actions that
// suspend and resume run.
inline constexpr DWORD kDispatchSuspended = 1;

// What a property may use besides the viewer faces: the event's start, the
// type's definitions, the dispatcher's flag word, the token source (anchor
// resolution), the document (link records), the form owner, and the link an
// insertion attached to the event.
struct PropertyInputs {
  LONG position = 0;
  DefinitionSet* definitions = nullptr;
  DWORD* dispatcherFlags = nullptr;
  TokenSource* source = nullptr;
  LinkMaker* document = nullptr;
  FormSubmitter* formOwner = nullptr;
  const AnchorRecord* link = nullptr;
};

using PropertyParams = std::array<CString, 13>;

class StyleProperty {
 public:
  StyleProperty(int kind, const PropertyInputs& inputs) : kind_(kind), in_(inputs) {}
  StyleProperty(const StyleProperty&) = delete;
  StyleProperty& operator=(const StyleProperty&) = delete;
  virtual ~StyleProperty();

  // Fills the fields from the parameters; false only when a colour that the
  // kind needs could not be read. The parameters are borrowed, not copied:
  // they must stay until Apply has run.
  virtual bool SetParams(const PropertyParams& params);
  // Acts on the viewer; true when the operation it called succeeded.
  virtual bool Apply(ViewerFaces& viewer) = 0;
  int Kind() const { return kind_; }
  virtual bool RunsWhenSuspended() const { return false; }

 protected:
  const CString& P(int n) const { return (*params_)[static_cast<size_t>(n - 1)]; }
  LONG Number(int n) const;
  // A file or link parameter resolved for use: the attached link's text,
  // else the anchor resolution and the document's anchor link (urlLink
  // false) or URL link with `linkType` (urlLink true).
  CString Resolved(const CString& value, bool urlLink = false, const CString& linkType = CString()) const;

  int kind_;
  PropertyInputs in_;
  const PropertyParams* params_ = &NoParams();

 private:
  static const PropertyParams& NoParams();
};

// The property of a FUNCT number, or null for kinds that are not defined
// (0, 27, 28 and anything above 36).
std::unique_ptr<StyleProperty> CreateStyleProperty(int kind, const PropertyInputs& inputs);

// A colour parameter: "#RRGGBB" or "RRGGBB"; false when neither reads.
bool ReadColorParam(const CString& text, ColorRecord& color);

// Runs the actions of one event in order: each makes its property (none:
// the result becomes false), is skipped while the dispatcher is suspended
// unless it suspends or resumes, else is filled and applied. The last
// action applied decides the result.
bool RunActions(const std::vector<Action>& actions, const PropertyInputs& inputs, ViewerFaces& viewer);

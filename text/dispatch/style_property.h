// What token dispatch runs for each action of an event: a short-lived style
// property made from the action's FUNCT number, filled from its parameters,
// applied once to the viewer document and deleted. The kinds are defined
// with the properties themselves (CreateStyleProperty); the dispatcher knows
// only this interface.
#pragma once

#include <array>
#include <memory>

#include "core/list.h"
#include "mfc/cstring.h"
#include "win/types.h"

class AnchorRecord;
class BuildTarget;
class DefinitionSet;
class FormSubmitter;
class LinkMaker;
class TokenDispatcher;
class TokenSource;
class ViewerDocument;

// Everything a property may need of the document whose event runs it.
struct ActionContext {
  LONG position = 0;                     // the event's start offset
  DefinitionSet* definitions = nullptr;  // the document type's set
  TokenDispatcher* dispatcher = nullptr;
  TokenSource* tokens = nullptr;         // resolves anchor values
  LinkMaker* document = nullptr;         // makes link records
  BuildTarget* target = nullptr;         // the load's target
  FormSubmitter* formOwner = nullptr;    // submits the document's forms
  const AnchorRecord* link = nullptr;    // the link attached to the event
};

class StyleProperty : public ListElement {
 public:
  static constexpr int kMaxParameters = 13;
  using Parameters = std::array<CString, kMaxParameters>;

  explicit StyleProperty(LONG position) : position(position) {}
  // Takes the action's parameters (empty for those not given).
  virtual bool SetParams(const Parameters& params) = 0;
  // Acts on the viewer document; true when the operation it called
  // reported success.
  virtual bool Apply(ViewerDocument& viewer) = 0;
  virtual LONG Kind() const = 0;
  // Only the properties that suspend and resume a document run while it is
  // suspended.
  virtual bool RunsWhenSuspended() const { return false; }

  LONG position;
};

// The property of a FUNCT number, or null for a number that names none.
std::unique_ptr<StyleProperty> CreateStyleProperty(LONG kind, const ActionContext& context);

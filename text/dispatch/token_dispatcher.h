// Token dispatch: for every item a document's load reads, the dispatcher
// acts by the item's kind. Text goes to the builder, an event runs the
// actions of its definitions as style properties, an anchor item begins or
// ends an anchor, places an inline picture or names a background picture,
// and diagnostics are dropped. One dispatcher per document, over the
// definition set of its type.
#pragma once

#include <vector>

#include "mfc/cstring.h"
#include "text/definition_set.h"
#include "text/value_table.h"
#include "win/types.h"

class AnchorToken;
class BuildTarget;
class DefinitionSet;
class FormSubmitter;
class LinkMaker;
class TextToken;
class TokenEvent;
class TokenItem;
class TokenSource;
class ViewerDocument;

class TokenDispatcher {
 public:
  explicit TokenDispatcher(DefinitionSet* definitions) : definitions_(definitions) {}
  TokenDispatcher(const TokenDispatcher&) = delete;
  TokenDispatcher& operator=(const TokenDispatcher&) = delete;
  virtual ~TokenDispatcher();

  // Opens the element of a named style definition before the first item;
  // false when the set has no such style or it cannot be opened.
  bool OpenDefinition(ViewerDocument& viewer, const CString& name);
  // Acts on one item (the caller keeps it). The result is the item's own:
  // for an event that of its last applied action.
  bool Dispatch(TokenItem& item, ViewerDocument& viewer, TokenSource& tokens, LinkMaker& document,
                BuildTarget* target, FormSubmitter* formOwner);

  // While suspended, text and anchors build nothing and only the actions
  // that resume run.
  bool Suspended() const { return (flags_ & kSuspendedFlag) != 0; }
  void SetSuspended(bool on) { flags_ = on ? (flags_ | kSuspendedFlag) : (flags_ & ~kSuspendedFlag); }
  DefinitionSet* Definitions() const { return definitions_; }

 private:
  // Bit 0: suspended (the actions that suspend and resume set it).
  static constexpr DWORD kSuspendedFlag = 1;

  bool DispatchText(TextToken& item, ViewerDocument& viewer);
  bool DispatchEvent(TokenEvent& event, ViewerDocument& viewer, TokenSource& tokens, LinkMaker& document,
                     BuildTarget* target, FormSubmitter* formOwner);
  bool DispatchAnchor(AnchorToken& item, ViewerDocument& viewer, BuildTarget* target);

  DefinitionSet* definitions_;
  DWORD flags_ = 0;
  ValueTable values_;
  std::vector<Action> actions_;
};

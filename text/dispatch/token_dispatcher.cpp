#include "text/dispatch/token_dispatcher.h"

#include <vector>

#include "core/attr_record.h"
#include "core/object_id.h"
#include "text/anchors/anchor_record.h"
#include "text/anchors/anchor_token.h"
#include "text/build/build_listener.h"
#include "text/build/viewer_document.h"
#include "text/definition_set.h"
#include "text/link_maker.h"
#include "text/style_property.h"
#include "text/token_items.h"

TokenDispatcher::~TokenDispatcher() = default;

bool TokenDispatcher::OpenDefinition(ViewerDocument& viewer, const CString& name) {
  if (!definitions_) return false;
  StyleDefinition* definition = definitions_->FindStyle(name.view());
  return definition && viewer.Elements().PushElement(definition);
}

bool TokenDispatcher::Dispatch(TokenItem& item, ViewerDocument& viewer, TokenSource& tokens, LinkMaker& document,
                               BuildTarget* target, FormSubmitter* formOwner) {
  switch (item.Kind()) {
    case kTextItem:
      return DispatchText(static_cast<TextToken&>(item), viewer);
    case kDiagnosticItem:
      return true;
    case kEventItem:
      return DispatchEvent(static_cast<TokenEvent&>(item), viewer, tokens, document, target, formOwner);
    case kAnchorItem:
      return DispatchAnchor(static_cast<AnchorToken&>(item), viewer, target);
    case kSelfItem:
      return definitions_ && item.DispatchSelf(viewer, *definitions_);
    default:
      return false;
  }
}

bool TokenDispatcher::DispatchText(TextToken& item, ViewerDocument& viewer) {
  if (Suspended()) return true;
  return viewer.Builder().AddText(item.start, item.owner, item.text.view());
}

bool TokenDispatcher::DispatchEvent(TokenEvent& event, ViewerDocument& viewer, TokenSource& tokens,
                                    LinkMaker& document, BuildTarget* target, FormSubmitter* formOwner) {
  if (!definitions_) return false;
  values_.Clear();
  // Most events (words, the spaces between them, end tags) carry no
  // attributes: their actions are the same every time.
  const std::vector<Action>* actions = nullptr;
  // The list of the last event with attributes is reused; an event
  // dispatched from within an action gets a list of its own.
  std::vector<Action> own;
  struct GiveBack {
    std::vector<Action>& list;
    std::vector<Action>& keep;
    ~GiveBack() {
      list.clear();
      if (list.capacity() > keep.capacity()) keep.swap(list);
    }
  } giveBack{own, actions_};
  if (event.subItems.isEmpty()) {
    actions = definitions_->PlainEventActions(event.name.view());
    if (!actions) return false;
  } else {
    own.swap(actions_);
    own.clear();
    if (!definitions_->ApplyEvent(event, values_, own)) return false;
    actions = &own;
  }
  PropertyInputs inputs;
  inputs.position = event.start;
  inputs.definitions = definitions_;
  inputs.dispatcherFlags = &flags_;
  inputs.source = &tokens;
  inputs.document = &document;
  inputs.formOwner = formOwner;
  inputs.link = event.linkItem;
  (void)target;  // no action depends on the load's target
  ViewerFaces faces = ViewerFaces::Of(viewer);
  return RunActions(*actions, inputs, faces);
}

bool TokenDispatcher::DispatchAnchor(AnchorToken& item, ViewerDocument& viewer, BuildTarget* target) {
  if (Suspended()) return true;
  Position at(item.start);
  const CString& text = item.record ? item.record->Text() : CString();
  switch (item.subKind) {
    case AnchorToken::kBegin:
      return viewer.Anchors().AddAnchor(at, item.record) != nullptr;
    case AnchorToken::kEnd:
      return viewer.Anchors().EndAnchor(at, item.record) != nullptr;
    case AnchorToken::kInline: {
      CString dest = AttrRecord(text).getAttribute("Dest=");
      if (!viewer.Builder().AddPicture(item.start, dest, text, 0, 0, 0)) return false;
      viewer.Builder().EndAtom(item.start);
      return true;
    }
    case AnchorToken::kBackground: {
      CString idText;
      AttrRecord(text).find("ObjectID=", idText);
      if (target) target->BackgroundPicture(ObjectId(idText).Format());
      return true;
    }
    default:
      return false;
  }
}

#include "app/commands/navigation_commands.h"

#include "app/commands/command_queue.h"
#include "app/commands/command_texts.h"
#include "app/history/nav_history.h"
#include "core/anchor.h"
#include "core/collection.h"
#include "core/logbook.h"
#include "core/object_utils.h"
#include "core/store_registry.h"
#include "net/references.h"
#include "win/user.h"

namespace {

bool IsSourceAnchor(const Ref<KXObject>& o) {
  if (!o || o->getClassCode() != kClassAnchor) return false;
  auto* anchor = dynamic_cast<Anchor*>(o.get());
  return anchor && anchor->isSourceAnchor();
}

// Follows source anchors to the object they lead to. A chain that does not
// end within the bound (anchors leading to each other) gives null.
Ref<KXObject> FollowAnchors(Ref<KXObject> target) {
  int links = 0;
  while (IsSourceAnchor(target)) {
    if (links++ == GotoCommand::kMaxAnchorChain) {
      TheLogbook().Write(CString("goto: anchors lead to each other, gave up at ") +
                         describeObject(target));
      return Ref<KXObject>();
    }
    target = followLink(target);
  }
  return target;
}

void Arrive(NavigationCommand& c, const Ref<KXObject>& object) {
  c.object = object;
  TheHistory().Push(object);
  c.executed = 1;
}

CString IdText(const Ref<KXObject>& o) { return ObjectId(o->getObjectId()).Format(); }

}  // namespace

// ---- goto, root, server root, home

BOOL GotoCommand::Execute() {
  if (executed) return TRUE;
  switch (kind) {
    case kId:
      target = id == ObjectId(0) ? Ref<KXObject>() : ObjectForId(id);
      break;
    case kObject:
      break;
    case kName:
      if (name == "korvexroot") {
        KorvexRootCommand root;
        const BOOL ok = root.Execute();
        object = root.object;
        executed = root.executed;
        return ok;
      }
      target = fetchObject(name, Ref<Store>());
      break;
    default:
      return FALSE;
  }
  target = FollowAnchors(target);
  if (target) {
    Arrive(*this, target);
    TheCommandQueue().Clear();
    return TRUE;
  }
  if (kind == kName) TheLogbook().Write(CString("goto '") + name + "' failed");
  if (kind == kId) TheLogbook().Write(CString("goto '") + id.Format() + "' failed");
  return FALSE;
}

RootCommand::RootCommand() : GotoCommand(CString(kRootCollectionName)) {}

BOOL RootCommand::IsEnabled() {
  const Ref<KXObject> current = TheHistory().Current();
  if (!current || current->getType() != "Document") return TRUE;
  const StringArray names = current->getAllValues("Name=");
  for (int i = 0; i < names.count(); ++i)
    if (names.at(i) == kRootCollectionName) return FALSE;
  return TRUE;
}

BOOL KorvexRootCommand::Execute() {
  if (executed) return TRUE;
  const Ref<KXObject> root = fetchObject(ObjectId(0).Format(), Ref<Store>());
  if (!root) return FALSE;
  Arrive(*this, root);
  return TRUE;
}

BOOL KorvexRootCommand::IsEnabled() {
  const Ref<KXObject> current = TheHistory().Current();
  return !current || current->getType() != "Document" || current->getObjectId() != 0;
}

namespace {
CString gHomeUser;
int gHomeOk = 1;
}  // namespace

BOOL HomeCommand::Execute() {
  // From a key, a script or the interpreter there may be no object yet
  // whose store names the user.
  const Ref<KXObject> current = TheHistory().Current();
  if (!current) return FALSE;
  GotoCommand home(CString("~") + current->getUserName());
  gHomeOk = home.Execute();
  return gHomeOk;
}

BOOL HomeCommand::IsEnabled() {
  const Ref<KXObject> current = TheHistory().Current();
  if (!current) return FALSE;
  const CString user = current->getUserName();
  if (user == gHomeUser) return gHomeOk;
  gHomeUser = user;
  gHomeOk = 1;
  return TRUE;
}

void HomeCommand::ResetForTests() {
  gHomeUser.Empty();
  gHomeOk = 1;
}

// ---- parents and up

ParentsCommand::ParentsCommand() : kind(kObject), target(TheHistory().Current()) {}

BOOL ParentsCommand::Execute() {
  if (executed) return TRUE;
  if (kind == kId)
    target = id == ObjectId(0) ? Ref<KXObject>() : ObjectForId(id);
  else if (kind == kName)
    target = ResolveReference(name);
  if (!target) return FALSE;
  List* parents = target->getParents(nullptr, 0);
  if (!parents) return FALSE;
  Ref<KXObject> found;
  if (parents->isEmpty()) {
    DeleteObjectList(parents);
    MessageBox(nullptr, NoParentText().Text(), kErrorCaption, MB_OK);
    return FALSE;
  }
  if (parents->count() == 1) {
    found = ObjectOf(parents->first());
    DeleteObjectList(parents);
  } else {
    const CString title = FormatText(ParentsTitle(), target->getTitle());
    found = MakeMultiCluster(AnyLanguageTitle(title), parents, 0);
  }
  if (!found) return FALSE;
  Arrive(*this, found);
  return TRUE;
}

BOOL ParentsCommand::IsEnabled() {
  const Ref<KXObject> current = TheHistory().Current();
  return current && current->getObjectId() != 0;
}

BOOL UpCommand::Execute() {
  if (executed) return TRUE;
  const Ref<KXObject> current = TheHistory().Current();
  if (!current) return FALSE;
  if (const Ref<KXObject> owner = current->getOwnerObject()) {
    Arrive(*this, owner);
    return TRUE;
  }
  ParentsCommand parents(current);
  const BOOL ok = parents.Execute();
  object = parents.object;
  executed = parents.executed;
  return ok;
}

BOOL UpCommand::IsEnabled() {
  // Up falls back to the parents, so it can run wherever they can.
  const Ref<KXObject> current = TheHistory().Current();
  return current && (!current->getParent().IsEmpty() || current->getObjectId() != 0);
}

// ---- back and forward

BOOL BackCommand::Execute() {
  if (executed) return TRUE;
  object = TheHistory().Back();
  executed = 1;
  return TRUE;
}

BOOL BackCommand::IsEnabled() { return TheHistory().CanGoBack(); }

BOOL ForwardCommand::Execute() {
  if (executed) return TRUE;
  object = TheHistory().Forward();
  executed = 1;
  return TRUE;
}

BOOL ForwardCommand::IsEnabled() { return TheHistory().CanGoForward(); }

// ---- next and previous

namespace {

// Whether the object is a collection among whose members `member` is.
bool Lists(const Ref<KXObject>& object, const Ref<KXObject>& member) {
  auto* collection = dynamic_cast<Collection*>(object.get());
  if (!collection) return false;
  List* members = collection->getChildren(nullptr, 0);
  if (!members) return false;
  for (ListElement* e = members->first(); e; e = e->next())
    if (ObjectOf(e) && ObjectOf(e)->getObjectId() == member->getObjectId()) return true;
  return false;
}

// The object the holding collection was last found for, and that
// collection. Kept on the heap: the objects must not be released after the
// object registers have gone at program end. The end of a run empties it
// (ForgetHoldingCollection); else the last objects shown, and through them
// their store, would live on into the next run.
Ref<KXObject>* HoldingMemo() {
  static auto* memo = new Ref<KXObject>[2];
  return memo;
}

// The collection that holds the current object: the one its parent field
// names; else the collection the user came through (the one that held the
// object shown before, as after a step to the next member, or the object
// shown before itself); else its first parent. Kept for the current object,
// since the tool bar asks again on every idle call.
Ref<KXObject> HoldingCollection(const Ref<KXObject>& current) {
  Ref<KXObject>& memoFor = HoldingMemo()[0];
  Ref<KXObject>& memoOwner = HoldingMemo()[1];
  if (memoFor == current) return memoOwner;
  Ref<KXObject> owner = current->getOwnerObject();
  if (!owner && memoOwner && Lists(memoOwner, current)) owner = memoOwner;
  if (!owner) {
    const Ref<KXObject> before = TheHistory().At(-2);
    if (before && Lists(before, current)) owner = before;
  }
  if (!owner && current->getObjectId() != 0) {
    if (List* parents = current->getParents(nullptr, 0)) {
      if (!parents->isEmpty()) owner = ObjectOf(parents->first());
      DeleteObjectList(parents);
    }
  }
  memoFor = current;
  memoOwner = owner;
  return owner;
}

// The member list of the collection that holds the current object, sorted;
// null when there are fewer than two members.
List* SiblingsOfCurrent(Ref<KXObject>& current) {
  current = TheHistory().Current();
  if (!current) return nullptr;
  const Ref<KXObject> owner = HoldingCollection(current);
  auto* collection = dynamic_cast<Collection*>(owner.get());
  if (!collection) return nullptr;
  List* members = collection->getChildren(nullptr, 0);
  if (!members || members->count() < 2) return nullptr;
  members->sort();
  return members;
}

Ref<KXObject> Sibling(bool next) {
  Ref<KXObject> current;
  List* members = SiblingsOfCurrent(current);
  if (!members) return Ref<KXObject>();
  const CString id = IdText(current);
  for (ListElement* e = members->first(); e; e = e->next()) {
    KXObject* m = ObjectOf(e);
    if (!m || IdText(Ref<KXObject>(m)) != id) continue;
    ListElement* other = next ? e->next() : e->previous();
    return Ref<KXObject>(other ? ObjectOf(other) : nullptr);
  }
  return next ? Ref<KXObject>() : Ref<KXObject>(ObjectOf(members->last()));
}

}  // namespace

Ref<KXObject> NextMember() { return Sibling(true); }
Ref<KXObject> PreviousMember() { return Sibling(false); }

void ForgetHoldingCollection() {
  HoldingMemo()[0] = nullptr;
  HoldingMemo()[1] = nullptr;
}

BOOL NextCommand::Execute() {
  GotoCommand go(NextMember());
  executed = 1;
  const BOOL ok = go.Execute();
  object = go.object;
  return ok;
}

BOOL NextCommand::IsEnabled() { return NextMember() ? TRUE : FALSE; }

BOOL PrevCommand::Execute() {
  GotoCommand go(PreviousMember());
  executed = 1;
  const BOOL ok = go.Execute();
  object = go.object;
  return ok;
}

BOOL PrevCommand::IsEnabled() { return PreviousMember() ? TRUE : FALSE; }

// ---- history

BOOL HistoryCommand::Execute() {
  NavHistory& history = TheHistory();
  List* list = NewObjectList();
  if (!list) return FALSE;
  int n = 0;
  for (int i = history.ForwardCount(); i >= 1 && n < limit; --i, ++n) {
    const Ref<KXObject> entry = history.At(i);
    if (!entry) break;
    AppendObject(*list, entry);
  }
  // The entries before the current one, down to the oldest (-1 is the
  // current object itself).
  for (int j = 2; j <= history.BackCount() + 1 && n < limit; ++j, ++n) {
    const Ref<KXObject> entry = history.At(-j);
    if (!entry) break;
    AppendObject(*list, entry);
  }
  const Ref<KXObject> cluster = MakeMultiCluster(HistoryTitle().TitleAttributes(), list, 0);
  if (!cluster) return FALSE;
  Arrive(*this, cluster);
  return TRUE;
}

BOOL HistoryCommand::IsEnabled() { return TheHistory().CanGoBack(); }

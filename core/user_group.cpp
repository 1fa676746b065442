// Users and groups: parsing their lists and asking the store for groups and
// group members.
#include "core/user_group.h"

#include "core/attr_record.h"
#include "core/sort_order.h"
#include "core/store.h"

namespace {

// Every hit of an opened request into `list` (a new one when null), then the
// handle given back. The first call asks for all announced hits at once; a
// store that hands out fewer is asked again, until it has handed out all or
// hands out nothing more.
List* TakeAllHits(Store& store, StoreEntry* handle, List* list) {
  const std::int32_t announced = handle->announcedSize;
  while (handle->delivered < announced) {
    const std::int32_t before = handle->delivered;
    List* got = store.getResults(handle, announced - handle->delivered, list);
    if (!got) break;  // a lost connection: keep what has come
    list = got;
    if (handle->delivered <= before) break;
  }
  store.closeRequest(handle);
  return list;
}

// The groups named in `names`: request kind 8 per name, in sorted order,
// into one list. Names the store knows nothing about are skipped.
List* GroupsNamed(KXObject& object, const SortedStringArray& names) {
  if (names.count() == 0) return nullptr;
  List* list = NewObjectList();
  const Ref<Store> store = object.getStore();
  if (!store) return list;
  const Ref<KXObject> self(&object);
  for (int i = 0; i < names.count(); ++i) {
    StoreEntry* handle = store->openRequest(self, kRequestGroupsNamed, nullptr, names.at(i));
    if (handle) list = TakeAllHits(*store, handle, list);
  }
  SortMembers(*list);
  return list;
}

}  // namespace

// --- User ---

User::User(const CString& recordText) : KXObject(recordText, Ref<Store>()) {
  classCode = kClassUser;
  if (getType() == kxuser::kUserType) User::parseAttributes(recordText);
}

User::~User() = default;

// As the base, except that the flags stay as they were and that without a
// fetch an unparsed object with kRefreshNoFetch stays unparsed.
bool User::refresh() {
  CString answer;
  if (const std::optional<bool> done = refreshKeepingFlags(answer)) return *done;
  KXObject::parseAttributes(answer);
  return parseAttributes(answer);
}

CString User::getType() { return getAttribute(kxuser::kTTypeKey); }

CString User::getAttributeNames() {
  return KXObject::getAttributeNames() + "Home\nDescr\nGroup\nHost\nPasswd\n";
}

bool User::parseAttributes(const CString& recordText) {
  const AttrRecord attrs(recordText);
  groups.RemoveAll();
  attrs.findAll(kxuser::kGroupKey, groups);
  passwords.RemoveAll();
  attrs.findAll(kxuser::kPasswdKey, passwords);
  hosts.RemoveAll();
  attrs.findAll(kxuser::kHostKey, hosts);
  return true;
}

List* User::getGroups() {
  if (!parsed) refresh();
  return GroupsNamed(*this, groups);
}

// --- Group ---

Group::Group(const CString& recordText) : KXObject(recordText, Ref<Store>()) {
  classCode = kClassGroup;
  if (getType() == kxuser::kGroupType) Group::parseAttributes(recordText);
}

Group::~Group() = default;

bool Group::refresh() {
  CString answer;
  if (const std::optional<bool> done = refreshKeepingFlags(answer)) return *done;
  KXObject::parseAttributes(answer);
  return parseAttributes(answer);
}

CString Group::getType() { return getAttribute(kxuser::kTTypeKey); }

CString Group::getAttributeNames() { return KXObject::getAttributeNames() + "Descr\nGroup\n"; }

bool Group::parseAttributes(const CString& recordText) {
  const AttrRecord attrs(recordText);
  groups.RemoveAll();
  attrs.findAll(kxuser::kGroupKey, groups);
  return true;
}

List* Group::getGroups() {
  if (!parsed) refresh();
  return GroupsNamed(*this, groups);
}

List* Group::getGroupMembers() {
  if (!parsed) refresh();
  if (!store) return nullptr;
  const Ref<KXObject> keep = self();
  const Ref<Store> own = store;
  StoreEntry* handle = own->openRequest(keep, kRequestGroupMembers, nullptr,
                                        getAttribute(kxuser::kUGroupKey));
  if (!handle) return nullptr;
  List* list = TakeAllHits(*own, handle, nullptr);
  // An opened request answers with a list, empty when nothing came.
  if (!list) list = NewObjectList();
  SortMembers(*list);
  return list;
}

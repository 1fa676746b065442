#include "pages/style/property_struct.h"

#include "pages/style/property_log.h"
#include "pages/style/property_table.h"

PropertyStruct::~PropertyStruct() {
  clear();
  // Whoever linked to this struct as a type or an enumeration loses the
  // link now rather than keeping a pointer into freed memory.
  for (StructLink* link : linkedFrom_) link->target_ = nullptr;
  linkedFrom_.clear();
}

Property* PropertyStruct::MemberAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return members_[static_cast<std::size_t>(index)];
}

Property* PropertyStruct::MemberById(int id) const {
  if (id == kNoName) return nullptr;
  for (Property* m : members_)
    if (m && m->nameId == id) return m;
  return nullptr;
}

Property* PropertyStruct::MemberByName(const char* name) const {
  return MemberById(PropertyNameId(name));
}

Property* PropertyStruct::LookupInherited(int id) const {
  if (id == kNoName) return nullptr;
  Property* found = nullptr;
  WalkChain([&](const PropertyStruct* s) {
    found = s->MemberById(id);
    return found != nullptr;
  });
  return found;
}

Property* PropertyStruct::FindById(int id, bool recursive) {
  if (id == kNoName) return nullptr;
  if (nameId == id) return this;
  if (Property* m = MemberById(id)) return m;
  if (!recursive) return nullptr;
  for (Property* m : members_)
    if (m)
      if (Property* hit = m->FindById(id, true)) return hit;
  return nullptr;
}

void PropertyStruct::SetMember(int id, Property* entry) {
  if (!entry) return;
  for (Property*& slot : members_) {
    if (slot && slot->nameId == id && id != kNoName) {
      if (slot != entry) delete slot;
      slot = entry;
      entry->nameId = id;
      return;
    }
  }
  bool stored = false;
  for (Property*& slot : members_)
    if (!slot) {
      slot = entry;
      stored = true;
      break;
    }
  if (!stored) members_.push_back(entry);
  entry->nameId = id;
}

void PropertyStruct::SetMember(const char* name, Property* entry) {
  SetMember(PropertyNameId(name), entry);
}

Property* PropertyStruct::ReleaseMember(Property* member) {
  for (auto it = members_.begin(); it != members_.end(); ++it)
    if (*it == member && member) {
      members_.erase(it);
      return member;
    }
  return nullptr;
}

PropertyStruct* PropertyStruct::GetType() const {
  PropertyStruct* type = typeLink_.Get();
  if (!type && typeByName_ && typeId != kNoName) {
    Property* named = StyleTable().MemberById(typeId);
    if (named && named->IsStruct()) type = static_cast<PropertyStruct*>(named);
  }
  return type == this ? nullptr : type;
}

PropertyStruct* PropertyStruct::Instantiate() const {
  auto* instance = new PropertyStruct;
  instance->typeId = nameId;
  // Only the table's own top-level entry of that name is kept by name, so
  // that instances follow its redefinition; any other struct (a member, an
  // object's own style) is linked directly.
  if (nameId == kNoName || StyleTable().MemberById(nameId) != this)
    instance->SetTypeLink(const_cast<PropertyStruct*>(this));
  else
    instance->typeByName_ = true;
  return instance;
}

void PropertyStruct::clear() {
  // Taken out first: deleting a member may clear links into this struct.
  std::vector<Property*> old;
  old.swap(members_);
  for (Property* m : old) delete m;
}

void PropertyStruct::Print() const {
  CString head;
  head.Format("%sstruct %s", ConstPrefix(), nameId == kNoName ? "?" : GetName().c_str());
  if (const PropertyStruct* type = GetType()) {
    head += " : ";
    head += type->GetName();
    head += " = {";
  }
  LogPropertyLine("%s", head.c_str());
  for (const Property* m : members_)
    if (m) m->Print();
  LogPropertyLine("}");
}

void PropertyEnum::Print() const {
  CString line = GetName() + " = (";
  for (int i = 0; i < Count(); ++i) {
    if (i) line += ", ";
    line += MemberAt(i)->GetName();
  }
  line += ")";
  LogPropertyLine("%s", line.c_str());
}

const Property* PropertyEnum::Value(const char* name) const { return MemberByName(name); }

// Structs of the style table: named members in declaration order and a type
// (a base struct) whose members they inherit. A struct owns its members. The
// type is kept either by name, looked up in the style table at each use so
// that it follows a redefinition or a reload, or, for a struct that is no
// top-level entry, as a link that is cleared when that struct goes away.
#pragma once

#include <memory>
#include <vector>

#include "pages/style/property.h"

class PropertyStruct : public Property {
 public:
  PropertyStruct() : Property(kPropertyStruct) {}
  ~PropertyStruct() override;

  void Print() const override;
  // Itself when its own name id is `id`, else the first member of that name,
  // else (recursive) the first hit in the members' subtrees, in order.
  Property* FindById(int id, bool recursive) override;

  int Count() const { return static_cast<int>(members_.size()); }
  Property* MemberAt(int index) const;
  Property* MemberById(int id) const;
  Property* MemberByName(const char* name) const;
  // The member of that name, own or inherited along the chain of types.
  Property* LookupInherited(int id) const;
  // Stores the entry under the name id (replacing and deleting a member of
  // that name in its slot); takes ownership. A null entry is ignored.
  void SetMember(int id, Property* entry);
  void SetMember(const char* name, Property* entry);
  // Takes the member out without deleting it; null when absent.
  Property* ReleaseMember(Property* member);

  // The type: the linked struct, else the struct the table holds under
  // typeId; null when there is none or it would be the struct itself.
  PropertyStruct* GetType() const;
  void SetTypeLink(PropertyStruct* type) { typeLink_.Set(type); }
  PropertyStruct* TypeLink() const { return typeLink_.Get(); }
  // Keeps `base` (this struct's linked type) alive as long as this struct:
  // a style derived from a struct that would otherwise be deleted.
  void AdoptBase(PropertyStruct* base) { ownedBase_.reset(base); }
  // The type is the table's top-level struct named typeId.
  void SetTypeByName(int id) {
    typeId = id;
    typeByName_ = true;
  }
  // The entry a dotted path names ("font.size"), starting here: each name
  // is looked up among the members and then along the chain of types; null
  // when there is none (syntax errors go to the logbook).
  Property* StyleQuery(const char* path) const;
  // A new empty struct whose type is this struct (caller owns it).
  PropertyStruct* Instantiate() const;

  // Deletes every member.
  void clear();

  // The struct and then its types, in order, each once: a chain that comes
  // back to a struct already met (a type redefined in terms of itself) ends
  // there. `visit` returns true to stop; the struct it stopped at is
  // returned, else null.
  template <class Visit>
  const PropertyStruct* WalkChain(Visit visit) const;

  std::int32_t typeId = kNoName;

 protected:
  explicit PropertyStruct(PropertyKind kind) : Property(kind) {}

 private:
  friend class StructLink;
  std::vector<Property*> members_;
  StructLink typeLink_;
  bool typeByName_ = false;
  // The links that point here; cleared when this struct is deleted.
  std::vector<StructLink*> linkedFrom_;
  std::unique_ptr<PropertyStruct> ownedBase_;
};

// An enumeration type: its values are its members, in declaration order.
class PropertyEnum : public PropertyStruct {
 public:
  PropertyEnum() : PropertyStruct(kPropertyEnum) {}
  void Print() const override;
  // The value of that name, or null.
  const Property* Value(const char* name) const;
};

// Brent's cycle detection: the walk stops at the first struct seen again,
// after every struct of the chain has been visited at least once.
template <class Visit>
const PropertyStruct* PropertyStruct::WalkChain(Visit visit) const {
  const PropertyStruct* hare = this;
  const PropertyStruct* tortoise = this;
  long power = 1, steps = 0;
  for (;;) {
    if (visit(hare)) return hare;
    const PropertyStruct* next = hare->GetType();
    if (!next) return nullptr;
    if (++steps == power) {
      tortoise = hare;
      power *= 2;
      steps = 0;
    }
    hare = next;
    if (hare == tortoise) return nullptr;
  }
}

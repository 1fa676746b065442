// KXObject: the global groups of marked objects, one group per store kind.
#include "core/kx_object.h"
#include "core/store_registry.h"

namespace {

// A group takes the object when it is empty, when its first entry holds no
// object, or when the first object's store has the same scheme.
bool GroupTakes(MarkedGroup& group, const CString& scheme) {
  KXObject* first = ObjectOf(group.members.first());
  if (!first) return true;
  const Ref<Store>& s = first->getStore();
  return s && s->getScheme() == scheme;
}

}  // namespace

void KXObject::setMarked(bool on) {
  if (!store) return;
  List& groups = MarkedObjectGroups();
  const CString scheme = store->getScheme();

  MarkedGroup* group = nullptr;
  for (ListElement* e = groups.first(); e && !group; e = e->next()) {
    auto* candidate = static_cast<MarkedGroup*>(e);
    if (GroupTakes(*candidate, scheme)) group = candidate;
  }
  if (!group) {
    group = new MarkedGroup;
    groups.append(group);
  }

  SortableMember* found = FindMember(group->members, getIdentifier());
  if (found) marked = true;
  if (on && !found) {
    group->members.append(new MemberEntry(self()));
    marked = true;
  } else if (!on && found) {
    // The entry may hold the last handle to this object.
    const Ref<KXObject> keep = self();
    group->members.unlink(found);
    delete found;
    if (group->members.isEmpty()) {
      groups.unlink(group);
      delete group;
    }
    marked = false;
  }
}

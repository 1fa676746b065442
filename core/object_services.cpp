#include "core/object_services.h"

#include "core/anchor.h"
#include "core/cluster.h"
#include "core/collection.h"
#include "core/document.h"

Ref<KXObject> ObjectClassServices::anchorDestination(KXObject& anchor) {
  auto* a = dynamic_cast<Anchor*>(&anchor);
  return a ? a->getDestObject() : Ref<KXObject>();
}

const List* ObjectClassServices::destinationAnchors(KXObject& document) {
  auto* d = dynamic_cast<Document*>(&document);
  return d ? d->getDestAnchors() : nullptr;
}

const List* ObjectClassServices::collectionChildren(KXObject& collection) {
  auto* c = dynamic_cast<Collection*>(&collection);
  return c ? c->getChildren(nullptr, 0) : nullptr;
}

void ObjectClassServices::clusterMembers(KXObject& cluster, List& out) {
  if (auto* c = dynamic_cast<Cluster*>(&cluster)) c->collectVisibleMembers(out, true);
}

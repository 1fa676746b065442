// What the object utilities (core/object_utils.h) need of the classes built
// on KXObject: an anchor's destination, a document's destination anchors, a
// collection's children and a cluster's visible members.
//
// Turning a reference into an object and building a temporary collection
// belong to the reference layer, which sits above this module: it derives
// from ObjectClassServices, supplies those two, and installs the result
// with SetObjectUtilityServices.
#pragma once

#include "core/object_utils.h"

class ObjectClassServices : public ObjectUtilityServices {
 public:
  // Anchor::getDestObject; null for an object that is no anchor.
  Ref<KXObject> anchorDestination(KXObject& anchor) override;
  // Document::getDestAnchors; null for an object that is no document.
  const List* destinationAnchors(KXObject& document) override;
  // Collection::getChildren; null for an object that is no collection.
  const List* collectionChildren(KXObject& collection) override;
  // Cluster::collectVisibleMembers, recursive; nothing for an object that
  // is no cluster.
  void clusterMembers(KXObject& cluster, List& out) override;
};

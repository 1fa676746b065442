// Clusters: collections whose members belong together and are shown
// together, typically the same content in several languages or media. When
// a cluster is presented, only one member per document type is shown: the
// one whose title is in the language the user prefers most; the others are
// kept as its language alternatives.
#pragma once

#include <cstdint>

#include "core/collection.h"
#include "core/list.h"
#include "mfc/cstring.h"

class Cluster : public Collection {
 public:
  // As Collection; a record whose "CollectionType=" is not "Cluster" is a
  // broken invariant of the object factory: the fatal box "Fatal Error:
  // Cluster with CollectionType=<type>" ends the program.
  Cluster(const CString& record, List* initialMembers);

  // --- Replaced virtual operations ---
  ~Cluster() override;
  // Before the collection's invalidation: when the flags in force had
  // kRefreshAll or kRefreshContent, every member is invalidated with those
  // flags and the members are dropped.
  void invalidate(std::uint32_t flags) override;

  // --- Added after the collection's operations ---
  // Places the members to show into `out` (MemberEntry elements): those
  // with other than one title as they are, and of those with one title one
  // per document type, the best by the user's language order; text
  // documents go to the front. With `recursive`, a member cluster is
  // expanded in place; a cluster already being expanded (one that contains
  // itself, directly or through others) is not expanded again. False, with
  // `out` untouched, when the cluster has no members or is being expanded
  // already.
  virtual bool collectVisibleMembers(List& out, bool recursive);

 private:
  bool expanding_ = false;
};

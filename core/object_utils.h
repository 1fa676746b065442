// Free functions over object handles shared by the page presentation, the
// navigation and the page rules: following a link to the object it stands
// for, type names by class code, counting a collection's members by type,
// an object's "korvex:" address, a one-line description for the logbook,
// the head document of a collection, the two helpers that let a long
// operation be broken or waited for, and marking every cached object for a
// fresh fetch.
#pragma once

#include <vector>

#include "core/kx_object.h"
#include "core/objref.h"
#include "mfc/cstring.h"
#include "win/types.h"

// What the utilities need of the classes built on KXObject (anchors,
// documents, collections, clusters) and of the reference layer. Those
// modules sit above this one; one of them installs an implementation. Until
// then the operations below find no destination, no anchors and no members.
class ObjectUtilityServices {
 public:
  virtual ~ObjectUtilityServices();
  // The destination object of an anchor (its getDestObject); null when it
  // cannot be resolved.
  virtual Ref<KXObject> anchorDestination(KXObject& anchor) = 0;
  // The object a reference (an address or an id text) names; null when
  // none.
  virtual Ref<KXObject> resolveReference(const CString& name) = 0;
  // A document's destination anchors (MemberEntry list owned by the
  // document); null when it has none or is no document.
  virtual const List* destinationAnchors(KXObject& document) = 0;
  // A collection's children: its member list (owned by the collection),
  // loaded on first use; null when it has none.
  virtual const List* collectionChildren(KXObject& collection) = 0;
  // A cluster's member list as its visible-members operation gives it
  // (recursive), appended to `out` as MemberEntry elements.
  virtual void clusterMembers(KXObject& cluster, List& out) = 0;
  // A new temporary collection with the title, holding the members in
  // order.
  virtual Ref<KXObject> makeMultiCluster(const CString& title, const List& members) = 0;
};
// Installs the services (null removes them); returns the previous ones. The
// caller keeps ownership.
ObjectUtilityServices* SetObjectUtilityServices(ObjectUtilityServices* services);
ObjectUtilityServices* GetObjectUtilityServices();

// The "Type=" value is "Document"; false for a null handle.
bool isDocument(const Ref<KXObject>& h);
// The object `h` stands for: an anchor's destination, anything else itself.
Ref<KXObject> followLink(const Ref<KXObject>& h);
// The class code of followLink(h); 0 when that is null.
int linkTargetClass(const Ref<KXObject>& h);
// The type name of a class code; "unknown" for codes without one.
const char* objectTypeName(int code);

// Counts of objects per class code for one collection.
class TypeCount {
 public:
  // The array grows by this many pairs at a time.
  static constexpr int kGrowth = 5;

  TypeCount() = default;
  ~TypeCount() = default;
  TypeCount(const TypeCount&) = delete;
  TypeCount& operator=(const TypeCount&) = delete;

  // Frees the pairs; every count 0; the handle let go.
  void clear();
  void add(int code);
  // Counts the members of what `h` stands for: a cluster's members and a
  // MultiCluster collection's children by the class of what each stands
  // for; anything else counts its own class once.
  void countMembers(const Ref<KXObject>& h);
  int count(int code) const;  // 0 when absent
  int total() const { return total_; }
  int pairCount() const { return static_cast<int>(pairs_.size()); }
  int capacity() const { return static_cast<int>(pairs_.capacity()); }
  const Ref<KXObject>& object() const { return object_; }

 private:
  struct Pair {
    int code;
    int count;
  };
  Ref<KXObject> object_;
  std::vector<Pair> pairs_;
  int total_ = 0;
};

// The object's address: its identifier when that is one already, else
// "korvex:" + its "GOid=" value; "" for a null handle.
CString objectUrl(const Ref<KXObject>& h);
// One line for the logbook: address, type, names, presentation hints, title.
CString describeObject(const Ref<KXObject>& h);

// The collection-head marks of a document's "PresentationHints=" value.
bool isHidden(const Ref<KXObject>& h);
bool isFullCollectionHead(const Ref<KXObject>& h);
bool isCollectionHead(const Ref<KXObject>& h);

// 1 for a collection (class code 5 exactly) of the type "MultiCluster",
// else 0. An unknown type is written to the logbook.
int collectionKind(const Ref<KXObject>& h);
// The document to show for a collection: its first child that is a full
// collection head, or, for a collection head, a new temporary collection
// of that child and the collection; null when no child is a head.
Ref<KXObject> collectionHeadList(const Ref<KXObject>& h);

// Breaks the running request, whatever kind it is: when the long-operation
// flag is set and the main frame has a progress reporter, sets both the
// user-break flag (network waits poll it) and the cancel byte (searches
// poll it).
void stepBusyProgress();

// How long waitWhileBusy waits at most, and how many waiting window
// messages it handles per round.
inline constexpr DWORD kBusyWaitMs = 30000;
inline constexpr int kBusyWaitMessages = 10;
// Waits while the long-operation flag is set, at most kBusyWaitMs by the
// clock (GetTickCount when null), handling waiting window messages. Stops
// early when the quit message has been seen.
using TickSource = DWORD (*)();
void waitWhileBusy(TickSource clock = nullptr);

// invalidate(13) (members, anchors, attributes) on every cached object.
void invalidateAllObjects();

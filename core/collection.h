// Collections: documents of the document type "collection" whose members
// are other objects, fetched from the store on demand and kept until an
// invalidation drops them. Pseudo collections (lists of parents, history
// entries or search results) are collections without a store that their
// creator fills with a ready member list.
#pragma once

#include <cstdint>
#include <memory>

#include "core/document.h"
#include "core/kx_object.h"
#include "core/list.h"
#include "mfc/cstring.h"

namespace kxcoll {
inline constexpr const char* kDocumentTypeKey = "DocumentType=";
inline constexpr const char* kCollectionTypeKey = "CollectionType=";
inline constexpr const char* kPresentationHintsKey = "PresentationHints=";
inline constexpr const char* kCollectionDocType = "collection";
inline constexpr const char* kRemoteDocType = "Remote";
inline constexpr const char* kTextDocType = "text";
inline constexpr const char* kDocumentTypeName = "Document";
inline constexpr const char* kClusterType = "Cluster";
inline constexpr const char* kHiddenHint = "Hidden";
// memberCount before the first question, and when no count can be had.
inline constexpr std::int32_t kCountNotAsked = -3;
inline constexpr std::int32_t kCountUnavailable = -2;
}  // namespace kxcoll

// What the local database adds after the operations of Store: a count it
// computes for one of its collections. A local store that offers it is
// asked by Collection::getMemberCount.
class CollectionCounter {
 public:
  virtual ~CollectionCounter();
  virtual std::int32_t collectionCount(const Ref<KXObject>& collection) = 0;
};

// Deletes a member list with its entries.
struct MemberListDeleter {
  void operator()(List* list) const { DeleteObjectList(list); }
};
using OwnedMemberList = std::unique_ptr<List, MemberListDeleter>;

class Collection : public Document {
 public:
  // Takes ownership of `initialMembers` (null allowed). A record whose
  // "DocumentType=" is neither "collection" nor "Remote" is a broken
  // invariant of the object factory: the fatal box "Fatal Error: Collection
  // with DocumentType=<type>" ends the program.
  Collection(const CString& record, List* initialMembers);

  // --- Replaced virtual operations, in slot order ---
  ~Collection() override;
  // Fetches the record when the flags ask for it (the document's own parse
  // is not repeated), then reloads the members when they were asked for
  // before and the flags ask for it. The flags are left as they are.
  bool refresh() override;
  CString getAttributeNames() override;
  // The document's invalidation; the member count is forgotten; with
  // kRefreshAll, kRefreshNoFetch or kRefreshMembers the members are
  // invalidated for a fresh record and dropped.
  void invalidate(std::uint32_t flags) override;
  // The collections that hold this one (request kind 3).
  List* getParents(List* list, std::int32_t unused) override;
  // The members (request kind 2): asked of every open store for a server
  // collection or a new one, else of the own store. Marks the collection
  // visited.
  List* getMembers(List* list, std::int32_t unused) override;
  bool removeFromStore() override;
  // Only the parent is used: the own store inserts the collection below
  // it; a local collection then refreshes itself.
  bool insertInto(const Ref<KXObject>& parent, const CString& fileName, const char* data,
                  std::int32_t length) override;
  // As an anchor's: the store is chooseStore(to's, from's).
  bool moveBetween(const Ref<KXObject>& from, const Ref<KXObject>& to) override;
  // The parent's store when that is the local store, else the own.
  bool attachTo(const Ref<KXObject>& parent) override;
  bool detachFrom(const Ref<KXObject>& parent) override;
  // For a collection of the local store, the local database's count, kept
  // until the next invalidation; -2 when none can be had.
  std::int32_t getMemberCount() override;
  // A collection keeps no parsed field of its own.
  bool parseAttributes(const CString& recordText) override;

  // --- Added after the document's operations ---
  // Drops the member list; the next getChildren asks the store again.
  virtual void clearMembers();

  // --- Non-virtual operations ---
  // The member list, loaded on first use (owned by the collection; null
  // when the store gave none). When the members must be loaded, `list`
  // (null for a new one) is filled and becomes the collection's.
  using KXObject::getChildren;
  List* getChildren(List* list, std::int32_t unused);
  CString getCollectionType() const;
  bool membersWereLoaded() const { return membersLoaded; }
  const List* memberList() const { return members.get(); }

 protected:
  // Invalidates every member with `memberFlags` and drops the list. The
  // list leaves the collection first, so that a member that holds this
  // collection (directly or through others) finds no list to walk again.
  void dropMembers(std::uint32_t memberFlags);

  OwnedMemberList members;
  bool membersLoaded = false;
  std::int32_t memberCount = kxcoll::kCountNotAsked;
};

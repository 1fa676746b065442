// Server objects: every object a store delivers is held as a KXObject or one
// of its subclasses (anchors, users and groups, documents and their kinds,
// collections and clusters). The object keeps its attribute record as the
// source of truth, parses a few keys into fields, answers other questions
// from the record, and forwards every change and every question about
// related objects to the store it came from.
//
// Objects are reference counted and always held through Ref. A new object
// has a count of 0: its creator puts it into a Ref before any operation that
// hands `this` to a store runs (those operations pass a temporary handle to
// the object, which would otherwise delete it on release).
//
// The virtual operations are declared in their fixed slot order; the
// subclasses override them by that order.
#pragma once

#include <cstdint>
#include <optional>

#include "core/list.h"
#include "core/objref.h"
#include "core/sort_order.h"
#include "core/store.h"
#include "core/string_array.h"
#include "core/user_break.h"
#include "mfc/cstring.h"

// Class codes (the type names by code are objectTypeName's, object_utils.h).
enum KXClassCode : std::int32_t {
  kClassObject = 0,
  kClassAnchor = 1,
  kClassUser = 2,
  kClassGroup = 3,
  kClassDocument = 4,
  kClassCollection = 5,
  kClassCluster = 6,
  kClassText = 7,
  kClassPIC = 8,
  kClassImage = 9,
  kClassSound = 10,
  kClassMovie = 11,
  kClassPostScript = 12,
  kClassScene = 13,
  kClassGeneric = 14,
  kClassRemote = 15,
  kClassTelnetSession = 27,
  kClassCGI = 29,
  kClassSQL = 30
};

// Bits of the refresh flags: why and whether the record must be fetched
// again.
inline constexpr std::uint32_t kRefreshAll = 0x80000000u;      // new object: everything
inline constexpr std::uint32_t kRefreshMembers = 0x1u;         // a collection's members
inline constexpr std::uint32_t kRefreshContent = 0x2u;         // a document's content
inline constexpr std::uint32_t kRefreshAnchors = 0x4u;         // a document's anchors
inline constexpr std::uint32_t kRefreshAttributes = 0x8u;      // fetch the record
inline constexpr std::uint32_t kRefreshNoFetch = 0x10u;        // not parsed, do not fetch

// Constants of the object model shared with the page presentation and the
// anchor, document and collection classes.
namespace kxobj {
inline constexpr const char* kMagic = "magic";
inline constexpr const char* kAnonymous = "anonymous";
inline constexpr const char* kAnnotation = "ANNOTATION";
// Keys (with their "=").
inline constexpr const char* kObjectIDKey = "ObjectID=";
inline constexpr const char* kScoreKey = "Score=";
inline constexpr const char* kKeywordKey = "Keyword=";
inline constexpr const char* kUserAttrKey = "UserAttr=";
inline constexpr const char* kTitleKey = "Title=";
inline constexpr const char* kGOidKey = "GOid=";
inline constexpr const char* kTypeKey = "Type=";
inline constexpr const char* kAuthorKey = "Author=";
inline constexpr const char* kRightsKey = "Rights=";
inline constexpr const char* kTimeCreatedKey = "TimeCreated=";
inline constexpr const char* kTimeExpireKey = "TimeExpire=";
inline constexpr const char* kTimeOpenKey = "TimeOpen=";
inline constexpr const char* kParentKey = "Parent=";
inline constexpr const char* kSequenceKey = "Sequence=";
inline constexpr const char* kLayoutKey = "Layout=";
inline constexpr const char* kPCBIBTypeKey = "PCBIBType=";
// Anchor keys.
inline constexpr const char* kDestKey = "Dest=";
inline constexpr const char* kGDestKey = "GDest=";
inline constexpr const char* kSrcKey = "Src=";
inline constexpr const char* kLinkTypeKey = "LinkType=";
inline constexpr const char* kStateKey = "State=";
inline constexpr const char* kFragmentKey = "Fragment=";
}  // namespace kxobj

class KXObject;

// An element of a list of objects (members, results, parents, marked
// objects): one handle to an object. Sorted and searched by the program's
// sort order (core/sort_order.h: SortMembers, FindMember).
class MemberEntry : public SortableMember {
 public:
  explicit MemberEntry(const Ref<KXObject>& object);
  ~MemberEntry() override;
  SortableObject* sortObject() const override;

  Ref<KXObject> object;

 private:
  // Reads the sort-key attributes of `object`; follows the handle.
  class SortView : public SortableObject {
   public:
    explicit SortView(const MemberEntry& entry) : entry_(entry) {}
    CString sortAttribute(const char* key) override;
    CString sortIdentifier() override;
    CString sortTitle() override;
    CString sortType() override;
    CString sortScore() override;
    int sortClassCode() override;

   private:
    const MemberEntry& entry_;
  };
  mutable SortView view_{*this};
};

// Helpers for lists of MemberEntry elements (the caller owns the list).
List* NewObjectList();
// Appends a new entry for the object; false when memory failed.
bool AppendObject(List& list, const Ref<KXObject>& object);
// The object of a MemberEntry element; null for other elements or an empty
// entry.
KXObject* ObjectOf(const ListElement* element);
// Deletes every element and the list itself (null is allowed).
void DeleteObjectList(List* list);

// A list element that holds one text: the identifiers of a cluster member's
// language alternatives (setNameList).
class NameElement : public ListElement {
 public:
  explicit NameElement(const CString& text) : text(text) {}
  CString text;
};

class KXObject : public ObjRef {
 public:
  // The fields empty, `created` the current time, the store attached, the
  // refresh flags kRefreshAll; then this class's parse (not a subclass's:
  // each subclass constructor runs its own afterwards).
  KXObject(const CString& record, const Ref<Store>& store);
  KXObject(const KXObject&) = delete;
  KXObject& operator=(const KXObject&) = delete;

  // --- Virtual operations, in slot order ---
  ~KXObject() override;
  // Fetches the record again when the refresh flags ask for it.
  virtual bool refresh();
  // Unlinks the child and deletes it.
  virtual void removeChild(ListElement* child);
  // The child elements (content listeners); owned by the object.
  virtual List* getChildren();
  // The "Type=" value.
  virtual CString getType();
  // The title in the preferred language, entity references decoded.
  virtual CString getTitle();
  // The name under which the store knows the object: the ObjectID text; ""
  // without a store.
  virtual CString getIdentifier();
  // The record, refreshed first when not parsed.
  virtual CString getRecord();
  // The keys an editor offers for this class, one per line.
  virtual CString getAttributeNames();
  virtual bool isMarked();
  virtual void setMarked(bool on);
  virtual bool isVisited();
  virtual void setVisited();
  virtual bool isParsed();
  // Not parsed; the next access refreshes according to the flags.
  virtual void invalidate(std::uint32_t flags);
  // True when a link of type "ANNOTATION" leads to this object.
  virtual bool hasAnnotation();
  virtual void setRequestText(const CString& text);
  virtual bool loadContent(int mode, const CString& fileName, const CString& commandTemplate,
                           const CString& requestText);
  virtual bool storeContentFromMemory(const char* data, std::int32_t length);
  // No class gives this content operation a behaviour: it answers false and
  // keeps its place in the operation order.
  virtual bool reservedContentOperation(const CString& first, const CString& second,
                                        std::int32_t value);
  // The related-object queries: each appends to `list` (a new list when it
  // is null) and returns the list, which the caller owns; null when nothing
  // was asked or fetched and no list was given. `unused` is read by no
  // class.
  virtual List* getParents(List* list, std::int32_t unused);
  virtual List* getMembers(List* list, std::int32_t unused);
  virtual List* getLinkDestinations(List* list, std::int32_t unused);
  // The anchors whose destination is this object (request kind 5).
  virtual List* getReferrers(List* list, std::int32_t unused);
  virtual bool removeFromStore();
  virtual bool insertInto(const Ref<KXObject>& parent, const CString& fileName, const char* data,
                          std::int32_t length);
  virtual bool moveBetween(const Ref<KXObject>& from, const Ref<KXObject>& to);
  virtual bool attachTo(const Ref<KXObject>& parent);
  virtual bool detachFrom(const Ref<KXObject>& parent);
  // onServer: the store's modifyAttributes. Otherwise addLines is appended
  // to the local record, each side ending in a line feed.
  virtual bool changeAttributes(const CString& removeLines, const CString& addLines, bool onServer);
  virtual bool lock();
  virtual bool unlock();
  // The store's user; "anonymous" without a store.
  virtual CString getUserName();
  virtual bool isNew();
  virtual Ref<KXObject> getOwnerObject();
  virtual bool isAnonymous();
  virtual std::int32_t getMemberCount();
  // Reads the record into the fields when the refresh flags ask for it.
  virtual bool parseAttributes(const CString& recordText);
  // The store that carries out an operation on two objects: a local store
  // first, then a server store, else a.
  virtual Ref<Store> chooseStore(const Ref<Store>& a, const Ref<Store>& b);

  // --- Non-virtual operations ---
  void addChild(ListElement* child);
  std::int32_t getObjectId() const { return objectId; }
  // First values of keys, read from the record without refreshing.
  CString getGOid() const;
  CString getAuthor() const;
  CString getRights() const;
  CString getTimeCreated() const;
  CString getTimeExpire() const;
  CString getTimeOpen() const;
  CString getParent() const;
  CString getSequence() const;
  CString getLayout() const;
  CString getPCBIBType() const;
  // The first value of any key (given with its "="); "" when absent.
  CString getAttribute(const char* key) const;
  // Every value of a key in record order.
  StringArray getAllValues(const char* key) const;
  CString getTitleLanguage() const { return titleLanguage; }
  // A new list of NameElements copied from the NameElements of `source`
  // (other elements are skipped); the old list is deleted.
  void setNameList(const List& source);
  const List* getNameList() const { return nameList; }

  const Ref<Store>& getStore() const { return store; }
  // The creator attaches the store that delivered the record.
  void setStore(const Ref<Store>& s) { store = s; }
  std::int32_t getClassCode() const { return classCode; }
  const CString& getObjectIdText() const { return objectIdText; }
  const CString& getRequestText() const { return requestText; }
  const CString& getTitleText() const { return titleText; }
  const CString& getScoreText() const { return scoreText; }
  const SortedStringArray& getTitles() const { return titles; }
  const SortedStringArray& getKeywords() const { return keywords; }
  const SortedStringArray& getUserAttrs() const { return userAttrs; }
  std::uint32_t getRefreshFlags() const { return refreshFlags; }
  // The record as it stands, without refreshing.
  const CString& recordText() const { return record; }
  // Seconds since 1970 (UTC): set at construction and renewed by each hit
  // in the object cache.
  std::int32_t getTimeStamp() const { return created; }
  void setTimeStamp(std::int32_t seconds) { created = seconds; }
  // For the marked-objects register when it lets go of every group.
  void clearMarkedFlag() { marked = false; }

  // Hits are fetched this many at a time by the related-objects walk and
  // the unscoped searches.
  static constexpr std::int32_t kRelatedBatch = 16;

  // Objects alive now, of every class: what a closed store or a finished
  // run must have given back.
  static int LiveCount();

 protected:
  // The related-objects walk: request `kind` about this object, asked of
  // every open store in list order when `allStores`, else of the own store;
  // hits go in batches of kRelatedBatch into `list`, with progress and a
  // user break between batches. See kx_object_related.cpp.
  List* fetchRelated(std::int32_t kind, List* list, bool allStores);
  // Whether the walk asks every open store: the object's store is a server
  // store.
  bool storeIsServer() const;
  bool storeIsLocal() const;
  // A handle to this object for the store's operations.
  Ref<KXObject> self() { return Ref<KXObject>(this); }

  Ref<Store> store;
  CString ownerName;  // no operation of the object model sets it
  std::int32_t classCode = kClassObject;
  std::int32_t objectId = 0;
  bool marked = false;
  bool visited = false;
  bool parsed = false;
  std::uint32_t refreshFlags = kRefreshAll;
  std::int32_t created = 0;
  CString record;
  List children;
  CString objectIdText;
  CString requestText;
  CString titleText;
  CString scoreText;
  SortedStringArray titles;
  SortedStringArray keywords;
  SortedStringArray userAttrs;
  CString titleLanguage;
  List* nameList = nullptr;
  // A subclass that keeps the referrer list its getReferrers returns (a
  // document caches it) points this at that list, so that hasAnnotation
  // does not free a list the object still owns.
  const List* ownedReferrers = nullptr;

  // The flags ask for the record to be fetched (kRefreshAll or
  // kRefreshAttributes).
  bool flagsAskFetch() const { return (refreshFlags & (kRefreshAll | kRefreshAttributes)) != 0; }
  // The record from the own store into `answer`, the object counting as
  // parsed; false without a store, or unparsed when the store sent nothing.
  bool fetchRecord(CString& answer);
  // The start of refresh() for the kinds that keep their flags (anchors,
  // users, groups): without a fetch an unparsed object with kRefreshNoFetch
  // stays unparsed. A value is what refresh() answers; none means `answer`
  // holds the fetched record, for the kind to parse.
  std::optional<bool> refreshKeepingFlags(CString& answer);
};

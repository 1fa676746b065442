// The local database: a Store that serves collections, documents and
// anchors from data sets on the local disk, so that the client runs with no
// server. Every object is an attribute record appended to the record file
// of its data set; the index of the data set leads from keys to records
// (the record key "%O0X" to an object's newest record or its deletion
// mark), from objects to their members, parents and anchors, and from
// attribute terms and body words to objects. Records are never rewritten:
// a change appends a new version and moves the record key to it.
//
// Above the stored objects stand the store root ("korvexroot", id 0) and
// the local database root ("LOCAL-DB-ROOT", id -2), whose members are the
// home collections of the open data sets.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/collection.h"
#include "core/kx_object.h"
#include "core/result_set.h"
#include "core/store.h"
#include "store/localdb/data_item.h"
#include "store/localdb/keyed_store.h"
#include "store/localdb/local_names.h"

struct DocumentRequest;

class LocalDatabase : public Store, public CollectionCounter {
 public:
  struct SpecialRoot {
    std::int32_t sequence;
    std::string title;
    std::string name;
    std::int32_t id;
  };
  enum : std::int32_t {
    kStrCannotConnect = 125,
    kStrWrongProtocol = 142,
    kStrNotConnected = 225,
    kStrConnected = 226,
    kStrOnlyLocalUrl = 227,
    kStrNoLocalDatabase = 228,
    kStrSpecialUrl = 229,
    kStrNoRemoteObjects = 230,
    kErrNameTaken = 0xF006,
  };
  static constexpr std::int32_t kRootId = 0;
  static constexpr std::int32_t kFirstSpecialId = -2;
  // The most bytes of one stored record; a record without its end mark is
  // cut here.
  static constexpr size_t kMaxRecordBytes = 64 * 1024;
  // The most bytes of one dictionary entry (a body without a size, ended by
  // its mark "\n@1"); an entry without its mark is cut here.
  static constexpr std::int32_t kMaxEntryBytes = 1024 * 1024;

  // Opens the data set (a configuration, or a list of them ending in ".ML")
  // that the address names after "kxlocal:". Failures are left in the error
  // code: 142 for another scheme, 125 when the data set cannot be opened.
  explicit LocalDatabase(const CString& address, int flag = 1);
  ~LocalDatabase() override;
  static LocalDatabase* current();

  // --- Store ---
  CString getRecord(const CString& name) override;
  bool handlesUrl(const CString& name) override;
  bool login(const CString& name, const CString& pass, std::int32_t flag) override;
  bool isIdentified() override { return identified; }
  bool changePassword(const CString&, const CString&) override { return false; }
  StoreEntry* openRequest(const Ref<KXObject>& object, std::int32_t kind, List* collections,
                          const CString& text) override;
  bool closeRequest(StoreEntry* entry) override;
  std::int32_t readRequest(StoreEntry* entry, char* buffer, std::int32_t size) override;
  std::int32_t writeRequest(StoreEntry* entry, const char* buffer, std::int32_t size) override;
  List* getResults(StoreEntry* entry, std::int32_t n, List* list) override;
  bool insertObject(const Ref<KXObject>& object, const Ref<KXObject>& parent, std::int32_t flag) override;
  bool deleteObject(const Ref<KXObject>& object) override;
  bool moveObject(const Ref<KXObject>& object, const Ref<KXObject>& from, const Ref<KXObject>& to) override;
  bool addToCollection(const Ref<KXObject>& object, const Ref<KXObject>& collection) override;
  bool removeFromCollection(const Ref<KXObject>& object, const Ref<KXObject>& collection) override;
  bool lockObject(const Ref<KXObject>& object) override;
  bool unlockObject(const Ref<KXObject>& object) override;
  bool modifyAttributes(const Ref<KXObject>& object, const CString& removeLine, const CString& addLine) override;
  bool isRoot(const CString& name) override;
  // --- CollectionCounter ---
  std::int32_t collectionCount(const Ref<KXObject>& collection) override;

  // --- Naming ---
  static bool isLocalScheme(const CString& scheme);
  // The data set of an id text or name reference (the address's data set
  // when it names none); -1 when it names one that is not open.
  int dataSetOf(const std::string& reference) const;
  int dataSetOfObject(const Ref<KXObject>& object) const;
  // The id text with its data-set suffix for an object of this store,
  // else its "GOid=" value.
  std::string referenceOf(const Ref<KXObject>& object) const;
  int defaultDataSet() const { return defaultDataSet_; }
  KeyedStore* keyedStore() { return keyed_.get(); }
  const std::string& statusText() const { return status_; }

  // --- Records ---
  std::string storeRootRecord();
  std::string specialRootRecord(const SpecialRoot& root);
  const std::vector<SpecialRoot>& specialRoots() const { return specialRoots_; }
  bool isSpecialRootId(std::int32_t id) const;
  bool isSpecialRootName(const std::string& name) const;
  const SpecialRoot& specialRootById(std::int32_t id) const;
  const SpecialRoot& specialRootByName(const std::string& name) const;
  // The item moved to the object's newest record; false when the object is
  // deleted or has no record key.
  bool currentVersion(DataItem& item);
  // The record of an item as it is handed out: with the data-set suffixes,
  // without "Parent=" lines when `dropParents`.
  bool readRecord(DataItem item, std::string& out, bool dropParents);
  // The stored text of a record at a position (up to its end mark).
  bool readStoredRecord(int dataSet, std::uint32_t position, std::string& out);
  static std::string addSuffixes(const std::string& record, const std::string& dataSetName, bool dropParents);
  // Lines of "ObjectID", "Parent", "Dest", "Src" and "Name" lose their
  // suffixes; every line ends with "\n"; lines with `skipKey` are left out.
  static std::string stripSuffixes(const std::string& record, const char* skipKey = nullptr);
  // The first object whose name is the reference's name (in the
  // reference's data set, else in every one).
  bool findByName(const std::string& reference, DataItem& out);

  // --- Writing ---
  // Appends a record to the data set's record file and adds its record key
  // and its attribute keys; the new object's id, or 0 when something could
  // not be written.
  std::uint32_t appendRecord(int dataSet, const std::string& body, std::uint32_t& position);
  bool indexRecord(int dataSet, std::uint32_t id, const std::string& record);
  void unindexRecord(int dataSet, std::uint32_t id, const std::string& record);
  static std::vector<std::string> attributeKeys(const std::string& record);
  // Whether the reference and another name different data sets.
  bool differentDataSets(const std::string& a, const std::string& b) const;
  // Children (2), parents (3), anchors from (4) and to (5) of an object.
  std::unique_ptr<ResultSet> relations(const Ref<KXObject>& object, int kind);
  // Objects matching an attribute query (`fullText` false) or a full-text
  // search; null when the query cannot be read.
  std::unique_ptr<ResultSet> query(const std::string& text, bool fullText, std::string* error = nullptr);

 private:
  bool openDataSet(const CString& address);
  std::string homeLine(bool storeRoot);
  std::string recordOfLocation(const std::string& upperName, const std::string& name);
  bool recordOfId(const std::string& name, std::string& out);
  void checkResults(ResultSet& results);
  int storeBody(DocumentRequest& request, const Ref<KXObject>& object, const CString& sizeText);
  bool locateBody(DocumentRequest& request, const Ref<KXObject>& object);
  std::int32_t readEntry(DocumentRequest& request, char* buffer, std::int32_t capacity);
  int indexTextLine(DocumentRequest& request, const std::string& line);
  bool finishBody(DocumentRequest& request);
  bool insertDocument(const Ref<KXObject>& object, const Ref<KXObject>& container);
  bool insertAnchor(const Ref<KXObject>& object, const Ref<KXObject>& container);
  void adopt(const Ref<KXObject>& object, int dataSet, std::uint32_t id);
  bool nameTaken(int dataSet, const Ref<KXObject>& object);
  int parentCount(const Ref<KXObject>& object);
  // Memberships between data sets: the relation records that name the
  // reference as child (kParent: its parents) or as parent (kChild: its
  // members), with the reference at the other end.
  struct CrossRelation {
    int dataSet;
    std::uint32_t record;
    std::string other;
  };
  std::vector<CrossRelation> crossRelations(const std::string& reference, localdb::KeyKind kind);

  std::unique_ptr<KeyedStore> keyed_;
  std::vector<SpecialRoot> specialRoots_;
  std::string status_;
  std::string homeReference_;
  bool listLoaded_ = false;
  int defaultDataSet_ = -1;
  int nextLocationNumber_ = localdb::kFirstLocationDataSet;
};

// Makes the "kxlocal:" maker of the program the local database's.
void InstallLocalDatabaseMaker();

// References and downloads: links, history entries, page scripts and the
// file cache name server objects by text (an object id, a "korvex:"
// location, "//" and a host, or a plain local file name). This module turns
// such a reference into an object, builds the temporary collections that
// list objects under a title, and downloads a document's content into a
// temporary file of the right kind, which the file cache then keeps.
#pragma once

#include <cstdint>

#include "core/list.h"
#include "core/object_id.h"
#include "core/object_services.h"
#include "core/object_utils.h"
#include "core/objref.h"
#include "mfc/cstring.h"

class KXObject;

// ---- Objects by reference ----

// The object a reference names, or null. A reference is one when it has a
// ":" at index 2 or later (a scheme of two characters at least), or holds
// "0x", "@" or "//"; a leading "//" is dropped; the scheme picks the store.
Ref<KXObject> ResolveReference(const CString& reference);
Ref<KXObject> ResolveReference(const char* reference);

// The object of the navigation-history entry with this id when there is
// one, else fetchObject of the id's text with no store.
Ref<KXObject> ObjectForId(ObjectId id);

// What the navigation history supplies: the object of its entry with this
// id (null when none). Returns the previous lookup; null installs none.
using HistoryLookup = Ref<KXObject> (*)(ObjectId id);
HistoryLookup SetHistoryLookup(HistoryLookup lookup);

// ---- Temporary collections ----

// A new collection without a store and with object id 0 that lists
// `members` (the collection takes the list; null gives a null handle) under
// the caller's title lines ("Title=..." lines, each ended by a line feed).
// Unless `plain`, its CollectionType is "MultiCluster".
Ref<KXObject> MakeMultiCluster(const CString& titleLines, List* members, int plain);

// The reference layer's part of the object utilities: references and
// temporary collections, on top of the object classes' part.
class ReferenceServices : public ObjectClassServices {
 public:
  Ref<KXObject> resolveReference(const CString& name) override;
  // A MultiCluster with the title lines, holding copies of the entries.
  Ref<KXObject> makeMultiCluster(const CString& title, const List& members) override;
};
// Makes the program's ReferenceServices the object utilities' services;
// returns the ones installed before.
ObjectUtilityServices* InstallReferenceServices();

// ---- Downloads ----

// The logbook texts of failed downloads (each followed by the reference or
// the object's description).
inline constexpr const char* kBusyDownloadText = "Korvex busy. Cannot download document ";
inline constexpr const char* kCannotDownloadText = "Cannot download document ";
inline constexpr const char* kInvalidDownloadTypeText = "Invalid download document type ";
inline constexpr const char* kDownloadErrorText = "Error downloading document ";

// Downloads the content a reference names into a temporary file: 1 with
// `fileName` set to a readable file that holds it, else 0 (the reason goes
// to the logbook; nothing is shown). Nothing happens while the main window
// is closing or for an empty reference. A server reference ("korvex:",
// "http:" or "//") is fetched only when `wait` is set, after waiting up to
// 30 s for the running operation to end; the long-operation flag is held
// while it downloads.
int DownloadByUrl(const CString& reference, CString& fileName, int wait);

// The download itself: a reference that names no object may be a local
// file (as it is, or below the LocalDataPath setting), whose name is then
// given back. A text, image, sound, movie or generic document is loaded
// into a fresh temporary file ("txt", "img", "snd", "mov", "gen"). On
// failure nothing half-written is left and `fileName` is emptied.
int DownloadToFile(const CString& reference, CString& fileName);

// The same for an object at hand: its content is asked for with its own
// record, so a record that is not the one its address would resolve to (a
// query's pseudo document) is what the server sees.
int DownloadDocumentToFile(const Ref<KXObject>& object, CString& fileName);

// The temporary-file extension of a document class; null for classes that
// are not downloaded.
const char* DownloadExtension(std::int32_t classCode);

// What the application shell supplies: whether the main window is closing
// (no download starts then). Returns the previous test; null installs none.
using ClosingTest = bool (*)();
ClosingTest SetMainWindowClosingTest(ClosingTest test);

// The clock of the busy wait (GetTickCount when null), for tests. Returns
// the previous one.
TickSource SetDownloadWaitClock(TickSource clock);

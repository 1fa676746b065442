// The horizontal layout of a paragraph: indents, right edge, tab width and
// named tab stops. A record never changes once made; every change makes a
// copy (the With... operations), so paragraphs and lines share records and
// count their references.
//
// A document keeps the records in use on a TabSettingsList. Being on the
// list holds a reference, so a record can never delete itself while listed;
// when a holder's Release leaves only the list's reference, the record
// leaves the list and is deleted.
#pragma once

#include "core/list.h"
#include "mfc/cstring.h"
#include "win/types.h"

class TabSettingsList;

// The next tab position and its kind (4: an ordinary computed stop).
struct TabStopPosition {
  LONG position = 0;
  LONG kind = 0;
  friend bool operator==(const TabStopPosition& a, const TabStopPosition& b) {
    return a.position == b.position && a.kind == b.kind;
  }
};

// Names of the stops that the builder and the list layout place.
constexpr const char* kLeftBorderStop = "LeftBorder_mildaw";
constexpr const char* kLeftCounterStop = "LeftCounter_mildaw";
constexpr const char* kPreformattedTabStop = "PRE_TAB";
constexpr LONG kOrdinaryTabKind = 4;

class TabSettings : public ListElement {
 public:
  TabSettings() = default;
  TabSettings(LONG baseIndent, LONG secondIndent, LONG rightEdge, LONG tabWidth);
  // Copies values and stops; the copy is unreferenced and on no list.
  TabSettings(const TabSettings& other);
  TabSettings& operator=(const TabSettings&) = delete;
  ~TabSettings() override;

  virtual void AddRef();
  // See the file comment: the last holder's release deletes the record, on
  // a list or not.
  virtual void Release();
  LONG RefCount() const { return refCount_; }

  // Inserts a stop (only into fresh copies). A named stop replaces the stop
  // of that name; an equal stop at the same place is not added twice. False
  // only when memory failed.
  bool AddTabStop(const TabStopPosition& stop, const CString& name);
  void RemoveTabStop(const CString& name);

  // Copies, or this record itself when nothing would change (or memory
  // failed); the caller manages references to what it gets back.
  TabSettings* WithTabStop(const TabStopPosition& stop, const CString& name);
  TabSettings* WithIndent(LONG indent);  // 0 means the base indent
  TabSettings* WithMargins(LONG base, LONG second, LONG rightEdge, LONG tabWidth);

  // The next tab position after `position`. The position always advances:
  // where no stop or regular tab is found the result lies at least one unit
  // further on.
  TabStopPosition NextStop(LONG position) const;
  // The next position for a named stop: "" the next stop, the left border
  // and counter stops, the preformatted tab, or a stop of that name. A kind
  // other than 4 is given to the result.
  TabStopPosition NextTabStop(const CString& name, LONG position, LONG kind) const;

  LONG BaseIndent() const { return baseIndent_; }
  LONG Indent() const { return indent_; }
  LONG SecondIndent() const { return secondIndent_; }
  LONG RightEdge() const { return rightEdge_; }
  LONG TabWidth() const { return tabWidth_; }
  int StopCount() const;
  // The stop at index i (from 0) in position order; false when out of range.
  bool StopAt(int i, TabStopPosition& stop, CString& name) const;

  TabSettingsList* OwnerList() const { return owner_; }

 private:
  friend class TabSettingsList;
  struct Stop {
    TabStopPosition at;
    CString name;
    Stop* next = nullptr;
  };
  TabStopPosition fallback(LONG position) const;
  const Stop* findNamed(const CString& name) const;
  void deleteStops();

  LONG refCount_ = 0;
  Stop* stops_ = nullptr;
  LONG baseIndent_ = 0;
  LONG indent_ = 0;
  LONG secondIndent_ = 0;
  LONG rightEdge_ = 0;
  LONG tabWidth_ = 0;
  TabSettingsList* owner_ = nullptr;
};

// The records a document's paragraphs share. The list holds one reference
// on each member and gives it up when the list goes.
class TabSettingsList {
 public:
  TabSettingsList() = default;
  TabSettingsList(const TabSettingsList&) = delete;
  TabSettingsList& operator=(const TabSettingsList&) = delete;
  ~TabSettingsList();

  // Appends a record that is on no list, taking a reference; false when it
  // is already listed (here or elsewhere) or null.
  bool Append(TabSettings* settings);
  TabSettings* Last() const { return static_cast<TabSettings*>(records_.last()); }
  TabSettings* First() const { return static_cast<TabSettings*>(records_.first()); }
  LONG Count() const { return records_.count(); }

 private:
  friend class TabSettings;
  void Leave(TabSettings* settings);
  List records_;
};

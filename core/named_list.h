// A list of named entries with move-to-front on lookup: each hit moves its
// entry one place towards the front, so names used often gather there. The
// file pool and the text layer's picture cache keep their pictures in one.
#pragma once

#include "core/list.h"
#include "mfc/cstring.h"
#include "win/types.h"

// The shared objects an entry holds: counted by acquire and release (the
// last release deletes the object), with one flag byte that is set on an
// object made on demand (an inline picture not yet loaded).
class NamedObject {
 public:
  NamedObject() = default;
  NamedObject(const NamedObject&) = delete;
  NamedObject& operator=(const NamedObject&) = delete;
  virtual ~NamedObject();
  virtual void acquire();
  virtual void release();
  LONG references() const { return references_; }

  BYTE pending = 0;

 private:
  LONG references_ = 0;
};

// Makes a new inline picture (pending flag set) for an entry that holds no
// object. The text layout installs it; until then Find gives null for such
// an entry.
using InlinePictureFactory = NamedObject* (*)();
void SetInlinePictureFactory(InlinePictureFactory factory);

class NamedEntry : public ListElement {
 public:
  NamedEntry(const CString& name, NamedObject* object);  // acquires object
  ~NamedEntry() override;                                // releases it

  const CString& name() const { return name_; }
  NamedObject* object() const { return object_; }
  BYTE used = 0;

 private:
  CString name_;
  NamedObject* object_;
};

class NamedList {
 public:
  explicit NamedList(int ownerValue = 0) : ownerValue_(ownerValue) {}
  NamedList(const NamedList&) = delete;
  NamedList& operator=(const NamedList&) = delete;
  ~NamedList();  // deletes every entry

  // The number given at construction, kept for the owner.
  int ownerValue() const { return ownerValue_; }
  LONG count() const { return entries_.count(); }
  // The entries, front first (NamedEntry elements).
  const List& entries() const { return entries_; }

  // A new entry, marked used, at the front. False when memory failed.
  bool Add(const CString& name, NamedObject* object);

  // The entry named exactly `name`: marked used, moved one place towards the
  // front. Returns its object with the pending flag cleared (the entry keeps
  // its reference: the caller borrows it). For an entry without an object,
  // a new inline picture that the caller owns (pending flag set), or null
  // when no factory is installed. Null when there is no such entry.
  NamedObject* Find(const char* name);

 private:
  List entries_;
  int ownerValue_;
};

// Users and groups of a Korvex server: server objects like any other, whose
// type stands in "TType=" ("User" or "Group") rather than "Type=". A user
// lists the groups it belongs to, its password entries and the hosts it may
// come from; a group lists the groups it belongs to and finds its members
// through the store.
#pragma once

#include <cstdint>

#include "core/kx_object.h"
#include "core/string_array.h"
#include "mfc/cstring.h"

namespace kxuser {
inline constexpr const char* kTTypeKey = "TType=";
inline constexpr const char* kGroupKey = "Group=";
inline constexpr const char* kPasswdKey = "Passwd=";
inline constexpr const char* kHostKey = "Host=";
inline constexpr const char* kUGroupKey = "UGroup=";
inline constexpr const char* kUserType = "User";
inline constexpr const char* kGroupType = "Group";
}  // namespace kxuser

class User : public KXObject {
 public:
  // No store yet (attached by the code that fetched the record). A record
  // whose "TType=" is not "User" gives a user with empty lists.
  explicit User(const CString& record);

  // --- Replaced virtual operations, in slot order ---
  ~User() override;
  // Fetches the record when the flags ask for it and parses it with the
  // base's and this class's parse; the flags are left as they are.
  bool refresh() override;
  // The "TType=" value.
  CString getType() override;
  CString getAttributeNames() override;
  // The group, password and host lists, whatever the refresh flags say.
  bool parseAttributes(const CString& recordText) override;

  // --- Added virtual operations ---
  // The groups named by the user's "Group=" lines (request kind 8 per
  // name), sorted; the caller owns the list. Null when the user names no
  // group; an empty list when there is no store to ask.
  virtual List* getGroups();

  const SortedStringArray& groupNames() const { return groups; }
  const SortedStringArray& passwordEntries() const { return passwords; }
  const SortedStringArray& hostNames() const { return hosts; }

 protected:
  SortedStringArray groups;
  SortedStringArray passwords;
  SortedStringArray hosts;
};

class Group : public KXObject {
 public:
  // As User, with the type "Group".
  explicit Group(const CString& record);

  // --- Replaced virtual operations, in slot order ---
  ~Group() override;
  bool refresh() override;
  CString getType() override;
  CString getAttributeNames() override;
  bool parseAttributes(const CString& recordText) override;

  // --- Added virtual operations ---
  // As User::getGroups.
  virtual List* getGroups();
  // The objects whose "Group=" value is the group's first "UGroup=" value
  // (request kind 10), sorted; the caller owns the list. Null without a
  // store or when the store refuses the request.
  virtual List* getGroupMembers();

  const SortedStringArray& groupNames() const { return groups; }

 protected:
  SortedStringArray groups;
};

// How the local database names its objects and keys. An object's id text is
// "0x%08x" of its id, "@" and its data set's name; a name reference is the
// name, " @" and the data set's name. Index keys are upper-case texts: the
// record key "%O0X" and eight hex digits, the relation keys "%RC", "%RP"
// (children and parents) and "%AS", "%AD" (anchors by source and by
// destination) followed by eight hex digits or a folded reference, and the
// attribute keys "NAME=TERM".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace localdb {

inline constexpr const char* kStoreName = "kxlocal";
inline constexpr char kIdSeparator = '@';
inline constexpr const char* kNameSeparator = " @";
inline constexpr size_t kMaxReference = 99;
// Records and keys that tie objects of two data sets go to this one.
inline constexpr int kLinkDataSet = 9;
// The data set a "kxlocal:" address opens; data sets opened by location are
// numbered from kFirstLocationDataSet on.
inline constexpr int kAddressDataSet = 33;
inline constexpr int kFirstLocationDataSet = 11;

enum class KeyKind { kRecord, kParent, kChild, kAnchorFrom, kAnchorTo };

// "%O0X", "%RP0X" ... with the id as eight upper-case hex digits.
std::string idKey(KeyKind kind, std::uint32_t id);
// "%RP", "%AS" ... with a folded reference.
std::string nameKey(KeyKind kind, std::string_view reference);
// "0x%08x".
std::string formatId(std::uint32_t id);

// The data-set name after the first "@", blanks at both ends removed, at
// most kMaxReference characters; "" when there is none.
std::string dataSetNameOf(std::string_view reference);
// An id text ("0X" in any case) loses everything from its "@", any other
// text everything from its " @".
std::string stripStoreSuffix(std::string_view reference);
// Upper case, every blank as the byte 0x01, at most kMaxReference
// characters: the name part of a relation key.
std::string foldKeyName(std::string_view reference);
// Whether the text begins with "0x" in any case.
bool isIdText(std::string_view text);
// The id of an id text without its suffix ("0x%x" or decimal); false when
// it holds no number.
bool parseId(std::string_view text, std::uint32_t& out);
std::string upperCase(std::string_view text);

}  // namespace localdb

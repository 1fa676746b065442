// The type registry: the string constants of the server object model (type
// names, attribute key names, key forms with their "=", a few fixed values and
// the word delimiters) and the table of attribute term makers through which
// the local database turns attribute values into index terms.
//
// Everything here is built by the first StaticGuard<TypeRegistry> (one per
// source file that includes this header, see core/static_guard.h) and torn
// down by the last, so the constants can be read from static constructors and
// destructors of any file that includes this header.
#pragma once

#include "core/static_guard.h"
#include "core/string_array.h"
#include "mfc/cstring.h"

class AttributeTermMaker;

// The constants, in the order they are created and destroyed. Each points at
// a string holding the text its name spells (a name ending in "Eq" stands for
// the key followed by "="). A pointer is null outside the registry's life,
// or when its string could not be allocated.
namespace kxstr {
// blank . , \ ; - ( ) : % ? " ' ! < > = @ [ ] ` |
extern const CString* Delimiters;
// Object and document type names. "Group" also names the group attribute.
extern const CString *Anchor, *Document, *collection, *Cluster, *Remote, *text, *Image, *PIC,
    *Sound, *Movie, *PostScript, *Scene, *Generic, *telnet;
extern const CString *tn3270, *Link, *User, *Group, *Server;
extern const CString* ObjectID;
extern const CString* ObjectIDEq;
// The author of objects the system makes, and the guest user.
extern const CString *system, *anonymous;
// Key names.
extern const CString *Type, *DocumentType, *Rights, *Parent, *Subdocs, *Title, *Hint, *UName,
    *Account, *Price, *UGroup, *UServer, *Host, *Passwd, *TimeCreated, *TimeModified, *RemoteID,
    *Repl, *TimeOpen, *TimeExpire, *Author, *Name, *License, *Keyword, *Path, *Size;
// Key forms.
extern const CString *SizeEq, *NameEq, *LicenseEq, *HintEq, *UNameEq, *AccountEq, *PriceEq,
    *UGroupEq, *UServerEq, *HostEq, *GroupEq, *ServerEq, *PasswdEq, *KeywordEq;
}  // namespace kxstr

// The word delimiters as a plain literal, for code that cuts texts into
// words and must not depend on the registry being alive.
inline constexpr char kWordDelimiters[] = " .,\\;-():%?\"'!<>=@[]`|";

class TypeRegistry {
 public:
  // Called by the guards; Init on the first use, Exit on the last.
  static void Init();
  static void Exit();

  // Inserts into `terms` the index terms of an attribute value, by the term
  // maker of the attribute `name` (a key name without "="). Returns the
  // array's count afterwards; 0, with `terms` unchanged, when `name` is not
  // an indexed attribute, when `value` is empty or when the registry is not
  // built.
  static int Dispatch(const CString& name, const CString& value, SortedStringArray& terms);

  // The names of the indexed attributes in byte order; null when not built.
  static const SortedStringArray* attributeNames();
  // The term maker of an indexed attribute, or null.
  static const AttributeTermMaker* findTermMaker(const char* name);
};

// This file's share of the use counter.
static StaticGuard<TypeRegistry> typeRegistryGuard;

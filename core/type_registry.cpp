#include "core/type_registry.h"

#include <memory>
#include <new>

#include "core/attr_terms.h"
#include "core/sorted_array.h"

namespace kxstr {
const CString* Delimiters = nullptr;
const CString *Anchor = nullptr, *Document = nullptr, *collection = nullptr, *Cluster = nullptr,
              *Remote = nullptr, *text = nullptr, *Image = nullptr, *PIC = nullptr,
              *Sound = nullptr, *Movie = nullptr, *PostScript = nullptr, *Scene = nullptr,
              *Generic = nullptr, *telnet = nullptr;
const CString *tn3270 = nullptr, *Link = nullptr, *User = nullptr, *Group = nullptr,
              *Server = nullptr;
const CString* ObjectID = nullptr;
const CString* ObjectIDEq = nullptr;
const CString *system = nullptr, *anonymous = nullptr;
const CString *Type = nullptr, *DocumentType = nullptr, *Rights = nullptr, *Parent = nullptr,
              *Subdocs = nullptr, *Title = nullptr, *Hint = nullptr, *UName = nullptr,
              *Account = nullptr, *Price = nullptr, *UGroup = nullptr, *UServer = nullptr,
              *Host = nullptr, *Passwd = nullptr, *TimeCreated = nullptr,
              *TimeModified = nullptr, *RemoteID = nullptr, *Repl = nullptr,
              *TimeOpen = nullptr, *TimeExpire = nullptr, *Author = nullptr, *Name = nullptr,
              *License = nullptr, *Keyword = nullptr, *Path = nullptr, *Size = nullptr;
const CString *SizeEq = nullptr, *NameEq = nullptr, *LicenseEq = nullptr, *HintEq = nullptr,
              *UNameEq = nullptr, *AccountEq = nullptr, *PriceEq = nullptr,
              *UGroupEq = nullptr, *UServerEq = nullptr, *HostEq = nullptr,
              *GroupEq = nullptr, *ServerEq = nullptr, *PasswdEq = nullptr,
              *KeywordEq = nullptr;
}  // namespace kxstr

namespace {

struct ConstantSlot {
  const CString** slot;
  const char* text;
};

// Creation order; tear-down follows it too.
const ConstantSlot kConstants[] = {
    {&kxstr::Delimiters, kWordDelimiters},
    {&kxstr::Anchor, "Anchor"},
    {&kxstr::Document, "Document"},
    {&kxstr::collection, "collection"},
    {&kxstr::Cluster, "Cluster"},
    {&kxstr::Remote, "Remote"},
    {&kxstr::text, "text"},
    {&kxstr::Image, "Image"},
    {&kxstr::PIC, "PIC"},
    {&kxstr::Sound, "Sound"},
    {&kxstr::Movie, "Movie"},
    {&kxstr::PostScript, "PostScript"},
    {&kxstr::Scene, "Scene"},
    {&kxstr::Generic, "Generic"},
    {&kxstr::telnet, "telnet"},
    {&kxstr::tn3270, "tn3270"},
    {&kxstr::Link, "Link"},
    {&kxstr::User, "User"},
    {&kxstr::Group, "Group"},
    {&kxstr::Server, "Server"},
    {&kxstr::ObjectID, "ObjectID"},
    {&kxstr::ObjectIDEq, "ObjectID="},
    {&kxstr::system, "system"},
    {&kxstr::anonymous, "anonymous"},
    {&kxstr::Type, "Type"},
    {&kxstr::DocumentType, "DocumentType"},
    {&kxstr::Rights, "Rights"},
    {&kxstr::Parent, "Parent"},
    {&kxstr::Subdocs, "Subdocs"},
    {&kxstr::Title, "Title"},
    {&kxstr::Hint, "Hint"},
    {&kxstr::UName, "UName"},
    {&kxstr::Account, "Account"},
    {&kxstr::Price, "Price"},
    {&kxstr::UGroup, "UGroup"},
    {&kxstr::UServer, "UServer"},
    {&kxstr::Host, "Host"},
    {&kxstr::Passwd, "Passwd"},
    {&kxstr::TimeCreated, "TimeCreated"},
    {&kxstr::TimeModified, "TimeModified"},
    {&kxstr::RemoteID, "RemoteID"},
    {&kxstr::Repl, "Repl"},
    {&kxstr::TimeOpen, "TimeOpen"},
    {&kxstr::TimeExpire, "TimeExpire"},
    {&kxstr::Author, "Author"},
    {&kxstr::Name, "Name"},
    {&kxstr::License, "License"},
    {&kxstr::Keyword, "Keyword"},
    {&kxstr::Path, "Path"},
    {&kxstr::Size, "Size"},
    {&kxstr::SizeEq, "Size="},
    {&kxstr::NameEq, "Name="},
    {&kxstr::LicenseEq, "License="},
    {&kxstr::HintEq, "Hint="},
    {&kxstr::UNameEq, "UName="},
    {&kxstr::AccountEq, "Account="},
    {&kxstr::PriceEq, "Price="},
    {&kxstr::UGroupEq, "UGroup="},
    {&kxstr::UServerEq, "UServer="},
    {&kxstr::HostEq, "Host="},
    {&kxstr::GroupEq, "Group="},
    {&kxstr::ServerEq, "Server="},
    {&kxstr::PasswdEq, "Passwd="},
    {&kxstr::KeywordEq, "Keyword="},
};
static_assert(sizeof kConstants / sizeof kConstants[0] == 64);

// The name a maker serves, "" when its constant is missing.
const char* makerName(const AttributeTermMaker* maker) {
  const CString* name = maker ? maker->attributeName() : nullptr;
  return name ? name->c_str() : "";
}

struct TermMakerTraits {
  using Key = const char*;
  static int compare(AttributeTermMaker* const& element, const char* key) {
    return CompareMultibyte(makerName(element), key);
  }
  static const char* keyOf(AttributeTermMaker* const& element) { return makerName(element); }
};
using TermMakerTable = SortedArray<AttributeTermMaker*, TermMakerTraits>;

SortedStringArray* attributeNameList = nullptr;
TermMakerTable* termMakerTable = nullptr;

CString* newConstant(const char* text) {
  try {
    return new CString(text);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// Adds a maker to the table; one whose name is missing or already there is
// not kept.
template <class Maker>
void addTermMaker() {
  std::unique_ptr<AttributeTermMaker> maker(new (std::nothrow) Maker);
  if (!maker || !maker->attributeName()) return;
  if (termMakerTable->Insert(maker.get())) maker.release();
}

}  // namespace

void TypeRegistry::Init() {
  for (const ConstantSlot& c : kConstants) *c.slot = newConstant(c.text);

  attributeNameList = new (std::nothrow) SortedStringArray;
  if (attributeNameList) {
    for (const char* name : {"Hint", "UName", "UGroup", "UServer", "Host", "Group", "Title",
                             "Name", "TimeCreated", "TimeModified", "RemoteID", "Repl",
                             "Author", "Keyword"})
      attributeNameList->Insert(name);
  }

  termMakerTable = new (std::nothrow) TermMakerTable;
  if (termMakerTable) {
    addTermMaker<AuthorTermMaker>();
    addTermMaker<HintTermMaker>();
    addTermMaker<UNameTermMaker>();
    addTermMaker<UGroupTermMaker>();
    addTermMaker<UServerTermMaker>();
    addTermMaker<HostTermMaker>();
    addTermMaker<GroupTermMaker>();
    addTermMaker<KeywordTermMaker>();
    addTermMaker<NameTermMaker>();
    addTermMaker<TimeCreatedTermMaker>();
    addTermMaker<TimeModifiedTermMaker>();
    addTermMaker<RemoteIDTermMaker>();
    addTermMaker<ReplTermMaker>();
    addTermMaker<TitleTermMaker>();
  }
}

void TypeRegistry::Exit() {
  for (const ConstantSlot& c : kConstants) {
    delete *c.slot;
    *c.slot = nullptr;
  }
  if (attributeNameList) {
    attributeNameList->RemoveAll();
    delete attributeNameList;
    attributeNameList = nullptr;
  }
  // Deleting a maker does not ask for its name, so the missing constants do
  // not matter here.
  if (termMakerTable) {
    for (int i = 0; i < termMakerTable->count(); ++i) delete termMakerTable->at(i);
    delete termMakerTable;
    termMakerTable = nullptr;
  }
}

int TypeRegistry::Dispatch(const CString& name, const CString& value, SortedStringArray& terms) {
  if (!attributeNameList || !termMakerTable) return 0;
  int index = 0;
  if (!attributeNameList->Find(name.c_str(), index)) return 0;
  if (value.IsEmpty()) return 0;
  // The two arrays line up by position; a maker that could not be made
  // would shift the table, so the position is checked before it is used.
  const AttributeTermMaker* maker = termMakerTable->at(index);
  if (!maker || name != makerName(maker)) return 0;
  return maker->makeTerms(value, terms);
}

const SortedStringArray* TypeRegistry::attributeNames() { return attributeNameList; }

const AttributeTermMaker* TypeRegistry::findTermMaker(const char* name) {
  if (!termMakerTable || !name) return nullptr;
  int index = 0;
  return termMakerTable->Find(name, index) ? termMakerTable->at(index) : nullptr;
}

#include "core/attr_keys.h"

#include <new>

const CString *ObjectIDKey = nullptr, *GOidKey = nullptr, *ProtocolKey = nullptr,
              *HostKey = nullptr, *PortKey = nullptr, *GopherTypeKey = nullptr,
              *PositionKey = nullptr, *PathKey = nullptr, *NameKey = nullptr,
              *AuthorKey = nullptr, *TimeCreatedKey = nullptr, *TimeModifiedKey = nullptr,
              *TimeOpenKey = nullptr, *TimeExpireKey = nullptr;
const CString *DocumentTypeKey = nullptr, *CollectionTypeKey = nullptr, *TypeKey = nullptr,
              *TitleKey = nullptr, *HintKey = nullptr, *KeywordKey = nullptr;
const CString *TitlePrefix = nullptr, *GerKey = nullptr, *EngKey = nullptr;
const CString *LinkTypeName = nullptr, *AnchorTypeName = nullptr, *DocumentTypeName = nullptr,
              *CollectionTypeName = nullptr, *ClusterTypeName = nullptr;

namespace {

struct KeySlot {
  const CString** slot;
  const char* text;
};

const KeySlot kKeys[] = {
    {&ObjectIDKey, "ObjectID="},
    {&GOidKey, "GOid="},
    {&ProtocolKey, "Protocol="},
    {&HostKey, "Host="},
    {&PortKey, "Port="},
    {&GopherTypeKey, "GopherType="},
    {&PositionKey, "Position="},
    {&PathKey, "Path="},
    {&NameKey, "Name="},
    {&AuthorKey, "Author="},
    {&TimeCreatedKey, "TimeCreated="},
    {&TimeModifiedKey, "TimeModified="},
    {&TimeOpenKey, "TimeOpen="},
    {&TimeExpireKey, "TimeExpire="},
    {&DocumentTypeKey, "DocumentType="},
    {&CollectionTypeKey, "CollectionType="},
    {&TypeKey, "Type="},
    {&TitleKey, "Title="},
    {&HintKey, "Hint="},
    {&KeywordKey, "Keyword="},
    {&TitlePrefix, "Title."},
    {&GerKey, "ger="},
    {&EngKey, "eng="},
    {&LinkTypeName, "Link"},
    {&AnchorTypeName, "Anchor"},
    {&DocumentTypeName, "Document"},
    {&CollectionTypeName, "collection"},
    {&ClusterTypeName, "Cluster"},
};

}  // namespace

void AttrKeys::Init() {
  for (const KeySlot& k : kKeys) {
    try {
      *k.slot = new CString(k.text);
    } catch (const std::bad_alloc&) {
      *k.slot = nullptr;
    }
  }
}

void AttrKeys::Exit() {
  for (const KeySlot& k : kKeys) {
    delete *k.slot;
    *k.slot = nullptr;
  }
}

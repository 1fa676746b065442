// Attribute keys and type names that the object model, the protocol and the
// local stores share. A key constant includes the "=" that the attribute
// record accessors expect.
//
// Built by the first StaticGuard<AttrKeys> (one per source file that
// includes this header, see core/static_guard.h) and destroyed by the last,
// so static constructors and destructors of those files may read them. A
// pointer is null outside that time, or when its string could not be made.
#pragma once

#include "core/static_guard.h"
#include "mfc/cstring.h"

extern const CString *ObjectIDKey, *GOidKey, *ProtocolKey, *HostKey, *PortKey, *GopherTypeKey,
    *PositionKey, *PathKey, *NameKey, *AuthorKey, *TimeCreatedKey, *TimeModifiedKey,
    *TimeOpenKey, *TimeExpireKey;
extern const CString *DocumentTypeKey, *CollectionTypeKey, *TypeKey, *TitleKey, *HintKey,
    *KeywordKey;
extern const CString *TitlePrefix, *GerKey, *EngKey;
extern const CString *LinkTypeName, *AnchorTypeName, *DocumentTypeName, *CollectionTypeName,
    *ClusterTypeName;

struct AttrKeys {
  static void Init();
  static void Exit();
};

// This file's share of the use counter.
static StaticGuard<AttrKeys> attrKeysGuard;

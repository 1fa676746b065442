// The shared constants of the type registry and of the attribute keys: their
// texts, and that they are there for static constructors and destructors of
// every file that includes their headers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/attr_keys.h"
#include "core/languages.h"
#include "core/type_registry.h"

namespace {

std::string textOf(const CString* p) { return p ? std::string(p->c_str()) : "(null)"; }

// Built during this file's static initialisation, which may come before that
// of the files defining the constants; the guards included above must have
// built them already.
struct EarlyReader {
  std::string anchor, objectIdKey, clusterName, order;
  int terms = -1;
  EarlyReader() {
    anchor = textOf(kxstr::Anchor);
    objectIdKey = textOf(ObjectIDKey);
    clusterName = textOf(ClusterTypeName);
    order = Languages::instance() ? Languages::instance()->orderString().c_str() : "(null)";
    SortedStringArray found;
    terms = TypeRegistry::Dispatch("UName", "alice", found);
  }
  // Runs at exit, after main: the constants must still be alive.
  ~EarlyReader() {
    if (textOf(kxstr::Title) != "Title" || textOf(TitleKey) != "Title=" || !Languages::instance()) {
      std::fprintf(stderr, "shared constants were destroyed before a static destructor\n");
      std::_Exit(1);
    }
  }
};
EarlyReader early;

TEST(SharedConstants, ReadyForStaticConstructors) {
  EXPECT_EQ(early.anchor, "Anchor");
  EXPECT_EQ(early.objectIdKey, "ObjectID=");
  EXPECT_EQ(early.clusterName, "Cluster");
  EXPECT_EQ(early.order, "engefrstitspkrjp");
  EXPECT_EQ(early.terms, 1);
}

TEST(TypeRegistryConstants, Texts) {
  const std::vector<std::pair<const CString*, const char*>> cases = {
      {kxstr::Delimiters, " .,\\;-():%?\"'!<>=@[]`|"},
      {kxstr::Anchor, "Anchor"},
      {kxstr::Document, "Document"},
      {kxstr::collection, "collection"},
      {kxstr::Cluster, "Cluster"},
      {kxstr::Remote, "Remote"},
      {kxstr::text, "text"},
      {kxstr::Image, "Image"},
      {kxstr::PIC, "PIC"},
      {kxstr::Sound, "Sound"},
      {kxstr::Movie, "Movie"},
      {kxstr::PostScript, "PostScript"},
      {kxstr::Scene, "Scene"},
      {kxstr::Generic, "Generic"},
      {kxstr::telnet, "telnet"},
      {kxstr::tn3270, "tn3270"},
      {kxstr::Link, "Link"},
      {kxstr::User, "User"},
      {kxstr::Group, "Group"},
      {kxstr::Server, "Server"},
      {kxstr::ObjectID, "ObjectID"},
      {kxstr::ObjectIDEq, "ObjectID="},
      {kxstr::system, "system"},
      {kxstr::anonymous, "anonymous"},
      {kxstr::Type, "Type"},
      {kxstr::DocumentType, "DocumentType"},
      {kxstr::Rights, "Rights"},
      {kxstr::Parent, "Parent"},
      {kxstr::Subdocs, "Subdocs"},
      {kxstr::Title, "Title"},
      {kxstr::Hint, "Hint"},
      {kxstr::UName, "UName"},
      {kxstr::Account, "Account"},
      {kxstr::Price, "Price"},
      {kxstr::UGroup, "UGroup"},
      {kxstr::UServer, "UServer"},
      {kxstr::Host, "Host"},
      {kxstr::Passwd, "Passwd"},
      {kxstr::TimeCreated, "TimeCreated"},
      {kxstr::TimeModified, "TimeModified"},
      {kxstr::RemoteID, "RemoteID"},
      {kxstr::Repl, "Repl"},
      {kxstr::TimeOpen, "TimeOpen"},
      {kxstr::TimeExpire, "TimeExpire"},
      {kxstr::Author, "Author"},
      {kxstr::Name, "Name"},
      {kxstr::License, "License"},
      {kxstr::Keyword, "Keyword"},
      {kxstr::Path, "Path"},
      {kxstr::Size, "Size"},
      {kxstr::SizeEq, "Size="},
      {kxstr::NameEq, "Name="},
      {kxstr::LicenseEq, "License="},
      {kxstr::HintEq, "Hint="},
      {kxstr::UNameEq, "UName="},
      {kxstr::AccountEq, "Account="},
      {kxstr::PriceEq, "Price="},
      {kxstr::UGroupEq, "UGroup="},
      {kxstr::UServerEq, "UServer="},
      {kxstr::HostEq, "Host="},
      {kxstr::GroupEq, "Group="},
      {kxstr::ServerEq, "Server="},
      {kxstr::PasswdEq, "Passwd="},
      {kxstr::KeywordEq, "Keyword="},
  };
  ASSERT_EQ(cases.size(), 64u);
  for (const auto& [constant, text] : cases) EXPECT_EQ(textOf(constant), text);
  EXPECT_EQ(kxstr::Delimiters->GetLength(), 22);
}

TEST(AttrKeyConstants, Texts) {
  const std::vector<std::pair<const CString*, const char*>> cases = {
      {ObjectIDKey, "ObjectID="},
      {GOidKey, "GOid="},
      {ProtocolKey, "Protocol="},
      {HostKey, "Host="},
      {PortKey, "Port="},
      {GopherTypeKey, "GopherType="},
      {PositionKey, "Position="},
      {PathKey, "Path="},
      {NameKey, "Name="},
      {AuthorKey, "Author="},
      {TimeCreatedKey, "TimeCreated="},
      {TimeModifiedKey, "TimeModified="},
      {TimeOpenKey, "TimeOpen="},
      {TimeExpireKey, "TimeExpire="},
      {DocumentTypeKey, "DocumentType="},
      {CollectionTypeKey, "CollectionType="},
      {TypeKey, "Type="},
      {TitleKey, "Title="},
      {HintKey, "Hint="},
      {KeywordKey, "Keyword="},
      {TitlePrefix, "Title."},
      {GerKey, "ger="},
      {EngKey, "eng="},
      {LinkTypeName, "Link"},
      {AnchorTypeName, "Anchor"},
      {DocumentTypeName, "Document"},
      {CollectionTypeName, "collection"},
      {ClusterTypeName, "Cluster"},
  };
  for (const auto& [constant, text] : cases) EXPECT_EQ(textOf(constant), text);
}

}  // namespace

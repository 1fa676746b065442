// Following links through real anchors and documents (the object utilities
// over ObjectClassServices): "Dest=", a "Hint=" with an address, the
// destination of a destination anchor, and a "Fragment=" looked up among
// the destination document's anchors.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/anchor.h"
#include "core/attr_record.h"
#include "core/document.h"
#include "core/object_id.h"
#include "core/object_services.h"
#include "core/object_utils.h"
#include "core/objects/support/fake_store.h"

namespace {

// The reference layer's share, as simple as the tests need: references are
// fetched by name; no temporary collections.
class TestServices : public ObjectClassServices {
 public:
  TestServices() { previous_ = SetObjectUtilityServices(this); }
  ~TestServices() override { SetObjectUtilityServices(previous_); }
  Ref<KXObject> resolveReference(const CString& name) override {
    return fetchObject(name, Ref<Store>());
  }
  Ref<KXObject> makeMultiCluster(const CString&, const List&) override { return Ref<KXObject>(); }

 private:
  ObjectUtilityServices* previous_ = nullptr;
};

KXObject* MakeFromRecord(const CString& record) {
  const CString type = AttrRecord(record).getAttribute("Type=");
  if (type == "Anchor") return new Anchor(record);
  if (type == "Document") return new Document(record);
  return new KXObject(record, Ref<Store>());
}

class AnchorLinks : public ObjectModelTest {
 protected:
  void SetUp() override {
    ObjectModelTest::SetUp();
    factory.make = MakeFromRecord;
    factory.storeToOpen = local;
  }
  // An object of the local store, fetched (and so cached) by its id text.
  Ref<KXObject> Put(std::int32_t id, const char* lines) {
    local->addRecord(ObjectId(id).Format(), Record(id, lines));
    return fetchObject(ObjectId(id).Format(), Ref<Store>());
  }

  TestServices services;
};

TEST_F(AnchorLinks, SourceAnchorsFollowDestOrAnAddressHint) {
  Ref<KXObject> target = Put(9, "Type=Document\nDocumentType=Image\n");
  const struct {
    const char* lines;
    bool found;
  } cases[] = {
      {"TAnchor=Src\nDest=0x00000009\n", true},
      {"TAnchor=Src\nDest=0x00000009\nGDest=0x00000008\n", true},  // GDest is not followed
      {"TAnchor=Src\nHint=URL:0x00000009\n", true},
      {"TAnchor=Src\nHint=url:0x00000009\n", true},  // any letter case
      {"TAnchor=Src\nDest=\nHint=Url:0x00000009\n", true},
      {"TAnchor=Src\nHint=see 0x00000009\n", false},
      {"TAnchor=Src\nGDest=0x00000009\n", false},
  };
  std::int32_t id = 100;
  for (const auto& c : cases) {
    Ref<KXObject> a = Put(id++, (std::string("Type=Anchor\n") + c.lines).c_str());
    ASSERT_EQ(a->getClassCode(), kClassAnchor);
    EXPECT_EQ(followLink(a) == target, c.found) << c.lines;
    EXPECT_EQ(linkTargetClass(a), c.found ? kClassDocument : 0) << c.lines;
  }
}

// A destination anchor of the local store leads where its "Src=" names.
TEST_F(AnchorLinks, DestinationAnchorsLeadToTheirDestination) {
  Ref<KXObject> target = Put(9, "Type=Document\nDocumentType=Image\n");
  EXPECT_EQ(followLink(Put(3, "Type=Anchor\nTAnchor=Dest\nSrc=0x00000009\n")), target);
  EXPECT_EQ(followLink(Put(4, "Type=Anchor\nTAnchor=Dest\n")), nullptr);
}

TEST_F(AnchorLinks, FragmentNamesADestinationAnchorOfTheDocument) {
  Ref<KXObject> doc = Put(9, "Type=Document\nDocumentType=text\n");
  Ref<KXObject> outro = Put(20, "Type=Anchor\nTAnchor=Dest\nKeyword=outro\n");
  Ref<KXObject> intro = Put(21, "Type=Anchor\nTAnchor=Dest\nKeyword=x\nKeyword=intro\n");
  Ref<KXObject> source = Put(22, "Type=Anchor\nTAnchor=Src\nDest=0x0000000a\n");
  local->setResults(kRequestAnchors, "0x00000009", {source, outro, intro});

  EXPECT_EQ(followLink(Put(2, "Type=Anchor\nTAnchor=Src\nDest=0x00000009\nFragment=intro\n")),
            intro);
  EXPECT_EQ(local->callCount("openRequest 4 0x00000009"), 1);
  // A fragment that no destination anchor carries gives the document.
  EXPECT_EQ(followLink(Put(3, "Type=Anchor\nTAnchor=Src\nDest=0x00000009\nFragment=none\n")),
            doc);
  // Source anchors are never fragment targets.
  EXPECT_EQ(followLink(Put(4, "Type=Anchor\nTAnchor=Src\nHint=URL:0x00000009\n"
                              "Fragment=0x0000000a\n")),
            doc);
  EXPECT_EQ(local->callCount("openRequest 4"), 1);  // the anchors are asked once
  local->clearTables();  // the hits hold the anchors, which hold the store
}

}  // namespace

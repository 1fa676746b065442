// Anchor positions: the three written forms of a place, the record a
// document's kind makes of an anchor, the order of the list and the
// destinations attached to its records.
#include "core/anchor_positions.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/document_kinds.h"
#include "core/objects/document_test_fixture.h"
#include "core/store_registry.h"

namespace {

using doctest::Make;

class AnchorPositionsTest : public doctest::DocumentFixture {
 protected:
  Ref<KXObject> anchor(std::int32_t id, const std::string& lines) {
    return Ref<KXObject>(new KXObject(Record(id, ("Type=Anchor\n" + lines).c_str()), Ref<Store>()));
  }
  Ref<Document> text = Make<TextDocument>(1, "Type=Document\nDocumentType=text\n", Ref<Store>());
  Ref<Document> image = Make<ImageDocument>(2, "Type=Document\nDocumentType=Image\n", Ref<Store>());
  Ref<Document> postscript =
      Make<PostScriptDocument>(3, "Type=Document\nDocumentType=PostScript\n", Ref<Store>());
};

TEST(AnchorPositionForms, TextSpansReadDecimalOrHexadecimal) {
  struct Case {
    const char* text;
    std::int32_t start, end;
  };
  const Case cases[] = {
      {"16 32", 16, 32},
      {"0x10 0x20", 16, 32},
      {"invisible", 0, 0},
      {"7", 7, 0},            // numbers not read stay 0
      {"-5 9", -5, 9},
      {"99999999999 1", INT32_MAX, 1},  // saturates, never wraps
      {"0xFFFFFFFFFF 0x1", INT32_MAX, 1},
      {"", 0, 0},
  };
  for (const Case& c : cases) {
    const TextSpanKey s = TextSpanKey::Parse(c.text);
    EXPECT_EQ(s.start, c.start) << c.text;
    EXPECT_EQ(s.end, c.end) << c.text;
  }
}

TEST(AnchorPositionForms, PageRegionsKnowTheNewerForm) {
  struct Case {
    const char* text;
    std::int32_t kind, page, a, b, c, d;
  };
  const Case cases[] = {
      {"V20@3:10,20,30,40", 2, 3, 10, 20, 30, 40},
      {"3:10,20,30,40", 1, 3, 10, 20, 30, 40},
      {"4:1,2", 1, 4, 1, 2, 0, 0},
      {"invisible", 0, 0, 0, 0, 0, 0},
      {"garbage", 1, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const PageRegion r = PageRegion::Parse(c.text);
    EXPECT_EQ(r.kind, c.kind) << c.text;
    EXPECT_EQ(r.page, c.page) << c.text;
    EXPECT_EQ(std::vector<std::int32_t>(r.values, r.values + 4),
              (std::vector<std::int32_t>{c.a, c.b, c.c, c.d}))
        << c.text;
  }
}

TEST(AnchorPositionForms, ImageShapesByTheirFirstWord) {
  struct Case {
    const char* text;
    std::int32_t kind;
    std::vector<float> values;
  };
  const Case cases[] = {
      {"Rect 1 2 3 4", ImageShape::kOther, {1, 2, 3, 4}},
      {"Circle 5 6 2", ImageShape::kCircle, {5, 6, 2, 0}},
      {"Ellipse 1.5 2 3 4", ImageShape::kEllipse, {1.5f, 2, 3, 4}},
      {"Circle 5", ImageShape::kCircle, {5, 0, 0, 0}},
      {"invisible", ImageShape::kOther, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const ImageShape s = ImageShape::Parse(c.text);
    EXPECT_EQ(s.kind, c.kind) << c.text;
    EXPECT_EQ(std::vector<float>(s.values, s.values + 4), c.values) << c.text;
  }
}

TEST(AnchorPositionForms, OrderingsOfTheThreeKeys) {
  EXPECT_TRUE(TextSpanKey(1, 50).Less(TextSpanKey(2, 3)));  // by start only
  EXPECT_FALSE(TextSpanKey(2, 3).Less(TextSpanKey(2, 90)));
  EXPECT_TRUE(TextSpanKey(5, 0).SecondCompare(TextSpanKey(4, 0)));

  EXPECT_TRUE(PageRegion::Parse("1:9,9,9,9").Less(PageRegion::Parse("2:0,0,0,0")));
  EXPECT_TRUE(PageRegion::Parse("2:1,2,3,4").Less(PageRegion::Parse("V20@2:1,2,3,5")));
  EXPECT_FALSE(PageRegion::Parse("2:1,2,3,4").Less(PageRegion::Parse("V20@2:1,2,3,4")));
  EXPECT_TRUE(PageRegion::Parse("2:1,2,3,4").SecondCompare(PageRegion::Parse("2:1,2,3,4")));

  // Rectangles: by x, then y, then the third and fourth numbers.
  EXPECT_TRUE(ImageShape::Parse("Rect 1 9 9 9").Less(ImageShape::Parse("Rect 2 0 0 0")));
  EXPECT_TRUE(ImageShape::Parse("Rect 1 1 9 9").Less(ImageShape::Parse("Rect 1 2 0 0")));
  EXPECT_TRUE(ImageShape::Parse("Rect 1 1 1 2").Less(ImageShape::Parse("Rect 1 1 1 3")));
  EXPECT_FALSE(ImageShape::Parse("Rect 1 1 1 3").Less(ImageShape::Parse("Rect 1 1 1 3")));
  // A circle reaches as far left as its radius.
  EXPECT_TRUE(ImageShape::Parse("Circle 10 10 5").Less(ImageShape::Parse("Rect 6 0 0 0")));
  // Keys of different kinds never compare.
  EXPECT_FALSE(TextSpanKey(1, 1).Less(ImageShape::Parse("Rect 9 9 9 9")));
}

TEST_F(AnchorPositionsTest, TheDocumentKindChoosesTheRecord) {
  const Ref<KXObject> a = anchor(5, "TAnchor=Src\nDest=0x9\nPosition=Circle 1 2 3\n");
  std::unique_ptr<AnchorPosition> t(CreateAnchorPosition(a, text.get()));
  std::unique_ptr<AnchorPosition> i(CreateAnchorPosition(a, image.get()));
  std::unique_ptr<AnchorPosition> p(CreateAnchorPosition(a, postscript.get()));
  ASSERT_TRUE(t && i && p);
  EXPECT_NE(dynamic_cast<TextAnchorPosition*>(t.get()), nullptr);
  EXPECT_EQ(t->documentKind, 7);
  EXPECT_EQ(dynamic_cast<const ImageShape*>(i->GetPosition())->kind, ImageShape::kCircle);
  EXPECT_EQ(i->documentKind, 9);
  EXPECT_NE(dynamic_cast<const PageRegion*>(p->GetKey()), nullptr);
  EXPECT_EQ(p->documentKind, 12);
  EXPECT_EQ(t->anchorId, "0x00000005");

  const Ref<Document> plain = Make(4, "Type=Document\n", Ref<Store>());
  EXPECT_EQ(CreateAnchorPosition(a, plain.get()), nullptr);
  EXPECT_EQ(CreateAnchorPosition(Ref<KXObject>(), text.get()), nullptr);
}

TEST_F(AnchorPositionsTest, DestinationsFromDestOrAnAddressHint) {
  struct Case {
    const char* lines;
    const char* dest;
    const char* linkType;
  };
  const Case cases[] = {
      {"Dest=0x00000009\nHint=URL:http://x/\n", "0x00000009", ""},
      {"Hint=URL:http://x/a\n", "http://x/a", ""},
      {"Hint=url:ftp://y/\n", "ftp://y/", ""},
      // A hint that is no address keeps all its characters.
      {"Hint=Lake Vorn\n", "Lake Vorn", ""},
      {"Hint=UR\n", "UR", ""},
      {"Dest=0x2\nLinkType=intag\nTagAttr=SRC\n", "0x2", "inline"},
      {"Dest=0x2\nLinkType=intag\nTagAttr=HREF\n", "0x2", "intag"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<AnchorPosition> r(
        CreateAnchorPosition(anchor(5, std::string("TAnchor=Src\n") + c.lines), text.get()));
    ASSERT_TRUE(r) << c.lines;
    EXPECT_EQ(r->GetDest(), c.dest) << c.lines;
    EXPECT_EQ(r->linkType, c.linkType) << c.lines;
  }
}

TEST_F(AnchorPositionsTest, AKnownDestinationIsFoundInTheObjectCache) {
  Ref<KXObject> target(new KXObject(Record(9, "Type=Document\n"), Ref<Store>()));
  target->setVisited();
  ASSERT_TRUE(CacheObject("0x00000009", target));
  std::unique_ptr<AnchorPosition> known(
      CreateAnchorPosition(anchor(5, "TAnchor=Src\nDest=0x00000009\n"), text.get()));
  std::unique_ptr<AnchorPosition> unknown(
      CreateAnchorPosition(anchor(6, "TAnchor=Src\nDest=0x00000077\n"), text.get()));
  EXPECT_EQ(known->DestObject().get(), target.get());
  EXPECT_EQ(known->destFlag, 1);
  EXPECT_FALSE(unknown->DestObject());
  EXPECT_EQ(unknown->destFlag, 0);
  ClearObjectCache();
}

TEST_F(AnchorPositionsTest, TheListKeepsPlaceOrderNewBeforeEqual) {
  AnchorPositionList list;
  list.AddAnchor(anchor(1, "TAnchor=Src\nDest=0x10\nPosition=30 35\n"), text.get());
  list.AddAnchor(anchor(2, "TAnchor=Src\nDest=0x10\nPosition=10 12\n"), text.get());
  list.AddAnchor(anchor(3, "TAnchor=Src\nDest=0x11\nPosition=30 31\n"), text.get());
  list.AddAnchor(anchor(4, "TAnchor=Src\nDest=0x11\nPosition=0x14 0x15\n"), text.get());
  list.InsertSorted(nullptr);
  std::vector<std::string> ids;
  for (const AnchorPosition& p : list) ids.push_back(p.anchorId.str());
  EXPECT_EQ(ids, (std::vector<std::string>{"0x00000002", "0x00000004", "0x00000003",
                                           "0x00000001"}));
  ASSERT_NE(list.at(3), nullptr);
  EXPECT_EQ(list.at(4), nullptr);

  // Kinds without positions add nothing.
  const Ref<Document> plain = Make(4, "Type=Document\n", Ref<Store>());
  list.AddAnchor(anchor(5, "TAnchor=Src\nDest=0x10\nPosition=1 2\n"), plain.get());
  EXPECT_EQ(list.size(), 4u);
}

TEST_F(AnchorPositionsTest, ADestinationAnchorLendsItsPlaceAndAReplacementFreesTheOld) {
  AnchorPositionList list;
  list.AddAnchor(anchor(1, "TAnchor=Src\nDest=0x00000020\nPosition=1 2\n"), text.get());
  list.AddAnchor(anchor(2, "TAnchor=Src\nDest=0x00000020\nPosition=5 6\n"), text.get());
  list.AddAnchor(anchor(3, "TAnchor=Src\nDest=0x00000021\nPosition=7 8\n"), text.get());
  list.AddAnchor(anchor(0x20, "TAnchor=Dest\nPosition=40 41\n"), text.get());
  list.AddAnchor(anchor(0x20, "TAnchor=Dest\nPosition=50 51\n"), text.get());  // replaces
  EXPECT_EQ(list.size(), 3u);
  std::vector<std::int32_t> to;
  for (const AnchorPosition& p : list) {
    const auto* d = dynamic_cast<const TextSpanKey*>(p.GetDestPosition());
    to.push_back(d ? d->start : -1);
  }
  // Run under the leak checker: the replaced key of 40 is gone.
  EXPECT_EQ(to, (std::vector<std::int32_t>{50, 50, -1}));
}

TEST_F(AnchorPositionsTest, LinkAnchorsComeInPlaceOrderOrTheServersWhenThereAreNoPlaces) {
  AddStoreFront(Ref<Store>(server));
  auto served = [&](std::int32_t id, const char* lines) {
    return MakeObject(Record(id, (std::string("Type=Anchor\nTAnchor=Src\nDest=0x40\n") + lines).c_str()),
                      Ref<Store>(server));
  };
  struct Case {
    Ref<Document> document;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {Make<TextDocument>(0x31, "Type=Document\nDocumentType=text\n", Ref<Store>(server)),
       {"0x00000012", "0x00000013", "0x00000014", "0x00000011"}},  // a later equal place goes first
      // No places for a plain document: as the server gave them.
      {Make(0x32, "Type=Document\n", Ref<Store>(server)),
       {"0x00000011", "0x00000012", "0x00000013", "0x00000014"}},
  };
  for (const Case& c : cases) {
    server->setResults(kRequestAnchors, c.document->getIdentifier(),
                       {served(0x11, "Position=30 31\n"), served(0x12, "Position=5 6\n"),
                        served(0x13, "Position=0x10 0x11\n"),
                        served(0x14, "Position=30 40\n")});
    std::vector<std::string> ids;
    for (const Ref<KXObject>& a : LinkAnchorsInPlaceOrder(*c.document)) ids.push_back(a->getObjectIdText().str());
    EXPECT_EQ(ids, c.expected) << c.document->getClassCode();
  }
}

}  // namespace

// KXObject: parsing the record, titles, key getters, local record changes,
// children and the name list.
#include "core/kx_object.h"

#include <ctime>

#include <gtest/gtest.h>

#include "core/languages.h"
#include "core/objects/support/fake_store.h"

namespace {

// Puts the program's language order back after a test changes it.
class LanguageOrder {
 public:
  explicit LanguageOrder(const char* codes) : saved_(Languages::instance()->orderString()) {
    Languages::instance()->setOrder(codes);
  }
  ~LanguageOrder() { Languages::instance()->setOrder(saved_.c_str()); }

 private:
  CString saved_;
};

class KXObjectParse : public ObjectModelTest {};

TEST_F(KXObjectParse, ConstructionParsesTheRecord) {
  const std::int32_t before = static_cast<std::int32_t>(std::time(nullptr));
  Ref<KXObject> o(new KXObject("ObjectID=0x00AbC1\nKeyword=b\nKeyword=a\nKeyword=b\n"
                               "UserAttr=u\nType=Document\nGOid=0x1 0x2\n",
                               Ref<Store>(server)));
  EXPECT_EQ(o->getClassCode(), kClassObject);
  EXPECT_EQ(o->getObjectId(), 0xabc1);
  EXPECT_EQ(o->getObjectIdText(), "0x00abc1");  // lower-cased
  EXPECT_EQ(o->getIdentifier(), "0x00abc1");
  EXPECT_TRUE(o->isParsed());
  EXPECT_EQ(o->getRefreshFlags(), kRefreshAll);
  EXPECT_GE(o->getTimeStamp(), before);
  ASSERT_EQ(o->getKeywords().count(), 2);  // unique, sorted
  EXPECT_EQ(o->getKeywords().at(0), "a");
  EXPECT_EQ(o->getKeywords().at(1), "b");
  EXPECT_EQ(o->getUserAttrs().count(), 1);
  EXPECT_EQ(o->getType(), "Document");
  EXPECT_EQ(o->getGOid(), "0x1 0x2");
  EXPECT_FALSE(o->isMarked());
  EXPECT_FALSE(o->isVisited());
  EXPECT_FALSE(o->isNew());
  // Construction asks the store nothing.
  EXPECT_TRUE(server->calls.empty());
}

TEST_F(KXObjectParse, ScoreText) {
  const struct {
    const char* lines;
    const char* score;
  } cases[] = {
      {"Score=7\n", "0007"},
      {"Score=1234567\n", "1234567"},
      {"Score=-3\n", "-003"},
      {"Score=12abc\n", "0012"},
      {"Score=abc\n", "0000"},
      {"Score=99999999999\n", "2147483647"},  // clamped, not overflowed
      {"Score=\n", ""},                       // empty value: unchanged
      {"", ""},
  };
  for (const auto& c : cases) {
    Ref<KXObject> o = MakeObject(Record(1, c.lines), Ref<Store>(server));
    EXPECT_EQ(o->getScoreText(), c.score) << c.lines;
  }
}

TEST_F(KXObjectParse, EmptyScoreKeepsTheOldScore) {
  Ref<KXObject> o = MakeObject(Record(1, "Score=42\n"), Ref<Store>(server));
  o->invalidate(kRefreshAttributes);
  o->parseAttributes(Record(1, "Score=\n"));
  EXPECT_EQ(o->getScoreText(), "0042");
}

TEST_F(KXObjectParse, TitlesInThePreferredLanguage) {
  LanguageOrder order("engefrstitspkrjp");
  const struct {
    const char* lines;
    const char* title;
    const char* titleText;
    const char* language;
  } cases[] = {
      {"Title=ge:Haus\nTitle=en:House\n", "House", "en:House", "en"},
      {"", "", "", ""},
      // Decoded once: the language list already decodes the chosen text.
      {"Title=ge:M&auml;rz\n", "M\xe4rz", "ge:M\xe4rz", "ge"},
      {"Title=en:A&amp;auml;\n", "A&auml;", "en:A&auml;", "en"},
  };
  for (const auto& c : cases) {
    Ref<KXObject> o = MakeObject(Record(1, c.lines), Ref<Store>(server));
    EXPECT_EQ(o->getTitleText(), c.titleText) << c.lines;
    EXPECT_EQ(o->getTitleLanguage(), c.language) << c.lines;
    EXPECT_EQ(o->getTitle(), c.title) << c.lines;
  }
}

TEST_F(KXObjectParse, GermanPreferredChoosesGerman) {
  LanguageOrder order("geen");
  Ref<KXObject> o = MakeObject(Record(1, "Title=en:House\nTitle=ge:Haus\n"), Ref<Store>(server));
  EXPECT_EQ(o->getTitleText(), "ge:Haus");
  EXPECT_EQ(o->getTitleLanguage(), "ge");
}

TEST_F(KXObjectParse, ParseWithoutFetchFlagsOnlyMarksParsed) {
  Ref<KXObject> o = MakeObject(Record(1, "Keyword=a\n"), Ref<Store>(server));
  o->invalidate(0);
  EXPECT_FALSE(o->isParsed());
  EXPECT_TRUE(o->parseAttributes(Record(2, "Keyword=z\n")));
  EXPECT_TRUE(o->isParsed());
  EXPECT_EQ(o->getObjectId(), 1);
  EXPECT_EQ(o->getKeywords().at(0), "a");
  EXPECT_EQ(o->recordText(), Record(1, "Keyword=a\n"));
}

TEST_F(KXObjectParse, KeyGettersReadTheRecordAsItStands) {
  Ref<KXObject> o = MakeObject(
      Record(1,
             "Author=ann\nRights=R:a\nTimeCreated=96/01/02 03:04:05\nTimeExpire=99/1/1 0:0:0\n"
             "TimeOpen=96/1/1 0:0:0\nParent=0x2\nSequence=-4\nLayout=L\nPCBIBType=7\n"
             "XAuthor=not this\nName=a\nName=b\nName=a\n"),
      Ref<Store>(server));
  EXPECT_EQ(o->getAuthor(), "ann");
  EXPECT_EQ(o->getRights(), "R:a");
  EXPECT_EQ(o->getTimeCreated(), "96/01/02 03:04:05");
  EXPECT_EQ(o->getTimeExpire(), "99/1/1 0:0:0");
  EXPECT_EQ(o->getTimeOpen(), "96/1/1 0:0:0");
  EXPECT_EQ(o->getParent(), "0x2");
  EXPECT_EQ(o->getSequence(), "-4");
  EXPECT_EQ(o->getLayout(), "L");
  EXPECT_EQ(o->getPCBIBType(), "7");
  EXPECT_EQ(o->getAttribute("Missing="), "");
  // Every value in record order, repeats kept.
  const StringArray names = o->getAllValues("Name=");
  ASSERT_EQ(names.count(), 3);
  EXPECT_EQ(names.at(0), "a");
  EXPECT_EQ(names.at(1), "b");
  EXPECT_EQ(names.at(2), "a");
  // Key getters never fetch, even when the object is stale.
  o->invalidate(kRefreshAttributes);
  EXPECT_EQ(o->getAuthor(), "ann");
  EXPECT_TRUE(server->calls.empty());
}

TEST_F(KXObjectParse, AttributeNames) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  EXPECT_EQ(o->getAttributeNames(),
            "\nName\nTitle\nKeyword\nAuthor\nTimeCreated\nTimeOpen\nTimeExpire\nRights\n"
            "Sequence\nUserAttr\nLayout\n");
}

TEST_F(KXObjectParse, LocalAttributeChangesAppendLines) {
  const struct {
    const char* record;
    const char* add;
    const char* result;
  } cases[] = {
      {"Title=a", "Author=x", "Title=a\nAuthor=x\n"},
      {"Title=a\n", "Author=x", "Title=a\nAuthor=x\n"},
      {"Title=a\n", "Author=x\n", "Title=a\nAuthor=x\n"},
      {"", "Author=x", "Author=x\n"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    Ref<KXObject> o(new KXObject(c.record, Ref<Store>(server)));
    EXPECT_TRUE(o->changeAttributes("Title=a", c.add, false));
    EXPECT_EQ(o->recordText(), c.result) << c.record << " + " << c.add;
  }
  EXPECT_TRUE(server->calls.empty());
}

TEST_F(KXObjectParse, LocalChangeLeavesParsedFields) {
  Ref<KXObject> o = MakeObject(Record(1, "Keyword=a\n"), Ref<Store>(server));
  o->changeAttributes("", "Keyword=b", false);
  EXPECT_EQ(o->getKeywords().count(), 1);
}

// A child that counts its deletions.
struct CountedChild : ListElement {
  explicit CountedChild(int& deaths) : deaths_(deaths) {}
  ~CountedChild() override { ++deaths_; }
  int& deaths_;
};

TEST_F(KXObjectParse, ChildrenBelongToTheObject) {
  int deaths = 0;
  auto* kept = new CountedChild(deaths);
  auto* removed = new CountedChild(deaths);
  {
    Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
    o->addChild(kept);
    o->addChild(removed);
    EXPECT_EQ(o->getChildren()->count(), 2);
    o->removeChild(removed);
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(o->getChildren()->count(), 1);

    // An element of another list is left alone.
    List other;
    CountedChild stranger(deaths);
    other.append(&stranger);
    o->removeChild(&stranger);
    EXPECT_EQ(other.count(), 1);
    EXPECT_EQ(o->getChildren()->count(), 1);
    other.unlink(&stranger);
  }
  // The object's end deletes the children it still has.
  EXPECT_EQ(deaths, 3);  // removed, stranger (stack), kept
}

TEST_F(KXObjectParse, NameListCopiesTexts) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  EXPECT_EQ(o->getNameList(), nullptr);
  List source;
  source.append(new NameElement("0x1"));
  source.append(new MemberEntry(o));  // not a name: skipped
  source.append(new NameElement("0x2"));
  o->setNameList(source);
  source.clearAndDelete();
  ASSERT_NE(o->getNameList(), nullptr);
  ASSERT_EQ(o->getNameList()->count(), 2);
  EXPECT_EQ(static_cast<NameElement*>(o->getNameList()->first())->text, "0x1");
  // Its own list as the source: copied before the old one goes.
  o->setNameList(*o->getNameList());
  ASSERT_EQ(o->getNameList()->count(), 2);
  EXPECT_EQ(static_cast<NameElement*>(o->getNameList()->last())->text, "0x2");
}

}  // namespace

#include "core/attr_record.h"

#include <gtest/gtest.h>

namespace {

struct FindCase {
  const char* record;
  const char* key;
  bool found;
  const char* value;
};

const FindCase kFindCases[] = {
    {"Title=a\nXTitle=b\nTitle=c", "Title=", true, "a"},
    {"XTitle=b\nTitle=c", "Title=", true, "c"},          // never the X line
    {"Title=first\nType=Document", "Title=", true, "first"},
    {"A=Title=x", "Title=", false, ""},                  // only inside a value
    {"A=Title=x\nB=y", "Title=", false, ""},
    {"Type=Document\nName=end", "Name=", true, "end"},   // last line, no LF
    {"Name=crlf\r\nType=x", "Name=", true, "crlf\r"},    // the CR stays
    {"Name=\nType=x", "Name=", true, ""},                // empty value
    {"Name=  padded  \n", "Name=", true, "  padded  "},  // not trimmed
    {"Type=x\n", "Name=", false, ""},
    {"", "Name=", false, ""},
    {"name=lower\nName=upper", "Name=", true, "upper"},  // case-sensitive
    {"XName=a\nYName=b\nName=c\n", "Name=", true, "c"},
    {"A=1\n\nName=after-blank-line", "Name=", true, "after-blank-line"},
    {"A=1\nName", "Name=", false, ""},                   // key cut short at the end
};

TEST(AttrRecordFind, FirstLineOfTheKey) {
  for (const auto& c : kFindCases) {
    AttrRecord rec(c.record);
    CString out("untouched");
    EXPECT_EQ(rec.find(c.key, out), c.found) << c.record;
    EXPECT_EQ(out, c.found ? CString(c.value) : CString("untouched")) << c.record;
    EXPECT_EQ(rec.getAttribute(c.key), c.value) << c.record;
  }
}

TEST(AttrRecordFind, NeverChangesTheText) {
  const char* text = "Title=en:a\nXTitle=b\nObjectID=0x1f\n";
  AttrRecord rec(text);
  CString v;
  SortedStringArray all;
  ObjectId id;
  rec.find("Title=", v);
  rec.findAll("Title=", all);
  rec.getObjectId(id);
  EXPECT_EQ(rec.text(), text);
}

TEST(AttrRecordFind, StopsAtAnEmbeddedNul) {
  // Records are C strings: what follows a NUL is not part of the record.
  AttrRecord rec(CString("A=1\0Name=hidden", 15));
  EXPECT_EQ(rec.getAttribute("A="), "1");
  CString out;
  EXPECT_FALSE(rec.find("Name=", out));
}

struct FindAllCase {
  const char* record;
  const char* key;
  std::vector<const char*> before;
  std::vector<const char*> after;
};

const FindAllCase kFindAllCases[] = {
    {"Keyword=b\nKeyword=a\nKeyword=b", "Keyword=", {}, {"a", "b"}},
    {"Keyword=b\nXKeyword=z\nKeyword=a", "Keyword=", {}, {"a", "b"}},
    {"Keyword=b", "Keyword=", {"a", "c"}, {"a", "b", "c"}},   // counts held values too
    {"Type=x", "Keyword=", {"q"}, {"q"}},
    {"Keyword=\nKeyword=x\n", "Keyword=", {}, {"", "x"}},
    {"A=Keyword=in-value\nKeyword=real", "Keyword=", {}, {"real"}},
    {"Title=en:Help\nTitle=ge:Hilfe\nTitle=en:Help", "Title=", {}, {"en:Help", "ge:Hilfe"}},
    // Sorted by unsigned bytes: a Latin-1 letter after every ASCII one.
    {"K=\xe4\nK=z\nK=A", "K=", {}, {"A", "z", "\xe4"}},
};

TEST(AttrRecordFindAll, SortedAndUnique) {
  for (const auto& c : kFindAllCases) {
    SortedStringArray values;
    for (const char* v : c.before) values.Insert(v);
    int n = AttrRecord(c.record).findAll(c.key, values);
    ASSERT_EQ(n, static_cast<int>(c.after.size())) << c.record;
    for (int i = 0; i < n; ++i) EXPECT_EQ(values.at(i), c.after[static_cast<size_t>(i)]) << c.record;
  }
}

struct IdCase {
  const char* record;
  bool found;
  LONG id;
};

const IdCase kIdCases[] = {
    {"Title=x\nType=Document", false, 0},
    {"ObjectID=0x0000001f\nTitle=en:Welcome", true, 31},
    {"Title=x\nObjectID=0x0000001f", true, 31},
    {"ObjectID=42\n", true, 42},
    {"ObjectID=junk", true, 0},
    {"GObjectID=0x10\nObjectID=0x20", true, 16},  // first occurrence anywhere
    {"ObjectID=0x1f\r\n", true, 31},
};

TEST(AttrRecordObjectId, FromTheObjectIdLine) {
  for (const auto& c : kIdCases) {
    ObjectId id(99);
    EXPECT_EQ(AttrRecord(c.record).getObjectId(id), c.found) << c.record;
    EXPECT_EQ(id, c.id) << c.record;
  }
}

}  // namespace

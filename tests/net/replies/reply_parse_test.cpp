// The reply parsers over bodies built in both forms: what each code stores,
// the version branches, and bodies whose counts do not fit.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "net/reply_handlers.h"
#include "body_writer.h"

namespace {

using net_test::BodyWriter;

struct Parsed {
  ReplyParse result;
  Reply reply{7, 0};
};

void parse(int code, int version, const BodyWriter& w, Parsed& out, bool compressed = false,
           ReplyExpander expand = nullptr) {
  ReplyContext context;
  context.version = version;
  context.compressed = compressed;
  context.expand = expand;
  ReplyBody body(w.bytes(), w.binary());
  out.reply.code = code;
  out.result = parseReplyBody(code, context, body, out.reply);
}

std::vector<LONG> idsOf(const IdArray& a) {
  std::vector<LONG> v;
  for (int k = 0; k < a.count(); ++k) v.push_back(a.at(k).value());
  return v;
}

struct Case {
  const char* name;
  int code;
  int version;
  std::function<void(BodyWriter&)> body;
  std::function<void(const Reply&)> check;
};

class ReplyParseForms : public ::testing::TestWithParam<bool> {};

TEST_P(ReplyParseForms, EachCodeStoresItsFields) {
  const Case cases[] = {
      {"2 destination", 2, 717, [](BodyWriter& w) { w.i(0).i(0x21); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.firstInt, 0x21); }},
      {"2 before 705 has no status", 2, 704, [](BodyWriter& w) { w.i(0x21); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.firstInt, 0x21); }},
      {"2 failed without the long", 2, 717, [](BodyWriter& w) { w.i(8); },
       [](const Reply& r) { EXPECT_FALSE(r.success); EXPECT_EQ(r.status, 8); }},
      {"44 members unsorted on the wire", 44, 717, [](BodyWriter& w) { w.i(0).ids({0x22, 0x20, 0x21}); },
       [](const Reply& r) {
         EXPECT_TRUE(r.success);
         EXPECT_EQ(idsOf(r.ids), (std::vector<LONG>{0x20, 0x21, 0x22}));
       }},
      {"4 parents before 705", 4, 700, [](BodyWriter& w) { w.ids({0x10, 0x11}); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.ids.count(), 2); }},
      {"6 anchor parents leave success false", 6, 717, [](BodyWriter& w) { w.ids({0x21}); },
       [](const Reply& r) { EXPECT_FALSE(r.success); EXPECT_EQ(r.status, 0); EXPECT_EQ(r.ids.count(), 1); }},
      {"7 record", 7, 717, [](BodyWriter& w) { w.i(0).s("ObjectID=0x00000021\nType=Document"); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.secondText, "ObjectID=0x00000021\nType=Document"); }},
      {"7 found flag 0 at 704 is status 8", 7, 704, [](BodyWriter& w) { w.i(0); },
       [](const Reply& r) { EXPECT_FALSE(r.success); EXPECT_EQ(r.status, 8); }},
      {"7 found flag 1 at 704", 7, 704, [](BodyWriter& w) { w.i(1).s("Type=Anchor"); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.secondText, "Type=Anchor"); }},
      {"9 at 717", 9, 717, [](BodyWriter& w) { w.i(0).ids({5}); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.ids.count(), 1); }},
      {"9 at 704, flag 0 is overflow", 9, 704, [](BodyWriter& w) { w.i(0).ids({}); },
       [](const Reply& r) { EXPECT_FALSE(r.success); EXPECT_EQ(r.status, 35); }},
      {"10 at 702, flag 1", 10, 702, [](BodyWriter& w) { w.i(1).ids({3, 4}); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.ids.count(), 2); }},
      {"9 at 700 carries no word", 9, 700, [](BodyWriter& w) { w.ids({3, 4, 5}); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.ids.count(), 3); }},
      {"11 records keep the reply's order", 11, 717,
       [](BodyWriter& w) { w.i(0).ids({0x21, 0x20}).i(3).i(2).raw("abcde"); },
       [](const Reply& r) {
         EXPECT_TRUE(r.success);
         EXPECT_EQ(r.idsInOrder, (std::vector<LONG>{0x21, 0x20}));
         std::vector<CString> texts;
         ASSERT_TRUE(r.splitTexts(texts));
         ASSERT_EQ(texts.size(), 2u);
         EXPECT_EQ(texts[0], "abc");
         EXPECT_EQ(texts[1], "de");
       }},
      {"11 empty array stores no lengths and no text", 11, 717, [](BodyWriter& w) { w.i(0).ids({}); },
       [](const Reply& r) {
         EXPECT_TRUE(r.success);
         EXPECT_TRUE(r.lengths.empty());
         EXPECT_TRUE(r.firstText.IsEmpty());
       }},
      {"11 before 705", 11, 700, [](BodyWriter& w) { w.ids({1}).i(2).raw("xy"); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.firstText, "xy"); }},
      {"12 text from 703", 12, 717, [](BodyWriter& w) { w.i(0).raw("hello"); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.firstText, "hello"); }},
      {"12 success flag 0 before 703 is 511", 12, 702, [](BodyWriter& w) { w.i(0); },
       [](const Reply& r) { EXPECT_FALSE(r.success); EXPECT_EQ(r.status, 511); }},
      {"14 new id", 14, 717, [](BodyWriter& w) { w.i(0).i(0x60); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.firstInt, 0x60); }},
      {"14 refused", 14, 717, [](BodyWriter& w) { w.i(17); },
       [](const Reply& r) { EXPECT_FALSE(r.success); EXPECT_EQ(r.status, 17); }},
      {"18 link and destination", 18, 717, [](BodyWriter& w) { w.i(0).i(0x7f000030).i(0x21); },
       [](const Reply& r) { EXPECT_EQ(r.firstInt, 0x7f000030); EXPECT_EQ(r.secondInt, 0x21); }},
      {"22 status", 22, 717, [](BodyWriter& w) { w.i(21); },
       [](const Reply& r) { EXPECT_FALSE(r.success); EXPECT_EQ(r.status, 21); }},
      {"24 identification text", 24, 717, [](BodyWriter& w) { w.s("0x00000003 alice(host)"); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.firstText, "0x00000003 alice(host)"); }},
      {"26 empty body", 26, 717, [](BodyWriter&) {},
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_TRUE(r.firstText.IsEmpty()); }},
      {"29 lock gives the record", 29, 717, [](BodyWriter& w) { w.i(0).s("Type=Document"); },
       [](const Reply& r) { EXPECT_TRUE(r.success); EXPECT_EQ(r.secondText, "Type=Document"); }},
      {"34 features", 34, 717,
       [](BodyWriter& w) { w.i(0).i(2).i(0x21).f(2.0).i(3).i(7).i(3).i(7).i(0x20).f(0.5).i(0); },
       [](const Reply& r) {
         EXPECT_TRUE(r.success);
         ASSERT_EQ(r.features.count(), 2);
         EXPECT_EQ(r.features.at(0)->id(), 0x21);
         EXPECT_FLOAT_EQ(r.features.at(0)->weight(), 2.0f);
         ASSERT_NE(r.features.at(0)->positions(), nullptr);
         EXPECT_EQ(r.features.at(0)->positions()->count(), 2);  // 7 given twice
         EXPECT_EQ(r.features.at(1)->positions(), nullptr);
       }},
      {"39 bytes and error ok", 39, 717, [](BodyWriter& w) { w.i(0x0400).i(3).raw(std::string("a\0b", 3)); },
       [](const Reply& r) {
         EXPECT_TRUE(r.success);
         EXPECT_EQ(r.firstInt, 3);
         EXPECT_EQ(r.firstText.GetLength(), 3);
       }},
      {"40 document-cache error", 40, 717, [](BodyWriter& w) { w.i(0x0408); },
       [](const Reply& r) { EXPECT_FALSE(r.success); EXPECT_EQ(r.status, 0x0408); }},
      {"40 texts", 40, 717, [](BodyWriter& w) { w.i(0).i(2).i(1).i(2).raw("abc"); },
       [](const Reply& r) {
         EXPECT_TRUE(r.success);
         EXPECT_EQ(r.lengths, (std::vector<LONG>{1, 2}));
         EXPECT_EQ(r.firstText, "abc");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BodyWriter w(GetParam());
    c.body(w);
    Parsed p;
    parse(c.code, c.version, w, p);
    ASSERT_EQ(p.result, ReplyParse::kParsed);
    c.check(p.reply);
  }
}

TEST_P(ReplyParseForms, BodiesThatDoNotFitFailTheReply) {
  const Case cases[] = {
      {"id count beyond the body", 44, 717, [](BodyWriter& w) { w.i(0).i(1000).i(1); }, nullptr},
      {"negative id count", 4, 717, [](BodyWriter& w) { w.i(0).i(-1); }, nullptr},
      {"missing long", 14, 717, [](BodyWriter& w) { w.i(0); }, nullptr},
      {"lengths beyond the records", 11, 717, [](BodyWriter& w) { w.i(0).ids({1}).i(50).raw("ab"); }, nullptr},
      {"negative length", 40, 717, [](BodyWriter& w) { w.i(0).i(1).i(-2).raw("ab"); }, nullptr},
      {"length count beyond the body", 40, 717, [](BodyWriter& w) { w.i(0).i(99999).i(1); }, nullptr},
      {"byte count beyond the body", 45, 717, [](BodyWriter& w) { w.i(0).i(10).raw("abc"); }, nullptr},
      {"zero weight", 34, 717, [](BodyWriter& w) { w.i(0).i(1).i(0x21).f(0.0).i(0); }, nullptr},
      {"hit count beyond the body", 35, 717, [](BodyWriter& w) { w.i(0).i(500).i(0x21).f(1.0).i(0); }, nullptr},
      {"empty body", 7, 717, [](BodyWriter&) {}, nullptr},
      {"record cut before its NUL", 7, 717, [](BodyWriter& w) { w.i(0).raw("Type=Docu"); }, nullptr},
      {"identification without its NUL", 24, 717, [](BodyWriter& w) { w.raw("0x00000003 al"); }, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BodyWriter w(GetParam());
    c.body(w);
    Parsed p;
    parse(c.code, c.version, w, p);
    EXPECT_EQ(p.result, ReplyParse::kMalformed);
    EXPECT_FALSE(p.reply.success);
    EXPECT_EQ(p.reply.status, kMalformedReplyStatus);
    EXPECT_EQ(p.reply.ids.count(), 0);
    EXPECT_TRUE(p.reply.firstText.IsEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(BothForms, ReplyParseForms, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Binary" : "Text");
                         });

TEST(ReplyParse, CodesWithoutHandler) {
  for (int code : {0, 1, 13, 20, 21, 30, 42}) EXPECT_FALSE(hasReplyHandler(code)) << code;
  for (int code : {2, 7, 11, 25, 26, 39, 46}) EXPECT_TRUE(hasReplyHandler(code)) << code;
  BodyWriter w(false);
  w.i(1);
  Parsed p;
  parse(13, 717, w, p);
  EXPECT_EQ(p.result, ReplyParse::kNoHandler);
}

// Marks what it expanded, so the test sees where expansion applies.
bool fakeExpand(const void* data, size_t size, CString& out) {
  std::string s(static_cast<const char*>(data), size);
  if (s == "broken") return false;
  out = CString(("<" + s + ">").c_str());
  return true;
}

TEST(ReplyParse, CompressedRestsAreExpandedOnlyWhenAgreed) {
  BodyWriter w(true);
  w.i(0).ids({1}).i(3).raw("abc");
  Parsed plain;
  parse(11, 717, w, plain, false, fakeExpand);
  EXPECT_EQ(plain.reply.firstText, "abc");
  Parsed packed;
  parse(11, 717, w, packed, true, fakeExpand);
  EXPECT_EQ(packed.reply.firstText, "<abc>");

  BodyWriter bytes(false);
  bytes.i(0).i(3).raw("xyz");
  Parsed b;
  parse(45, 717, bytes, b, true, fakeExpand);
  EXPECT_EQ(b.reply.firstText, "<xyz>");
  EXPECT_EQ(b.reply.firstInt, 5);

  BodyWriter broken(false);
  broken.i(0).raw("broken");
  Parsed bad;
  parse(12, 717, broken, bad, true, fakeExpand);
  EXPECT_EQ(bad.result, ReplyParse::kMalformed);
}

TEST(ReplyBody, TextIntegersWrapAndNeedTheirSeparator) {
  ReplyBody body(std::string("  4294967295 -5 42"), false);
  LONG v = 0;
  ASSERT_TRUE(body.readInt(v));
  EXPECT_EQ(v, -1);
  ASSERT_TRUE(body.readInt(v));
  EXPECT_EQ(v, -5);
  EXPECT_FALSE(body.readInt(v));  // no separator after 42
  ReplyBody wide(std::string("4294967296 "), false);
  EXPECT_FALSE(wide.readInt(v));
  ReplyBody word(std::string("abc "), false);
  EXPECT_FALSE(word.readInt(v));
}

TEST(ReplyBody, StringsStopAtTheBody) {
  ReplyBody body(std::string("ab\0cd", 5), true);
  CString s;
  ASSERT_TRUE(body.readString(s));
  EXPECT_EQ(s, "ab");
  EXPECT_FALSE(body.readString(s));  // no NUL before the end
  EXPECT_EQ(body.bytesLeft(), 2u);
}

struct HelloCase {
  const char* name;
  DWORD word;
  std::function<void(BodyWriter&)> body;
  HelloAnswer::Kind kind;
  int status;
  const char* text;
};

TEST(HelloParse, TheFirstFieldDecides) {
  const HelloCase cases[] = {
      {"server string at 717", 717, [](BodyWriter& w) { w.i(0).s("ServerString$peer 1.0"); },
       HelloAnswer::Kind::kServerString, 0, "peer 1.0"},
      {"separators repeat", 700, [](BodyWriter& w) { w.s("$$ServerString$$$v2$rest"); },
       HelloAnswer::Kind::kServerString, 0, "v2"},
      {"reorganization", 712, [](BodyWriter& w) { w.s("Reorganization$soon"); },
       HelloAnswer::Kind::kReorganization, 0, ""},
      {"message", 717, [](BodyWriter& w) { w.i(0).s("FROM x\nDATA ECHO_REQUEST"); },
       HelloAnswer::Kind::kMessage, 0, "FROM x\nDATA ECHO_REQUEST"},
      {"status from 713", 713, [](BodyWriter& w) { w.i(41).s("ServerString$x"); },
       HelloAnswer::Kind::kNothing, 41, ""},
      {"empty body", 5, [](BodyWriter&) {}, HelloAnswer::Kind::kNothing, 0, ""},
  };
  for (const HelloCase& c : cases) {
    SCOPED_TRACE(c.name);
    for (bool binary : {false, true}) {
      BodyWriter w(binary);
      c.body(w);
      ReplyBody body(w.bytes(), binary);
      HelloAnswer a;
      ASSERT_TRUE(parseHello(c.word | kCompressBit, body, a));
      EXPECT_EQ(a.kind, c.kind);
      EXPECT_EQ(a.status, c.status);
      EXPECT_EQ(a.text, c.text);
      EXPECT_TRUE(a.compress);
      EXPECT_EQ(a.serverVersion, static_cast<int>(c.word));
    }
  }
}

}  // namespace

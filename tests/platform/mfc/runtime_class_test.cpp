#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>

#include "mfc/afx.h"

// Three levels: a dynamic base, a creatable middle, a creatable leaf.
class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
 public:
  int sides = 0;
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CPolygon : public CShape {
  DECLARE_DYNCREATE(CPolygon)
 public:
  CPolygon() { sides = 5; }
  void Dump(CDumpContext& dc) const override {
    CShape::Dump(dc);
    dc << "sides " << sides << "\n";
  }
};
IMPLEMENT_DYNCREATE(CPolygon, CShape)

class CSquare : public CPolygon {
  DECLARE_DYNCREATE(CSquare)
 public:
  CSquare() { sides = 4; }
};
IMPLEMENT_DYNCREATE(CSquare, CPolygon)

class COther : public CObject {
  DECLARE_DYNAMIC(COther)
};
IMPLEMENT_DYNAMIC(COther, CObject)

namespace {

TEST(RuntimeClassTest, IsKindOfFollowsTheBaseChain) {
  CSquare square;
  const CObject& obj = square;
  struct Case {
    const CRuntimeClass* cls;
    bool kind;
  };
  const Case cases[] = {
      {RUNTIME_CLASS(CSquare), true},  {RUNTIME_CLASS(CPolygon), true},
      {RUNTIME_CLASS(CShape), true},   {RUNTIME_CLASS(CObject), true},
      {RUNTIME_CLASS(COther), false},  {RUNTIME_CLASS(CFileException), false},
      {nullptr, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(obj.IsKindOf(c.cls) != 0, c.kind) << (c.cls ? c.cls->m_lpszClassName : "null");
  EXPECT_EQ(obj.GetRuntimeClass(), RUNTIME_CLASS(CSquare));
  EXPECT_STREQ(obj.GetRuntimeClass()->m_lpszClassName, "CSquare");
  EXPECT_EQ(obj.GetRuntimeClass()->m_nObjectSize, static_cast<int>(sizeof(CSquare)));
  EXPECT_EQ(RUNTIME_CLASS(CSquare)->m_pBaseClass, RUNTIME_CLASS(CPolygon));
  EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CSquare)));
}

TEST(RuntimeClassTest, CreatableClassesAreMadeFromTheirClassOrName) {
  std::unique_ptr<CObject> made(RUNTIME_CLASS(CSquare)->CreateObject());
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CSquare)));
  EXPECT_EQ(static_cast<CSquare*>(made.get())->sides, 4);
  EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);  // not creatable

  CRuntimeClass* byName = CRuntimeClass::FromName("CPolygon");
  ASSERT_EQ(byName, RUNTIME_CLASS(CPolygon));
  std::unique_ptr<CObject> polygon(byName->CreateObject());
  EXPECT_EQ(static_cast<CPolygon*>(polygon.get())->sides, 5);
  EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
  EXPECT_EQ(CRuntimeClass::FromName("CFile"), RUNTIME_CLASS(CFile));  // the library's own
  EXPECT_EQ(CRuntimeClass::FromName("cpolygon"), nullptr);  // names compare exactly
  EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

TEST(RuntimeClassTest, DumpWritesTheClassAndTheObjectsOwnLines) {
  std::ostringstream out;
  CDumpContext dc(&out);
  CPolygon polygon;
  dc << &polygon << static_cast<const CObject*>(nullptr) << " " << static_cast<BYTE>(65) << " "
     << static_cast<LONG>(-3) << " " << static_cast<DWORD>(7) << CString(" end");
  const std::string text = out.str();
  EXPECT_EQ(text.rfind("a CPolygon at $", 0), 0u) << text;
  EXPECT_NE(text.find("sides 5\nNULL 65 -3 7 end"), std::string::npos) << text;
  std::ostringstream hex;
  CDumpContext hexDc(&hex);
  const BYTE bytes[] = {0x01, 0xAB, 0xFF};
  hexDc.HexDump(">", bytes, 3, 2);
  EXPECT_EQ(hex.str(), "> 01 AB\n> FF\n");
}

}  // namespace

namespace {

// In a process of its own, so that afxDump's first use is this one: exits
// with 0 after dumping to standard error.
[[noreturn]] void DumpToStandardError() {
  CPolygon polygon;
  afxDump << "dumped " << 42 << " " << static_cast<const CObject&>(polygon);
  afxDump.Flush();
  std::_Exit(0);
}

TEST(RuntimeClassTest, AfxDumpWritesToStandardError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(DumpToStandardError(), ::testing::ExitedWithCode(0), "dumped 42 a CPolygon at [$][0-9A-F]+\nsides 5");
}

}  // namespace

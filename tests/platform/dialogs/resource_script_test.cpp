// The resource compiler and the module table: what a script becomes, the
// errors it reports, and how modules keep their resources apart.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "user/dialogs/dialog_template.h"
#include "user/dialogs/resource_script.h"
#include "user/menus/menu_template.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

using win::user::CompiledResource;
using win::user::CompileResourceScript;
using win::user::DialogTemplate;
using win::user::MenuTemplateItem;
using win::user::ParseDialogTemplate;
using win::user::ParseMenuTemplate;

std::vector<CompiledResource> Compile(const std::string& text) {
  std::vector<CompiledResource> out;
  std::string error;
  EXPECT_TRUE(CompileResourceScript(text, &out, &error)) << error;
  return out;
}

DialogTemplate DialogOf(const CompiledResource& r) {
  DialogTemplate t;
  std::string error;
  EXPECT_TRUE(ParseDialogTemplate(r.data.data(), r.data.size(), &t, &error)) << error;
  return t;
}

TEST(ResourceScriptTest, DialogStatementsGiveTheirDefaultStyles) {
  const auto res = Compile(R"(
#define IDC_NAME 1003
142 DIALOG DISCARDABLE 0, 0, 182, 83
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "Korvex Login"
FONT 8, "MS Sans Serif"
BEGIN
    LTEXT "&Username:", -1, 7, 9, 40, 8
    EDITTEXT IDC_NAME, 52, 7, 123, 12, ES_AUTOHSCROLL | NOT WS_TABSTOP
    DEFPUSHBUTTON "OK", IDOK, 36, 67, 50, 14
    AUTOCHECKBOX "in &whole text", 1004, 7, 36, 80, 10
    CONTROL "", 1008, "Button", BS_OWNERDRAW, 4, 4, 100, 50, WS_EX_STATICEDGE
    LISTBOX 592, 7, 7, 110, 78, LBS_NOINTEGRALHEIGHT
    ICON 32515, 208, 160, 4
END
)");
  ASSERT_EQ(res.size(), 1u);
  EXPECT_TRUE(res[0].type.isNumber && res[0].type.number == 5);
  EXPECT_EQ(res[0].name.number, 142);
  const DialogTemplate t = DialogOf(res[0]);
  EXPECT_EQ(t.style, static_cast<DWORD>(DS_MODALFRAME | WS_POPUP | WS_CAPTION | DS_SETFONT));
  EXPECT_EQ(t.title, "Korvex Login");
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.face, "MS Sans Serif");
  EXPECT_EQ(t.cx, 182);
  EXPECT_EQ(t.cy, 83);
  struct Want {
    WORD cls;
    DWORD id;
    DWORD style;
    DWORD exStyle;
    const char* text;
  };
  const DWORD child = WS_CHILD | WS_VISIBLE;
  const Want want[] = {
      {0x82, 0xFFFF, child | SS_LEFT | WS_GROUP, 0, "&Username:"},
      {0x81, 1003, child | ES_LEFT | WS_BORDER | ES_AUTOHSCROLL, 0, ""},
      {0x80, IDOK, child | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, "OK"},
      {0x80, 1004, child | BS_AUTOCHECKBOX | WS_TABSTOP, 0, "in &whole text"},
      {0x80, 1008, child | BS_OWNERDRAW, WS_EX_STATICEDGE, ""},
      {0x83, 592, child | LBS_NOTIFY | WS_BORDER | LBS_NOINTEGRALHEIGHT, 0, ""},
      {0x82, 208, child | SS_ICON, 0, nullptr},
  };
  ASSERT_EQ(t.items.size(), std::size(want));
  for (size_t i = 0; i < std::size(want); ++i) {
    const auto& item = t.items[i];
    SCOPED_TRACE(i);
    EXPECT_TRUE(item.cls.isOrdinal);
    EXPECT_EQ(item.cls.ordinal, want[i].cls);
    EXPECT_EQ(item.id, want[i].id);
    EXPECT_EQ(item.style, want[i].style);
    EXPECT_EQ(item.exStyle, want[i].exStyle);
    if (want[i].text) {
      EXPECT_EQ(item.text.text, want[i].text);
    } else {
      EXPECT_TRUE(item.text.isOrdinal);
      EXPECT_EQ(item.text.ordinal, 32515);
    }
  }
  EXPECT_EQ(t.items[1].x, 52);
  EXPECT_EQ(t.items[1].cy, 12);
}

TEST(ResourceScriptTest, CaptionAddsCaptionStyleAndNamesMayBeStrings) {
  const auto res = Compile(
      "DLG_GIF DIALOG 0, 0, 100, 40\nCAPTION \"GIF \"\"87\"\" \\x41\"\nBEGIN\nEND\n"
      "\"quoted name\" DIALOG 1, 2, 3, 4 { }\n");
  ASSERT_EQ(res.size(), 2u);
  EXPECT_FALSE(res[0].name.isNumber);
  EXPECT_EQ(res[0].name.text, "DLG_GIF");
  const DialogTemplate t = DialogOf(res[0]);
  // The default style, with the caption's.
  EXPECT_EQ(t.style, static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION));
  EXPECT_EQ(t.title, "GIF \"87\" A");
  EXPECT_EQ(res[1].name.text, "quoted name");
}

TEST(ResourceScriptTest, TextIsStoredAsUtf16AndReadBackInTheAnsiCodePage) {
  const auto res = Compile("1 DIALOG 0, 0, 10, 10\nCAPTION \"Gr\xc3\xb6\xc3\x9f" "e \xe2\x82\xac\"\nBEGIN\nEND\n"
                           "2 DIALOG 0, 0, 10, 10\nCAPTION \"Gr\xf6\xdf" "e\"\nBEGIN\nEND\n");
  ASSERT_EQ(res.size(), 2u);
  EXPECT_EQ(DialogOf(res[0]).title, "Gr\xf6\xdf" "e \x80");  // UTF-8 in the script
  EXPECT_EQ(DialogOf(res[1]).title, "Gr\xf6\xdf" "e");       // Windows-1252 in the script
}

TEST(ResourceScriptTest, MenusKeepTheirShapeAndFlags) {
  const auto res = Compile(R"(
128 MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&New\tCtrl+N", 0xE100
        MENUITEM SEPARATOR
        POPUP "&Recent"
        BEGIN
            MENUITEM "&1", 0xE110, CHECKED, GRAYED
        END
        MENUITEM "E&xit", 0xE141 INACTIVE
    END
    MENUITEM "&Help", 0xE146, HELP
END
)");
  ASSERT_EQ(res.size(), 1u);
  EXPECT_EQ(res[0].type.number, 4);
  std::vector<MenuTemplateItem> items;
  std::string error;
  ASSERT_TRUE(ParseMenuTemplate(res[0].data.data(), res[0].data.size(), &items, &error)) << error;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].flags, static_cast<UINT>(MF_POPUP));
  EXPECT_EQ(items[0].text, "&File");
  ASSERT_EQ(items[0].children.size(), 4u);
  EXPECT_EQ(items[0].children[0].id, 0xE100);
  EXPECT_EQ(items[0].children[0].text, "&New\tCtrl+N");
  EXPECT_EQ(items[0].children[1].flags, static_cast<UINT>(MF_SEPARATOR));
  ASSERT_EQ(items[0].children[2].children.size(), 1u);
  EXPECT_EQ(items[0].children[2].children[0].flags, static_cast<UINT>(MF_CHECKED | MF_GRAYED));
  EXPECT_EQ(items[0].children[3].flags, static_cast<UINT>(MF_DISABLED));
  EXPECT_EQ(items[1].flags, static_cast<UINT>(MF_HELP));
}

TEST(ResourceScriptTest, AcceleratorRowsCarryKeysAndModifiers) {
  const auto res = Compile(R"(
128 ACCELERATORS
BEGIN
    "D", 32774, VIRTKEY, CONTROL, ALT, NOINVERT
    VK_F4, 32777, VIRTKEY, ALT
    "^Q", 57665, ASCII
    "a", 7, VIRTKEY, SHIFT
    "a", 8
END
)");
  ASSERT_EQ(res.size(), 1u);
  const auto& d = res[0].data;
  ASSERT_EQ(d.size(), 5u * 8);
  auto word = [&](size_t at) { return static_cast<WORD>(d[at] | (d[at + 1] << 8)); };
  struct Row {
    WORD flags, key, cmd;
  };
  const Row want[] = {{FVIRTKEY | FCONTROL | FALT | FNOINVERT, 'D', 32774},
                      {FVIRTKEY | FALT, VK_F4, 32777},
                      {0, 17, 57665},
                      {FVIRTKEY | FSHIFT, 'A', 7},
                      {0x80, 'a', 8}};
  for (size_t i = 0; i < std::size(want); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(word(i * 8), want[i].flags);
    EXPECT_EQ(word(i * 8 + 2), want[i].key);
    EXPECT_EQ(word(i * 8 + 4), want[i].cmd);
  }
}

TEST(ResourceScriptTest, ErrorsSayWhereAndWhy) {
  struct Case {
    std::string script;
    const char* expect;
  };
  static const char kRawNul[] = "1 DIALOG 0, 0, 1, 1\nCAPTION \"a\0b\"\nBEGIN END";
  const Case cases[] = {
      {"1 DIALOG 0, 0, 10\nBEGIN END", "line 2"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"x\", -1, 0, 0, 10\nEND", "line 4"},
      {"1 DIALOG 0, 0, 10, 10\nSTYLE WS_NOSUCH\nBEGIN END", "unknown name WS_NOSUCH"},
      {"1 DIALOG 0, 0, 10, 10\nCAPTION \"open\nBEGIN END", "string not closed"},
      {"/* never closed", "comment not closed"},
      {"1 MENU\nBEGIN\n POPUP \"a\"\n BEGIN\n", "END expected"},
      {"1 ACCELERATORS\nBEGIN\n \"AB\", 5\nEND", "one character"},
      {"1 ACCELERATORS\nBEGIN\n \"^C\", 5, VIRTKEY\nEND", "ASCII"},
      {"#include \"resource.h\"", "#define"},
      {"1 DIALOG 0, 0, 99999999999, 1\nBEGIN END", "number too large"},
      {"1 BITMAP \"x.bmp\"", "DIALOG, MENU or ACCELERATORS"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  BUTTON \"x\", 1, 0, 0, 1, 1\nEND", "control statement expected"},
      {"1 DIALOG 0, 0, 1, 1\nCAPTION \"a\\x00b\"\nBEGIN END", "NUL"},
      {std::string(kRawNul, sizeof kRawNul - 1), "NUL"},
  };
  for (const Case& c : cases) {
    std::vector<CompiledResource> out;
    std::string error;
    EXPECT_FALSE(CompileResourceScript(c.script, &out, &error)) << c.script;
    EXPECT_NE(error.find(c.expect), std::string::npos) << c.script << " gave: " << error;
  }
}

TEST(ResourceScriptTest, MenusNestedTooDeeplyAreRefused) {
  std::string script = "1 MENU\nBEGIN\n";
  for (int i = 0; i < 40; ++i) script += "POPUP \"p\"\nBEGIN\n";
  std::vector<CompiledResource> out;
  std::string error;
  EXPECT_FALSE(CompileResourceScript(script, &out, &error));
  EXPECT_NE(error.find("nested"), std::string::npos) << error;
}

// ---- Templates cut short ---------------------------------------------------------------

TEST(DialogTemplateTest, EveryShorterCopyOfATemplateIsRefused) {
  const auto res = Compile(R"(1 DIALOG 0, 0, 50, 50
CAPTION "Cut"
FONT 8, "MS Sans Serif"
BEGIN
  LTEXT "label", 10, 1, 1, 20, 8
  CONTROL "x", 11, "MyClass", 0, 1, 10, 20, 8
END)");
  ASSERT_EQ(res.size(), 1u);
  const auto& full = res[0].data;
  DialogTemplate t;
  std::string error;
  ASSERT_TRUE(ParseDialogTemplate(full.data(), full.size(), &t, &error)) << error;
  EXPECT_EQ(t.items[1].cls.text, "MyClass");
  // The bytes after the last item's creation-data count are padding only.
  for (size_t n = 0; n + 1 < full.size(); ++n) {
    std::vector<BYTE> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(ParseDialogTemplate(cut.data(), cut.size(), &t, &error)) << n;
  }
}

TEST(DialogTemplateTest, WhatTheClassicFormCannotHoldIsWrittenExtended) {
  // A style whose words read as the extended form's signature, a 32-bit
  // id and a font weight: each survives writing and reading.
  DialogTemplate t;
  t.style = 0xFFFF0001;
  t.items.resize(1);
  t.items[0].id = 0x12345;
  t.items[0].cls = win::user::TemplateName::Ordinal(0x80);
  std::string error;
  for (int round = 0; round < 2; ++round) {
    const std::vector<BYTE> bytes = win::user::WriteDialogTemplate(t);
    DialogTemplate back;
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), &back, &error)) << error;
    EXPECT_EQ(back.style, t.style);
    EXPECT_EQ(back.items.at(0).id, t.items[0].id);
    EXPECT_EQ(back.weight, t.weight);
    t.style = WS_POPUP | DS_SETFONT;
    t.pointSize = 9;
    t.face = "Arial";
    t.weight = FW_BOLD;
  }
}

TEST(DialogTemplateTest, ExtendedTemplatesAreRead) {
  // DLGTEMPLATEEX with one item, built by hand.
  std::vector<BYTE> b;
  auto w = [&](WORD v) {
    b.push_back(static_cast<BYTE>(v));
    b.push_back(static_cast<BYTE>(v >> 8));
  };
  auto d = [&](DWORD v) {
    w(static_cast<WORD>(v));
    w(static_cast<WORD>(v >> 16));
  };
  auto s = [&](const char* t) {
    for (; *t; ++t) w(static_cast<BYTE>(*t));
    w(0);
  };
  w(1);
  w(0xFFFF);
  d(0);                              // help id
  d(0);                              // ex style
  d(WS_POPUP | DS_SETFONT);          // style
  w(1);                              // items
  w(1), w(2), w(30), w(40);          // x y cx cy
  w(0), w(0), s("Ex");               // menu, class, title
  w(9), w(FW_BOLD), b.push_back(1), b.push_back(0), s("Arial");
  while (b.size() % 4) b.push_back(0);
  d(0), d(0), d(WS_CHILD | SS_RIGHT);  // help, ex style, style
  w(3), w(4), w(20), w(8);
  d(77);                             // id
  w(0xFFFF), w(0x82), s("right");
  w(0);
  DialogTemplate t;
  std::string error;
  ASSERT_TRUE(ParseDialogTemplate(b.data(), b.size(), &t, &error)) << error;
  EXPECT_EQ(t.title, "Ex");
  EXPECT_EQ(t.pointSize, 9);
  EXPECT_EQ(t.weight, FW_BOLD);
  EXPECT_EQ(t.italic, 1);
  EXPECT_EQ(t.face, "Arial");
  ASSERT_EQ(t.items.size(), 1u);
  EXPECT_EQ(t.items[0].id, 77u);
  EXPECT_EQ(t.items[0].text.text, "right");
  EXPECT_EQ(t.items[0].style, static_cast<DWORD>(WS_CHILD | SS_RIGHT));
}

// ---- Modules -------------------------------------------------------------------------------

class ResourceModuleTest : public ::testing::Test {
 protected:
  void SetUp() override { win::ResetResources(); }
  void TearDown() override { win::ResetResources(); }
};

TEST_F(ResourceModuleTest, ModulesKeepTheirOwnResourcesUnderTheSameNumbers) {
  const char a[] = "200 DIALOG 0, 0, 10, 10\nCAPTION \"Pixolt\"\nBEGIN\nEND\n";
  const char b[] = "200 DIALOG 0, 0, 10, 10\nCAPTION \"Murvik\"\nBEGIN\nEND\n";
  HINSTANCE pixolt = win::RegisterResourceScript("Pixolt", a, sizeof a - 1);
  HINSTANCE murvik = win::RegisterResourceScript("Murvik.dll", b, sizeof b - 1);
  ASSERT_NE(pixolt, nullptr);
  ASSERT_NE(murvik, nullptr);
  EXPECT_NE(pixolt, murvik);
  EXPECT_NE(pixolt, GetModuleHandle(nullptr));
  EXPECT_EQ(win::FindResourceModule("PIXOLT.DLL"), pixolt);
  EXPECT_EQ(win::FindResourceModule("murvik"), murvik);
  EXPECT_EQ(win::FindResourceModule("Wendle"), nullptr);
  auto caption = [](HINSTANCE m) {
    HRSRC r = FindResource(m, MAKEINTRESOURCE(200), RT_DIALOG);
    const void* p = LockResource(LoadResource(m, r));
    DialogTemplate t;
    std::string error;
    EXPECT_TRUE(ParseDialogTemplate(p, SizeofResource(m, r), &t, &error));
    return t.title;
  };
  EXPECT_EQ(caption(pixolt), "Pixolt");
  EXPECT_EQ(caption(murvik), "Murvik");
  // The program's own module has neither.
  EXPECT_EQ(FindResource(nullptr, MAKEINTRESOURCE(200), RT_DIALOG), nullptr);
}

TEST_F(ResourceModuleTest, NamesAreFoundAsNumbersTextsAndHashNumbers) {
  const char s[] = "142 DIALOG 0, 0, 1, 1 BEGIN END\nDLG_GIF DIALOG 0, 0, 1, 1 BEGIN END\n"
                   "1 MENU BEGIN MENUITEM \"x\", 1 END\n";
  HINSTANCE m = win::RegisterResourceScript(nullptr, s, sizeof s - 1);
  ASSERT_EQ(m, GetModuleHandle(nullptr));
  EXPECT_NE(FindResource(nullptr, MAKEINTRESOURCE(142), RT_DIALOG), nullptr);
  EXPECT_NE(FindResource(nullptr, "#142", RT_DIALOG), nullptr);
  EXPECT_NE(FindResource(nullptr, "dlg_gif", RT_DIALOG), nullptr);
  EXPECT_NE(FindResource(m, "#1", "#4"), nullptr);
  SetLastError(0);
  EXPECT_EQ(FindResource(nullptr, MAKEINTRESOURCE(143), RT_DIALOG), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(FindResource(nullptr, MAKEINTRESOURCE(1), RT_ACCELERATOR), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  // Handles that are no resources give nothing.
  int junk = 0;
  EXPECT_EQ(LockResource(&junk), nullptr);
  EXPECT_EQ(SizeofResource(nullptr, reinterpret_cast<HRSRC>(&junk)), 0u);
}

TEST_F(ResourceModuleTest, RegisteringAgainKeepsTheDataCallersHold) {
  const char v1[] = "1 DIALOG 0, 0, 1, 1\nCAPTION \"one\"\nBEGIN END\n";
  const char v2[] = "1 DIALOG 0, 0, 1, 1\nCAPTION \"two\"\nBEGIN END\n";
  HINSTANCE m = win::RegisterResourceScript("Plug", v1, sizeof v1 - 1);
  const void* held = LockResource(LoadResource(m, FindResource(m, MAKEINTRESOURCE(1), RT_DIALOG)));
  ASSERT_NE(held, nullptr);
  // The same script again (a plug-in loaded once more): nothing moves.
  EXPECT_EQ(win::RegisterResourceScript("plug", v1, sizeof v1 - 1), m);
  EXPECT_EQ(LockResource(LoadResource(m, FindResource(m, MAKEINTRESOURCE(1), RT_DIALOG))), held);
  // Other contents replace the resource; the old data stays readable.
  EXPECT_EQ(win::RegisterResourceScript("Plug", v2, sizeof v2 - 1), m);
  DialogTemplate t;
  std::string error;
  EXPECT_TRUE(ParseDialogTemplate(held, 64, &t, &error));
  EXPECT_EQ(t.title, "one");
  // A script that fails registers nothing.
  std::string why;
  EXPECT_EQ(win::RegisterResourceScript("Broken", "1 DIALOG", 8, &why), nullptr);
  EXPECT_FALSE(why.empty());
  EXPECT_EQ(win::FindResourceModule("Broken"), nullptr);
}

}  // namespace

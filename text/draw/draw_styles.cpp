#include "text/draw/draw_styles.h"

#include <cstdio>
#include <cstdlib>

#include "mfc/app.h"
#include "text/style/color_table.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/user.h"

CString TextProfileString(const char* section, const char* key, const char* def) {
  CWinApp* app = AfxGetApp();
  if (!app) return CString(def);
  return app->GetProfileString(section, key, def);
}

int TextProfileInt(const char* section, const char* key, int def) {
  CWinApp* app = AfxGetApp();
  if (!app) return def;
  return static_cast<int>(app->GetProfileInt(section, key, def));
}

CString TextProfileFileName() {
  CWinApp* app = AfxGetApp();
  return app && app->m_pszProfileName ? CString(app->m_pszProfileName) : CString();
}

LONG DrawStyle::LineColorIndex(const FontDescriptor& d) const {
  if (d.highlight) return 0;
  if (d.colorIndex >= 0) return d.colorIndex + 8;
  return lineColor;
}

LONG DrawStyle::FillColorIndex(const FontDescriptor& d) const {
  if (d.IsProfileStyle()) {
    if (!d.highlight) return fillColor;
    return d.colorIndex >= 0 ? d.colorIndex + 8 : lineColor;
  }
  return d.highlight ? highlightFill : fillColor;
}

namespace {

struct Tables {
  int profileCount = -1;
  std::vector<DrawStyle> profile;
  std::vector<DrawStyle> builtIn;
};

Tables& tables() {
  static Tables t;
  return t;
}

void setColors(DrawStyle& s, int line, int fill) {
  s.lineColor = s.highlightFill = line;
  s.fillColor = s.highlightColor = fill;
  s.hatch = s.highlightHatch = kNoFill;
}

// The fields of a "Font" value: face, size, strike-out, character set.
struct FontFields {
  CString field[4];
};

FontFields splitFont(const CString& value) {
  FontFields out;
  int from = 0;
  for (int i = 0; i < 4; ++i) {
    int comma = value.Find(',', from);
    if (comma < 0 || i == 3) {
      out.field[i] = value.Mid(from);
      break;
    }
    out.field[i] = value.Mid(from, comma - from);
    from = comma + 1;
  }
  for (CString& f : out.field) {
    f.TrimLeft();
    f.TrimRight();
  }
  return out;
}

void loadProfileEntry(Tables& t, int i) {
  DrawStyle& s = t.profile[i];
  CString section;
  section.Format("DrawStyle %i", i);
  CString color = TextProfileString(section, "DrawColor", "Text").Left(100);
  int c = DrawStyles::ColorIndexOfName(color);
  setColors(s, c, c + 48);

  FontFields font = splitFont(TextProfileString(section, "Font", "").Left(100));
  const DrawStyle& first = t.profile[0];
  bool firstLoaded = i != 0 && first.loaded;
  if (!font.field[0].IsEmpty())
    s.face = font.field[0];
  else
    s.face = firstLoaded ? first.face : CString("Times New Roman");
  if (!font.field[1].IsEmpty())
    s.size = std::atoi(font.field[1]);
  else
    s.size = firstLoaded ? first.size : 0;
  if (s.size == 0) s.size = 10;
  s.strikeOut = font.field[2].GetAt(0) == '1' ? 1 : 0;
  s.charSet = static_cast<BYTE>(std::atoi(font.field[3]));
  s.penWidth = TextProfileInt(section, "Pen", 0);
  s.loaded = 1;
}

void loadBuiltInEntry(DrawStyle& s, int k) {
  setColors(s, k + 8, k + 56);
  s.loaded = 1;
}

void loadTables(Tables& t) {
  int count = TextProfileInt("Styles", "DrawStyles", 0);
  if (count == 0) {
    CString text = "Sektion [Styles] in der ini-Datei " + TextProfileFileName() + " nicht gefunden";
    MessageBox(nullptr, text, "Fehler!", MB_OK);
  }
  if (count < 0) count = 0;
  if (count > DrawStyles::kMaxProfileStyles) count = DrawStyles::kMaxProfileStyles;
  t.profileCount = count;
  t.profile.assign(count, DrawStyle());
  t.builtIn.assign(DrawStyles::kBuiltInCount, DrawStyle());
  if (count > 0) loadProfileEntry(t, 0);
}

}  // namespace

const DrawStyle& DrawStyles::Lookup(const FontDescriptor& d) {
  Tables& t = tables();
  if (t.profileCount < 0) loadTables(t);
  int n = d.styleNumber;
  if (n > 0 && n <= t.profileCount) {
    DrawStyle& s = t.profile[n - 1];
    if (!s.loaded) loadProfileEntry(t, n - 1);
    return s;
  }
  int k = n < 0 ? -n - 1 : 0;
  if (k >= kBuiltInCount) k = 0;
  DrawStyle& s = t.builtIn[k];
  if (!s.loaded) loadBuiltInEntry(s, k);
  return s;
}

void DrawStyles::Unload() {
  Tables& t = tables();
  t.profile.clear();
  t.builtIn.clear();
  t.profileCount = -1;
}

int DrawStyles::ProfileCount() { return tables().profileCount; }

namespace {

struct NamedColor {
  const char* name;
  int index;
};

const NamedColor kColorNames[] = {
    {"BACKGROUND", ColorTable::kBackground}, {"TEXT", ColorTable::kText},
    {"HEADLINE", ColorTable::kHeadline},     {"SEARCH", ColorTable::kSearch},
    {"SEENANCHOR", ColorTable::kSeenAnchor}, {"GRAY", ColorTable::kGray},
    {"LIGHTGRAY", ColorTable::kLightGray},   {"DARKGRAY", ColorTable::kDarkGray},
};

// "PREFIX" followed by a decimal number below `limit`: the number, else -1.
int numbered(const CString& name, const char* prefix, int limit) {
  CString p(prefix);
  if (name.Left(p.GetLength()) != p) return -1;
  CString digits = name.Mid(p.GetLength());
  if (digits.IsEmpty() || digits.GetLength() > 3 || digits.SpanIncluding("0123456789") != digits) return -1;
  int n = std::atoi(digits);
  return n < limit ? n : -1;
}

}  // namespace

int DrawStyles::ColorIndexOfName(const CString& name) {
  CString upper(name);
  upper.MakeUpper();
  upper.TrimLeft();
  upper.TrimRight();
  for (const NamedColor& c : kColorNames)
    if (upper == c.name) return c.index;
  if (int n = numbered(upper, "ANCHOR", 24); n >= 0) return ColorTable::kFirstAnchor + n;
  if (int n = numbered(upper, "MARKER", 8); n >= 0) return ColorTable::kFirstMarker + n;
  return ColorTable::kText;
}

namespace {

ColorRecord systemColor(int which) {
  DWORD c = GetSysColor(which);
  return ColorRecord::Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

void readColorKey(ColorTable& table, const char* key, int entry) {
  CString value = TextProfileString("Color", key, "");
  int v[6] = {};
  int n = std::sscanf(value, "%i,%i,%i;%i,%i,%i", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
  if (n < 3) return;
  auto rgb = [&](int i) {
    return ColorRecord::Rgb(static_cast<BYTE>(v[i]), static_cast<BYTE>(v[i + 1]), static_cast<BYTE>(v[i + 2]));
  };
  table.SetColorPair(entry, rgb(0));
  if (n == 6) table.SetColor(entry + ColorTable::kPairOffset, rgb(3));
}

}  // namespace

void LoadColors(ColorTable& table) {
  bool newShell = (GetVersion() & 0xff) >= 4;
  table.SetColor(ColorTable::kBackground, systemColor(newShell ? COLOR_3DFACE : COLOR_WINDOW));
  table.SetColor(ColorTable::kText, systemColor(COLOR_WINDOWTEXT));
  table.SetColor(ColorTable::kText + ColorTable::kPairOffset, systemColor(COLOR_HIGHLIGHTTEXT));
  table.SetColor(ColorTable::kPairOffset, systemColor(COLOR_HIGHLIGHT));
  table.SetColorPair(ColorTable::kGray, systemColor(COLOR_3DFACE));
  table.SetColorPair(ColorTable::kLightGray, systemColor(COLOR_BTNHIGHLIGHT));
  table.SetColorPair(ColorTable::kDarkGray, systemColor(COLOR_BTNSHADOW));

  static const char* const kKeys[8] = {"Background", "Text",  "Headline",  "Search",
                                       "SeenAnchor", "Gray",  "LightGray", "DarkGray"};
  for (int i = 0; i < 8; ++i) readColorKey(table, kKeys[i], i);
  CString key;
  for (int n = 0; n < 24; ++n) {
    key.Format("Anchor%d", n);
    readColorKey(table, key, ColorTable::kFirstAnchor + n);
  }
  for (int n = 0; n < 8; ++n) {
    key.Format("Marker%d", n);
    readColorKey(table, key, ColorTable::kFirstMarker + n);
  }
}

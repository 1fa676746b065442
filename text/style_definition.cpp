#include "text/style_definition.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include "text/def_lexer.h"

LONG DefinitionAtoi(const char* s) {
  if (!s) return 0;
  while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\r' || *s == '\v' || *s == '\f') ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  std::int64_t v = 0;
  for (; *s >= '0' && *s <= '9'; ++s) {
    v = v * 10 + (*s - '0');
    if (v > std::int64_t{std::numeric_limits<LONG>::max()} + 1) break;
  }
  if (negative) v = -v;
  return static_cast<LONG>(std::clamp<std::int64_t>(v, std::numeric_limits<LONG>::min(),
                                                    std::numeric_limits<LONG>::max()));
}

namespace {

struct Word {
  const char* text;
  int value;
};

// Sorted by byte order: looked up by binary search.
constexpr Word kHorizontalWords[] = {{"CENTER", 2}, {"LEFT", 0}, {"POINT", 3}, {"RIGHT", 1}, {"STD", 4}};
constexpr Word kVerticalWords[] = {{"BASE", 3}, {"BOTTOM", 1}, {"MIDDLE", 2}, {"STD", 4}, {"TOP", 0}};
constexpr Word kSpacingWords[] = {{"ALL", 2}, {"NO", 0}, {"SPACE", 1}, {"STD", 3}};

template <size_t N>
const Word* FindWord(const Word (&table)[N], std::string_view w) {
  auto it = std::lower_bound(std::begin(table), std::end(table), w,
                             [](const Word& a, std::string_view b) { return std::string_view(a.text) < b; });
  return it != std::end(table) && w == it->text ? it : nullptr;
}

CString Upper(const CString& s) {
  CString u = s;
  u.MakeUpper();
  return u;
}

bool IsEntryEnd(const CString& item) { return item == "," || item == "}"; }

// After a value: the next "," or "}" is left for the entry loop.
void LeaveEntrySeparator(DefLexer& lexer) {
  const char c = lexer.NextSeparator(",}");
  lexer.PushBack(c ? CString(c) : CString());
}

// The first item of a value; a separator is pushed back and ends the value.
bool FirstValueItem(DefLexer& lexer, CString& item) {
  if (!lexer.NextItem(item)) return false;
  if (lexer.lastWasSeparator()) {
    lexer.PushBack(item);
    return false;
  }
  return true;
}

bool ReadString(DefLexer& lexer, CString& target) {
  CString item;
  if (!FirstValueItem(lexer, item)) return true;
  target = item;
  LeaveEntrySeparator(lexer);
  return true;
}

bool ReadValue(DefLexer& lexer, StyleValue& target, LONG defaultMode) {
  CString item;
  if (!lexer.NextItem(item)) return false;
  if (lexer.lastWasSeparator()) {
    lexer.PushBack(item);
    return true;
  }
  LONG mode = defaultMode == StyleValue::kUnset ? StyleValue::kAdd : defaultMode;
  if (item[0] == '%' || item[0] == 'A') {
    mode = item[0] == '%' ? StyleValue::kPercent : StyleValue::kAbsolute;
    if (!lexer.NextItem(item)) return false;
    // A "%" written against its number ("%50") makes one item; a separator
    // found in the number's place stays for the entry loop.
    if (lexer.lastWasSeparator()) {
      lexer.PushBack(item);
      item = CString();
    }
  }
  target.Set(DefinitionAtoi(item), mode);
  LeaveEntrySeparator(lexer);
  return true;
}

bool ReadBoolean(DefLexer& lexer, TriState& target) {
  CString item;
  if (!FirstValueItem(lexer, item)) return true;
  const CString word = Upper(item);
  if (word == "TRUE")
    target = TriState::True;
  else if (word == "FALSE")
    target = TriState::False;
  LeaveEntrySeparator(lexer);
  return true;
}

bool ReadColorNumber(DefLexer& lexer, int& out) {
  CString item;
  if (!lexer.NextItem(item) || lexer.lastWasSeparator()) return false;
  out = DefinitionAtoi(item);
  return true;
}

bool ReadColor(DefLexer& lexer, ColorRecord& color, LONG& colorSet) {
  color = ColorRecord();
  colorSet = 0;
  CString item;
  if (!lexer.NextItem(item)) return false;
  if (lexer.lastWasSeparator()) {
    lexer.PushBack(item);
    return false;
  }
  int rgb[3] = {DefinitionAtoi(item), 0, 0};
  for (int i = 1; i < 3; ++i) {
    CString comma;
    if (!lexer.NextItem(comma) || comma != ",") return false;
    if (!ReadColorNumber(lexer, rgb[i])) return false;
  }
  LeaveEntrySeparator(lexer);
  for (int v : rgb)
    if (v < 0 || v > 255) return false;
  color = ColorRecord::Rgb(static_cast<BYTE>(rgb[0]), static_cast<BYTE>(rgb[1]), static_cast<BYTE>(rgb[2]));
  colorSet = 1;
  return true;
}

// Positions separated by ":"; "," or "}" ends the list (left for the entry).
// `position` is called with each word; a ":" item skips a position.
template <typename F>
void ReadPositions(DefLexer& lexer, int count, F position) {
  for (int i = 0; i < count; ++i) {
    CString item;
    if (!lexer.NextItem(item)) return;
    if (IsEntryEnd(item)) {
      lexer.PushBack(item);
      return;
    }
    if (item == ":") continue;
    position(i, Upper(item));
    const char c = lexer.NextSeparator();
    if (c == 0) return;
    if (c == ',' || c == '}') lexer.PushBack(CString(c));
  }
}

bool ReadFlags(DefLexer& lexer, DisplayFlags& flags) {
  flags = DisplayFlags();
  TriState last = TriState::Ignore;
  ReadPositions(lexer, DisplayFlags::kCount, [&](int i, const CString& word) {
    if (word == "TRUE")
      last = TriState::True;
    else if (word == "FALSE")
      last = TriState::False;
    else if (word == "TOGGLE")
      last = TriState::Toggle;
    else if (word == "IGNORE")
      last = TriState::Ignore;
    flags.SetFlag(i, last);
  });
  return true;
}

bool ReadAlignment(DefLexer& lexer, Alignment& alignment) {
  ReadPositions(lexer, 4, [&](int i, const CString& word) {
    const Word* w = nullptr;
    if (i == 0) w = FindWord(kHorizontalWords, word.view());
    if (i == 1) w = FindWord(kVerticalWords, word.view());
    if (i >= 2) w = FindWord(kSpacingWords, word.view());
    if (w) alignment.SetField(i, w->value);
  });
  return true;
}

enum class Key { SearchName, DisplayBase, DisplayStyle, Scale, Left, FirstLeft, Right, Before, After, LineSpace, Alignment, BreakEnable, Color };

struct KeyRow {
  const char* text;
  Key key;
};

constexpr KeyRow kKeys[] = {
    {"AFTER", Key::After},         {"ALIGNMENT", Key::Alignment},
    {"BEFORE", Key::Before},       {"BREAKENABLE", Key::BreakEnable},
    {"COLOR", Key::Color},         {"DISPLAYBASESTYLE", Key::DisplayBase},
    {"DISPLAYSTYLE", Key::DisplayStyle}, {"FIRSTLEFT", Key::FirstLeft},
    {"LEFT", Key::Left},           {"LINESPACE", Key::LineSpace},
    {"RIGHT", Key::Right},         {"SCALE", Key::Scale},
    {"SEARCHNAME", Key::SearchName},
};

const KeyRow* FindKey(std::string_view k) {
  auto it = std::lower_bound(std::begin(kKeys), std::end(kKeys), k,
                             [](const KeyRow& a, std::string_view b) { return std::string_view(a.text) < b; });
  return it != std::end(kKeys) && k == it->text ? it : nullptr;
}

bool ReadKeyValue(DefLexer& lexer, Key key, StyleDefinition& def) {
  TextStyle& s = def.style;
  switch (key) {
    case Key::SearchName: return ReadString(lexer, def.searchName);
    case Key::DisplayBase: return ReadValue(lexer, s.displayBaseStyle, StyleValue::kAbsolute);
    case Key::DisplayStyle: return ReadFlags(lexer, s.displayFlags);
    case Key::Scale: return ReadValue(lexer, s.scale, StyleValue::kPercent);
    case Key::Left: return ReadValue(lexer, s.left, StyleValue::kUnset);
    case Key::FirstLeft: return ReadValue(lexer, s.firstLeft, StyleValue::kUnset);
    case Key::Right: return ReadValue(lexer, s.right, StyleValue::kUnset);
    case Key::Before: return ReadValue(lexer, s.before, StyleValue::kUnset);
    case Key::After: return ReadValue(lexer, s.after, StyleValue::kUnset);
    case Key::LineSpace: return ReadValue(lexer, s.lineSpace, StyleValue::kUnset);
    case Key::Alignment: return ReadAlignment(lexer, s.alignment);
    case Key::BreakEnable: return ReadBoolean(lexer, s.breakEnable);
    case Key::Color: return ReadColor(lexer, s.color, s.colorSet);
  }
  return false;
}

}  // namespace

bool StyleDefinition::Read(DefLexer& lexer) {
  CString item;
  if (!lexer.NextItem(item)) return false;
  if (lexer.lastWasSeparator()) {
    lexer.PushBack(item);
    return false;
  }
  name = item;
  if (lexer.NextSeparator("{") == 0) return false;
  for (;;) {
    CString keyItem;
    if (!lexer.NextItem(keyItem) || lexer.lastWasSeparator()) return true;
    const KeyRow* key = FindKey(Upper(keyItem).view());
    if (key) {
      const char c = lexer.NextSeparator("=,}");
      if (c == '=')
        ReadKeyValue(lexer, key->key, *this);
      else if (c)
        lexer.PushBack(CString(c));
    } else {
      const char c = lexer.NextSeparator(",}");
      if (c) lexer.PushBack(CString(c));
    }
    const char c = lexer.NextSeparator(",}");
    if (c == '}') return true;
    if (c != ',') return false;
  }
}

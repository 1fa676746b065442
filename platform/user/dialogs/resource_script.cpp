#include "resource_script.h"

#include <cstring>
#include <unordered_map>

#include "dialog_template.h"
#include "resource_lexer.h"
#include "resource_symbols.h"
#include "text_codec.h"
#include "user/menus/menu_template.h"

namespace win::user {
namespace {

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::string Ansi(const std::string& utf8) { return Utf16ToAnsi(Utf8ToUtf16(utf8)); }

// A style expression: the bits to set and the bits NOT takes away.
struct Style {
  std::int64_t set = 0;
  std::int64_t clear = 0;
  DWORD Over(DWORD defaults) const {
    return static_cast<DWORD>((static_cast<std::int64_t>(defaults) | set) & ~clear);
  }
};

// How a control statement reads and what it starts from.
struct ControlForm {
  const char* keyword;
  bool hasText;
  const char* cls;
  DWORD defaults;
};

constexpr ControlForm kControlForms[] = {
    {"LTEXT", true, "STATIC", SS_LEFT | WS_GROUP},
    {"CTEXT", true, "STATIC", SS_CENTER | WS_GROUP},
    {"RTEXT", true, "STATIC", SS_RIGHT | WS_GROUP},
    {"PUSHBUTTON", true, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP},
    {"DEFPUSHBUTTON", true, "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"CHECKBOX", true, "BUTTON", BS_CHECKBOX | WS_TABSTOP},
    {"AUTOCHECKBOX", true, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP},
    {"RADIOBUTTON", true, "BUTTON", BS_RADIOBUTTON},
    {"AUTORADIOBUTTON", true, "BUTTON", BS_AUTORADIOBUTTON},
    {"STATE3", true, "BUTTON", BS_3STATE | WS_TABSTOP},
    {"AUTO3STATE", true, "BUTTON", BS_AUTO3STATE | WS_TABSTOP},
    {"GROUPBOX", true, "BUTTON", BS_GROUPBOX},
    {"EDITTEXT", false, "EDIT", ES_LEFT | WS_BORDER | WS_TABSTOP},
    {"LISTBOX", false, "LISTBOX", LBS_NOTIFY | WS_BORDER},
    {"COMBOBOX", false, "COMBOBOX", CBS_SIMPLE | WS_TABSTOP},
    {"SCROLLBAR", false, "SCROLLBAR", SBS_HORZ},
};

WORD StandardClassOrdinal(std::string_view name) {
  for (WORD n = 0x80; n <= 0x85; ++n)
    if (SameWord(name, StandardClassName(n))) return n;
  return 0;
}

class Compiler {
 public:
  explicit Compiler(std::string_view text) : lex_(text) { Advance(); }

  bool Run(std::vector<CompiledResource>* out) {
    while (tok_.kind != Token::Kind::End) {
      if (tok_.kind == Token::Kind::Directive) {
        if (!Directive(tok_.text)) return false;
        Advance();
        continue;
      }
      CompiledResource res;
      if (!Resource(&res)) return false;
      if (out->size() >= 10000) return Fail("too many resources");
      out->push_back(std::move(res));
    }
    if (!lex_.error().empty()) {
      error_ = lex_.error();
      return false;
    }
    return true;
  }

  const std::string& error() const { return error_; }

 private:
  void Advance() { tok_ = lex_.Next(); }

  bool Fail(const std::string& why) {
    if (error_.empty()) {
      error_ = lex_.error().empty() ? "line " + std::to_string(tok_.line) + ": " + why : lex_.error();
    }
    return false;
  }

  bool AtWord(const char* word) const {
    return tok_.kind == Token::Kind::Name && SameWord(tok_.text, word);
  }
  bool AtPunct(char c) const { return tok_.kind == Token::Kind::Punct && tok_.punct == c; }
  bool TakePunct(char c) {
    if (!AtPunct(c)) return false;
    Advance();
    return true;
  }
  bool Comma() { return TakePunct(',') || Fail("',' expected"); }
  bool AtBegin() const { return AtWord("BEGIN") || AtPunct('{'); }
  bool AtEnd() const { return AtWord("END") || AtPunct('}'); }
  bool Begin() {
    if (!AtBegin()) return Fail("BEGIN expected");
    Advance();
    return true;
  }

  bool Directive(const std::string& line) {
    ResourceLexer sub(line);
    Token word = sub.Next();
    if (word.kind == Token::Kind::Name && word.text == "pragma") return true;
    if (word.kind != Token::Kind::Name || word.text != "define")
      return Fail("only #define and #pragma are understood");
    Token name = sub.Next();
    if (name.kind != Token::Kind::Name) return Fail("#define needs a name");
    // The value: an optional sign and a number or a known name.
    Token value = sub.Next();
    bool negative = false;
    if (value.kind == Token::Kind::Punct && value.punct == '-') {
      negative = true;
      value = sub.Next();
    }
    std::int64_t v = 0;
    if (value.kind == Token::Kind::Number) {
      v = value.number;
    } else if (value.kind == Token::Kind::Name) {
      if (!Symbol(value.text, &v)) return Fail("unknown name " + value.text);
    } else {
      return Fail("#define needs a value");
    }
    if (!sub.error().empty()) return Fail(sub.error());
    if (defines_.size() >= 100000) return Fail("too many #defines");
    defines_[name.text] = negative ? -v : v;
    return true;
  }

  bool Symbol(const std::string& name, std::int64_t* v) const {
    auto it = defines_.find(name);
    if (it != defines_.end()) {
      *v = it->second;
      return true;
    }
    return LookUpResourceSymbol(name, v);
  }

  // term := number | name | '-' term | '~' term | '(' expr ')'
  bool Term(std::int64_t* v, int depth) {
    if (depth > 64) return Fail("expression nested too deeply");
    if (tok_.kind == Token::Kind::Number) {
      *v = tok_.number;
      Advance();
      return true;
    }
    if (tok_.kind == Token::Kind::Name) {
      if (!Symbol(tok_.text, v)) return Fail("unknown name " + tok_.text);
      Advance();
      return true;
    }
    if (TakePunct('-')) {
      if (!Term(v, depth + 1)) return false;
      *v = -*v;
      return true;
    }
    if (TakePunct('~')) {
      if (!Term(v, depth + 1)) return false;
      *v = static_cast<std::int64_t>(~static_cast<std::uint32_t>(*v));
      return true;
    }
    if (TakePunct('(')) {
      if (!Number(v, depth + 1)) return false;
      if (!TakePunct(')')) return Fail("')' expected");
      return true;
    }
    return Fail("number expected");
  }

  // expr := term { ('|' | '+' | '-' | '&') term }
  bool Number(std::int64_t* v, int depth = 0) {
    if (!Term(v, depth)) return false;
    for (;;) {
      std::int64_t rhs = 0;
      if (TakePunct('|')) {
        if (!Term(&rhs, depth)) return false;
        *v |= rhs;
      } else if (TakePunct('+')) {
        if (!Term(&rhs, depth)) return false;
        *v += rhs;
      } else if (TakePunct('&')) {
        if (!Term(&rhs, depth)) return false;
        *v &= rhs;
      } else if (AtPunct('-')) {
        Advance();
        if (!Term(&rhs, depth)) return false;
        *v -= rhs;
      } else {
        break;
      }
      // Keep values within 32 bits (signed or not) so nothing overflows.
      *v = static_cast<std::int64_t>(static_cast<std::uint32_t>(*v));
    }
    return true;
  }

  bool Short(short* out) {
    std::int64_t v = 0;
    if (!Number(&v)) return false;
    if (v < -32768 || v > 65535) return Fail("coordinate out of range");
    *out = static_cast<short>(static_cast<WORD>(v));
    return true;
  }

  bool Id(DWORD* out) {
    std::int64_t v = 0;
    if (!Number(&v)) return false;
    if (v < -32768 || v > 0xFFFFFFFFLL) return Fail("id out of range");
    *out = static_cast<WORD>(v);
    return true;
  }

  // style := ['NOT'] term { ('|' | '+') ['NOT'] term }
  bool StyleExpr(Style* s) {
    for (;;) {
      const bool invert = AtWord("NOT");
      if (invert) Advance();
      std::int64_t v = 0;
      if (!Term(&v, 0)) return false;
      if (invert)
        s->clear |= v;
      else
        s->set |= v;
      if (!TakePunct('|') && !TakePunct('+')) return true;
    }
  }

  bool String(std::string* out) {
    if (tok_.kind != Token::Kind::String) return Fail("string expected");
    *out = Ansi(tok_.text);
    Advance();
    return true;
  }

  bool Name(ResourceKey* key) {
    if (tok_.kind == Token::Kind::Number) {
      if (tok_.number > 0xFFFF) return Fail("resource number out of range");
      *key = ResourceKey{true, static_cast<WORD>(tok_.number), {}};
    } else if (tok_.kind == Token::Kind::Name) {
      std::int64_t v = 0;
      auto it = defines_.find(tok_.text);
      if (it != defines_.end()) {
        v = it->second;
        if (v < 0 || v > 0xFFFF) return Fail("resource number out of range");
        *key = ResourceKey{true, static_cast<WORD>(v), {}};
      } else {
        *key = ResourceKey{false, 0, tok_.text};
      }
    } else if (tok_.kind == Token::Kind::String) {
      *key = ResourceKey{false, 0, Ansi(tok_.text)};
    } else {
      return Fail("resource name expected");
    }
    Advance();
    return true;
  }

  void SkipMemoryOptions() {
    static const char* const kOptions[] = {"DISCARDABLE", "MOVEABLE", "FIXED", "PURE", "IMPURE",
                                           "PRELOAD", "LOADONCALL", "SHARED", "NONSHARED"};
    for (bool again = true; again;) {
      again = false;
      for (const char* o : kOptions)
        if (AtWord(o)) {
          Advance();
          again = true;
        }
    }
  }

  bool Resource(CompiledResource* res) {
    if (!Name(&res->name)) return false;
    if (AtWord("DIALOG") || AtWord("DIALOGEX")) {
      const bool ex = AtWord("DIALOGEX");
      Advance();
      res->type = ResourceKey{true, 5, {}};
      return Dialog(ex, &res->data);
    }
    if (AtWord("MENU") || AtWord("MENUEX")) {
      if (AtWord("MENUEX")) return Fail("MENUEX is not supported; use MENU");
      Advance();
      res->type = ResourceKey{true, 4, {}};
      return Menu(&res->data);
    }
    if (AtWord("ACCELERATORS")) {
      Advance();
      res->type = ResourceKey{true, 9, {}};
      return Accelerators(&res->data);
    }
    return Fail("DIALOG, MENU or ACCELERATORS expected");
  }

  // ---- Dialogs ----------------------------------------------------------------
  bool Dialog(bool ex, std::vector<BYTE>* out) {
    SkipMemoryOptions();
    DialogTemplate t;
    t.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    if (!Short(&t.x) || !Comma() || !Short(&t.y) || !Comma() || !Short(&t.cx) || !Comma() ||
        !Short(&t.cy))
      return false;
    if (ex && TakePunct(',')) {
      std::int64_t help = 0;
      if (!Number(&help)) return false;
    }
    bool styleGiven = false, captionGiven = false;
    while (!AtBegin()) {
      if (tok_.kind == Token::Kind::End) return Fail("BEGIN expected");
      if (AtWord("STYLE")) {
        Advance();
        Style s;
        if (!StyleExpr(&s)) return false;
        t.style = s.Over(0);
        styleGiven = true;
      } else if (AtWord("EXSTYLE")) {
        Advance();
        Style s;
        if (!StyleExpr(&s)) return false;
        t.exStyle = s.Over(0);
      } else if (AtWord("CAPTION")) {
        Advance();
        if (!String(&t.title)) return false;
        captionGiven = true;
      } else if (AtWord("FONT")) {
        Advance();
        std::int64_t points = 0;
        if (!Number(&points)) return false;
        if (points < 1 || points > 200) return Fail("font size out of range");
        t.pointSize = static_cast<WORD>(points);
        if (!Comma() || !String(&t.face)) return false;
        // DIALOGEX: weight, italic, charset.
        for (int i = 0; i < 3 && TakePunct(','); ++i) {
          std::int64_t v = 0;
          if (!Number(&v)) return false;
        }
      } else if (AtWord("MENU")) {
        Advance();
        ResourceKey key;
        if (!Name(&key)) return false;
        t.menu = key.isNumber ? TemplateName::Ordinal(key.number) : TemplateName::Text(key.text);
      } else if (AtWord("CLASS")) {
        Advance();
        ResourceKey key;
        if (!Name(&key)) return false;
        t.cls = key.isNumber ? TemplateName::Ordinal(key.number) : TemplateName::Text(key.text);
      } else if (AtWord("LANGUAGE")) {
        Advance();
        std::int64_t a = 0, b = 0;
        if (!Number(&a) || !Comma() || !Number(&b)) return false;
      } else if (AtWord("CHARACTERISTICS") || AtWord("VERSION")) {
        Advance();
        std::int64_t v = 0;
        if (!Number(&v)) return false;
      } else {
        return Fail("dialog option or BEGIN expected");
      }
    }
    if (captionGiven) t.style |= WS_CAPTION;
    (void)styleGiven;
    if (t.pointSize) t.style |= DS_SETFONT;
    Advance();  // BEGIN
    while (!AtEnd()) {
      if (tok_.kind == Token::Kind::End) return Fail("END expected");
      if (t.items.size() >= kMaxDialogItems) return Fail("too many controls");
      DialogItem item;
      if (!Control(&item)) return false;
      t.items.push_back(std::move(item));
    }
    Advance();  // END
    *out = WriteDialogTemplate(t);
    return true;
  }

  bool ControlText(TemplateName* text) {
    if (tok_.kind == Token::Kind::String) {
      std::string s;
      if (!String(&s)) return false;
      *text = TemplateName::Text(std::move(s));
      return true;
    }
    std::int64_t v = 0;
    if (!Number(&v)) return false;
    *text = TemplateName::Ordinal(static_cast<WORD>(v));
    return true;
  }

  bool Rect(DialogItem* item) {
    return Short(&item->x) && Comma() && Short(&item->y) && Comma() && Short(&item->cx) && Comma() &&
           Short(&item->cy);
  }

  // [, style [, exstyle]]
  bool OptionalStyles(DialogItem* item, DWORD defaults) {
    Style s;
    if (TakePunct(',')) {
      if (!StyleExpr(&s)) return false;
      if (TakePunct(',')) {
        Style ex;
        if (!StyleExpr(&ex)) return false;
        item->exStyle = ex.Over(0);
      }
    }
    item->style = s.Over(defaults | WS_CHILD | WS_VISIBLE);
    return true;
  }

  bool Control(DialogItem* item) {
    if (AtWord("CONTROL")) {
      Advance();
      if (!ControlText(&item->text) || !Comma() || !Id(&item->id) || !Comma()) return false;
      if (tok_.kind == Token::Kind::String || tok_.kind == Token::Kind::Name) {
        std::string cls = tok_.kind == Token::Kind::String ? Ansi(tok_.text) : tok_.text;
        Advance();
        const WORD ordinal = StandardClassOrdinal(cls);
        item->cls = ordinal ? TemplateName::Ordinal(ordinal) : TemplateName::Text(cls);
      } else {
        return Fail("control class expected");
      }
      Style s;
      if (!Comma() || !StyleExpr(&s) || !Comma() || !Rect(item)) return false;
      if (TakePunct(',')) {
        Style ex;
        if (!StyleExpr(&ex)) return false;
        item->exStyle = ex.Over(0);
      }
      item->style = s.Over(WS_CHILD | WS_VISIBLE);
      return true;
    }
    if (AtWord("ICON")) {
      Advance();
      item->cls = TemplateName::Ordinal(0x82);
      if (!ControlText(&item->text) || !Comma() || !Id(&item->id) || !Comma() ||
          !Short(&item->x) || !Comma() || !Short(&item->y))
        return false;
      Style s;
      if (TakePunct(',')) {
        if (!Short(&item->cx) || !Comma() || !Short(&item->cy)) return false;
        return OptionalStyles(item, SS_ICON);
      }
      item->style = s.Over(SS_ICON | WS_CHILD | WS_VISIBLE);
      return true;
    }
    for (const ControlForm& form : kControlForms) {
      if (!AtWord(form.keyword)) continue;
      Advance();
      item->cls = TemplateName::Ordinal(StandardClassOrdinal(form.cls));
      if (form.hasText) {
        if (!ControlText(&item->text) || !Comma()) return false;
      }
      if (!Id(&item->id) || !Comma() || !Rect(item)) return false;
      return OptionalStyles(item, form.defaults);
    }
    return Fail("control statement expected");
  }

  // ---- Menus ------------------------------------------------------------------------
  bool Menu(std::vector<BYTE>* out) {
    SkipMemoryOptions();
    std::vector<MenuTemplateItem> items;
    size_t count = 0;
    if (!MenuLevel(&items, 0, &count)) return false;
    *out = WriteMenuTemplate(items);
    return true;
  }

  bool MenuOptions(UINT* flags) {
    for (;;) {
      TakePunct(',');
      if (AtWord("CHECKED")) *flags |= MF_CHECKED;
      else if (AtWord("GRAYED")) *flags |= MF_GRAYED;
      else if (AtWord("INACTIVE")) *flags |= MF_DISABLED;
      else if (AtWord("MENUBARBREAK")) *flags |= MF_MENUBARBREAK;
      else if (AtWord("MENUBREAK")) *flags |= MF_MENUBREAK;
      else if (AtWord("HELP")) *flags |= MF_HELP;
      else return true;
      Advance();
    }
  }

  bool MenuLevel(std::vector<MenuTemplateItem>* items, int depth, size_t* count) {
    if (depth >= kMaxMenuDepth) return Fail("menu nested too deeply");
    if (!Begin()) return false;
    while (!AtEnd()) {
      if (tok_.kind == Token::Kind::End) return Fail("END expected");
      if (++*count > kMaxMenuItems) return Fail("too many menu items");
      MenuTemplateItem item;
      if (AtWord("MENUITEM")) {
        Advance();
        if (AtWord("SEPARATOR")) {
          Advance();
          item.flags = MF_SEPARATOR;
        } else {
          DWORD id = 0;
          if (!String(&item.text) || !Comma() || !Id(&id)) return false;
          item.id = static_cast<WORD>(id);
          if (!MenuOptions(&item.flags)) return false;
        }
      } else if (AtWord("POPUP")) {
        Advance();
        if (!String(&item.text)) return false;
        item.flags = MF_POPUP;
        if (!MenuOptions(&item.flags)) return false;
        if (!MenuLevel(&item.children, depth + 1, count)) return false;
      } else {
        return Fail("MENUITEM, POPUP or END expected");
      }
      items->push_back(std::move(item));
    }
    Advance();
    return true;
  }

  // ---- Accelerators -----------------------------------------------------------------
  bool Accelerators(std::vector<BYTE>* out) {
    SkipMemoryOptions();
    if (!Begin()) return false;
    std::vector<BYTE> rows;
    auto word = [&](WORD w) {
      rows.push_back(static_cast<BYTE>(w & 0xFF));
      rows.push_back(static_cast<BYTE>(w >> 8));
    };
    size_t count = 0;
    while (!AtEnd()) {
      if (tok_.kind == Token::Kind::End) return Fail("END expected");
      if (++count > 10000) return Fail("too many accelerators");
      std::string keyText;
      std::int64_t key = 0;
      const bool isText = tok_.kind == Token::Kind::String;
      if (isText) {
        keyText = Ansi(tok_.text);
        Advance();
      } else if (!Number(&key)) {
        return false;
      }
      DWORD cmd = 0;
      if (!Comma() || !Id(&cmd)) return false;
      WORD flags = 0;
      bool ascii = false;
      while (TakePunct(',')) {
        if (AtWord("VIRTKEY")) flags |= FVIRTKEY;
        else if (AtWord("ASCII")) ascii = true;
        else if (AtWord("NOINVERT")) flags |= FNOINVERT;
        else if (AtWord("ALT")) flags |= FALT;
        else if (AtWord("SHIFT")) flags |= FSHIFT;
        else if (AtWord("CONTROL")) flags |= FCONTROL;
        else return Fail("accelerator option expected");
        Advance();
      }
      if (ascii && (flags & FVIRTKEY)) return Fail("an accelerator is ASCII or VIRTKEY, not both");
      if (isText) {
        if (keyText.size() == 2 && keyText[0] == '^') {
          if (flags & FVIRTKEY) return Fail("\"^x\" is for ASCII accelerators");
          char c = keyText[1];
          if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
          if (c < '@' || c > '_') return Fail("\"^x\" needs a letter");
          key = c - '@';
        } else if (keyText.size() == 1) {
          char c = keyText[0];
          if ((flags & FVIRTKEY) && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
          key = static_cast<unsigned char>(c);
        } else {
          return Fail("an accelerator key is one character");
        }
      }
      if (key < 0 || key > 0xFFFF) return Fail("accelerator key out of range");
      word(flags);
      word(static_cast<WORD>(key));
      word(static_cast<WORD>(cmd));
      word(0);
    }
    Advance();
    if (rows.size() >= 8) rows[rows.size() - 8] |= 0x80;  // the last row
    *out = std::move(rows);
    return true;
  }

  ResourceLexer lex_;
  Token tok_;
  std::unordered_map<std::string, std::int64_t> defines_;
  std::string error_;
};

}  // namespace

bool ResourceKey::Matches(const ResourceKey& other) const {
  if (isNumber != other.isNumber) return false;
  return isNumber ? number == other.number : SameWord(text, other.text);
}

ResourceKey ResourceKey::From(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return ResourceKey{true, static_cast<WORD>(reinterpret_cast<UINT_PTR>(name)), {}};
  if (name[0] == '#') {
    std::uint32_t v = 0;
    size_t i = 1;
    for (; name[i] >= '0' && name[i] <= '9' && i < 7; ++i) v = v * 10 + static_cast<unsigned>(name[i] - '0');
    if (i > 1 && name[i] == '\0' && v <= 0xFFFF) return ResourceKey{true, static_cast<WORD>(v), {}};
  }
  return ResourceKey{false, 0, name};
}

bool CompileResourceScript(std::string_view text, std::vector<CompiledResource>* out,
                           std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  if (text.size() > kMaxResourceScript) {
    *error = "script too large";
    return false;
  }
  std::vector<CompiledResource> resources;
  Compiler c(text);
  if (!c.Run(&resources)) {
    *error = c.error();
    return false;
  }
  *out = std::move(resources);
  return true;
}

}  // namespace win::user

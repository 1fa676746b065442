#include "menu_template.h"

#include "user/dialogs/text_codec.h"

namespace win::user {
namespace {

constexpr size_t kMaxItemText = 4096;

struct Cursor {
  const BYTE* p;
  size_t size;
  size_t pos = 0;
  size_t items = 0;

  bool Word(WORD* out) {
    if (pos + 2 > size) return false;
    *out = static_cast<WORD>(p[pos] | (p[pos + 1] << 8));
    pos += 2;
    return true;
  }
  bool String(std::string* out) {
    std::u16string s;
    for (;;) {
      WORD c = 0;
      if (!Word(&c)) return false;
      if (!c) break;
      if (s.size() >= kMaxItemText) return false;
      s += static_cast<char16_t>(c);
    }
    *out = Utf16ToAnsi(s);
    return true;
  }
};

bool ParseLevel(Cursor& c, int depth, std::vector<MenuTemplateItem>* out, std::string* error) {
  if (depth > kMaxMenuDepth) {
    *error = "menu nested too deeply";
    return false;
  }
  for (;;) {
    if (++c.items > kMaxMenuItems) {
      *error = "too many menu items";
      return false;
    }
    WORD flags = 0;
    MenuTemplateItem item;
    if (!c.Word(&flags)) {
      *error = "menu template cut short";
      return false;
    }
    item.flags = flags & ~static_cast<UINT>(MF_END);
    if (!(flags & MF_POPUP) && !c.Word(&item.id)) {
      *error = "menu template cut short";
      return false;
    }
    if (!c.String(&item.text)) {
      *error = "menu item text cut short";
      return false;
    }
    // An item with no text and no id is a separator.
    if (!(flags & MF_POPUP) && item.id == 0 && item.text.empty()) item.flags |= MF_SEPARATOR;
    if ((flags & MF_POPUP) && !ParseLevel(c, depth + 1, &item.children, error)) return false;
    out->push_back(std::move(item));
    if (flags & MF_END) return true;
  }
}

void WriteLevel(std::vector<BYTE>& out, const std::vector<MenuTemplateItem>& items) {
  auto word = [&](WORD w) {
    out.push_back(static_cast<BYTE>(w & 0xFF));
    out.push_back(static_cast<BYTE>(w >> 8));
  };
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuTemplateItem& item = items[i];
    UINT flags = item.flags & ~static_cast<UINT>(MF_SEPARATOR);
    if (i + 1 == items.size()) flags |= MF_END;
    word(static_cast<WORD>(flags));
    if (!(item.flags & MF_POPUP)) word((item.flags & MF_SEPARATOR) ? 0 : item.id);
    if (!(item.flags & MF_SEPARATOR))
      for (char16_t ch : AnsiToUtf16(item.text)) word(ch);
    word(0);
    if (item.flags & MF_POPUP) {
      if (item.children.empty()) {
        // A popup needs at least one item: an empty separator-like end.
        word(MF_END);
        word(0);
        word(0);
      } else {
        WriteLevel(out, item.children);
      }
    }
  }
}

}  // namespace

bool ParseMenuTemplate(const void* data, size_t size, std::vector<MenuTemplateItem>* out,
                       std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  if (!data || !out) {
    *error = "no template";
    return false;
  }
  Cursor c{static_cast<const BYTE*>(data), size};
  WORD version = 0, header = 0;
  if (!c.Word(&version) || !c.Word(&header)) {
    *error = "menu template cut short";
    return false;
  }
  if (version != 0) {
    *error = "not a classic menu template";
    return false;
  }
  if (header > c.size - c.pos) {
    *error = "menu template cut short";
    return false;
  }
  c.pos += header;
  std::vector<MenuTemplateItem> items;
  if (c.pos >= c.size) {
    out->clear();
    return true;  // an empty menu
  }
  if (!ParseLevel(c, 0, &items, error)) return false;
  *out = std::move(items);
  return true;
}

std::vector<BYTE> WriteMenuTemplate(const std::vector<MenuTemplateItem>& items) {
  std::vector<BYTE> out = {0, 0, 0, 0};
  WriteLevel(out, items);
  return out;
}

}  // namespace win::user

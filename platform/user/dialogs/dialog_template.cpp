#include "dialog_template.h"

#include <cstring>

#include "text_codec.h"

namespace win::user {
namespace {

// Longest name or text a template may hold, in characters.
constexpr size_t kMaxTemplateString = 32768;
constexpr size_t kMaxCreationData = 65535;

// Sequential little-endian reads that never pass the end.
class Reader {
 public:
  Reader(const BYTE* p, size_t size) : p_(p), size_(size) {}
  bool Word(WORD* out) {
    if (pos_ + 2 > size_) return false;
    *out = static_cast<WORD>(p_[pos_] | (p_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  bool Dword(DWORD* out) {
    WORD lo = 0, hi = 0;
    if (!Word(&lo) || !Word(&hi)) return false;
    *out = static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16);
    return true;
  }
  bool Short(short* out) {
    WORD w = 0;
    if (!Word(&w)) return false;
    *out = static_cast<short>(w);
    return true;
  }
  bool Byte(BYTE* out) {
    if (pos_ + 1 > size_) return false;
    *out = p_[pos_++];
    return true;
  }
  bool Bytes(size_t n, std::vector<BYTE>* out) {
    if (n > size_ - pos_) return false;
    out->assign(p_ + pos_, p_ + pos_ + n);
    pos_ += n;
    return true;
  }
  // A NUL-ended UTF-16 string.
  bool String(std::string* out) {
    std::u16string s;
    for (;;) {
      WORD c = 0;
      if (!Word(&c)) return false;
      if (c == 0) break;
      if (s.size() >= kMaxTemplateString) return false;
      s += static_cast<char16_t>(c);
    }
    *out = Utf16ToAnsi(s);
    return true;
  }
  // 0x0000, 0xFFFF and an ordinal, or a string.
  bool Name(TemplateName* out) {
    WORD first = 0;
    if (pos_ + 2 > size_) return false;
    first = static_cast<WORD>(p_[pos_] | (p_[pos_ + 1] << 8));
    if (first == 0) {
      pos_ += 2;
      *out = TemplateName{};
      return true;
    }
    if (first == 0xFFFF) {
      pos_ += 2;
      WORD n = 0;
      if (!Word(&n)) return false;
      *out = TemplateName::Ordinal(n);
      return true;
    }
    std::string text;
    if (!String(&text)) return false;
    *out = TemplateName::Text(std::move(text));
    return true;
  }
  void AlignDword() { pos_ = (pos_ + 3) & ~static_cast<size_t>(3); }
  size_t pos() const { return pos_; }

 private:
  const BYTE* p_;
  size_t size_;
  size_t pos_ = 0;
};

class Writer {
 public:
  void Word(WORD w) {
    out_.push_back(static_cast<BYTE>(w & 0xFF));
    out_.push_back(static_cast<BYTE>(w >> 8));
  }
  void Dword(DWORD d) {
    Word(static_cast<WORD>(d & 0xFFFF));
    Word(static_cast<WORD>(d >> 16));
  }
  void Short(short s) { Word(static_cast<WORD>(s)); }
  void String(const std::string& ansi) {
    for (char16_t c : AnsiToUtf16(ansi)) Word(c);
    Word(0);
  }
  void Name(const TemplateName& n) {
    if (!n.present) {
      Word(0);
    } else if (n.isOrdinal) {
      Word(0xFFFF);
      Word(n.ordinal);
    } else {
      String(n.text);
    }
  }
  void AlignDword() {
    while (out_.size() % 4) out_.push_back(0);
  }
  void Bytes(const std::vector<BYTE>& b) { out_.insert(out_.end(), b.begin(), b.end()); }
  std::vector<BYTE> Take() { return std::move(out_); }

 private:
  std::vector<BYTE> out_;
};

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

bool ParseItem(Reader& r, bool extended, DialogItem* item) {
  r.AlignDword();
  if (extended) {
    DWORD helpId = 0;
    if (!r.Dword(&helpId) || !r.Dword(&item->exStyle) || !r.Dword(&item->style)) return false;
  } else {
    if (!r.Dword(&item->style) || !r.Dword(&item->exStyle)) return false;
  }
  if (!r.Short(&item->x) || !r.Short(&item->y) || !r.Short(&item->cx) || !r.Short(&item->cy))
    return false;
  if (extended) {
    if (!r.Dword(&item->id)) return false;
  } else {
    WORD id = 0;
    if (!r.Word(&id)) return false;
    item->id = id;
  }
  if (!r.Name(&item->cls) || !r.Name(&item->text)) return false;
  WORD extra = 0;
  if (!r.Word(&extra)) return false;
  // In the classic form the count includes itself.
  size_t bytes = extra;
  if (!extended) bytes = bytes >= 2 ? bytes - 2 : 0;
  if (bytes > kMaxCreationData) return false;
  if (!r.Bytes(bytes, &item->creationData)) return false;
  return true;
}

}  // namespace

const char* StandardClassName(WORD ordinal) {
  switch (ordinal) {
    case 0x80: return "BUTTON";
    case 0x81: return "EDIT";
    case 0x82: return "STATIC";
    case 0x83: return "LISTBOX";
    case 0x84: return "SCROLLBAR";
    case 0x85: return "COMBOBOX";
    default: return nullptr;
  }
}

bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate* out, std::string* error) {
  if (!data || !out) return Fail(error, "no template");
  Reader r(static_cast<const BYTE*>(data), size);
  DialogTemplate t;
  WORD version = 0, signature = 0;
  {
    Reader peek(static_cast<const BYTE*>(data), size);
    if (!peek.Word(&version) || !peek.Word(&signature)) return Fail(error, "template cut short");
  }
  const bool extended = version == 1 && signature == 0xFFFF;
  WORD count = 0;
  if (extended) {
    DWORD helpId = 0;
    if (!r.Word(&version) || !r.Word(&signature) || !r.Dword(&helpId) || !r.Dword(&t.exStyle) ||
        !r.Dword(&t.style))
      return Fail(error, "template cut short");
  } else {
    if (!r.Dword(&t.style) || !r.Dword(&t.exStyle)) return Fail(error, "template cut short");
  }
  if (!r.Word(&count) || !r.Short(&t.x) || !r.Short(&t.y) || !r.Short(&t.cx) || !r.Short(&t.cy))
    return Fail(error, "template cut short");
  if (count > kMaxDialogItems) return Fail(error, "too many items");
  TemplateName title;
  if (!r.Name(&t.menu) || !r.Name(&t.cls) || !r.Name(&title)) return Fail(error, "bad template names");
  if (title.present && !title.isOrdinal) t.title = title.text;
  if (t.style & DS_SETFONT) {
    if (!r.Word(&t.pointSize)) return Fail(error, "template font cut short");
    if (extended) {
      if (!r.Word(&t.weight) || !r.Byte(&t.italic) || !r.Byte(&t.charset))
        return Fail(error, "template font cut short");
    }
    if (!r.String(&t.face)) return Fail(error, "template font cut short");
  }
  t.items.resize(count);
  for (DialogItem& item : t.items)
    if (!ParseItem(r, extended, &item)) return Fail(error, "template item cut short");
  *out = std::move(t);
  return true;
}

namespace {

void WriteCreationData(Writer& w, const std::vector<BYTE>& creationData, bool extended) {
  if (creationData.empty()) {
    w.Word(0);
    return;
  }
  // A WORD count (in the classic form including itself): longer data is cut.
  std::vector<BYTE> data = creationData;
  const size_t max = extended ? 0xFFFF : 0xFFFD;
  if (data.size() > max) data.resize(max);
  w.Word(static_cast<WORD>(data.size() + (extended ? 0 : 2)));
  w.Bytes(data);
}

}  // namespace

std::vector<BYTE> WriteDialogTemplate(const DialogTemplate& t) {
  Writer w;
  const DWORD style = t.face.empty() && t.pointSize == 0 ? t.style : (t.style | DS_SETFONT);
  // The extended form when the classic one cannot say it all, or when a
  // classic header would read as the extended form's signature.
  bool extended = t.weight || t.italic || t.charset || ((style & 0xFFFF) == 1 && (style >> 16) == 0xFFFF);
  for (const DialogItem& item : t.items) extended = extended || item.id > 0xFFFF;
  if (extended) {
    w.Word(1);
    w.Word(0xFFFF);
    w.Dword(0);  // help id
    w.Dword(t.exStyle);
    w.Dword(style);
  } else {
    w.Dword(style);
    w.Dword(t.exStyle);
  }
  w.Word(static_cast<WORD>(t.items.size()));
  w.Short(t.x);
  w.Short(t.y);
  w.Short(t.cx);
  w.Short(t.cy);
  w.Name(t.menu);
  w.Name(t.cls);
  w.String(t.title);
  if (style & DS_SETFONT) {
    w.Word(t.pointSize);
    if (extended) {
      w.Word(t.weight);
      w.Bytes({t.italic, t.charset});
    }
    w.String(t.face);
  }
  for (const DialogItem& item : t.items) {
    w.AlignDword();
    if (extended) {
      w.Dword(0);  // help id
      w.Dword(item.exStyle);
      w.Dword(item.style);
    } else {
      w.Dword(item.style);
      w.Dword(item.exStyle);
    }
    w.Short(item.x);
    w.Short(item.y);
    w.Short(item.cx);
    w.Short(item.cy);
    if (extended)
      w.Dword(item.id);
    else
      w.Word(static_cast<WORD>(item.id));
    w.Name(item.cls);
    w.Name(item.text);
    WriteCreationData(w, item.creationData, extended);
  }
  return w.Take();
}

}  // namespace win::user

#include "core/multilang_string.h"

#include <cstring>

MultiLangString MultiLangString::Compose(const char* p1, const char* p2, const char* p3,
                                         const char* p4, const char* p5, const char* p6) {
  MultiLangString s;
  for (const char* p : {p1, p2, p3, p4, p5, p6}) s.AddParts(p);
  return s;
}

MultiLangString MultiLangString::OnePart(const char* text) {
  MultiLangString s;
  if (!text || !*text) return s;
  const CString piece(text);
  s.parts_.Insert(piece.GetLength() >= 3 && piece[2] == ':' ? piece : "??:" + piece);
  return s;
}

void MultiLangString::AddParts(const char* text) {
  if (!text) return;
  const char* p = text;
  while (*p) {
    while (*p == ' ') ++p;
    const char* end = std::strchr(p, '|');
    const size_t length = end ? static_cast<size_t>(end - p) : std::strlen(p);
    if (length >= 3) {
      CString piece(p, static_cast<int>(length));
      if (piece[2] != ':') piece = "??:" + piece;
      parts_.Insert(piece);
    }
    if (!end) break;
    p = end + 1;
  }
}

CString MultiLangString::Text(Languages* languages) const {
  if (!languages) languages = Languages::instance();
  CString out;
  if (languages) languages->choose(out, parts_);
  return out;
}

const char* MultiLangString::CStr() const {
  static CString shared;
  shared = Text();
  return shared.c_str();
}

CString MultiLangString::TitleAttributes() const {
  CString lines;
  for (int i = 0; i < parts_.count(); ++i) {
    CString part = parts_.at(i);
    part.Replace('\n', ' ');
    part.Replace('\r', ' ');
    lines += "Title=" + part + "\n";
  }
  return lines;
}

bool operator!=(const MultiLangString& a, const MultiLangString& b) {
  return CompareMultibyte(a.Text(), b.Text()) != 0;
}

bool operator==(const MultiLangString& a, const char* text) {
  return CompareMultibyte(a.Text(), text) == 0;
}

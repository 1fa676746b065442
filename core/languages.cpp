#include "core/languages.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>

#include "core/entities.h"
#include "core/string_array.h"

namespace {

Languages* programLanguages = nullptr;

bool sameCode(const CString& a, const char* b) { return CompareMultibyte(a.c_str(), b) == 0; }

}  // namespace

Languages::Languages() {
  static const char* const kDefaults[][2] = {
      {"en", "English"}, {"ge", "German"},  {"fr", "French"}, {"st", "Styrian"},
      {"it", "Italian"}, {"sp", "Spanish"}, {"kr", "Korean"}, {"jp", "Japanese"},
  };
  for (const auto& language : kDefaults) add(language[0], language[1], true);
}

Languages* Languages::instance() { return programLanguages; }

void Languages::Init() { programLanguages = new (std::nothrow) Languages; }

void Languages::Exit() {
  delete programLanguages;
  programLanguages = nullptr;
}

int Languages::add(const char* code, const char* name, bool active) {
  // Choosing and the order strings read codes two characters at a time; a
  // code of another length could never be matched.
  if (!code || std::strlen(code) != 2) return 0;
  if (indexOf(code) >= 0) return count_;
  if (count_ >= kMaxLanguages) return 0;
  code_[count_] = code;
  name_[count_] = name;
  rank_[count_] = count_;
  active_[count_] = active;
  return ++count_;
}

int Languages::indexOf(const char* code) const {
  if (!code) return -1;
  for (int i = 0; i < count_; ++i)
    if (sameCode(code_[i], code)) return i;
  return -1;
}

CString Languages::name(const char* code) const {
  int i = indexOf(code);
  return i < 0 ? CString() : name_[i];
}

int Languages::rank(const char* code) const {
  int i = indexOf(code);
  return i < 0 || !active_[i] ? kUnranked : rank_[i];
}

CString Languages::codeAtRank(int r) const {
  for (int i = 0; i < count_; ++i)
    if (active_[i] && rank_[i] == r) return code_[i];
  return CString();
}

CString Languages::codeAt(int index) const {
  return index >= 0 && index < count_ ? code_[index] : CString();
}

CString Languages::nameAt(int index) const {
  return index >= 0 && index < count_ ? name_[index] : CString();
}

bool Languages::isActive(int index) const { return index >= 0 && index < count_ && active_[index]; }

bool Languages::prefer(const char* code) {
  int i = indexOf(code);
  if (i < 0) return false;
  // An inactive language counts as ranked after all others, so that every
  // active language moves down and the first place is free for it.
  const int k = active_[i] ? rank_[i] : kUnranked;
  for (int j = 0; j < count_; ++j)
    if (rank_[j] < k) ++rank_[j];
  rank_[i] = 0;
  active_[i] = true;
  return true;
}

bool Languages::preferRank(int r) {
  CString code = codeAtRank(r);
  return !code.IsEmpty() && prefer(code);
}

CString Languages::orderString() const {
  int order[kMaxLanguages];
  int n = 0;
  for (int i = 0; i < count_; ++i)
    if (active_[i]) order[n++] = i;
  std::stable_sort(order, order + n, [this](int a, int b) { return rank_[a] < rank_[b]; });
  CString codes;
  for (int k = 0; k < n; ++k) codes += code_[order[k]];
  return codes;
}

bool Languages::setOrder(const char* codes) {
  if (!codes) return false;
  const int n = static_cast<int>(std::strlen(codes) / 2);
  if (n == 0) return false;  // no code: the list would be left with no language at all
  int named[kMaxLanguages];
  int ranked = 0;
  for (int k = 0; k < n; ++k) {
    const int i = indexOf(CString(codes + 2 * k, 2));
    if (i < 0) return false;
    if (std::find(named, named + ranked, i) == named + ranked) named[ranked++] = i;
  }
  for (int i = 0; i < count_; ++i) active_[i] = false;
  for (int r = 0; r < ranked; ++r) {
    rank_[named[r]] = r;
    active_[named[r]] = true;
  }
  return true;
}

const CString& Languages::choose(CString& out, const SortedStringArray& parts) {
  lastText_.Empty();
  // Cleared too: a caller that reads the code after a string with nothing
  // to choose must not see the code of an earlier choice.
  lastCode_.Empty();
  int best = kUnranked;
  CString fallback;
  for (int p = 0; p < parts.count() && best > 0; ++p) {
    const CString& part = parts.at(p);
    if (part.GetLength() < 3 || part[2] != ':') {
      if (fallback.IsEmpty()) fallback = part;
      continue;
    }
    const CString code = part.Left(2);
    if (code == "??") {
      fallback = part.Mid(3);
      continue;
    }
    const int r = rank(code);
    if (r < best) {
      best = r;
      lastText_ = part.Mid(3);
      lastCode_ = code;
    }
  }
  if (best > 0 && !fallback.IsEmpty()) {
    lastText_ = fallback;
    lastCode_ = "??";
  }
  lastText_ = DecodeEntities(lastText_);
  out = lastText_;
  return out;
}

bool parseLanguageOrder(const char* setting, Languages* languages) {
  if (!languages || !setting) return false;
  const size_t length = std::strlen(setting);
  CString codes;
  size_t i = 0;
  while (length - i >= 2) {
    codes += CString(setting + i, 2);
    i += 2;
    while (i < length && (std::isspace(static_cast<unsigned char>(setting[i])) || setting[i] == ','))
      ++i;
  }
  return !codes.IsEmpty() && languages->setOrder(codes);
}

#include "core/language_id.h"

#include <cctype>
#include <cstring>

namespace {

struct LanguageEntry {
  int id;
  const char* abbreviation;
};

constexpr LanguageEntry kLanguageIds[] = {
    {3, "dan"},  {4, "deu"},  {5, "eng"},  {6, "enu"},  {7, "esn"},
    {8, "esp"},  {9, "fin"},  {10, "fra"}, {11, "frc"}, {12, "isl"},
    {13, "ita"}, {14, "nld"}, {15, "nor"}, {16, "ptg"}, {17, "sve"},
};
constexpr int kLanguageIdCount = sizeof kLanguageIds / sizeof kLanguageIds[0];

int findId(int id) {
  for (int i = 0; i < kLanguageIdCount; ++i)
    if (kLanguageIds[i].id == id) return i;
  return -1;
}

}  // namespace

// Constant-initialised: valid before any static constructor runs.
constinit LanguageId dictionaryLanguage{6};

int LanguageId::tableSize() { return kLanguageIdCount; }

int LanguageId::idAt(int index) {
  return index >= 0 && index < kLanguageIdCount ? kLanguageIds[index].id : 0;
}

const char* LanguageId::abbreviationAt(int index) {
  return index >= 0 && index < kLanguageIdCount ? kLanguageIds[index].abbreviation : "";
}

int LanguageId::IndexOf(int id) const {
  int i = findId(id == kSelf ? id_ : id);
  return i >= 0 ? i : findId(kDefault);
}

int LanguageId::FromCode(const char* abbreviation) {
  if (!abbreviation) return id_;
  // Only as far as the text goes: a short abbreviation is not read past
  // its end.
  char wanted[4] = {};
  for (int i = 0; i < 3 && abbreviation[i]; ++i)
    wanted[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(abbreviation[i])));
  id_ = kDefault;
  for (const LanguageEntry& e : kLanguageIds)
    if (std::strcmp(e.abbreviation, wanted) == 0) id_ = e.id;
  return id_;
}

int LanguageId::MakeFileName(char* buffer, int size, int id) const {
  if (!buffer || size <= 0) return -1;
  const size_t base = strnlen(buffer, static_cast<size_t>(size));
  if (base == static_cast<size_t>(size)) return -1;  // no NUL: not a name we can extend
  if (base + 5 > static_cast<size_t>(size)) return -1;
  const char* abbreviation = kLanguageIds[IndexOf(id)].abbreviation;
  std::memcpy(buffer + base, abbreviation, 4);  // three letters and the NUL
  return static_cast<int>(base + 3);
}

#include "store/dictionary/dictionary_record.h"

#include <cctype>

std::string DictionaryRecord::title() const {
  if (!titles[0].empty()) return titles[0];
  std::string name = code;
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string DictionaryRecord::headingText() const {
  if (heading.empty()) return std::string();
  std::string name = code;
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return heading + " @ " + name;
}

const DictionaryDataFile* DictionaryRecord::dataFileAt(std::uint32_t position) const {
  for (const DictionaryDataFile& f : dataFiles)
    if (f.holds(position)) return &f;
  return nullptr;
}

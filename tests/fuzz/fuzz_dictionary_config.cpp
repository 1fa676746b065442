// fuzz-libs: zemra_store
//
// Input: one byte choosing a configuration (even) or a list file of
// configurations (odd), then the file's text. The configuration is opened
// as a dictionary (a list's pairs name the same text again). What must
// hold: no crash; every text kept within its field; as many file records
// as lines that named a file.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scratch_file.h"
#include "store/dictionary/dictionary_context.h"
#include "win/user.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void checkRecord(const DictionaryRecord& r) {
  for (const std::string& t : r.titles) check(t.size() <= DictionaryRecord::kTitleLength);
  check(r.code.size() <= DictionaryRecord::kCodeLength);
  check(r.volumeLabel.size() <= DictionaryRecord::kLabelLength);
  check(r.heading.size() <= DictionaryRecord::kHeadingLength);
  check(r.directory.size() <= DictionaryRecord::kDirectoryLength);
  check(r.description.size() <= DictionaryRecord::kDescriptionLength);
  for (const DictionaryDataFile& d : r.dataFiles) check(!d.path.empty());
  for (const DictionaryIndexFile& i : r.indexFiles) check(!i.path.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 1 << 16) return 0;
  static const bool quiet = (win::ShowMessageBoxWindows(0), true);
  (void)quiet;
  fuzz_support::ScratchFile file("dictionary_config", data[0] & 1 ? "ml" : "cfg", data + 1, size - 1);
  if (!file.written()) return 0;
  DictionaryContext context;
  if (data[0] & 1) {
    // Every pair of the list names this list itself: read as a configuration.
    context.loadList(file.path());
  } else {
    context.openDictionary(file.path(), 1, true, false);
    context.openDictionary(file.path(), 1, false, true);
  }
  for (const DictionaryRecord& r : context.dictionaries()) {
    checkRecord(r);
    context.recordFile(r.id);
  }
  context.selectDictionary(std::string(reinterpret_cast<const char*>(data + 1), std::min<size_t>(size - 1, 20)));
  win::ClearMessageBoxLog();
  return 0;
}

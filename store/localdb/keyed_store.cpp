#include "store/localdb/keyed_store.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "mfc/cstring.h"
#include "store/fulltext/fold.h"
#include "store/fulltext/language_file.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

// The data space of a new data set: records from 0x100 (so that no object
// has the id 0 of the store root), then text bodies, then binary bodies.
struct SpaceRange {
  const char* extension;
  std::uint32_t first;
  std::uint32_t count;
};
constexpr SpaceRange kRanges[] = {
    {"SDO", 0x00000100u, 0x2FFFFF00u},
    {"SDT", 0x30000000u, 0x30000000u},
    {"SDB", 0x60000000u, 0x1FFFFFFFu},
};
const char* const kExtensionOfMode[] = {"SDO", "SDT", "SDB"};

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(upperLatin1(static_cast<unsigned char>(c)));
  return s;
}

// The extension after the last "." when it has exactly three letters.
std::string extensionOf(const std::string& path) {
  size_t dot = path.find_last_of(".\\/");
  if (dot == std::string::npos || path[dot] != '.' || path.size() - dot - 1 != 3) return {};
  return upper(path.substr(dot + 1));
}

bool writeWhole(const std::string& path, const std::string& bytes) {
  HFILE f = _lcreat(path.c_str(), 0);
  if (f == HFILE_ERROR) return false;
  bool ok = bytes.empty() || _lwrite(f, bytes.data(), static_cast<UINT>(bytes.size())) == bytes.size();
  return _lclose(f) != HFILE_ERROR && ok;
}

std::string joinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  char last = dir.back();
  return dir + (last == '/' || last == '\\' ? "" : "/") + name;
}

}  // namespace

KeyedStore::~KeyedStore() { closeAll(); }

std::string KeyedStore::createDataSet(const std::string& directory, const std::string& code,
                                      const std::string& title) {
  if (code.empty() || code.size() > DictionaryRecord::kCodeLength) return {};
  const std::string base = upper(code);
  std::string config = "K" + code + "\nA" + title + "\n";
  for (const SpaceRange& r : kRanges) {
    if (!writeWhole(joinPath(directory, base + "." + r.extension), {})) return {};
    config += "D" + base + "." + r.extension + " " + std::to_string(r.first) + " " + std::to_string(r.count) + "\n";
  }
  if (IndexFile::create(joinPath(directory, base + ".IDX").c_str()) != 0) return {};
  config += "I" + base + ".IDX\nE\n";
  const std::string path = joinPath(directory, base + ".CFG");
  return writeWhole(path, config) ? path : std::string();
}

int KeyedStore::openDataSet(const std::string& config, int number, const std::string& directory) {
  const std::string path = directory.empty() ? config : joinPath(directory, config);
  const int open = dict_.idOfConfig(upper(win::FullWindowsPath(path.c_str())));
  if (open >= 0) return open;
  if (number < 1 || number > kMaxDataSetNumber || dict_.dictionary(number)) return -1;
  if (!dict_.openDictionary(config, number, false, false, directory)) return -1;
  files_.erase(number);
  // Suffix tables not found where the program looks for them may lie
  // beside the data set.
  const std::string& configPath = dict_.dictionary(number)->configPath;
  const size_t slash = configPath.find_last_of("\\/");
  const std::string beside = slash == std::string::npos ? std::string() : configPath.substr(0, slash + 1);
  const std::pair<int, const char*> suffixes[] = {{kEnglish, "SUFFIX.enu"}, {kGerman, "SUFFIX.deu"}};
  for (const auto& [language, name] : suffixes)
    if (!dict_.suffixes().table(language)) dict_.suffixes().load(language, (beside + name).c_str());
  const std::pair<int, const char*> sounds[] = {{kEnglish, "PHONEM.enu"}, {kGerman, "PHONEM.deu"}};
  for (const auto& [language, name] : sounds)
    if (!dict_.phonetic().table(language)) dict_.phonetic().load(language, (beside + name).c_str());
  return number;
}

int KeyedStore::loadList(const std::string& listFile) { return dict_.loadList(listFile); }

bool KeyedStore::hasDataSet(int number) const { return record(number) != nullptr; }

std::vector<int> KeyedStore::dataSets() const {
  std::vector<int> out;
  for (const DictionaryRecord& r : dict_.dictionaries())
    if (r.id >= 1 && r.id <= kMaxDataSetNumber) out.push_back(r.id);
  std::sort(out.begin(), out.end());
  return out;
}

int KeyedStore::dataSetNumber(std::string_view name) const {
  std::string wanted = upper(std::string(name));
  while (!wanted.empty() && wanted.back() == ' ') wanted.pop_back();
  size_t start = wanted.find_first_not_of(' ');
  if (start == std::string::npos) return -1;
  wanted = wanted.substr(start);
  for (const DictionaryRecord& r : dict_.dictionaries())
    if (r.id >= 1 && r.id <= kMaxDataSetNumber && upper(r.code) == wanted) return r.id;
  return -1;
}

std::string KeyedStore::dataSetName(int number) const {
  const DictionaryRecord* r = record(number);
  return r ? r->code : std::string();
}

std::string KeyedStore::dataSetTitle(int number) const {
  const DictionaryRecord* r = record(number);
  return r ? r->title() : std::string();
}

const DictionaryRecord* KeyedStore::record(int dataSet) const {
  if (dataSet < 1 || dataSet > kMaxDataSetNumber) return nullptr;
  return dict_.dictionary(dataSet);
}

int KeyedStore::fileOfMode(int dataSet, int mode) const {
  const DictionaryRecord* r = record(dataSet);
  if (!r || mode < 0 || mode > 2) return -1;
  for (size_t i = 0; i < r->dataFiles.size(); ++i)
    if (extensionOf(r->dataFiles[i].path) == kExtensionOfMode[mode]) return static_cast<int>(i);
  return -1;
}

HFILE KeyedStore::dataFile(int dataSet, size_t fileIndex) {
  const DictionaryRecord* r = record(dataSet);
  if (!r || fileIndex >= r->dataFiles.size()) return HFILE_ERROR;
  Files& f = files_[dataSet];
  auto it = f.data.find(static_cast<int>(fileIndex));
  if (it != f.data.end()) return it->second;
  const std::string& path = r->dataFiles[fileIndex].path;
  HFILE h = _lopen(path.c_str(), OF_READWRITE);
  if (h == HFILE_ERROR) h = _lopen(path.c_str(), OF_READ);
  if (h == HFILE_ERROR) return h;
  f.data[static_cast<int>(fileIndex)] = h;
  return h;
}

long KeyedStore::read(int dataSet, std::uint32_t position, char* buffer, long n) {
  const DictionaryRecord* r = record(dataSet);
  if (!r || n < 0) return -1;
  const DictionaryDataFile* file = r->dataFileAt(position);
  if (!file) return -1;
  HFILE h = dataFile(dataSet, static_cast<size_t>(file - r->dataFiles.data()));
  if (h == HFILE_ERROR) return -1;
  const std::uint32_t offset = position - static_cast<std::uint32_t>(file->first);
  if (offset > 0x7FFFFFFFu || _llseek(h, static_cast<LONG>(offset), 0) != static_cast<LONG>(offset)) return -1;
  if (n == 0) return 0;
  UINT got = _lread(h, buffer, static_cast<UINT>(n));
  return got == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<long>(got);
}

int KeyedStore::kindOf(int dataSet, std::uint32_t position) const {
  const DictionaryRecord* r = record(dataSet);
  const DictionaryDataFile* file = r ? r->dataFileAt(position) : nullptr;
  return file && file->path.size() > 4 && extensionOf(file->path) == "SDB" ? DataItem::kBinary : DataItem::kText;
}

bool KeyedStore::openAppend(int dataSet, int mode, WriteItem& out) {
  out = WriteItem{};
  const int fileIndex = fileOfMode(dataSet, mode);
  if (fileIndex < 0) return false;
  const DictionaryDataFile& file = record(dataSet)->dataFiles[static_cast<size_t>(fileIndex)];
  HFILE h = dataFile(dataSet, static_cast<size_t>(fileIndex));
  if (h == HFILE_ERROR) return false;
  LONG end = _llseek(h, 0, 2);
  if (end == HFILE_ERROR || static_cast<std::uint32_t>(end) >= static_cast<std::uint32_t>(file.second)) return false;
  out.mode = mode;
  out.dataSet = dataSet;
  out.file = h;
  out.fileStart = end;
  out.position = static_cast<std::uint32_t>(file.first) + static_cast<std::uint32_t>(end);
  return true;
}

bool KeyedStore::append(WriteItem& item, const char* data, long n) {
  if (item.file == HFILE_ERROR || n < 0) return false;
  const DictionaryRecord* r = record(item.dataSet);
  const DictionaryDataFile* file = r ? r->dataFileAt(item.position) : nullptr;
  // The data space of the file ends where the next file's begins.
  if (!file || static_cast<std::uint64_t>(item.fileStart) + item.written + static_cast<std::uint64_t>(n) >
                   static_cast<std::uint32_t>(file->second))
    return false;
  const LONG at = item.fileStart + static_cast<LONG>(item.written);
  if (_llseek(item.file, at, 0) != at) return false;
  if (n == 0) return true;
  UINT put = _lwrite(item.file, data, static_cast<UINT>(n));
  if (put != static_cast<UINT>(n)) {
    // Cut what a short write left, so the next append starts clean.
    _llseek(item.file, at, 0);
    _lwrite(item.file, "", 0);
    return false;
  }
  item.written += static_cast<std::uint32_t>(n);
  return true;
}

void KeyedStore::close(WriteItem& item) { item.file = HFILE_ERROR; }

std::string KeyedStore::normalKey(std::string_view key) {
  return upper(std::string(key.substr(0, std::min<size_t>(key.size(), kMaxKeyBytes))));
}

std::string KeyedStore::foldWord(std::string_view word) { return foldText(word, kCapitalsAndDigits); }

IndexFile* KeyedStore::index(int dataSet) {
  const DictionaryRecord* r = record(dataSet);
  if (!r || r->indexFiles.empty()) return nullptr;
  Files& f = files_[dataSet];
  if (f.index && f.index->isOpen()) return f.index.get();
  if (f.indexFailed) return nullptr;
  f.index = std::make_unique<IndexFile>();
  const char* path = r->indexFiles.front().path.c_str();
  if (f.index->open(path, IndexFile::kReadWrite) != 0 && f.index->open(path, IndexFile::kReadOnly) != 0) {
    f.indexFailed = true;
    f.index.reset();
    return nullptr;
  }
  return f.index.get();
}

bool KeyedStore::insertKey(int dataSet, std::string_view key, std::uint8_t kind, std::uint32_t value, bool unique) {
  IndexFile* idx = index(dataSet);
  if (!idx || key.empty()) return false;
  if (unique) {
    std::vector<Hit> present;
    collect(dataSet, key, false, present);
    for (const Hit& h : present)
      if (h.value == value && h.kind == kind) return true;
  }
  IndexEntry e;
  e.highFlags = kind;
  e.value = value;
  const bool ok = idx->insert(normalKey(key), e, false) == 0;
  damaged_ = damaged_ || idx->damaged();
  return ok;
}

bool KeyedStore::removeKey(int dataSet, std::string_view key, std::uint32_t value) {
  IndexFile* idx = index(dataSet);
  if (!idx || key.empty()) return false;
  std::string k = normalKey(key);
  k = k.substr(0, std::min<size_t>(k.size(), static_cast<size_t>(idx->maxKeyLength())));
  bool removed = false;
  for (int rc = idx->find(k, BTree::kExact); rc == 0 && idx->key() == k; rc = idx->next(true)) {
    if (idx->entry().value == value) {
      removed = idx->remove() == 0;
      break;
    }
  }
  damaged_ = damaged_ || idx->damaged();
  return removed;
}

bool KeyedStore::lookupKey(int dataSet, std::string_view key, DataItem& out) {
  IndexFile* idx = index(dataSet);
  if (!idx || key.empty()) return false;
  if (idx->findNewest(normalKey(key)) != 0) {
    damaged_ = damaged_ || idx->damaged();
    return false;
  }
  out.kind = idx->entry().highFlags;
  out.dataSet = static_cast<std::uint8_t>(dataSet);
  out.position = idx->entry().value;
  return true;
}

int KeyedStore::collect(int dataSet, std::string_view key, bool prefix, std::vector<Hit>& out, size_t limit) {
  IndexFile* idx = index(dataSet);
  if (!idx || key.empty()) return 0;
  std::string k = normalKey(key);
  k = k.substr(0, std::min<size_t>(k.size(), static_cast<size_t>(idx->maxKeyLength())));
  int added = 0;
  int rc = idx->find(k, prefix ? BTree::kAtOrAfter : BTree::kExact);
  while (rc == 0 && out.size() < limit) {
    const std::string& found = idx->key();
    if (prefix ? found.compare(0, k.size(), k) != 0 : found != k) break;
    out.push_back(Hit{found, idx->entry().highFlags, idx->entry().value});
    ++added;
    rc = idx->next(true);
  }
  damaged_ = damaged_ || idx->damaged();
  return added;
}

std::vector<std::uint32_t> KeyedStore::termHits(int dataSet, const std::string& term, bool prefix,
                                                const SearchOptions& options) {
  std::vector<Hit> hits;
  std::string key = options.fullText ? foldWord(term) : term;
  collect(dataSet, key, prefix, hits);
  if (hits.empty() && options.fullText && !prefix && key.size() > 2) {
    // A word not indexed as it stands may be indexed in another form: its
    // stems (language code kept in front) begin the indexed words.
    std::string word = key.substr(2);
    std::vector<std::string> stems;
    dict_.suffixes().strip(word, -1, -1, options.language ? options.language : kEnglish, &stems);
    for (const std::string& stem : stems) collect(dataSet, key.substr(0, 2) + stem, true, hits);
  }
  if (hits.empty() && options.fullText && !prefix && key.size() > 3)
    soundsLike(dataSet, key.substr(0, 2), key.substr(2), options.language ? options.language : kEnglish, hits);
  std::set<std::uint32_t> ids;
  for (const Hit& h : hits)
    if (h.kind != DataItem::kDeleted) ids.insert(h.value);
  return {ids.begin(), ids.end()};
}

void KeyedStore::soundsLike(int dataSet, const std::string& tag, const std::string& word, int language,
                            std::vector<Hit>& out) {
  PhoneticTables& sounds = dict_.phonetic();
  if (!sounds.table(language) || !sounds.load(language)) return;
  std::string wanted = word;
  sounds.form(wanted, kCurrentLanguage);
  if (wanted.empty()) return;
  // Only words whose beginning may sound like the word's are compared.
  for (const auto& [code, spelling] : sounds.variants(word)) {
    if (spelling.empty()) continue;
    std::vector<Hit> candidates;
    collect(dataSet, tag + spelling, true, candidates, kMaxSoundsLikeCandidates);
    for (const Hit& h : candidates) {
      std::string form = h.key.substr(tag.size());
      sounds.form(form, kCurrentLanguage);
      if (form == wanted) out.push_back(h);
    }
  }
}

std::vector<std::uint32_t> KeyedStore::allObjects(int dataSet) {
  std::vector<Hit> hits;
  collect(dataSet, "%O0X", true, hits);
  std::set<std::uint32_t> ids;
  for (const Hit& h : hits) {
    const std::string hex = h.key.substr(4);
    char* end = nullptr;
    unsigned long id = std::strtoul(hex.c_str(), &end, 16);
    if (hex.size() == 8 && end && *end == '\0') ids.insert(static_cast<std::uint32_t>(id));
  }
  return {ids.begin(), ids.end()};
}

bool KeyedStore::damaged() const {
  if (damaged_) return true;
  for (const auto& [n, f] : files_)
    if (f.index && f.index->damaged()) return true;
  return false;
}

void KeyedStore::closeAll() {
  for (auto& [n, f] : files_) {
    for (auto& [i, h] : f.data) _lclose(h);
    f.data.clear();
    if (f.index) f.index->close();
  }
  files_.clear();
}

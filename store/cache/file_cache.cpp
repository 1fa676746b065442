#include "store/cache/file_cache.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "core/document.h"
#include "core/kx_object.h"
#include "core/logbook.h"
#include "net/references.h"
#include "win/kernel.h"
#include "win/path_map.h"

struct FileCache::Entry {
  CString key;
  CString file;
  CString label;
  std::int32_t temporary = 0;
  std::uint32_t lockcnt = 0;
  std::uint32_t lastUse = 0;
  std::int32_t size = -1;
  // Set while the entry's document is being downloaded: its file is not
  // there yet.
  bool downloading = false;
};

namespace {

constexpr const char* kTemporaryWord = "temporary";
constexpr const char* kPermanentWord = "permanent";

void Log(const std::string& text) { TheLogbook().Write(text.c_str()); }

// Destroying an entry deletes the file it owns.
void DestroyEntryFiles(const CString& key, const CString& file, std::uint32_t lockcnt, bool temporary) {
  if (lockcnt != 0) Log(std::string("CacheEntry:  lockcnt_ != 0:  file ") + key.str());
  if (temporary && !file.IsEmpty()) DeleteFile(file);
}

bool NeedsQuotes(const std::string& field) {
  return field.find_first_of(",\"") != std::string::npos || (!field.empty() && field[0] == ' ');
}

std::string Quoted(const std::string& field) {
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// One field up to the next comma: quoted ("" for a quote) or plain. False
// when there is no comma after it.
bool TakeField(std::string_view line, std::size_t& pos, std::string& out) {
  out.clear();
  if (pos < line.size() && line[pos] == '"') {
    std::size_t i = pos + 1;
    for (;;) {
      if (i >= line.size()) return false;
      if (line[i] == '"') {
        if (i + 1 < line.size() && line[i + 1] == '"') {
          out += '"';
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      out += line[i++];
    }
    if (i >= line.size() || line[i] != ',') return false;
    pos = i + 1;
    return true;
  }
  const std::size_t comma = line.find(',', pos);
  if (comma == std::string_view::npos) return false;
  out.assign(line.substr(pos, comma - pos));
  pos = comma + 1;
  return true;
}

}  // namespace

std::optional<FileCacheTableLine> ParseFileCacheTableLine(std::string_view line) {
  FileCacheTableLine result;
  std::size_t pos = 0;
  if (!TakeField(line, pos, result.key) || !TakeField(line, pos, result.file)) return std::nullopt;
  std::size_t end = pos;
  while (end < line.size() && line[end] != '\0' && line[end] != '\n' && line[end] != '\r' && line[end] != ' ')
    ++end;
  result.kind.assign(line.substr(pos, end - pos));
  const std::size_t open = line.find('(', end);
  if (open != std::string_view::npos) {
    const std::size_t close = line.rfind(')');
    const std::size_t stop = close != std::string_view::npos && close > open ? close : line.size();
    result.label.assign(line.substr(open + 1, stop - open - 1));
    // A label never carries the line end of its line.
    while (!result.label.empty() && (result.label.back() == '\r' || result.label.back() == '\n'))
      result.label.pop_back();
  }
  return result;
}

std::optional<std::string> FormatFileCacheTableLine(const FileCacheTableLine& line) {
  for (const std::string* f : {&line.key, &line.file, &line.label})
    if (f->find_first_of("\r\n") != std::string::npos || f->find('\0') != std::string::npos) return std::nullopt;
  std::string out = NeedsQuotes(line.key) ? Quoted(line.key) : line.key;
  out += ',';
  out += NeedsQuotes(line.file) ? Quoted(line.file) : line.file;
  out += ',';
  out += line.kind;
  out += " (";
  out += line.label;
  out += ')';
  return out;
}

bool CacheFileExists(const CString& name) {
  if (name.IsEmpty()) return false;
  FILE* f = win_fopen(name, "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

std::int32_t CacheFileSize(const CString& name) {
  if (name.IsEmpty()) return 0;
  FILE* f = win_fopen(name, "rb");
  if (!f) return 0;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  return size < 0 ? 0 : size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<std::int32_t>(size);
}

bool IsInTempDir(const CString& name) {
  if (name.IsEmpty()) return false;
  char buffer[MAX_PATH + 1] = {};
  const DWORD n = GetTempPath(sizeof buffer, buffer);
  if (n == 0 || n >= sizeof buffer) return false;
  const std::string temp(buffer, n);
  const std::string file = name.str();
  if (file.compare(0, temp.size(), temp) == 0) return true;
  // The same directory written the other way (host form, other slashes).
  std::string hostTemp = win::AbsoluteHostPath(win::HostPath(temp));
  if (!hostTemp.empty() && hostTemp.back() != '/') hostTemp += '/';
  const std::string hostFile = win::AbsoluteHostPath(win::HostPath(file));
  return hostFile.compare(0, hostTemp.size(), hostTemp) == 0;
}

FileCache::FileCache() {
  resetHandlers();
  setLimits(kDefaultMaxBytes, kDefaultMaxFiles);
}

void FileCache::resetHandlers() {
  downloader_ = [](const CString& key, CString& file) { return DownloadByUrl(key, file, 1); };
  resolver_ = [](const CString& key) {
    DocumentInfo info;
    Ref<KXObject> object = ResolveReference(key);
    if (!object) return info;
    info.found = true;
    info.title = object->getTitle();
    if (auto* document = dynamic_cast<Document*>(object.get())) info.ownFile = document->getContentFile();
    return info;
  };
}

FileCache::~FileCache() { clear(); }

void FileCache::setDownloader(Downloader downloader) { downloader_ = std::move(downloader); }
void FileCache::setResolver(Resolver resolver) { resolver_ = std::move(resolver); }

int FileCache::find(const CString& key) const {
  if (key.IsEmpty() || used_ == 0) return -1;
  for (int i = 0; i < used_; ++i)
    if (entries_[i] && entries_[i]->key == key) return i;
  return -1;
}

void FileCache::removeSlot(int slot) {
  std::shared_ptr<Entry> entry = std::move(entries_[slot]);
  entries_[slot].reset();
  if (entry->size > 0) total_ -= entry->size;
  DestroyEntryFiles(entry->key, entry->file, entry->lockcnt, entry->temporary != 0);
}

void FileCache::remove(const CString& key) {
  const int slot = find(key);
  if (slot >= 0) removeSlot(slot);
}

// The least recently used unlocked entry; -1 when every entry is locked.
int FileCache::chooseVictim() const {
  int best = -1;
  for (int i = 0; i < used_; ++i) {
    const Entry* e = entries_[i].get();
    if (!e || e->lockcnt != 0) continue;
    if (best < 0 || e->lastUse < entries_[best]->lastUse) best = i;
  }
  return best;
}

// An empty slot to fill, or -1 when every slot holds a locked entry (a
// locked file is in use and is never taken from its holder).
int FileCache::makeRoom() {
  if (used_ < capacity_) {
    entries_[used_].reset();
    return used_++;
  }
  for (int i = 0; i < used_; ++i)
    if (!entries_[i]) return i;
  const int victim = chooseVictim();
  if (victim < 0) {
    Log("No unused cache entry available: every cache entry is in use");
    return -1;
  }
  removeSlot(victim);
  return victim;
}

void FileCache::trim() {
  while (maxBytes_ < total_) {
    const int victim = chooseVictim();
    if (victim < 0) break;
    removeSlot(victim);
  }
}

void FileCache::setLimits(int maxBytes, int maxFiles) {
  maxBytes_ = maxBytes < 1 ? 0 : maxBytes;
  int slots = maxFiles < 1 ? 1 : maxFiles < used_ ? used_ : std::min(maxFiles, kMaxSlots);
  if (slots < used_) slots = used_;
  if (slots != capacity_) {
    try {
      entries_.resize(static_cast<std::size_t>(slots));
      capacity_ = slots;
    } catch (const std::bad_alloc&) {
      // The old table and its size stay.
    }
  }
  trim();
}

CString FileCache::acquire(const CString& key) {
  ++clock_;
  int slot = find(key);
  if (slot >= 0) {
    Entry& e = *entries_[slot];
    if (e.downloading) {
      Log(std::string("Document still being downloaded, not available yet: ") + key.str());
      return CString();
    }
    if (!CacheFileExists(e.file) || (e.temporary && CacheFileSize(e.file) != e.size)) {
      // A vanished or changed file is a miss: the document is fetched anew.
      if (e.lockcnt == 0) {
        removeSlot(slot);
        slot = -1;
      } else if (!CacheFileExists(e.file)) {
        Log(std::string("Cached file vanished while in use: ") + key.str());
        return CString();
      }
    }
    if (slot >= 0) {
      if (e.lockcnt == 0) e.lastUse = clock_;
      ++e.lockcnt;
      return e.file;
    }
  }
  if (key.IsEmpty()) return CString();
  slot = makeRoom();
  if (slot < 0) return CString();
  auto entry = std::make_shared<Entry>();
  entry->key = key;
  entry->lastUse = clock_;
  entry->lockcnt = 1;
  entry->downloading = true;
  entries_[slot] = entry;

  CString file;
  const int ok = downloader_ ? downloader_(key, file) : 0;
  entry->downloading = false;
  // The download runs the message loop: the entry may have been cleared
  // away meanwhile; it then is no longer ours to fill.
  slot = find(key);
  if (slot < 0 || entries_[slot] != entry) {
    if (ok && IsInTempDir(file)) DeleteFile(file);
    return CString();
  }
  if (!ok || file.IsEmpty()) {
    entry->lockcnt = 0;
    entries_[slot].reset();
    if (ok && IsInTempDir(file)) DeleteFile(file);
    return CString();
  }
  entry->file = file;
  const DocumentInfo info = resolver_ ? resolver_(key) : DocumentInfo{};
  if (info.found) entry->label = info.title;
  if (file == key) {
    // The key named a local file, handed back as it is: the file is the
    // user's, wherever it lies.
    entry->temporary = 0;
  } else if (!info.found || CacheFileExists(file) || info.ownFile == file || !CacheFileExists(info.ownFile)) {
    entry->temporary = IsInTempDir(file) ? 1 : 0;
  } else {
    entry->temporary = 0;
    entry->file = info.ownFile;
  }
  entry->size = entry->temporary ? CacheFileSize(entry->file) : 0;
  total_ += entry->size;
  trim();
  entry->lastUse = clock_;
  return entry->file;
}

void FileCache::unlock(const CString& key) {
  const int slot = find(key);
  if (slot < 0 || entries_[slot]->lockcnt == 0) return;
  --entries_[slot]->lockcnt;
  entries_[slot]->lastUse = clock_;
  ++clock_;
}

CString FileCache::fetch(const CString& key) {
  CString file = acquire(key);
  if (!file.IsEmpty()) unlock(key);
  return file;
}

void FileCache::insert(const CString& key, const CString& file, int temporary, const CString& label) {
  if (key.IsEmpty() || find(key) >= 0) return;
  const int slot = makeRoom();
  if (slot < 0) return;
  auto entry = std::make_shared<Entry>();
  entry->key = key;
  entry->lastUse = clock_;
  entry->file = file;
  entry->temporary = temporary && IsInTempDir(file) ? 1 : 0;
  entry->size = entry->temporary ? CacheFileSize(file) : 0;
  entry->label = label;
  total_ += entry->size;
  entries_[slot] = entry;
  entry->lockcnt = 1;
  trim();
  entry->lockcnt = 0;
}

bool FileCache::contains(const CString& key) const { return find(key) >= 0; }

void FileCache::markTemporary(const CString& key) {
  const int slot = find(key);
  if (slot < 0) return;
  Entry& e = *entries_[slot];
  if (e.temporary) return;
  // Only a file in the temporary directory is the cache's to delete; its
  // size then counts toward the budget.
  if (!IsInTempDir(e.file)) return;
  e.temporary = 1;
  if (e.size > 0) total_ -= e.size;
  e.size = CacheFileSize(e.file);
  total_ += e.size;
}

int FileCache::count(bool temporaryOnly) const {
  int n = 0;
  for (int i = 0; i < used_; ++i)
    if (entries_[i] && (!temporaryOnly || entries_[i]->temporary)) ++n;
  return n;
}

void FileCache::clear() {
  for (int i = 0; i < used_; ++i) {
    if (!entries_[i]) continue;
    if (entries_[i]->lockcnt) Log(std::string("Warning: remaining locked cache entry ") + entries_[i]->key.str());
    removeSlot(i);
  }
  used_ = 0;
  total_ = 0;
}

void FileCache::saveTable(const CString& fileName) {
  if (fileName.IsEmpty()) return;
  FILE* f = win_fopen(fileName, "w");
  if (!f) {
    Log(std::string("cannot save file cache table to ") + fileName.str());
    return;
  }
  bool failed = false;
  std::vector<Entry*> written;
  for (int i = 0; i < used_; ++i) {
    Entry* e = entries_[i].get();
    if (!e || e->downloading) continue;
    const auto line = FormatFileCacheTableLine(
        {e->key.str(), e->file.str(), e->temporary ? kTemporaryWord : kPermanentWord, e->label.str()});
    if (!line) {
      Log(std::string("cannot save file cache entry ") + e->key.str());
      continue;
    }
    if (std::fprintf(f, "%s\n", line->c_str()) < 0) failed = true;
    written.push_back(e);
  }
  if (std::fclose(f) != 0) failed = true;
  if (failed) {
    // The entries stay the cache's own: their files go with the next clear.
    Log(std::string("cannot save file cache table to ") + fileName.str());
    return;
  }
  for (Entry* e : written) e->temporary = 0;
}

void FileCache::loadTable(const CString& fileName) {
  if (fileName.IsEmpty()) return;
  FILE* f = win_fopen(fileName, "r");
  if (!f) return;
  std::string text;
  char buffer[8192];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  loadTableText(text);
}

void FileCache::loadTableText(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxTableLine) continue;
    const auto parsed = ParseFileCacheTableLine(line);
    if (!parsed) continue;
    const CString file(parsed->file.c_str());
    if (!CacheFileExists(file)) continue;
    insert(CString(parsed->key.c_str()), file, parsed->kind == kTemporaryWord ? 1 : 0,
           CString(parsed->label.c_str()));
  }
}

int FileCache::lockCount(const CString& key) const {
  const int slot = find(key);
  return slot < 0 ? -1 : static_cast<int>(entries_[slot]->lockcnt);
}

bool FileCache::isTemporary(const CString& key) const {
  const int slot = find(key);
  return slot >= 0 && entries_[slot]->temporary != 0;
}

CString FileCache::label(const CString& key) const {
  const int slot = find(key);
  return slot < 0 ? CString() : entries_[slot]->label;
}

CString FileCache::file(const CString& key) const {
  const int slot = find(key);
  return slot < 0 ? CString() : entries_[slot]->file;
}

FileCache& TheFileCache() {
  static FileCache cache;
  return cache;
}

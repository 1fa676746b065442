// The file cache: documents fetched from a server, kept as local files so
// that a document shown again (in this run or a later one) is read from disk
// instead of being downloaded again.
//
// Every entry maps a document key (the reference text by which the caller
// names the document) to a local file, a label (the document's title) and a
// kind: a temporary entry owns its file, which lies in the temporary
// directory and is deleted when the entry goes; a permanent entry only
// points at a file that belongs elsewhere. Entries are locked while a
// caller uses their file; a locked entry is never evicted. The cache bounds
// the number of entries and the total size of the temporary files and
// evicts the least recently used unlocked entry first. Its table is written
// to a text file at exit and read again at start-up.
//
// Table file: one entry a line, "key,file,kind (label)" with the kind
// "temporary" or "permanent". A key or file name that holds a comma, a
// double quote or starts with a blank is written in double quotes, inner
// quotes doubled; every other line is written as it always was, so older
// tables read the same. The label runs to the last ")" of the line.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mfc/cstring.h"

class FileCache {
 public:
  static constexpr int kMaxSlots = 1000;
  static constexpr int kDefaultMaxBytes = 5000000;
  static constexpr int kDefaultMaxFiles = 50;
  // Longest table line read; longer ones are dropped whole.
  static constexpr std::size_t kMaxTableLine = 64 * 1024;

  // How a document gets into a local file: 1 with `file` set, else 0.
  using Downloader = std::function<int(const CString& key, CString& file)>;
  // What the cache learns of a downloaded document: its title, and the
  // local file the document object itself keeps ("" when none).
  struct DocumentInfo {
    bool found = false;
    CString title;
    CString ownFile;
  };
  using Resolver = std::function<DocumentInfo(const CString& key)>;

  FileCache();
  ~FileCache();
  FileCache(const FileCache&) = delete;
  FileCache& operator=(const FileCache&) = delete;

  void setLimits(int maxBytes, int maxFiles);
  // The local file of the document, locked once more (pair with unlock);
  // "" when the document cannot be had. A key whose download is still
  // running (asked again from inside that download) is refused with "".
  CString acquire(const CString& key);
  void unlock(const CString& key);
  // acquire and unlock at once: the file, not locked.
  CString fetch(const CString& key);
  // Adds an entry for a file that exists already, unless the key is cached.
  void insert(const CString& key, const CString& file, int temporary, const CString& label);
  bool contains(const CString& key) const;
  void markTemporary(const CString& key);
  int count(bool temporaryOnly) const;
  void clear();
  void saveTable(const CString& fileName);
  void loadTable(const CString& fileName);
  // Reads a table from text (what loadTable does with the file's bytes).
  void loadTableText(std::string_view text);

  // The download and the document lookup (by default the server
  // connection's download with waiting, and the reference resolver).
  void setDownloader(Downloader downloader);
  void setResolver(Resolver resolver);
  // Back to the download and the lookup a new cache starts with.
  void resetHandlers();

  // --- For inspection ---
  int capacity() const { return capacity_; }
  int maxBytes() const { return maxBytes_; }
  std::int32_t totalBytes() const { return total_; }
  // The entry's lock count, or -1 when the key has none.
  int lockCount(const CString& key) const;
  bool isTemporary(const CString& key) const;
  CString label(const CString& key) const;
  CString file(const CString& key) const;

 private:
  struct Entry;
  int find(const CString& key) const;
  void remove(const CString& key);
  void removeSlot(int slot);
  int chooseVictim() const;
  int makeRoom();
  void trim();

  std::uint32_t clock_ = 0;
  int capacity_ = 0;
  int maxBytes_ = 0;
  std::vector<std::shared_ptr<Entry>> entries_;
  int used_ = 0;
  std::int32_t total_ = 0;
  Downloader downloader_;
  Resolver resolver_;
};

// One line of a table file.
struct FileCacheTableLine {
  std::string key;
  std::string file;
  std::string kind;
  std::string label;
};
// Parses one line (without its line end); nothing for a line that does
// not hold a key and a file.
std::optional<FileCacheTableLine> ParseFileCacheTableLine(std::string_view line);
// The line for an entry (without its line end); nothing when a field holds
// a line break, which no table line can carry.
std::optional<std::string> FormatFileCacheTableLine(const FileCacheTableLine& line);

// The program's file cache.
FileCache& TheFileCache();

// File helpers of the cache: an existing readable file; its size (0 for
// none); whether the name lies in the temporary directory.
bool CacheFileExists(const CString& name);
std::int32_t CacheFileSize(const CString& name);
bool IsInTempDir(const CString& name);

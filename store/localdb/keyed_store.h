// The index engine of the local database: the data sets the dictionary
// context has open, each with its data files (records "SDO", text bodies
// "SDT", binary bodies "SDB", each owning a range of the data set's data
// space) and its B-tree index of upper-case keys. It reads and appends
// data, adds, removes and looks up keys, and evaluates search queries over
// the keys of the data sets in scope.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/result_set.h"
#include "store/dictionary/dictionary_context.h"
#include "store/index/index_file.h"
#include "store/localdb/data_item.h"

class KeyedStore {
 public:
  enum : int {
    kMaxHits = 32752,          // the most hits a search or a cursor serves
    kMaxDataSetNumber = 254,   // 255 means "no data set" in a hit
    kMaxKeyBytes = 200,
    kMaxSoundsLikeCandidates = 5000,  // words compared per spelling variant
  };
  // One value of a key.
  struct Hit {
    std::string key;
    std::uint8_t kind = 0;
    std::uint32_t value = 0;
  };
  // How searched terms are matched beyond their exact keys.
  struct SearchOptions {
    bool fullText = false;   // words of bodies: folded, stemmed as a fallback
    int language = 0;        // for stemming and phonetic forms
  };

  KeyedStore() = default;
  KeyedStore(const KeyedStore&) = delete;
  KeyedStore& operator=(const KeyedStore&) = delete;
  ~KeyedStore();

  // Writes the configuration, the empty data files and the index of a new
  // data set `code` into `directory`; the configuration's path, or "" when
  // a file cannot be written.
  static std::string createDataSet(const std::string& directory, const std::string& code,
                                   const std::string& title);

  // Opens a data set's configuration under `number` (1..254). The same
  // configuration open already keeps its number, which is returned; -1 when
  // the number is out of range, taken by another data set, or the
  // configuration cannot be read.
  int openDataSet(const std::string& config, int number, const std::string& directory = {});
  int loadList(const std::string& listFile);
  bool hasDataSet(int number) const;
  // The open data sets, by number.
  std::vector<int> dataSets() const;
  // By the data set's code, in any case; -1 when none is open so.
  int dataSetNumber(std::string_view name) const;
  std::string dataSetName(int number) const;
  std::string dataSetTitle(int number) const;
  DictionaryContext& dictionary() { return dict_; }

  // Reads up to `n` bytes at `position` of the data set's data space; the
  // bytes read (0 at the end of the data), -1 when no file holds it.
  long read(int dataSet, std::uint32_t position, char* buffer, long n);
  // 32 when the position lies in the binary-body file, else 16.
  int kindOf(int dataSet, std::uint32_t position) const;

  // An append to the data set's file of `mode` (WriteItem::Mode).
  bool openAppend(int dataSet, int mode, WriteItem& out);
  bool append(WriteItem& item, const char* data, long n);
  void close(WriteItem& item);

  // Keys are upper-cased alike for every operation. A second value of a key
  // joins its chain; with `unique`, a value the key holds live already is
  // not added again.
  bool insertKey(int dataSet, std::string_view key, std::uint8_t kind, std::uint32_t value, bool unique = false);
  // Deletes the live value `value` of the key; false when there is none.
  bool removeKey(int dataSet, std::string_view key, std::uint32_t value);
  // The newest live value of the key.
  bool lookupKey(int dataSet, std::string_view key, DataItem& out);
  // Every live value of the key (or, with `prefix`, of every key beginning
  // with it), in key order and chain order, at most `limit`.
  int collect(int dataSet, std::string_view key, bool prefix, std::vector<Hit>& out,
              size_t limit = kMaxHits);

  // The object ids a search term finds in one data set: the values of its
  // key (every key beginning with it for a prefix term). Full-text terms are
  // folded; one that finds nothing is tried again by its stems, then by the
  // indexed words that sound like it.
  std::vector<std::uint32_t> termHits(int dataSet, const std::string& term, bool prefix,
                                      const SearchOptions& options);
  // Every object of the data set that has a record key.
  std::vector<std::uint32_t> allObjects(int dataSet);

  // The folded form of a full-text word: upper case, accents and
  // separators gone.
  static std::string foldWord(std::string_view word);
  static std::string normalKey(std::string_view key);

  // Whether an index met damage (a block that is not what it should be).
  bool damaged() const;
  // Writes every index and data file out and closes them.
  void closeAll();

 private:
  struct Files {
    std::map<int, HFILE> data;  // by file index in the dictionary record
    std::unique_ptr<IndexFile> index;
    bool indexFailed = false;
  };
  const DictionaryRecord* record(int dataSet) const;
  IndexFile* index(int dataSet);
  HFILE dataFile(int dataSet, size_t fileIndex);
  int fileOfMode(int dataSet, int mode) const;
  void soundsLike(int dataSet, const std::string& tag, const std::string& word, int language, std::vector<Hit>& out);

  DictionaryContext dict_;
  std::map<int, Files> files_;
  bool damaged_ = false;
};

// The dictionaries (data sets) the local database reads: each described by a
// configuration file that names its data and index files, opened under an
// id by its caller, several at once through a list file of "id name" pairs.
// The context keeps one record per dictionary, selects the current one,
// checks that a removable medium holding the data is present, and gives
// access to each dictionary's entry tree (its record file). It also owns the
// phonetic and suffix tables, loaded for German and English when the first
// dictionary opens.
//
// Failures to open a list, a configuration or a medium are shown in a box
// captioned "!!! Error !!!" and answered by 0; dictionaries already open
// stay open.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/dictionary/dictionary_record.h"
#include "store/fulltext/phonetic_tables.h"
#include "store/fulltext/suffix_tables.h"
#include "store/index/record_file.h"

class DictionaryContext {
 public:
  enum : int { kAllDictionaries = -1 };
  enum Direction : int { kForward = 1, kBackward = 2, kForwardOther = 4, kBackwardOther = 8 };
  enum DirectionCode : int { kTurnBackward = 64, kTurnForward = 128 };

  DictionaryContext() = default;
  DictionaryContext(const DictionaryContext&) = delete;
  DictionaryContext& operator=(const DictionaryContext&) = delete;

  // Opens every pair of a list file; 0 (after a box) when the list cannot
  // be read.
  int loadList(const std::string& listFile, const std::string& directory = {});
  // Opens the configuration `configFile` as dictionary `id`; nonzero on
  // success. Without `reread`, an id that is open already is refused.
  // `directory`, when given, is where the configuration and its files lie.
  int openDictionary(const std::string& configFile, int id, bool checkMedia, bool reread,
                     const std::string& directory = {});
  // Whether the medium of a dictionary is there: the configured volume label
  // (when one can be read; nothing is compared otherwise) and its index file
  // in the local data directory.
  bool mediaPresent(const DictionaryRecord& record) const;

  // An empty code selects every dictionary; otherwise the one whose code is
  // the first word of `text` (8 characters, any case). 0 when there is none.
  int selectDictionary(std::string_view text);
  int currentId() const { return current_; }
  void setDirection(int code);
  int direction() const { return direction_; }

  // The record of dictionary `id` (kAllDictionaries: the current one).
  const DictionaryRecord* dictionary(int id) const;
  const std::vector<DictionaryRecord>& dictionaries() const { return dictionaries_; }
  // The id of the dictionary with this code, or whose configuration is this
  // file; -1 when none.
  int idOfCode(std::string_view code) const;
  int idOfConfig(const std::string& path) const;

  // The entry tree of a dictionary, read from its first data file (the
  // numbers of its "F" line give the file kind, the depth limit, the fan-out
  // and the root address); null when it has no data file.
  RecordFile* recordFile(int id);

  // A name made a path: joined to `directory` when one is given, else the
  // first of the program's directory, the local data directory, the
  // configuration's directory and the name itself that can be opened.
  std::string findFile(const std::string& name, const std::string& directory = {},
                       const std::string& configDirectory = {}) const;

  PhoneticTables& phonetic() { return phonetic_; }
  SuffixTables& suffixes() { return suffixes_; }

 private:
  bool parse(DictionaryRecord& record, const std::string& path, const std::string& directory);
  void loadLanguageTables();

  std::vector<DictionaryRecord> dictionaries_;
  std::map<int, std::unique_ptr<RecordFile>> recordFiles_;
  int current_ = kAllDictionaries;
  int direction_ = kForward;
  bool tablesLoaded_ = false;
  PhoneticTables phonetic_;
  SuffixTables suffixes_;
};

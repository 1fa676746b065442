// What an index must answer after a sequence of inserts and deletions: the
// live values of each key, kept the way the index keeps them.
#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "store/index/index_file.h"

namespace index_testing {

struct IndexModel {
  std::map<std::string, std::vector<IndexEntry>> keys;
  std::set<std::string> chained;  // keys whose entry holds a chain, live or not

  void insert(const std::string& key, const IndexEntry& e, bool replace);
  // Deleting the value a search finds: the first live one.
  void removeFirst(const std::string& key);
};

// One step of a seeded sequence.
struct IndexOp {
  bool remove = false;
  bool replace = false;
  std::string key;
  IndexEntry entry;
};

// A sequence over `distinctKeys` keys of varied length, mostly inserts (some
// of them second values of a key, some replacing), with deletions between.
std::vector<IndexOp> makeOps(unsigned seed, int count, int distinctKeys);

// Applies one step to an index and to the model; false when the index
// failed a step it should have done.
bool apply(IndexFile& index, IndexModel& model, const IndexOp& op);
// Applies it to the index only.
bool apply(IndexFile& index, const IndexOp& op);
void apply(IndexModel& model, const IndexOp& op);

}  // namespace index_testing

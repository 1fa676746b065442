// The hits of one search of the local full-text store: entries of a key (the
// hit's kind: its data set in the low byte, its type byte in bits 8-15) and
// a value (its position), each with an optional text and list of ids, read
// through a 1-based cursor. Two counters tell the store how many hits it
// added in each of its two phases.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ResultSet {
 public:
  struct Pair {
    std::uint32_t key = 0;
    std::uint32_t value = 0;
    bool operator==(const Pair&) const = default;
  };
  struct Entry {
    Pair pair;
    std::string text;
    bool hasText = false;
    std::vector<std::uint32_t> ids;
    std::uint8_t flag = 0;
  };
  enum MoveMode : int { kFirst = 0, kNext = 1, kStay = 2, kTo = 3, kBy = 4 };

  static std::uint32_t makeKey(int dataSet, int type) {
    return (static_cast<std::uint32_t>(dataSet) & 0xFF) | ((static_cast<std::uint32_t>(type) & 0xFF) << 8);
  }
  static int typeOf(std::uint32_t key) { return static_cast<int>((key >> 8) & 0xFF); }
  static int dataSetOf(std::uint32_t key) { return static_cast<int>(key & 0xFF); }

  ResultSet();

  // Empties the set; the two values are kept for the caller.
  int Reset(std::int32_t a = 0, std::int32_t b = 0);
  // Appends an entry; -1 (nothing added) when `repeatCheck` is set and the
  // entry repeats the type and value of the one added last.
  int Add(Pair pair, bool repeatCheck = false, const char* text = nullptr,
          const std::uint32_t* ids = nullptr, int idCount = 0);
  // Entry `index` (1-based); -1 outside the set.
  int GetAt(int index, Pair& out) const;
  // Replaces the key and value of the first entry equal to `match`.
  bool Update(Pair match, Pair replacement);
  // Moves the cursor (MoveMode) and gives the entry there; -1, the cursor
  // unmoved, when the new place lies outside 1..total.
  int Move(Pair& out, int mode, int n = 0);
  // The text of the entry under the cursor ("" when it has none).
  std::string GetCurrentData() const;
  const Entry* entryAt(int index) const;

  int total() const { return static_cast<int>(entries_.size()); }
  int cursor() const { return cursor_; }
  int serial() const { return serial_; }
  // Hits counted per selector since Reset.
  int hitCount(int selector) const { return hits_[selector & 1]; }
  void selectCounter(int selector) { selector_ = selector & 1; }
  // Keeps the first `n` entries (the counters are not changed).
  void truncate(int n);

 private:
  std::vector<Entry> entries_;
  int cursor_ = 0;
  int serial_ = 0;
  int hits_[2] = {0, 0};
  int selector_ = 0;
  Pair last_;
  bool hasLast_ = false;
  std::int32_t callerValues_[2] = {0, 0};
};

// Language ids of the local dictionary data: a number from a fixed table
// that pairs each id with a three-letter abbreviation, used to name the
// per-language data files ("PHONEM." + "deu").
#pragma once

class LanguageId {
 public:
  // The id that stands for "the id this object holds" in lookups.
  static constexpr int kSelf = 2;
  static constexpr int kDefault = 4;  // "deu"

  constexpr explicit LanguageId(int id = kDefault) : id_(id) {}

  int id() const { return id_; }
  void set(int id) { id_ = id; }

  // The table's entries, in table order.
  static int tableSize();
  static int idAt(int index);                  // 0 out of range
  static const char* abbreviationAt(int index);  // "" out of range

  // Index of the id in the table (kSelf: of this object's id); an unknown
  // id gives the index of the default.
  int IndexOf(int id) const;

  // Sets and returns the id named by the first three characters of
  // `abbreviation`, compared in lower case; an unknown or shorter one sets
  // the default. A null pointer changes nothing and returns the id held.
  int FromCode(const char* abbreviation);

  // `buffer` holds a base name ending in a NUL within its `size` bytes; the
  // abbreviation of `id` (through IndexOf) is appended. Returns the new
  // length, or -1 with the buffer untouched when the base name's length + 5
  // exceeds `size` (three letters, the NUL and one byte to spare), or when
  // the buffer holds no NUL within `size`.
  int MakeFileName(char* buffer, int size, int id) const;

 private:
  int id_;
};

// The language of the local dictionary: "enu" until the dictionary sets it
// from its files.
extern LanguageId dictionaryLanguage;

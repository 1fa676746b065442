// Where stored data lies: a DataItem names data to read (a record, a body,
// an index hit), a WriteItem an append in progress to one of a data set's
// files.
#pragma once

#include <cstdint>
#include <string>

#include "win/types.h"

struct DataItem {
  enum Kind : std::uint8_t {
    kWord = 0,          // a full-text or attribute key's value: an object id
    kText = 16,         // text data (records, text bodies)
    kBinary = 32,       // data of a binary-body file
    kDeleted = 0x80,    // the object's deletion mark
    kTextItem = 0xF0,   // a reference to an object of another store
    kUnset = 0xFF,
  };
  static constexpr std::uint32_t kNoPosition = 0xFFFFFFFFu;

  std::uint8_t kind = kUnset;
  std::uint8_t dataSet = 0xFF;
  std::uint32_t position = kNoPosition;
  std::string reference;  // text items only
};

struct WriteItem {
  enum Mode : int { kRecords = 0, kTextBodies = 1, kBinaryBodies = 2 };

  int mode = kRecords;
  int dataSet = -1;
  std::uint32_t position = 0;  // in the data space, where the append began
  std::uint32_t written = 0;
  HFILE file = HFILE_ERROR;
  LONG fileStart = 0;  // the file offset of `position`
};

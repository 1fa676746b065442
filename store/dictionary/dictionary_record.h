// What a dictionary's configuration file says about it. A configuration is
// read line by line; the first character of a line is a command letter:
//
//   A, C, b  title texts (80)            K  the code (8, kept lower-cased)
//   D  a data file: name, first and second number, two small numbers
//      (16 and 1 when missing), one number; a negative second number n
//      becomes first - n + 10
//   I  an index file: name, two small numbers, two numbers, a small number
//   E  the end       F  six numbers       H  a heading text (124)
//   L  a flag        R, r  the volume label of the medium (13, upper-cased)
//   S  a small number (3 characters)      T  a number    V  a small number
//   X  a directory (124; "*" stands for the caller's)     Y  a text (512)
//   Z  a flag (3 characters)              "!", ";"  comments
//
// Lines hold at most 132 characters; texts are cut to their fields, numbers
// to their widths; a file name is made a full path and upper-cased.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DictionaryDataFile {
  std::string path;
  std::int32_t first = 0;   // the position of the file's first byte in the data space
  std::int32_t second = 0;  // how many positions it holds
  std::int16_t width = 16;
  std::int16_t step = 1;
  std::int16_t small = 0;
  std::int32_t number = 0;

  bool holds(std::uint32_t position) const {
    return position >= static_cast<std::uint32_t>(first) &&
           position - static_cast<std::uint32_t>(first) < static_cast<std::uint32_t>(second);
  }
};

struct DictionaryIndexFile {
  std::string path;
  std::int16_t a = 0;
  std::int16_t b = 0;
  std::int32_t c = 0;
  std::int32_t d = 0;
  std::int16_t e = 0;
};

struct DictionaryRecord {
  enum Field : int {
    kTitleLength = 80,
    kCodeLength = 8,
    kLabelLength = 13,
    kHeadingLength = 124,
    kDirectoryLength = 124,
    kDescriptionLength = 512,
    kPathLength = 124,
    kNumbers = 6,
  };

  int id = -1;
  std::string configPath;  // full, upper-cased
  std::string titles[3];   // A, C, b
  std::string code;        // K, lower-cased
  bool listed = false;     // L
  bool marked = false;     // Z
  std::int32_t numbers[kNumbers] = {};  // F
  std::int16_t smallNumber = 0;         // S
  std::int32_t number = 0;              // T
  std::int16_t version = 0;             // V
  std::string volumeLabel;              // R, upper-cased
  std::string heading;                  // H
  std::string directory;                // X
  std::string description;              // Y
  std::string publisher;                // set when an index file ends in ".KI"
  std::vector<DictionaryDataFile> dataFiles;
  std::vector<DictionaryIndexFile> indexFiles;

  // Its own first title, else its code.
  std::string title() const;
  // The heading joined to the dictionary's name: heading, " @ ", code.
  std::string headingText() const;
  // The data file holding a position of the data space; null when none.
  const DictionaryDataFile* dataFileAt(std::uint32_t position) const;
};

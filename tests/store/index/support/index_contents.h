// Reading back everything an index file holds, for comparison with what a
// test put into it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "store/index/index_file.h"

namespace index_testing {

// Every live key with its live values in chain order.
using Contents = std::map<std::string, std::vector<IndexEntry>>;

// Walks the whole index with the cursor (next within keys), checking that
// the keys come in strict order and that each one is found again by an
// exact search with the same first value.
::testing::AssertionResult readAll(IndexFile& index, Contents& out);

// The values of a key as the cursor gives them (empty when absent).
std::vector<DWORD> valuesOf(IndexFile& index, const std::string& key);

// Bytes of a file, or a part of it.
std::string fileBytes(const std::string& path, long offset = 0, long length = -1);
// Overwrites bytes of a file in place.
void patchFile(const std::string& path, long offset, const std::string& bytes);

// Little-endian bytes of a number, as the index files hold them.
std::string le16(int value);
std::string le32(DWORD value);

// A key of `length` bytes made from a number, distinct for distinct numbers.
std::string numberedKey(int n, size_t length);

}  // namespace index_testing

// The request handles of the local database: document transfers (reading a
// body, storing one) and result lists of queries, relations and searches.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/result_set.h"
#include "core/store.h"
#include "store/localdb/data_item.h"

struct DocumentRequest : StoreEntry {
  ~DocumentRequest() override;

  std::int32_t position = -1;  // bytes delivered; -1 before the first read
  std::int32_t size = -1;  // -1: a dictionary entry, ended by its mark
  std::string localFile;
  bool hasItem = false;
  DataItem item;
  bool writing = false;
  WriteItem write;
  std::string pendingLine;
  bool outsideTag = true;
  bool indexText = false;
  HFILE file = HFILE_ERROR;
  // Reading a dictionary entry: its end mark was met, and the last byte
  // delivered (a mark may begin in one piece and end in the next).
  bool entryEnded = false;
  char lastDelivered = 0;
};

struct QueryRequest : StoreEntry {
  std::string query;
  std::unique_ptr<ResultSet> results;
};

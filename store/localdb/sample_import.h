// Fills a local database from a web in the reference peer's content format:
// one "*.rec" attribute record per object (its "Parent=" lines naming the
// collections that hold it, its "ObjectID=" the id the records refer to)
// and the content in "*.body" beside it. Documents go under their
// collections, bodies through the body transfers, anchors onto their
// documents with their destinations by new id. Users and groups are
// server matters and are left out.
#pragma once

#include <map>
#include <string>

#include "store/localdb/local_database.h"

struct SampleImport {
  bool ok = false;
  std::string error;
  // The new id text of every object stored, by the id its record had.
  std::map<std::string, std::string> ids;
};

SampleImport ImportSampleWeb(LocalDatabase& db, const std::string& sampleDirectory);

// One reply of the server to one request of the control connection. The
// connection registers a Reply when it sends a request; the reply receiver
// fills it from the reply's body and files it among the arrived replies,
// where the waiting request picks it up. Which fields a reply fills depends
// on its code (see reply_handlers.h).
#pragma once

#include <vector>

#include "core/id_array.h"
#include "core/list.h"
#include "mfc/cstring.h"
#include "net/feature_vector.h"
#include "win/types.h"

class Reply : public ListElement {
 public:
  Reply(DWORD id, int code) : id(id), code(code) {}

  LONG firstInt = 0;
  LONG secondInt = 0;
  bool success = false;
  CString firstText;   // identification answer, record blocks, raw bytes
  CString secondText;  // the object record of most replies
  IdArray ids;
  // The ids as the reply listed them (request 11 pairs them with its records).
  std::vector<LONG> idsInOrder;
  FeatureVector features;  // the hits of a full-text search
  // The length of each text that firstText holds one after another.
  std::vector<LONG> lengths;
  int status = 0;  // 0 = success, else an error code
  DWORD id;
  int code;

  // The texts that firstText holds, cut by `lengths`. False (and `out`
  // empty) when the lengths do not add up to the text.
  bool splitTexts(std::vector<CString>& out) const;
};

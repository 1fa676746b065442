#include "store/index/index_header.h"

#include "core/le_numbers.h"

void IndexHeader::encode(BYTE out[kSize]) const {
  BYTE* p = out;
  putShortLE(p, valid);
  putShortLE(p, blockSize);
  putShortLE(p, root);
  putShortLE(p, firstLeaf);
  putShortLE(p, spare8);
  putShortLE(p, spare10);
  putShortLE(p, chainBlock);
  putShortLE(p, spare14);
  putShortLE(p, spare16);
  putShortLE(p, lastAllocated);
  putLongLE(p, spare20);
  putLongLE(p, spare24);
  putShortLE(p, spare28);
  putShortLE(p, spare30);
  putShortLE(p, depth);
}

IndexHeader IndexHeader::decode(const BYTE in[kSize]) {
  const BYTE* p = in;
  IndexHeader h;
  h.valid = getShortLE(p);
  h.blockSize = getShortLE(p);
  h.root = getShortLE(p);
  h.firstLeaf = getShortLE(p);
  h.spare8 = getShortLE(p);
  h.spare10 = getShortLE(p);
  h.chainBlock = getShortLE(p);
  h.spare14 = getShortLE(p);
  h.spare16 = getShortLE(p);
  h.lastAllocated = getShortLE(p);
  h.spare20 = getLongLE(p);
  h.spare24 = getLongLE(p);
  h.spare28 = getShortLE(p);
  h.spare30 = getShortLE(p);
  h.depth = getShortLE(p);
  return h;
}

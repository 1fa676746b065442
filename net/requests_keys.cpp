#include "net/requests_keys.h"

#include <new>

namespace {

ProtocolKeys* keys = nullptr;

}  // namespace

const ProtocolKeys* protocolKeys() { return keys; }

void initProtocolKeys() {
  if (keys == nullptr) keys = new (std::nothrow) ProtocolKeys();
}

void freeProtocolKeys() {
  delete keys;
  keys = nullptr;
}

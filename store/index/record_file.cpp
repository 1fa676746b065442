#include "store/index/record_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/le_numbers.h"
#include "store/index/block_io.h"
#include "win/kernel.h"

namespace {

// How many nodes a search for an entry number may look at before it gives
// up: a damaged file must not keep it busy.
constexpr long kSearchBudget = 20000;

}  // namespace

void RecordFile::setFile(const std::string& name, int kind, int depthLimit, int fanOut, DWORD root) {
  close();
  name_ = name;
  kind_ = kind;
  depthLimit_ = depthLimit;
  fanOut_ = fanOut < 0 ? 0 : fanOut;
  root_ = root;
}

void RecordFile::close() {
  while (uses_ > 0) releaseFile();
  cachedOffset_ = -1;
  record_.clear();
  nodes_.clear();
}

bool RecordFile::acquireFile() {
  if (uses_ == 0) {
    if (name_.empty()) return false;
    file_ = _lopen(name_.c_str(), OF_READ);
    if (file_ == HFILE_ERROR) return false;
  }
  ++uses_;
  return true;
}

void RecordFile::releaseFile() {
  if (uses_ == 0) return;
  if (--uses_ == 0) {
    _lclose(file_);
    file_ = HFILE_ERROR;
  }
}

bool RecordFile::loadRecord(DWORD offset) {
  if (static_cast<LONG>(offset) == cachedOffset_) return true;
  cachedOffset_ = -1;
  BYTE length[2];
  if (!block_io::readAt(file_, static_cast<LONG>(offset), length, 2)) return false;
  const BYTE* p = length;
  WORD n = getShortLE(p);
  record_.assign(static_cast<size_t>(n) + 1, 0);
  if (n && _lread(file_, record_.data(), n) != n) return false;
  cachedOffset_ = static_cast<LONG>(offset);
  return true;
}

bool RecordFile::readEntries(DWORD offset, int index, int& count, DWORD& word, DWORD& x) {
  if (kind_ >= kRecordKind) {
    if (!loadRecord(offset)) return false;
    // The record's bytes, without the NUL kept behind them.
    size_t length = record_.size() - 1;
    if (length < 1) return false;
    count = record_[0];
    if (index >= count) return false;
    size_t at = 1;
    for (int e = 0; e <= index; ++e) {
      if (at + 4 > length) return false;
      const BYTE* p = record_.data() + at;
      word = getLongLE(p);
      at += 4;
      x = 0;
      if (word & 1) {
        if (at + 4 > length) return false;
        x = getLongLE(p);
        at += 4;
      }
    }
    return true;
  }
  // Older files: the count and the words straight from the file.
  BYTE c;
  if (!block_io::readAt(file_, static_cast<LONG>(offset), &c, 1)) return false;
  count = c;
  if (index >= count) return false;
  for (int e = 0; e <= index; ++e) {
    BYTE bytes[4];
    if (_lread(file_, bytes, 4) != 4) return false;
    const BYTE* p = bytes;
    word = getLongLE(p);
    x = 0;
    if (word & 1) {
      if (_lread(file_, bytes, 4) != 4) return false;
      p = bytes;
      x = getLongLE(p);
    }
  }
  return true;
}

std::optional<RecordNode> RecordFile::decode(DWORD address, const DWORD* path, int depth) {
  if (!acquireFile()) return std::nullopt;
  int count = 0;
  DWORD word = 0, x = 0;
  bool ok = readEntries(address >> 8, static_cast<int>(address & 0xFF), count, word, x);
  releaseFile();
  if (!ok) return std::nullopt;
  RecordNode n;
  n.address = address;
  n.depth = depth;
  std::copy(path, path + depth, n.path);
  n.entryCount = count;
  n.inner = (word & 1) != 0;
  n.word = word & ~1u;
  n.x = x;
  return n;
}

void RecordFile::remember(const RecordNode& node) {
  nodes_.push_front(node);
  if (nodes_.size() > static_cast<size_t>(kCachedNodes)) nodes_.pop_back();
}

std::optional<RecordNode> RecordFile::nodeAt(DWORD address, const DWORD* path, int depth) {
  if (depth < 0 || depth > RecordNode::kMaxDepth) return std::nullopt;
  for (auto it = nodes_.begin(); it != nodes_.end(); ++it) {
    if (it->address != address) continue;
    RecordNode n = *it;
    n.depth = depth;
    std::copy(path, path + depth, n.path);
    nodes_.erase(it);
    remember(n);
    return n;
  }
  std::optional<RecordNode> n = decode(address, path, depth);
  if (n) remember(*n);
  return n;
}

std::optional<RecordNode> RecordFile::node(DWORD address, const RecordNode* parent) {
  DWORD path[RecordNode::kMaxDepth] = {};
  if (!parent) return nodeAt(address, path, 0);
  // A child of the deepest node would need a depth the node cannot hold.
  if (parent->depth >= RecordNode::kMaxDepth) return std::nullopt;
  std::copy(parent->path, parent->path + parent->depth, path);
  path[parent->depth] = parent->address;
  return nodeAt(address, path, parent->depth + 1);
}

std::optional<RecordNode> RecordFile::child(const RecordNode& n, int i) {
  if (!n.inner || i < 0 || i > 0xFF) return std::nullopt;
  DWORD address = ((n.word & ~0x1FEu) >> 1) | static_cast<DWORD>(i);
  return node(address, &n);
}

std::optional<RecordNode> RecordFile::nextSibling(const RecordNode& n) {
  if (n.index() + 1 >= n.entryCount) return std::nullopt;
  return nodeAt(n.address + 1, n.path, n.depth);
}

std::optional<RecordNode> RecordFile::parent(const RecordNode& n) {
  if (n.depth == 0) return std::nullopt;
  return nodeAt(n.path[n.depth - 1], n.path, n.depth - 1);
}

std::int32_t RecordFile::entryNumber(const RecordNode& n) const {
  if (!n.inner) return static_cast<std::int32_t>(n.word >> 5);
  // The place of the node in a tree of fan-out M and depth limit Dmax:
  // S = 1 + the sum over the levels u = 1..d of (c_u (M + 1)^(Dmax - u - 1) + 1).
  constexpr std::int64_t kMaxS = std::numeric_limits<std::int32_t>::max() - 10001;
  std::int64_t s = 1;
  for (int u = 1; u <= n.depth && s < kMaxS; ++u) {
    DWORD address = u == n.depth ? n.address : n.path[u];
    std::int64_t weight = 1;
    for (int k = depthLimit_ - u - 1; k >= 1 && weight < kMaxS; --k) weight *= fanOut_ + 1;
    s += static_cast<std::int64_t>(address & 0xFF) * std::min(weight, kMaxS) + 1;
  }
  return static_cast<std::int32_t>(-(10001 + std::min(s, kMaxS)));
}

std::optional<RecordNode> RecordFile::search(std::int32_t number, std::optional<RecordNode> n, long& budget) {
  for (; n; n = nextSibling(*n)) {
    if (--budget < 0) return std::nullopt;
    if (entryNumber(*n) == number) return n;
    // Below an inner node lie the leaves up to its X, and deeper inner nodes.
    if (n->inner && (number < 0 || n->x >= static_cast<DWORD>(number))) {
      std::optional<RecordNode> found = search(number, child(*n, 0), budget);
      if (found) return found;
    }
  }
  return std::nullopt;
}

std::optional<RecordNode> RecordFile::findEntry(std::int32_t number) {
  if (!acquireFile()) return std::nullopt;
  long budget = kSearchBudget;
  std::optional<RecordNode> found = search(number, root(), budget);
  releaseFile();
  return found;
}

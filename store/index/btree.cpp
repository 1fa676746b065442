#include "store/index/btree.h"

#include "core/le_numbers.h"
#include "store/index/block_pool.h"
#include "store/index/btree_node.h"

namespace {

// A split leaves the entry's half with fewer entries each time; a key the
// block size allows always fits a node of one entry, so this is never met
// by a sound file.
constexpr int kMaxSplitsPerInsert = 64;

void leafFixed(BYTE out[BTreeNode::kLeafFixed], const IndexEntry& e) {
  BYTE* p = out;
  putByte(p, e.flags);
  putByte(p, e.highFlags);
  putLongLE(p, e.value);
}

void innerFixed(BYTE out[BTreeNode::kInnerFixed], WORD child) {
  BYTE* p = out;
  putShortLE(p, child);
}

bool sameValue(const IndexEntry& a, const IndexEntry& b) {
  return a.value == b.value && a.highFlags == b.highFlags && (a.flags & 0xF0) == (b.flags & 0xF0);
}

}  // namespace

void BTree::bind(BlockPool* pool) {
  pool_ = pool;
  blockSize_ = pool->blockSize();
  maxKey_ = BTreeNode::maxKeyLength(blockSize_);
  chain_.bind(pool);
  valid_ = chained_ = damaged_ = false;
  block_ = 0;
  entry_ = 0;
}

std::string_view BTree::cut(std::string_view key) const {
  return key.size() > static_cast<size_t>(maxKey_) ? key.substr(0, static_cast<size_t>(maxKey_)) : key;
}

BYTE* BTree::node(WORD block, bool leaf) {
  BYTE* buf = block ? pool_->get(block, leaf ? kLeafWeight : kInnerWeight) : nullptr;
  if (!buf) {
    if (block == 0 || block > pool_->lastBlock()) damaged_ = true;
    return nullptr;
  }
  if (!pool_->checked(block)) {
    if (!BTreeNode::check(buf, blockSize_)) {
      damaged_ = true;
      return nullptr;
    }
    pool_->setChecked(block);
  }
  if (BTreeNode(buf, blockSize_).type() != (leaf ? BTreeNode::kLeaf : BTreeNode::kInner)) {
    damaged_ = true;
    return nullptr;
  }
  return buf;
}

WORD BTree::descend(std::string_view key, int height, std::vector<WORD>* path) {
  const IndexHeader& h = pool_->header();
  WORD block = h.treeRoot();
  if (!block) return 0;
  if ((h.root != 0) != (h.depth != 0)) {
    damaged_ = true;
    return 0;
  }
  int level = h.root ? h.depth : 0;
  if (height > level) return 0;
  if (path) path->clear();
  for (;;) {
    BYTE* buf = node(block, level == 0);
    if (!buf) return 0;
    if (path) path->push_back(block);
    if (level == height) return block;
    BTreeNode n(buf, blockSize_);
    block = n.child(n.childIndex(key));
    --level;
  }
}

bool BTree::present() {
  BYTE* buf = node(block_, true);
  if (!buf) return false;
  BTreeNode n(buf, blockSize_);
  if (entry_ < 1 || entry_ > n.count()) return false;
  BYTE f = n.flags(entry_);
  if (f & IndexEntry::kDeleted) return false;
  key_.assign(n.key(entry_));
  chained_ = (f & IndexEntry::kChained) != 0;
  if (!chained_) {
    current_ = IndexEntry{static_cast<BYTE>(f & 0xFC), n.highFlags(entry_), n.value(entry_)};
    return true;
  }
  chainId_ = n.value(entry_);
  IndexEntry pair;
  pair.value = chainId_;
  if (chain_.next(pair, false) != 0) {
    // A chain without a live value is skipped; one that cannot be walked
    // is damage.
    if (chain_.broken()) damaged_ = true;
    return false;
  }
  current_ = pair;
  return true;
}

bool BTree::advance() {
  BYTE* buf = node(block_, true);
  if (!buf) return false;
  BTreeNode n(buf, blockSize_);
  if (entry_ < n.count()) {
    ++entry_;
    return true;
  }
  std::string last(n.count() ? n.key(n.count()) : std::string_view());
  for (WORD next = n.next(); next; next = BTreeNode(buf, blockSize_).next()) {
    // The leaves are fewer than the blocks: a longer walk goes in a circle.
    if (hopsLeft_-- <= 0) {
      damaged_ = true;
      return false;
    }
    buf = node(next, true);
    if (!buf) return false;
    BTreeNode m(buf, blockSize_);
    if (m.count() == 0) continue;
    // A leaf that starts below where the last one ended is not the next one.
    if (BTreeNode::compare(m.key(1), last) < 0) {
      damaged_ = true;
      return false;
    }
    block_ = next;
    entry_ = 1;
    return true;
  }
  return false;
}

bool BTree::stepToLive() {
  for (;;) {
    if (present()) return true;
    if (damaged_ || !advance()) return false;
  }
}

int BTree::search(std::string_view key, int mode) {
  valid_ = chained_ = false;
  if (!pool_ || mode < kExact || mode > kAtOrAfterInLeaf) return -1;
  key = cut(key);
  hopsLeft_ = static_cast<long>(pool_->lastBlock()) + 1;
  WORD leaf = descend(key, 0, nullptr);
  if (!leaf) return -1;
  BTreeNode n(node(leaf, true), blockSize_);
  int count = n.count();
  int at = n.lowerBound(key);
  if (mode == kAtOrAfterInLeaf && count > 0 && at == 1 && BTreeNode::compare(key, n.key(1)) < 0)
    return -1;
  block_ = leaf;
  entry_ = at;
  bool found;
  if (at > count) {
    // Every key of this leaf is before the one asked for: the first live
    // entry of the leaves that follow.
    entry_ = count;
    found = advance() && stepToLive();
    if (found && mode == kExact) found = key_ == key;
  } else if (mode == kExact) {
    found = present() && key_ == key;
  } else {
    found = stepToLive();
  }
  if (!found) return -1;
  valid_ = true;
  return 0;
}

int BTree::next(bool withinKey) {
  if (!valid_) return -1;
  if (withinKey && chained_) {
    IndexEntry pair;
    if (chain_.next(pair, true) == 0) {
      current_ = pair;
      return 0;
    }
    if (chain_.broken()) damaged_ = true;
  }
  chained_ = false;
  if (!advance() || !stepToLive()) {
    valid_ = false;
    return -1;
  }
  return 0;
}

int BTree::findNewest(std::string_view key) {
  if (search(key, kExact) != 0) return -1;
  if (chained_ && chain_.newest(chainId_, current_) != 0) {
    valid_ = false;
    return -1;
  }
  return 0;
}

int BTree::remove() {
  if (!valid_) return -1;
  if (chained_) return chain_.remove();
  BYTE* buf = node(block_, true);
  if (!buf) return -1;
  BTreeNode n(buf, blockSize_);
  if (entry_ < 1 || entry_ > n.count()) return -1;
  n.setLeafEntry(entry_, static_cast<BYTE>((n.flags(entry_) & 0xF1) | IndexEntry::kDeleted),
                 n.highFlags(entry_), n.value(entry_));
  return putNode(block_, buf, true);
}

int BTree::putNode(WORD block, BYTE* buf, bool leaf) {
  return pool_->put(block, buf, blockSize_, leaf ? kLeafWeight : kInnerWeight, false);
}

int BTree::locate(std::string_view key, WORD& block, int& index) {
  block = descend(key, 0, nullptr);
  if (!block) return -1;
  BTreeNode n(node(block, true), blockSize_);
  index = n.lowerBound(key);
  return index <= n.count() && n.key(index) == key ? 1 : 0;
}

int BTree::insert(std::string_view key, IndexEntry entry, bool replace) {
  if (!pool_) return -1;
  key = cut(key);
  valid_ = chained_ = false;
  // The two low flag bits are the index's own.
  entry.flags &= 0xFC;
  BYTE fixed[BTreeNode::kLeafFixed];
  leafFixed(fixed, entry);

  if (pool_->header().treeRoot() == 0) {
    pool_->beginChange();
    WORD block;
    BYTE* buf = nullptr;
    int r = pool_->newNode(BTreeNode::kLeaf, block, kLeafWeight);
    if (r == 0 && !(buf = pool_->get(block, kLeafWeight))) r = -1;
    if (r == 0) {
      BTreeNode n(buf, blockSize_);
      n.init(BTreeNode::kLeaf);
      n.insertEntry(1, fixed, key);
      pool_->header().firstLeaf = block;
      r = putNode(block, buf, true);
    }
    return pool_->endChange() == 0 ? r : -1;
  }

  WORD leaf;
  int at;
  int found = locate(key, leaf, at);
  if (found < 0) return -1;
  if (!found) return insertAt(0, key, fixed);

  BYTE* buf = node(leaf, true);
  BTreeNode n(buf, blockSize_);
  BYTE f = n.flags(at);
  BYTE high = n.highFlags(at);
  DWORD value = n.value(at);

  if (f & IndexEntry::kDeleted) {
    // The entry comes back to life rather than gaining a twin: two entries
    // of one key could end up on both sides of a split, out of reach.
    n.setLeafEntry(at, entry.flags, entry.highFlags, entry.value);
    return putNode(leaf, buf, true);
  }
  if (f & IndexEntry::kChained) {
    if (replace) {
      n.setLeafEntry(at, entry.flags, entry.highFlags, entry.value);
      return putNode(leaf, buf, true);
    }
    IndexEntry newest;
    if (chain_.newest(value, newest) == 0 && sameValue(newest, entry)) return 0;
    if (chain_.broken()) {
      damaged_ = true;
      return -1;
    }
    DWORD id = value;
    return chain_.append(entry, id);
  }
  if (!replace && value != entry.value) {
    // A second value: the entry becomes a chain holding the old value, and
    // the new one is added after it.
    pool_->beginChange();
    pool_->lock(leaf);
    DWORD id = 0;
    int r = chain_.append(IndexEntry{f, high, value}, id);
    if (r == 0 && !(buf = node(leaf, true))) r = -1;
    if (r == 0) {
      BTreeNode(buf, blockSize_).setLeafEntry(at, IndexEntry::kChained, high, id);
      r = putNode(leaf, buf, true);
    }
    if (r == 0) r = chain_.append(entry, id);
    pool_->unlock(leaf);
    return pool_->endChange() == 0 ? r : -1;
  }
  if (!replace && f == entry.flags && high == entry.highFlags) return 0;
  n.setLeafEntry(at, entry.flags, entry.highFlags, entry.value);
  return putNode(leaf, buf, true);
}

int BTree::insertAt(int height, std::string_view key, const BYTE* fixed) {
  std::vector<WORD> path;
  bool changing = false;
  int r = -1;
  for (int splits = 0; splits <= kMaxSplitsPerInsert; ++splits) {
    WORD block = descend(key, height, &path);
    if (!block) break;
    BYTE* buf = node(block, height == 0);
    BTreeNode n(buf, blockSize_);
    if (n.fits(static_cast<int>(key.size()))) {
      n.insertEntry(height == 0 ? n.lowerBound(key) : n.lowerBound(key, 2), fixed, key);
      r = putNode(block, buf, height == 0);
      break;
    }
    // The node is split until the half that takes the entry has room.
    if (!changing) {
      pool_->beginChange();
      changing = true;
    }
    if (split(path, height) != 0) break;
  }
  if (changing && pool_->endChange() != 0) r = -1;
  return r;
}

int BTree::makeRoot(WORD oldRoot) {
  IndexHeader& h = pool_->header();
  if (h.depth == 0xFFFF) return -1;
  WORD root;
  BYTE* buf = nullptr;
  if (pool_->newNode(BTreeNode::kInner, root, kInnerWeight) != 0 || !(buf = pool_->get(root, kInnerWeight)))
    return -1;
  BTreeNode r(buf, blockSize_);
  r.init(BTreeNode::kInner);
  BYTE fixed[BTreeNode::kInnerFixed];
  innerFixed(fixed, oldRoot);
  r.insertEntry(1, fixed, std::string_view());
  h.root = root;
  ++h.depth;
  return putNode(root, buf, false);
}

int BTree::split(const std::vector<WORD>& path, int height) {
  bool leaf = height == 0;
  WORD type = leaf ? BTreeNode::kLeaf : BTreeNode::kInner;
  int weight = leaf ? kLeafWeight : kInnerWeight;
  WORD p = path.back();
  pool_->lock(p);
  WORD q = 0;
  BYTE* qb = nullptr;
  int r = pool_->newNode(type, q, weight);
  if (r == 0 && !(qb = pool_->get(q, weight))) r = -1;
  if (r == 0) {
    pool_->lock(q);
    BTreeNode(qb, blockSize_).init(type);
    if (path.size() == 1) r = makeRoot(p);
  }
  std::string separator;
  int m = 0;
  if (r == 0) {
    BTreeNode pn(node(p, leaf), blockSize_);
    m = pn.count() / 2 + 1;
    separator.assign(pn.key(m));
    BYTE fixed[BTreeNode::kInnerFixed];
    innerFixed(fixed, q);
    r = insertAt(height + 1, separator, fixed);
  }
  if (r == 0) {
    BYTE* pb = node(p, leaf);
    qb = pool_->get(q, weight);
    if (!pb || !qb) {
      r = -1;
    } else {
      BTreeNode pn(pb, blockSize_);
      BTreeNode qn(qb, blockSize_);
      int n = pn.count();
      for (int i = m; i <= n; ++i) {
        const BYTE* fixed = pb + pn.entryOffset(i);
        // An inner node's separator lives on only in the parent; its child
        // becomes the first entry, with the empty key, of the new node.
        std::string_view key = !leaf && i == m ? std::string_view() : pn.key(i);
        qn.insertEntry(qn.count() + 1, fixed, key);
      }
      qn.setNext(pn.next());
      pn.setNext(q);
      pn.keepFirst(m - 1);
      r = putNode(q, qb, leaf);
      if (r == 0) r = putNode(p, pb, leaf);
    }
  }
  pool_->unlock(p);
  if (q) pool_->unlock(q);
  return r;
}

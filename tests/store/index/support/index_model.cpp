#include "index_model.h"

#include "index_contents.h"

namespace index_testing {

void IndexModel::insert(const std::string& key, const IndexEntry& e, bool replace) {
  auto it = keys.find(key);
  if (replace) {
    chained.erase(key);
    keys[key] = {e};
    return;
  }
  if (it == keys.end()) {
    keys[key] = {e};
    return;
  }
  std::vector<IndexEntry>& v = it->second;
  if (!chained.count(key)) {
    if (v[0].value != e.value) {
      chained.insert(key);
      v.push_back(e);
    } else {
      v[0] = e;
    }
  } else if (!(v.back() == e)) {
    v.push_back(e);
  }
}

void IndexModel::removeFirst(const std::string& key) {
  auto it = keys.find(key);
  if (it == keys.end()) return;
  it->second.erase(it->second.begin());
  if (it->second.empty()) keys.erase(it);
}

std::vector<IndexOp> makeOps(unsigned seed, int count, int distinctKeys) {
  std::mt19937 rng(seed);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  std::vector<IndexOp> ops;
  ops.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    IndexOp op;
    int id = pick(distinctKeys);
    op.key = numberedKey(id, static_cast<size_t>(7 + (id * 37) % 200));
    int what = pick(10);
    op.remove = what >= 8;
    op.replace = what == 0;
    op.entry = IndexEntry{static_cast<BYTE>(0x10 << pick(3)), static_cast<BYTE>(pick(3)), static_cast<DWORD>(pick(6))};
    ops.push_back(op);
  }
  return ops;
}

bool apply(IndexFile& index, const IndexOp& op) {
  if (!op.remove) return index.insert(op.key, op.entry, op.replace) == 0;
  if (index.find(op.key, 1) != 0) return !index.damaged();
  return index.remove() == 0;
}

void apply(IndexModel& model, const IndexOp& op) {
  if (op.remove)
    model.removeFirst(op.key);
  else
    model.insert(op.key, op.entry, op.replace);
}

bool apply(IndexFile& index, IndexModel& model, const IndexOp& op) {
  apply(model, op);
  return apply(index, op);
}

}  // namespace index_testing

// fuzz-libs: zemra_store
//
// Input: a query text of the local database, read as an attribute query and
// as a full-text search. What must hold: no crash or hang; a text either
// parses or is refused with a message, never both; every term is an index
// key within the term limit; the tree stays within the term count.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/localdb/query_expr.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

size_t terms(const localdb::QueryNode* node) {
  if (!node) return 0;
  if (node->op == localdb::QueryNode::kTerm) {
    check(!node->term.empty() && node->term.size() <= localdb::kMaxTermBytes);
    return 1;
  }
  return terms(node->left.get()) + terms(node->right.get());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (localdb::QueryMode mode : {localdb::QueryMode::kAttributes, localdb::QueryMode::kFullText}) {
    localdb::ParsedQuery q = localdb::parseQuery(localdb::prepareQuery(text), mode);
    check(q.error.empty() || !q.root);
    check(terms(q.root.get()) <= localdb::kMaxQueryTerms);
    localdb::describeQuery(q.root.get());
  }
  return 0;
}

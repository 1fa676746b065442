// Requests that search: key queries, record batches and full-text search.
#include "net/kx_connection.h"

bool KxConnection::queryOrdered(const CString& query, IdArray& out, std::vector<LONG>* order) {
  out.RemoveAll();
  if (order != nullptr) order->clear();
  if (query.IsEmpty()) return true;  // nothing to ask
  auto reply = call(9, [&](MessageBuffer& m) { m.putString(query); });
  if (!reply) return false;
  out = reply->ids;
  if (order != nullptr) *order = reply->idsInOrder;
  return reply->success;
}

bool KxConnection::query(const CString& query, IdArray& out) {
  return queryOrdered(query, out, nullptr);
}

RequestTicket KxConnection::startQueryWithin(const IdArray& collections, const CString& query) {
  if (query.IsEmpty() || collections.count() == 0) return RequestTicket{};  // nothing to ask
  return start(10, [&](MessageBuffer& m) {
    m.putIntArray(collections);
    m.putString(query);
  });
}

bool KxConnection::finishQueryWithin(const RequestTicket& ticket, IdArray& out) {
  out.RemoveAll();
  if (ticket.refused) return false;
  if (!ticket.sent) return true;
  auto reply = waitReply(ticket.id, ticket.code);
  out = reply->ids;
  return reply->success;
}

bool KxConnection::queryWithin(const IdArray& collections, const CString& query, IdArray& out) {
  return finishQueryWithin(startQueryWithin(collections, query), out);
}

bool KxConnection::getRecords(int flag, const IdArray& ids, const CString& query,
                              std::vector<IdRecord>& out) {
  out.clear();
  if (ids.count() == 0) return true;  // nothing to ask
  auto reply = call(11, [&](MessageBuffer& m) {
    m.putInt(flag & 0xFF);
    m.putIntArray(ids);
    if (!query.IsEmpty()) m.putString(query);
  });
  if (!reply || !reply->success) return false;
  std::vector<CString> records;
  if (!reply->splitTexts(records) || records.size() != reply->idsInOrder.size()) {
    setError(kMalformedReplyStatus);
    return false;
  }
  for (size_t i = 0; i < records.size(); ++i) {
    IdRecord entry{ObjectId(reply->idsInOrder[i]), records[i]};
    // Old servers: an anchor whose record cannot be completed is left out.
    if (version_ < 7 && !rewriteAnchor(entry.id, entry.record)) continue;
    out.push_back(std::move(entry));
  }
  return true;
}

bool KxConnection::fullTextSearch(const CString& query, FeatureVector& out) {
  out.clear();
  if (query.IsEmpty()) {
    setError(kx_error::kSyntax);
    return false;
  }
  auto reply = call(34, [&](MessageBuffer& m) { m.putString(query); });
  if (!reply) return false;
  out = reply->features;
  return reply->success;
}

RequestTicket KxConnection::startFullTextWithin(const IdArray& collections, const CString& query) {
  RequestTicket refused;
  refused.refused = true;
  if (query.IsEmpty()) {
    setError(kx_error::kSyntax);
    return refused;
  }
  if (collections.count() == 0) {
    setError(kx_error::kNoCollections);
    return refused;
  }
  return start(35, [&](MessageBuffer& m) {
    m.putIntArray(collections);
    m.putString(query);
  });
}

bool KxConnection::finishFullTextWithin(const RequestTicket& ticket, FeatureVector& out) {
  out.clear();
  if (ticket.refused) return false;
  if (!ticket.sent) return true;
  auto reply = waitReply(ticket.id, ticket.code);
  out = reply->features;
  return reply->success;
}

bool KxConnection::fullTextWithin(const IdArray& collections, const CString& query,
                                  FeatureVector& out) {
  return finishFullTextWithin(startFullTextWithin(collections, query), out);
}

// Requests that read objects and their relations: records, parents,
// members, anchors and links.
#include "core/attr_record.h"
#include "net/kx_connection.h"

namespace {

void appendLine(CString& record, const CString& lines) {
  // A record usually ends without a line feed; a line glued onto its last
  // value would corrupt both.
  if (!record.IsEmpty() && record[record.GetLength() - 1] != '\n') record += '\n';
  record += lines;
}

}  // namespace

bool KxConnection::requestIds(int code, ObjectId object, IdArray& out, std::vector<LONG>* order) {
  out.RemoveAll();
  if (order != nullptr) order->clear();
  auto reply = call(code, [&](MessageBuffer& m) { m.putInt(object.value()); });
  if (!reply) return false;
  out = reply->ids;
  if (order != nullptr) *order = reply->idsInOrder;
  return reply->success;
}

bool KxConnection::getAnchorDestination(ObjectId anchor, LONG& destination) {
  destination = 0;
  auto reply = call(2, [&](MessageBuffer& m) { m.putInt(anchor.value()); });
  if (!reply || !reply->success) return false;
  destination = reply->firstInt;
  return true;
}

bool KxConnection::getDocumentMembers(ObjectId collection, IdArray& out) {
  return requestIds(3, collection, out);
}

bool KxConnection::getParents(ObjectId object, IdArray& out) { return requestIds(4, object, out); }

bool KxConnection::getCollectionMembers(ObjectId collection, IdArray& out) {
  return requestIds(5, collection, out);
}

// The reply carries no status: the answer is whether it named any parent.
bool KxConnection::getAnchorParents(ObjectId anchor, IdArray& out) {
  requestIds(6, anchor, out);
  return out.count() > 0;
}

bool KxConnection::getAnchors(ObjectId document, IdArray& out) {
  return requestIds(8, document, out);
}

bool KxConnection::getLinks(ObjectId object, IdArray& out) {
  out.RemoveAll();
  if (!needsVersion(6)) return false;
  return requestIds(19, object, out);
}

bool KxConnection::getMembers(ObjectId collection, IdArray& out) {
  if (version_ >= 705) return requestIds(44, collection, out);
  // Older servers list documents and collections apart.
  IdArray documents;
  IdArray collections;
  bool ok = getDocumentMembers(collection, documents);
  ok = getCollectionMembers(collection, collections) && ok;
  out = documents;
  out.Union(collections);
  return ok;
}

bool KxConnection::getAnchorLink(ObjectId anchor, LONG& first, LONG& second) {
  first = second = 0;
  if (!needsVersion(6)) return false;
  auto reply = call(18, [&](MessageBuffer& m) { m.putInt(anchor.value()); });
  if (!reply || !reply->success) return false;
  first = reply->firstInt;
  second = reply->secondInt;
  return true;
}

bool KxConnection::fetchRecord(ObjectId object, CString& record) {
  record.Empty();
  auto reply = call(7, [&](MessageBuffer& m) { m.putInt(object.value()); });
  if (!reply || !reply->success) return false;
  record = reply->secondText;
  return true;
}

// A failed completion still hands the record out, and reports failure.
bool KxConnection::getRecord(ObjectId object, CString& record) {
  if (!fetchRecord(object, record)) return false;
  if (version_ < 7) return rewriteAnchor(object, record);
  return true;
}

bool KxConnection::rewriteAnchor(ObjectId anchor, CString& record) {
  AttrRecord attrs(record);
  CString type;
  if (!attrs.find("Type=", type) || type != "Anchor") return true;
  CString tanchor;
  if (attrs.find("TAnchor=", tanchor)) return true;

  LONG link = 0;
  LONG destination = 0;
  if (!getAnchorLink(anchor, link, destination)) {
    appendLine(record, "TAnchor=Dest\n");
    return true;
  }
  if (destination != 0) {
    appendLine(record, "TAnchor=Src\nDest=" + ObjectId(destination).Format() + "\n");
    return true;
  }
  // No destination: the link object's record names the hint.
  CString linkRecord;
  if (!fetchRecord(ObjectId(link), linkRecord)) return false;
  appendLine(record, "TAnchor=Src\nHint=" + AttrRecord(linkRecord).getAttribute("Hint=") + "\n");
  return true;
}

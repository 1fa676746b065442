// Requests that change the server's objects: inserting, linking, moving,
// modifying, locking and deleting.
#include "net/kx_connection.h"

namespace {

bool takeNewId(const std::unique_ptr<Reply>& reply, LONG& newId) {
  if (!reply || !reply->success) return false;
  newId = reply->firstInt;
  return true;
}

}  // namespace

bool KxConnection::insertDocument(ObjectId parent, const CString& record, const CString& extra,
                                  LONG& newId) {
  newId = 0;
  auto reply = call(14, [&](MessageBuffer& m) {
    m.putInt(parent.value());
    m.putString(record);
    if (!extra.IsEmpty()) m.putString(extra);
  });
  // The new document may carry a name that hint resolution looked up.
  hintCache_.clear();
  return takeNewId(reply, newId);
}

bool KxConnection::insertAnchor(ObjectId parent, const CString& record, LONG& newId) {
  newId = 0;
  auto reply = call(15, [&](MessageBuffer& m) {
    m.putInt(parent.value());
    m.putString(record);
  });
  return takeNewId(reply, newId);
}

bool KxConnection::linkAnchor(ObjectId anchor, ObjectId destination, const CString& linkRecord,
                              LONG& linkId) {
  linkId = 0;
  auto reply = call(16, [&](MessageBuffer& m) {
    m.putInt(anchor.value());
    m.putInt(destination.value());
    m.putInt(0);
    m.putString(linkRecord);
  });
  return takeNewId(reply, linkId);
}

bool KxConnection::insertCollection(ObjectId parent, const CString& record, LONG& newId) {
  newId = 0;
  auto reply = call(17, [&](MessageBuffer& m) {
    m.putInt(parent.value());
    m.putString(record);
  });
  return takeNewId(reply, newId);
}

bool KxConnection::insertSourceAnchor(const CString& anchorRecord, const CString& placement,
                                      LONG& newId) {
  newId = 0;
  auto reply = call(32, [&](MessageBuffer& m) {
    m.putString(anchorRecord);
    m.putString(placement);
  });
  return takeNewId(reply, newId);
}

bool KxConnection::changeMembership(LONG flag, ObjectId from, ObjectId to, const IdArray& ids) {
  auto reply = call(22, [&](MessageBuffer& m) {
    m.putInt(flag);
    m.putInt(from.value());
    m.putInt(to.value());
    m.putIntArray(ids);
  });
  return reply && reply->success;
}

bool KxConnection::changeCollectionMembership(LONG flag, ObjectId from, ObjectId to,
                                              const IdArray& ids) {
  auto reply = call(23, [&](MessageBuffer& m) {
    m.putInt(flag);
    m.putInt(from.value());
    m.putInt(to.value());
    m.putIntArray(ids);
  });
  return reply && reply->success;
}

bool KxConnection::modifyObject(ObjectId object, const CString& modification) {
  auto reply = call(27, [&](MessageBuffer& m) {
    m.putInt(object.value());
    m.putString(modification);
  });
  return reply && reply->success;
}

bool KxConnection::lockObject(ObjectId object, CString& record) {
  record.Empty();
  auto reply = call(29, [&](MessageBuffer& m) { m.putInt(object.value()); });
  if (!reply || !reply->success) return false;
  record = reply->secondText;
  if (version_ < 7 && !rewriteAnchor(object, record)) {
    unlockObject(object);
    return false;
  }
  return true;
}

void KxConnection::unlockObject(ObjectId object) {
  sendMessage(++requestCounter_, 30, [&](MessageBuffer& m) { m.putInt(object.value()); });
}

bool KxConnection::deleteObject(ObjectId object) {
  auto reply = call(37, [&](MessageBuffer& m) { m.putInt(object.value()); });
  return reply && reply->success;
}

// Requests about document content and remote documents: the server
// connects back to a port of the client for the bytes.
#include "net/kx_connection.h"

namespace {

// A text argument that newer servers take as a length and raw bytes.
void putText(MessageBuffer& m, const CString& text, bool asBytes) {
  if (!asBytes) {
    m.putString(text);
    return;
  }
  m.putInt(text.GetLength());
  if (text.GetLength() > 0) m.putBytes(text.c_str(), text.GetLength());
}

}  // namespace

bool KxConnection::requestContent(ObjectId object, int dataPort, const CString& ownAddress,
                                  const CString& reference) {
  auto reply = call(36, [&](MessageBuffer& m) {
    m.putInt(object.value());
    m.putInt(dataPort);
    m.putString(ownAddress);
    if (!reference.IsEmpty()) m.putString(reference);
  });
  return reply && reply->success;
}

bool KxConnection::requestReference(const CString& ownAddress, int dataPort, ObjectId object,
                                    LONG referenceNumber) {
  CString reference;
  if (referenceNumber >= 0) reference.Format("Refno=0x%08x", static_cast<unsigned>(referenceNumber));
  return requestContent(object, dataPort, ownAddress, reference);
}

bool KxConnection::uploadContent(ObjectId object, int dataPort, const CString& ownAddress,
                                 const CString& path) {
  auto reply = call(38, [&](MessageBuffer& m) {
    m.putInt(object.value());
    m.putInt(dataPort);
    m.putString(ownAddress);
    m.putString(path);
  });
  return reply && reply->success;
}

bool KxConnection::getRemoteMembers(const CString& record, const CString& text,
                                    std::vector<CString>& out) {
  out.clear();
  if (!needsVersion(8)) return false;
  bool asBytes = version_ >= 717;
  auto reply = call(40, [&](MessageBuffer& m) {
    m.putString(record);
    putText(m, text, asBytes);
  });
  if (!reply || !reply->success) return false;
  if (!reply->splitTexts(out)) {
    setError(kMalformedReplyStatus);
    return false;
  }
  return true;
}

bool KxConnection::requestRemoteContent(const CString& ownAddress, int dataPort,
                                        const CString& record, const CString& text, LONG flag) {
  if (!needsVersion(8)) return false;
  // Before 716 the request has no place for a text.
  if (version_ < 716 && !text.IsEmpty()) {
    setError(kx_error::kWrongVersion);
    return false;
  }
  auto reply = call(41, [&](MessageBuffer& m) {
    m.putString(ownAddress);
    m.putInt(dataPort);
    m.putString(record);
    if (version_ >= 716) putText(m, text, version_ >= 717);
    m.putInt(flag);
  });
  return reply && reply->success;
}

bool KxConnection::requestCgiContent(const CString& ownAddress, int dataPort,
                                     const CString& record, const CString& text, LONG flag) {
  if (!needsVersion(711)) return false;
  auto reply = call(46, [&](MessageBuffer& m) {
    m.putString(ownAddress);
    m.putInt(dataPort);
    m.putString(record);
    putText(m, text, version_ >= 717);
    m.putInt(flag);
  });
  return reply && reply->success;
}

LONG KxConnection::findGlobalObject(LONG serverAddress, LONG objectId) {
  if (!needsVersion(704)) return 0;
  auto reply = call(43, [&](MessageBuffer& m) {
    m.putInt(serverAddress);
    m.putInt(objectId);
  });
  return reply ? reply->firstInt : 0;
}

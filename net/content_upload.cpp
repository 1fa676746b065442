#include "net/content_upload.h"

#include <memory>

#include "net/dc_sender.h"
#include "net/kx_session.h"

CString SessionUploadService::controlAddress(Store& store) {
  KxSession* session = dynamic_cast<KxSession*>(&store);
  return session ? session->ownAddress() : CString();
}

bool SessionUploadService::upload(Store& store, const CString& ownAddress, const CString& fileName,
                                  std::uint32_t size, const char* data, std::int32_t length,
                                  std::int32_t objectId, const CString& path) {
  KxSession* session = dynamic_cast<KxSession*>(&store);
  if (!session || !session->connection()) return false;
  // Content over 2 GiB does not fit the sender's counters.
  if (!fileName.IsEmpty() && size > 0x7FFFFFFFu) return false;

  std::unique_ptr<DcSender> sender;
  if (!fileName.IsEmpty())
    sender = std::make_unique<ProgressFileSender>(fileName, static_cast<int>(size));
  else
    sender = std::make_unique<ProgressMemorySender>(data, length);
  if (sender->port() < 0) return false;

  // The server takes the bytes before it answers, so the dispatcher serves
  // the sender while the request waits.
  const bool answered = session->connection()->uploadContent(ObjectId(objectId), sender->port(),
                                                             ownAddress, path);
  // A server that answered before taking everything, or a sender that
  // failed (a read error, the user's break, a lost connection), is no
  // success, whatever the reply said.
  return answered && sender->state() == DcSender::kDone;
}

void InstallContentUploadService() {
  static SessionUploadService service;
  SetContentUploadService(&service);
}

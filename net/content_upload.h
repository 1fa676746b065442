// Uploading new content of a server document: a progress sender listens on
// a port of its own, request 38 tells the server where, and the server
// connects and takes the bytes before it answers.
#pragma once

#include "core/content_transfer.h"

class SessionUploadService : public ContentUploadService {
 public:
  CString controlAddress(Store& store) override;
  bool upload(Store& store, const CString& ownAddress, const CString& fileName, std::uint32_t size,
              const char* data, std::int32_t length, std::int32_t objectId,
              const CString& path) override;
};

// Installs the one service for server sessions (documents' uploads go
// through it).
void InstallContentUploadService();

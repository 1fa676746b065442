// What the document content operations (Document::loadContent and friends)
// need beyond the store: fresh names for temporary content files, a safe
// place for a file name a server suggests, and the way new content reaches
// a server.
#pragma once

#include <cstdint>

#include "core/objref.h"
#include "core/store.h"
#include "mfc/cstring.h"

// Prefixes of temporary content files: streamed content of any document,
// and the content of a generic document.
inline constexpr const char* kContentTempPrefix = "kxdoc";
inline constexpr const char* kGenericTempPrefix = "GenOb";

// The most content readContent keeps in memory; a transfer that delivers
// more fails.
inline constexpr std::int32_t kMaxContentInMemory = 64 * 1024 * 1024;

// The directory of temporary content files, ending in a separator: the
// user's own directory under the temporary path (TMPDIR, TMP, TEMP, /tmp),
// which no one else can enter.
CString ContentTempDirectory();

// "<directory><prefix><8 random hex digits>" followed by `suffix`, such
// that no file has that name (a '*' of the suffix left out) nor the name
// without the suffix; empty when none could be had.
CString MakeContentTempName(const char* prefix, const char* suffix);

// The file name for content that a server names (a generic document's first
// Arguments word): only its last path component is kept, and it is placed
// in the temporary content directory. Empty (refused) when nothing usable
// is left: an empty name, ".", "..", or a name of dots alone.
CString SafeServerFileName(const CString& suggested);

// The extension of a local content file name: the text after the last '.',
// searched from the last character down to the second and not across a
// path separator; empty when there is none.
CString ContentFileExtension(const CString& fileName);

// The upload of new content to a server store. The server-session layer,
// which owns the control connection and the data-connection senders,
// installs an implementation; without one no server upload is possible.
class ContentUploadService {
 public:
  virtual ~ContentUploadService();
  // The local address of the store's control-connection socket in dotted
  // form; empty when it has none.
  virtual CString controlAddress(Store& store) = 0;
  // Makes a progress sender for the source (a file of `size` bytes when
  // `fileName` is not empty, else `length` bytes at `data`) that listens on
  // a port of its own, sends request 38 with `ownAddress`, that port, the
  // object id and the path on the store's control connection, serves the
  // dispatcher until the reply, deletes the sender and answers the reply's
  // success.
  virtual bool upload(Store& store, const CString& ownAddress, const CString& fileName,
                      std::uint32_t size, const char* data, std::int32_t length,
                      std::int32_t objectId, const CString& path) = 0;
};

// Installs the service (null removes it); returns the previous one. The
// caller keeps ownership.
ContentUploadService* SetContentUploadService(ContentUploadService* service);
ContentUploadService* GetContentUploadService();

// The client's own address for a server upload: the control connection's
// local address, or the address of this host's name when that is empty,
// "0.0.0.0" or "127.0.0.1". Empty when there is none.
CString OwnUploadAddress(Store& store, ContentUploadService& service);

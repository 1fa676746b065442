// Documents: fetching the content into a local file, saving and reading
// streamed content, telling the listeners, and sending new content to the
// store (a write transfer for a local database, an upload for a server).
#include "core/content_transfer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/app_services.h"
#include "framework/progress_reporter.h"
#include "framework/temp_files.h"
#include "core/document.h"
#include "core/environ.h"
#include "core/file_on_path.h"
#include "core/magic.h"
#include "core/message_boxes.h"
#include "core/raw_file.h"
#include "core/viewer_templates.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

constexpr UINT kStrNoOwnAddress = 134;
constexpr const char* kNoViewerText = "No appropriate viewer found for this document type !";
constexpr const char* kNoTempFileText =
    "Sorry, can't create temporary file - skipping multimedia document";

ContentUploadService* gUploadService = nullptr;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The busy count and the progress display for the life of one chunk loop.
class ChunkLoop {
 public:
  ChunkLoop() { BeginBusyCursor(); }
  ~ChunkLoop() { end(); }
  ChunkLoop(const ChunkLoop&) = delete;
  ChunkLoop& operator=(const ChunkLoop&) = delete;

  // Asked before each chunk.
  bool userBroke() {
    ProgressReporter* progress = GetFrameProgress();
    return progress && progress->PollAbort();
  }
  // After each chunk: the bytes so far, and the fraction when the size is
  // known.
  void report(std::uint32_t done, std::int64_t expected) {
    ProgressReporter* progress = GetFrameProgress();
    if (!progress) return;
    progress->SetCount(done);
    if (expected > 0)
      progress->SetFractionValue(static_cast<float>(static_cast<double>(done) / expected));
  }
  void end() {
    if (ended_) return;
    ended_ = true;
    if (ProgressReporter* progress = GetFrameProgress()) progress->Start();
    EndBusyCursor();
  }

 private:
  bool ended_ = false;
};

// The directory of the format rules: the home directory, else the current
// one.
std::string MagicFile() {
  CString home;
  std::string dir = GetAppHomeDir(home) ? home.str() : win::CurrentWindowsDirectory();
  if (!dir.empty() && !IsSeparator(dir.back())) dir += '\\';
  return dir + "format.dat";
}

// What the format rules say of the first bytes; empty when nothing matched.
CString FormatOfBytes(const char* bytes, std::int32_t count) {
  char out[kMagicResultSize] = {};
  if (!MatchMagic(MagicFile().c_str(), bytes, std::max(count, 0), out, sizeof out))
    return CString();
  out[sizeof out - 1] = '\0';
  return CString(out);
}

// Characters of an extension that would change the place of the file.
CString FileNameSafe(const CString& text) {
  CString out;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text[i];
    out += (IsSeparator(c) || c == ':' || c == '*') ? '_' : c;
  }
  return out;
}

// Writes all of `size` bytes; false on a short or failed write.
bool WriteAll(HFILE file, const char* bytes, std::int32_t size) {
  if (size <= 0) return true;
  const UINT n = _lwrite(file, bytes, static_cast<UINT>(size));
  return n == static_cast<UINT>(size);
}

// The file saved content goes to. A file that is there and empty (the
// caller made it to hold the name) is written as it is: truncating it, even
// from nothing, marks it on ext4 as a file replaced by truncation, and its
// close then starts writing every byte out to the disk (the caller waits
// for the start, and the delete that follows waits for the rest). A file
// with content is truncated.
HFILE OpenContentFile(const CString& fileName) {
  if (fileName.IsEmpty()) return HFILE_ERROR;
  const HFILE existing = _lopen(fileName.c_str(), OF_WRITE);
  if (existing != HFILE_ERROR) {
    // Its end at 0 is an empty file, and the place to write from; a file
    // too large for a position, or one that cannot seek, is truncated.
    if (_llseek(existing, 0, SEEK_END) == 0) return existing;
    _lclose(existing);
  }
  return _lcreat(fileName.c_str(), 0);
}

// Saved content is read straight into the block that is written to the
// file, so each byte is copied once on its way (by the store), and the file
// gets large writes: a system call per chunk cost more than the rest of
// saving it. A read asks for at least kSaveMinRead bytes; with less room
// left the block is written out first.
constexpr std::int32_t kSaveBlock = 256 * 1024;
constexpr std::int32_t kSaveMinRead = 64 * 1024;

}  // namespace

// ---------------------------------------------------------------------------
// Names of content files

// Content names are kept in the host's form, as the viewers that open them
// are host programs.
CString ContentTempDirectory() {
  const CString dir = GetTempDirectory();
  if (dir.IsEmpty()) return dir;
  std::string host = win::HostPath(dir.str());
  if (host.empty() || host.back() != '/') host += '/';
  return CString(host.c_str());
}

CString MakeContentTempName(const char* prefix, const char* suffix) {
  // The writer makes the file once it knows its extension and its content.
  // The name was just found free in every spelling, so only its directory
  // needs mapping.
  const CString name = MakeTempName(prefix, suffix, false);
  return name.IsEmpty() ? name : CString(win::HostPathOfNewName(name.str()).c_str());
}

CString SafeServerFileName(const CString& suggested) {
  // Only the last component counts: no directory, drive or parent reference
  // of the server's choosing survives.
  int start = 0;
  for (int i = 0; i < suggested.GetLength(); ++i) {
    const char c = suggested[i];
    if (IsSeparator(c) || c == ':') start = i + 1;
  }
  const CString name = suggested.Mid(start);
  bool onlyDots = true;
  for (int i = 0; i < name.GetLength(); ++i) onlyDots = onlyDots && name[i] == '.';
  if (name.IsEmpty() || onlyDots) return CString();
  return ContentTempDirectory() + name;
}

CString ContentFileExtension(const CString& fileName) {
  for (int i = fileName.GetLength() - 1; i >= 1; --i) {
    const char c = fileName[i];
    if (IsSeparator(c)) break;
    if (c == '.') return fileName.Mid(i + 1);
  }
  return CString();
}

// ---------------------------------------------------------------------------
// The upload service

ContentUploadService::~ContentUploadService() = default;

ContentUploadService* SetContentUploadService(ContentUploadService* service) {
  ContentUploadService* previous = gUploadService;
  gUploadService = service;
  return previous;
}

ContentUploadService* GetContentUploadService() { return gUploadService; }

CString OwnUploadAddress(Store& store, ContentUploadService& service) {
  const CString own = service.controlAddress(store);
  if (!own.IsEmpty() && own != "0.0.0.0" && own != "127.0.0.1") return own;
  CString address;
  const CString& name = Environ::hostName();
  if (name.IsEmpty() || !Environ::hostAddress(name.c_str(), address)) return CString();
  return address;
}

// ---------------------------------------------------------------------------
// Loading content

void Document::notifyListeners(const CString& fileName, int status) {
  const Ref<KXObject> keep = self();
  std::vector<ListElement*> waiting;
  for (ListElement* e = children.first(); e; e = e->next()) waiting.push_back(e);
  for (ListElement* e : waiting) {
    // A listener may take others out of the children while it is told.
    bool stillThere = false;
    for (ListElement* c = children.first(); c && !stillThere; c = c->next()) stillThere = c == e;
    if (!stillThere) continue;
    auto* listener = dynamic_cast<ContentListener*>(e);
    if (!listener) continue;
    if (listener->contentReady(fileName, status) == kListenerDone) {
      bool present = false;
      for (ListElement* c = children.first(); c && !present; c = c->next()) present = c == e;
      if (present) removeChild(e);
    }
  }
}

bool Document::fetchContent(int mode, const CString& fileName, const CString& commandTemplate,
                            const CString& request) {
  viewerCommand.Empty();
  contentFile = fileName;
  if (!store) return false;
  const Ref<Store> own = store;
  StoreEntry* transfer = own->openRequest(self(), kRequestRead, nullptr, request);
  if (!transfer) return false;

  CString commandText = commandTemplate;
  if (transfer->text.IsEmpty()) {
    CString name = contentFile;
    const bool ok = saveContent(transfer, commandText, name, mode);
    contentFile = name;
    if (ok) contentIsTemporary = true;
    if (commandText.IsEmpty()) {
      own->closeRequest(transfer);
      ShowErrorText(kNoViewerText);
      return false;
    }
    if (ok) viewerCommand = buildViewerCommand(commandText, contentFile);
    own->closeRequest(transfer);
    return ok;
  }

  contentFile = transfer->text;
  const CString extension = ContentFileExtension(contentFile);
  if (commandText.IsEmpty() && !extension.IsEmpty())
    commandText = ViewerTemplateSetting(getDocumentType(), extension);
  if (!commandText.IsEmpty()) viewerCommand = buildViewerCommand(commandText, contentFile);
  own->closeRequest(transfer);
  return true;
}

bool Document::loadContent(int mode, const CString& fileName, const CString& commandTemplate,
                           const CString& requestTextArg) {
  const Ref<KXObject> keep = self();
  const CString request = requestTextArg.IsEmpty() ? requestText : requestTextArg;
  const bool mustFetch =
      !parsed && (refreshFlags == kRefreshContent || refreshFlags == kRefreshAll);
  bool ok = false;
  if (!mustFetch && !contentFile.IsEmpty() && IsFileOnPath(contentFile.c_str()))
    ok = true;
  else
    ok = fetchContent(mode, fileName, commandTemplate, request);

  if (ok) {
    notifyListeners(contentFile, kContentReady);
    visited = true;
    return true;
  }
  // Every failure is told: a listener must not wait for content that will
  // not come.
  contentFile.Empty();
  notifyListeners(CString(), kContentFailed);
  return false;
}

// ---------------------------------------------------------------------------
// Saving and reading streamed content

CString Document::contentExtension(const char* firstChunk, std::int32_t count) const {
  const CString type = getDocumentType();
  if (type == kxdoc::kPostScript || remoteDocType == kxdoc::kPostScript) {
    const CString format = FormatOfBytes(firstChunk, count);
    return format.IsEmpty() ? CString("PS") : format;
  }
  if (type == kxdoc::kText || remoteDocType == kxdoc::kText) {
    CString extension = mimeType;
    const int at = extension.Find("text/");
    if (at >= 0) extension = extension.Mid(at + 5);
    return extension.IsEmpty() ? CString("KTF") : extension;
  }
  if (type == kxdoc::kCGI) return CString("html");
  return FormatOfBytes(firstChunk, count);
}

bool Document::saveContent(StoreEntry* transfer, CString& commandTemplate, CString& fileName,
                           int) {
  if (!transfer || !store) return false;
  const Ref<KXObject> keep = self();
  const Ref<Store> own = store;
  if (fileName.IsEmpty()) fileName = MakeContentTempName(kContentTempPrefix, ".*");

  const auto block = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(kSaveBlock));
  std::int32_t firstCount = own->readRequest(transfer, block.get(), kSaveBlock);
  // A store that claims more than the buffer holds has failed.
  if (firstCount > kSaveBlock) firstCount = -1;

  const bool needExtension = fileName.Find('*') >= 0 || commandTemplate.IsEmpty();
  const CString extension =
      needExtension ? contentExtension(block.get(), std::min(firstCount, kTransferChunk))
                    : CString();
  if (fileName.Find('*') >= 0)
    fileName = fileName.Left(fileName.GetLength() - 1) + FileNameSafe(extension.Left(3));
  if (commandTemplate.IsEmpty() && !extension.IsEmpty())
    commandTemplate = ViewerTemplateSetting(templateSection(), extension);
  if (commandTemplate.IsEmpty()) {
    fileName.Empty();
    return false;
  }

  const int star = fileName.Find('*');
  if (star >= 0) fileName = fileName.Left(star);
  const HFILE file = OpenContentFile(fileName);
  if (file == HFILE_ERROR) {
    ShowErrorText(kNoTempFileText);
    return false;
  }

  bool failed = firstCount < 0;
  bool aborted = false;
  std::int64_t total = 0;
  std::int64_t expected = 0;
  if (!failed) {
    std::int32_t filled = firstCount;
    total = firstCount;
    ChunkLoop loop;
    while (!failed && firstCount > 0) {
      if (loop.userBroke()) {
        aborted = true;
        break;
      }
      if (kSaveBlock - filled < kSaveMinRead) {
        failed = !WriteAll(file, block.get(), filled);
        filled = 0;
        if (failed) break;
      }
      const std::int32_t room = kSaveBlock - filled;
      const std::int32_t n = own->readRequest(transfer, block.get() + filled, room);
      if (n == 0) break;
      if (n < 0 || n > room) {
        failed = true;
        break;
      }
      filled += n;
      total += n;
      expected = transfer->announcedSize;
      loop.report(static_cast<std::uint32_t>(std::min<std::int64_t>(total, UINT32_MAX)), expected);
    }
    if (!failed && !aborted) failed = !WriteAll(file, block.get(), filled);
    loop.end();
  } else if (ProgressReporter* progress = GetFrameProgress()) {
    progress->Start();
  }
  _lclose(file);

  // Content that ends short of (or runs past) the size the store announced
  // is not the document's content.
  expected = transfer->announcedSize;
  if (!failed && !aborted && expected > 0 && total != expected) failed = true;
  if (failed || aborted) {
    DeleteFile(fileName.c_str());
    return false;
  }
  return true;
}

bool Document::readContent(StoreEntry* transfer, CString& text) {
  text.Empty();
  if (!transfer || !store) return false;
  const Ref<KXObject> keep = self();
  const Ref<Store> own = store;
  std::string bytes;
  // The announced size only hints at the room needed, and is capped.
  if (transfer->announcedSize > 0)
    bytes.reserve(static_cast<std::size_t>(std::min(transfer->announcedSize, kTransferChunk * 128)));

  std::vector<char> buffer(kTransferChunk);
  bool failed = false;
  bool aborted = false;
  std::int64_t total = 0;
  {
    ChunkLoop loop;
    for (;;) {
      if (loop.userBroke()) {
        aborted = true;
        break;
      }
      const std::int32_t n = own->readRequest(transfer, buffer.data(), kTransferChunk);
      if (n == 0) break;
      if (n < 0 || n > kTransferChunk || total + n > kMaxContentInMemory) {
        failed = true;
        break;
      }
      total += n;
      loop.report(static_cast<std::uint32_t>(total), transfer->announcedSize);
      bytes.append(buffer.data(), static_cast<std::size_t>(n));
    }
  }
  text = CString(bytes.data(), static_cast<int>(bytes.size()));
  const std::int32_t expected = transfer->announcedSize;
  if (expected > 0 && total != expected) failed = true;
  return !failed && !aborted && text.GetLength() == total;
}

// ---------------------------------------------------------------------------
// Storing new content

bool Document::writeThroughTransfer(int fileHandle, const char* data, std::uint32_t size) {
  if (!store || (fileHandle == HFILE_ERROR && !data && size > 0)) return false;
  // The size travels as a 32-bit count.
  if (size > static_cast<std::uint32_t>(INT32_MAX)) return false;
  const Ref<KXObject> keep = self();
  const Ref<Store> own = store;
  CString sizeText;
  sizeText.Format("0x%08x", size);
  StoreEntry* transfer = own->openRequest(keep, kRequestWrite, nullptr, sizeText);
  if (!transfer) return false;

  std::vector<char> buffer(fileHandle != HFILE_ERROR ? kTransferChunk : 0);
  std::uint32_t done = 0;
  bool failed = false;
  {
    ChunkLoop loop;
    while (done < size && !failed) {
      if (loop.userBroke()) {
        failed = true;
        break;
      }
      const std::uint32_t want = std::min<std::uint32_t>(kTransferChunk, size - done);
      const char* chunk = data ? data + done : nullptr;
      if (fileHandle != HFILE_ERROR) {
        const UINT got = _lread(fileHandle, buffer.data(), want);
        // A file that shrank or cannot be read no longer has the size sent.
        if (got == static_cast<UINT>(HFILE_ERROR) || got != want) {
          failed = true;
          break;
        }
        chunk = buffer.data();
      }
      // The store may take a chunk in several pieces.
      std::uint32_t taken = 0;
      while (taken < want) {
        const std::int32_t n = own->writeRequest(transfer, chunk + taken,
                                                 static_cast<std::int32_t>(want - taken));
        if (n < 1 || static_cast<std::uint32_t>(n) > want - taken) {
          failed = true;
          break;
        }
        taken += static_cast<std::uint32_t>(n);
        done += static_cast<std::uint32_t>(n);
        loop.report(done, size);
      }
    }
  }
  own->closeRequest(transfer);
  invalidate(kRefreshAll);
  return !failed && done == size;
}

bool Document::uploadToServer(const CString& fileName, const char* data, std::int32_t length) {
  const Ref<KXObject> keep = self();
  const Ref<Store> own = store;
  std::uint32_t size = 0;
  if (!fileName.IsEmpty()) {
    const HFILE file = _lopen(fileName.c_str(), OF_READ);
    if (file == HFILE_ERROR) return false;
    size = GetFileLength(file);
    _lclose(file);
  } else {
    if (!data) return false;
    if (length < 1) length = static_cast<std::int32_t>(strnlen(data, INT32_MAX));
    if (length < 1) return false;
  }
  ContentUploadService* service = GetContentUploadService();
  if (!own || !service) return false;
  const CString address = OwnUploadAddress(*own, *service);
  if (address.IsEmpty()) {
    ShowMessageId(kStrNoOwnAddress);
    return false;
  }
  return service->upload(*own, address, fileName, size, fileName.IsEmpty() ? data : nullptr,
                         fileName.IsEmpty() ? length : 0, objectId, getPath());
}

bool Document::storeContentFromFile(const CString& fileName) {
  if (!store) return false;
  const CString scheme = store->getScheme();
  if (scheme == kLocalScheme) {
    const HFILE file = fileName.IsEmpty() ? HFILE_ERROR : _lopen(fileName.c_str(), OF_READ);
    if (file == HFILE_ERROR) return false;
    const std::uint32_t size = GetFileLength(file);
    const bool ok = writeThroughTransfer(file, nullptr, size);
    _lclose(file);
    return ok;
  }
  if (scheme == kServerScheme) return uploadToServer(fileName, nullptr, 0);
  return false;
}

bool Document::storeContentFromMemory(const char* data, std::int32_t length) {
  if (!store) return false;
  const CString scheme = store->getScheme();
  if (scheme == kLocalScheme) {
    if (!data) return false;
    const std::uint32_t size = length >= 1 ? static_cast<std::uint32_t>(length)
                                           : static_cast<std::uint32_t>(strnlen(data, INT32_MAX));
    return writeThroughTransfer(HFILE_ERROR, data, size);
  }
  if (scheme == kServerScheme) return uploadToServer(CString(), data, length);
  return false;
}

bool Document::insertInto(const Ref<KXObject>& parent, const CString& fileName, const char* data,
                          std::int32_t length) {
  if (!store) return false;
  const Ref<KXObject> keep = self();
  const Ref<Store> own = store;
  if (own->getScheme() == kServerScheme) {
    if (!own->insertObject(keep, parent, 0)) return false;
    return fileName.IsEmpty() ? storeContentFromMemory(data, length)
                              : storeContentFromFile(fileName);
  }

  HFILE file = HFILE_ERROR;
  std::uint32_t size = 0;
  if (!fileName.IsEmpty()) {
    // Checked before the store is changed: no object without its content.
    file = _lopen(fileName.c_str(), OF_READ);
    if (file == HFILE_ERROR) return false;
    size = GetFileLength(file);
  } else if (data) {
    size = length >= 1 ? static_cast<std::uint32_t>(length)
                       : static_cast<std::uint32_t>(strnlen(data, INT32_MAX));
  }
  if (!own->insertObject(keep, parent, 0)) {
    if (file != HFILE_ERROR) _lclose(file);
    return false;
  }
  if (own->getScheme() == kLocalScheme) refresh();
  const bool ok = writeThroughTransfer(file, file == HFILE_ERROR ? data : nullptr, size);
  invalidate(kRefreshAll);
  if (file != HFILE_ERROR) _lclose(file);
  return ok;
}

// Downloads of a document's content into a temporary file of the right
// kind, for the file cache and for the viewers.
#include <cstdio>

#include "framework/app_services.h"
#include "framework/temp_files.h"
#include "framework/user_break.h"
#include "core/document.h"
#include "core/kx_object.h"
#include "core/logbook.h"
#include "core/object_utils.h"
#include "net/references.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

ClosingTest gClosing = nullptr;
TickSource gWaitClock = nullptr;

bool MainWindowClosing() { return gClosing && gClosing(); }

// A file that opens for reading; a directory is none.
bool Readable(const CString& name) {
  if (name.IsEmpty()) return false;
  const DWORD attributes = GetFileAttributes(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  FILE* f = win_fopen(name.c_str(), "r");
  if (!f) return false;
  std::fclose(f);
  return true;
}

// The LocalDataPath setting with its separator, as the shell keeps it;
// empty when it is not set.
CString LocalDataPath() {
  CString path;
  if (!GetAppProfileString("CONNECT", "LocalDataPath", "", path) || path.IsEmpty()) return CString();
  const char last = path[path.GetLength() - 1];
  if (last != ':' && last != '\\' && last != '/') path += '\\';
  return path;
}

void Log(const char* text, const CString& what) { TheLogbook().Write(CString(text) + what); }

bool IsServerReference(const CString& reference) {
  return reference.Find("korvex:") >= 0 || reference.Find("http:") >= 0 ||
         reference.Find("//") >= 0;
}

}  // namespace

ClosingTest SetMainWindowClosingTest(ClosingTest test) {
  const ClosingTest old = gClosing;
  gClosing = test;
  return old;
}

TickSource SetDownloadWaitClock(TickSource clock) {
  const TickSource old = gWaitClock;
  gWaitClock = clock;
  return old;
}

const char* DownloadExtension(std::int32_t classCode) {
  switch (classCode) {
    case kClassText: return "txt";
    case kClassImage: return "img";
    case kClassSound: return "snd";
    case kClassMovie: return "mov";
    case kClassGeneric: return "gen";
    default: return nullptr;
  }
}

int DownloadToFile(const CString& reference, CString& fileName) {
  const Ref<KXObject> object = ResolveReference(reference);
  if (!object) {
    if (Readable(reference)) {
      fileName = reference;
      return 1;
    }
    const CString base = LocalDataPath();
    if (!base.IsEmpty() && !reference.IsEmpty() && Readable(base + reference)) {
      fileName = base + reference;
      return 1;
    }
    return 0;
  }
  return DownloadDocumentToFile(object, fileName);
}

int DownloadDocumentToFile(const Ref<KXObject>& object, CString& fileName) {
  if (!object) return 0;
  auto* document = dynamic_cast<Document*>(object.get());
  if (object->getType() != kxdoc::kTypeName || !document) {
    Log(kCannotDownloadText, describeObject(object));
    return 0;
  }
  const char* extension = DownloadExtension(object->getClassCode());
  if (!extension) {
    Log(kInvalidDownloadTypeText, describeObject(object));
    return 0;
  }
  const CString target = MakeTempFileName(extension);
  bool ok = !target.IsEmpty() && document->loadContent(1, target, kxdoc::kInternalViewer, "");
  const Ref<Store>& store = object->getStore();
  if (ok && store && store->getError() != 0) ok = false;
  // The content may already have been in a file of the document's own (a
  // file loaded before, or a local database's file): that file is the
  // answer. A name that holds nothing readable is no answer at all; the
  // file this download made and filled needs no second look.
  const CString content = ok ? document->getContentFile() : CString();
  if (ok && content != target && !Readable(content)) ok = false;
  if (!ok) {
    // Nothing half-written stays behind under the name this download chose.
    if (!target.IsEmpty() && GetFileAttributes(target.c_str()) != INVALID_FILE_ATTRIBUTES)
      DeleteFile(target.c_str());
    Log(kDownloadErrorText, describeObject(object));
    fileName = CString();
    return 0;
  }
  // The name made for this download is not the answer: it goes. (The same
  // name needs no look at the file system to tell.)
  if (content != target && win::HostPath(content.str()) != win::HostPath(target.str()) &&
      GetFileAttributes(target.c_str()) != INVALID_FILE_ATTRIBUTES)
    DeleteFile(target.c_str());
  fileName = content;
  return 1;
}

int DownloadByUrl(const CString& reference, CString& fileName, int wait) {
  if (MainWindowClosing() || reference.IsEmpty()) return 0;
  if (!IsServerReference(reference)) return DownloadToFile(reference, fileName);
  if (!wait) return 0;
  waitWhileBusy(gWaitClock);
  if (LongOperationFlag()) {
    Log(kBusyDownloadText, reference);
    return 0;
  }
  SetLongOperationFlag(1);
  const int result = DownloadToFile(reference, fileName);
  SetLongOperationFlag(0);
  return result;
}

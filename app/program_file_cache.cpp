// The program's file cache as the shell's commands, start-up and exit use
// it: documents are downloaded into it by reference, waiting up to the
// bounded time for a running request.
#include "app/commands/load_commands.h"
#include "net/references.h"
#include "store/cache/file_cache.h"

namespace {

class ProgramFileCache : public DocumentFileCache {
 public:
  void SetLimits(long maxBytes, int maxEntries) override {
    TheFileCache().setLimits(static_cast<int>(maxBytes), maxEntries);
  }
  void LoadTable(const CString& path) override { TheFileCache().loadTable(path); }
  void SaveTable(const CString& path) override { TheFileCache().saveTable(path); }
  int TemporaryCount() override { return TheFileCache().count(true); }
  void RemoveAll() override { TheFileCache().clear(); }
  bool Contains(const CString& key) override { return TheFileCache().contains(key); }
  CString Fetch(const CString& key) override { return TheFileCache().fetch(key); }
  CString Acquire(const CString& key) override { return TheFileCache().acquire(key); }
  void Unlock(const CString& key) override { TheFileCache().unlock(key); }
  void Insert(const CString& key, const CString& file, bool temporary,
              const CString& label) override {
    TheFileCache().insert(key, file, temporary ? 1 : 0, label);
  }
};

}  // namespace

void InstallProgramFileCache() {
  static ProgramFileCache cache;
  TheFileCache().setDownloader(
      [](const CString& key, CString& file) { return DownloadByUrl(key, file, 1); });
  if (!LoadCache()) SetLoadCache(&cache);
}

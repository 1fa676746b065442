// The clean-up at exit: the history and the queue are emptied, the text
// viewer's file pool stopped, the page styles and rules dropped. The
// session to the server is not logged out.
#include <memory>

#include "app/commands/command_queue.h"
#include "app/commands/load_commands.h"
#include "app/commands/navigation_commands.h"
#include "app/shell_state.h"
#include "mfc/app.h"
#include "win/user.h"
#include "app/history/nav_history.h"
#include "app/idle_tasks.h"
#include "app/zemra_app.h"
#include "pages/page/page_switch.h"
#include "pages/picture/image_cache.h"
#include "pages/rules/rule_set.h"
#include "pages/style/property_table.h"
#include "pages/text/shell_picture_fetcher.h"
#include "store/cache/file_pool.h"
#include "text/resources/viewer_resources.h"

void ZemraApp::ClearFileCacheAtExit() {
  DocumentFileCache* cache = LoadCache();
  if (!cache) return;
  if (cache->TemporaryCount() > 0) {
    const char mode = ClearCacheMode();
    if (mode == 'Y' || mode == 'y')
      cache->RemoveAll();
    else if (mode == '?' && AfxMessageBox("Delete File Cache?", MB_YESNO) == IDYES)
      cache->RemoveAll();
  }
  // Saving marks every entry permanent, so letting them go deletes no file.
  cache->SaveTable(tempCacheTable_);
  cache->RemoveAll();
}

void ZemraApp::StopTextViewer() {
  // Users of the pool before the pool, the pool before the fetcher it calls.
  ViewerResources& resources = ViewerResources::Shared();
  resources.SetListener(nullptr);
  resources.SetObject(std::unique_ptr<FilePool>());
  resources.SetCompanion(std::unique_ptr<ShellPictureFetcher>());
}

int ZemraApp::ExitInstance() {
  TheHistory().Clear();
  ForgetHoldingCollection();
  TheCommandQueue().Clear();
  DropIdleTasks();
  StopTextViewer();
  ClearFileCacheAtExit();
  TheImageCache().FreeAll();
  StyleTable().clear();
  TheRuleSet().clear();
  return ViewerApp::ExitInstance();
}

#include "app/interpreter/deferred_commands.h"

#include "app/commands/command_queue.h"
#include "app/commands/load_commands.h"
#include "app/commands/navigation_commands.h"
#include "app/history/nav_history.h"
#include "core/object_utils.h"
#include "framework/app_services.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "pages/picture/image_cache.h"
#include "pages/rules/rule_set.h"
#include "pages/style/property_table.h"
#include "pages/style/style_files.h"

BOOL ReloadCommand::Execute() {
  ReloadStylesRulesAndCaches();
  executed = 1;
  return TRUE;
}

BOOL StopCommand::Execute() {
  executed = 1;
  return FALSE;
}

void ReloadStylesRulesAndCaches() {
  BeginBusyCursor();
  AbortRunningRequest();
  if (VPage* page = CurrentPage()) page->DeleteChildren();
  StyleTable().clear();
  TheRuleSet().clear();
  TheImageCache().FreeAll();
  TheCommandQueue().Clear();
  DocumentFileCache* cache = LoadCache();
  if (cache) cache->RemoveAll();
  TheImageCache().FreeAll();
  invalidateAllObjects();
  if (cache) cache->LoadTable("tolmperm.csh");
  LoadStyles();
  TheRuleSet().load("tolm.rul");
  TheCommandQueue().Clear();
  if (Ref<KXObject> current = TheHistory().Current()) TheCommandQueue().Push(new GotoCommand(current));
  EndBusyCursor();
}

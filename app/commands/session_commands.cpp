#include "app/commands/session_commands.h"

#include "app/commands/command_queue.h"
#include "app/commands/command_texts.h"
#include "app/commands/navigation_commands.h"
#include "app/history/nav_history.h"
#include "app/shell_state.h"
#include "app/shell_ui.h"
#include "core/languages.h"
#include "core/logbook.h"
#include "core/search_runner.h"
#include "core/store_registry.h"
#include "mfc/afxres.h"
#include "mfc/app.h"
#include "net/references.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "win/user.h"

namespace {

// The program cannot go on without its data source: it says so and ends.
BOOL GiveUp(const char* text) {
  AfxMessageBox(text, MB_OK);
  PostQuitMessage(1);
  return FALSE;
}

// The address without its path: scheme, host and port.
CString WithoutPath(const CString& address) {
  const int slashes = address.Find("//");
  if (slashes < 0) return address;
  const int path = address.Find('/', slashes + 2);
  return path < 0 ? address : address.Left(path);
}

// Every text of the current page is drawn again in the new language.
void RefreshCurrentPage() {
  if (VPage* page = CurrentPage()) page->Invalidate();
}

}  // namespace

// ---- connect

BOOL ConnectCommand::Execute() {
  Ref<KXObject> result;
  if (!autologin) {
    if (LoginDialogFn dialog = GetShellUi().login) {
      LoginFields fields{login, password, ServerAddress()};
      if (!dialog(fields)) {
        TheCommandQueue().Push(new QuitCommand);
        return FALSE;
      }
      login = fields.user;
      password = fields.password;
      location = fields.location;
    } else {
      TheLogbook().Write("login dialog not available: connecting with the configured login");
    }
  }
  if (!location.IsEmpty() && location != ServerAddress()) SetServerAddress(location);

  const bool anonymous = login.IsEmpty() && password.IsEmpty();
  if (!TheHistory().Current()) {
    // Without a login the address is opened as it is; with one only the
    // server, since the object may need the login.
    result = fetchObject(anonymous ? ServerAddress() : WithoutPath(ServerAddress()), Ref<Store>());
    if (!result) return GiveUp(kConnectionFailedText);
  }
  if (!anonymous) {
    for (ListElement* e = OpenStores().first(); e; e = e->next()) {
      const Ref<Store> store = static_cast<StoreListEntry*>(e)->store;
      if (!store || !(store->getCapabilities() & 1)) continue;
      // An empty password goes as it is; the session knows how to send it.
      store->login(login, password, 0);
      if (store->getUser() != login) return GiveUp(kCannotIdentifyText);
    }
    result = fetchObject(ServerAddress(), Ref<Store>());
  }
  TheHistory().Push(result);
  executed = 1;
  return TRUE;
}

// ---- search

BOOL SearchCommand::Execute() {
  if (expression.IsEmpty()) {
    SearchDialogFn dialog = GetShellUi().search;
    if (!dialog) {
      TheLogbook().Write("search dialog not available: search without an expression not run");
      return FALSE;
    }
    if (!dialog(expression, mode)) return FALSE;
    if (expression.IsEmpty()) return FALSE;
  }
  for (const char* scheme : {"korvex:", "http:", "ftp:", "kxlocal:"}) {
    if (expression.Find(scheme) >= 0) {
      TheCommandQueue().Push(new GotoCommand(expression));
      executed = 1;
      return TRUE;
    }
  }
  List* hits = mode == 0 ? runSearch(expression, true, NewObjectList())
                         : searchAllLanguages(expression, true, NewObjectList());
  if (!hits) return FALSE;
  Ref<KXObject> found;
  if (hits->isEmpty()) {
    DeleteObjectList(hits);
    MessageBox(nullptr, NoMatchText().Text(), kErrorCaption, MB_OK);
    return FALSE;
  }
  if (hits->count() == 1) {
    found = ObjectOf(hits->first());
    DeleteObjectList(hits);
  } else {
    const CString title = FormatText(SearchResultTitle(), expression);
    found = MakeMultiCluster(AnyLanguageTitle(title), hits, 0);
  }
  if (!found) return FALSE;
  object = found;
  TheHistory().Push(found);
  executed = 1;
  return TRUE;
}

// ---- language

BOOL LanguageCommand::Execute() {
  if (executed) return TRUE;
  Languages* languages = Languages::instance();
  if (!languages) return FALSE;
  if (mode == 0) {
    LanguageDialogFn dialog = GetShellUi().language;
    if (!dialog) {
      TheLogbook().Write("language dialog not available: language order unchanged");
      return FALSE;
    }
    executed = 1;
    if (!dialog()) return FALSE;
    code = languages->orderString();
    RefreshCurrentPage();
    return TRUE;
  }
  executed = 1;
  if (code.GetLength() == 2) {
    if (!languages->prefer(code))
      TheLogbook().Write(CString("cannot prefer unknown language code ") + code);
    else
      RefreshCurrentPage();
    return FALSE;
  }
  if (code == languages->orderString()) return FALSE;
  if (!languages->setOrder(code)) return FALSE;
  code = languages->orderString();
  RefreshCurrentPage();
  return TRUE;
}

// ---- quit

BOOL QuitCommand::Execute() {
  AbortRunningRequest();
  TheCommandQueue().Clear();
  SetStopFlag();
  if (CWnd* main = AfxGetMainWnd())
    SendMessage(AfxGetWindowHandle(main), WM_COMMAND, ID_APP_EXIT, 0);
  else
    PostQuitMessage(0);
  return FALSE;
}

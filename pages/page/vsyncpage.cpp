#include "pages/page/vsyncpage.h"

#include <cstdio>

#include "core/cluster.h"
#include "core/collection.h"
#include "core/document.h"
#include "core/object_utils.h"
#include "mfc/afx.h"
#include "pages/objects/background_sound.h"
#include "pages/objects/vlabel.h"
#include "pages/script/sync_script.h"
#include "pages/shell_link.h"

namespace {

// The URL of an object without a global id.
constexpr const char* kBareScheme = "korvex:";

// Collections of search results are never presentations.
bool IsResultList(KXObject& collection) {
  const CString title = collection.getTitle();
  return title.Find("search") >= 0 || title.Find("Suche") >= 0;
}

bool IsSyncDocument(KXObject* object) {
  if (!object || object->getClassCode() != kClassGeneric) return false;
  auto* document = dynamic_cast<Document*>(object);
  return document && document->getSubType() == VSyncpage::kSyncSubType;
}

// A cluster's members with nested clusters expanded, in a list of the
// caller's; null when the cluster has none to give.
OwnedMemberList ClusterMembers(KXObject* object) {
  auto* cluster = dynamic_cast<Cluster*>(object);
  if (!cluster) return nullptr;
  OwnedMemberList list(NewObjectList());
  if (!list || !cluster->collectVisibleMembers(*list, true)) return nullptr;
  return list;
}

// The kind a member class is registered as, or None for classes that are
// not given to the script.
ScriptObject KindOfMember(int classCode) {
  switch (classCode) {
    case kClassText: return ScriptObject::Text;
    case kClassImage: return ScriptObject::Image;
    case kClassSound: return ScriptObject::Sound;
    case kClassMovie: return ScriptObject::Video;
    default: return ScriptObject::None;
  }
}

}  // namespace

VSyncpage::VSyncpage() = default;

VSyncpage::~VSyncpage() {
  // The script's objects leave the page before the page's own children go.
  script_.reset();
}

const char* VSyncpage::GetClassName() const { return "VSyncpage"; }

Ref<KXObject> VSyncpage::FindSyncDocument(const List* list) {
  if (!list) return {};
  for (ListElement* e = list->first(); e; e = e->next())
    if (KXObject* object = ObjectOf(e); IsSyncDocument(object)) return Ref<KXObject>(object);
  return {};
}

int VSyncpage::Accepts(const Ref<KXObject>& object) {
  if (!object) return 0;
  switch (object->getClassCode()) {
    case kClassGeneric:
      return IsSyncDocument(object.get()) ? 1 : 0;
    case kClassCluster: {
      const OwnedMemberList members = ClusterMembers(object.get());
      return members && FindSyncDocument(members.get()) ? 1 : 0;
    }
    case kClassCollection: {
      if (IsResultList(*object)) return 0;
      if (object->getLayout().Find("SyncPage(") < 0) return 0;
      auto* collection = dynamic_cast<Collection*>(object.get());
      const List* children = collection ? collection->getChildren(nullptr, 0) : nullptr;
      return children && !children->isEmpty() && FindSyncDocument(children) ? 1 : 0;
    }
    default:
      return 0;
  }
}

void VSyncpage::Initialize() {
  VPage::Initialize();
  delete BackgroundSound();
  background_ = Background();
  toolbar_ = Toolbar();
  InitializeChildren();

  const Ref<KXObject>& object = Object();
  // The member list of a cluster is made for the page and freed with it;
  // a collection's children stay the collection's.
  OwnedMemberList clusterMembers;
  List* members = nullptr;
  switch (linkTargetClass(object)) {
    case kClassGeneric:
      scriptDocument_ = object;
      break;
    case kClassCluster:
      clusterMembers = ClusterMembers(object.get());
      members = clusterMembers.get();
      scriptDocument_ = FindSyncDocument(members);
      break;
    case kClassCollection:
      if (auto* collection = dynamic_cast<Collection*>(object.get())) {
        members = collection->getChildren(nullptr, 0);
        if (members && !members->isEmpty())
          scriptDocument_ = FindSyncDocument(members);
        else
          members = nullptr;
      }
      break;
    default:
      break;
  }
  if (!scriptDocument_) return;
  // A document without an address has no file to fetch: its URL would be
  // the bare scheme.
  const CString url = objectUrl(scriptDocument_);
  if (url.IsEmpty() || url == kBareScheme) return;
  const CString file = Shell().FetchCached(url);
  if (file.IsEmpty()) return;
  script_ = std::make_unique<SyncScript>(file, this);
  if (members) RegisterMembers(members);
  script_->Start();
}

void VSyncpage::RegisterMembers(List* list) {
  if (!list || !script_) return;
  list->sort();
  int counts[5] = {0, 0, 0, 0, 0};
  for (ListElement* e = list->first(); e; e = e->next()) {
    KXObject* member = ObjectOf(e);
    if (!member) continue;
    const ScriptObject kind = KindOfMember(member->getClassCode());
    if (kind == ScriptObject::None) continue;
    char name[16];
    std::snprintf(name, sizeof name, "#%d", ++counts[static_cast<int>(kind)]);
    script_->AddUrl(kind, name, objectUrl(Ref<KXObject>(member)));
  }
}

void VSyncpage::DeleteChildren() {
  KillScriptTimer();
  script_.reset();
  background_ = nullptr;
  toolbar_ = nullptr;
  VPage::DeleteChildren();
}

void VSyncpage::SetScript(std::unique_ptr<SyncScript> script) { script_ = std::move(script); }

void VSyncpage::Draw(CDC* dc, const RECT& clip) { VObject::Draw(dc, clip); }

void VSyncpage::ReadStyleAttributes() { VObject::ReadStyleAttributes(); }

void VSyncpage::OnTimer(UINT_PTR) {
  if (!ready_ || !script_) return;
  if (script_->NextTime() <= script_->Elapsed()) {
    // A message pumped while the step runs must not start a second one.
    ready_ = 0;
    script_->Tick();
    ready_ = 1;
  }
}

void VSyncpage::KillScriptTimer() {
  CWnd* window = GetWindow();
  if (window && IsWindow(window->GetSafeHwnd())) window->KillTimer(kScriptTimer);
}

void VSyncpage::Enter() {
  VPage::Enter();
  CWnd* window = GetWindow();
  if (window && IsWindow(window->GetSafeHwnd())) window->SetTimer(kScriptTimer, kEnterTimerMs);
}

void VSyncpage::Leave() {
  VPage::Leave();
  KillScriptTimer();
}

void VSyncpage::Notify(int code, VObject* sender) {
  if (code == VLabel::kClicked && sender && CString(sender->GetClassName()) == "VLabel")
    if (auto* label = dynamic_cast<VLabel*>(sender); label && !label->GotoTarget().IsEmpty())
      KillScriptTimer();
  VPage::Notify(code, sender);
}

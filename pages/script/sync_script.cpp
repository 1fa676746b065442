#include "pages/script/sync_script.h"

#include <cstdio>
#include <string>

#include "mfc/afx.h"
#include "pages/objects/vgroup.h"
#include "pages/page/vpage.h"
#include "pages/page/vsyncpage.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

// A script is a small text file; anything larger is no script.
constexpr long kMaxScriptBytes = 16L * 1024 * 1024;

// The whole file, or false when it cannot be read.
bool ReadWholeFile(const char* name, std::string& out) {
  FILE* f = win_fopen(name, "rb");
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 0 && size <= kMaxScriptBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    out.resize(static_cast<std::size_t>(size));
    ok = size == 0 || std::fread(out.data(), 1, out.size(), f) == out.size();
  }
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}

}  // namespace

SyncScript::SyncScript(const char* fileName, VSyncpage* page)
    : fileName_(fileName ? fileName : ""), page_(page) {
  // The entry before the first: it arms the timer with the default
  // interval when the start runs it.
  entry_.time = 0;
  entry_.command = ScriptCommand::TimerInterval;
  entry_.object = ScriptObject::None;
  for (Slots& slots : objects_) slots.fill(nullptr);
  std::string text;
  if (!fileName_.IsEmpty() && ReadWholeFile(fileName_, text))
    reader_ = std::make_unique<SyncScriptReader>(std::move(text));
}

SyncScript::~SyncScript() {
  for (Slots& slots : objects_)
    for (VObject*& object : slots) {
      delete object;  // takes itself off the page
      object = nullptr;
    }
  // A cursor the script hid comes back with the page.
  while (ShowCursor(TRUE) < 0) {
  }
}

Logbook& SyncScript::ScriptLog() {
  // Made on first need: member references are registered before the
  // start, and a refused one must find the log there.
  if (!log_) {
    log_ = std::make_unique<Logbook>(0);
    log_->SetFileName(kLogName);
    log_->WriteTimeStamp();
  }
  return *log_;
}

void SyncScript::Log(const CString& message) { ScriptLog().Write(ErrorPrefix() + message); }

CString SyncScript::ErrorPrefix() const {
  char line[32];
  std::snprintf(line, sizeof line, "%3u", static_cast<unsigned>(entry_.line));
  return CString("Error in SyncScript ") + fileName_ + " Line " + line + ": ";
}

void SyncScript::AddUrl(ScriptObject kind, const char* name, const char* url) {
  if (urls_.size() >= kMaxUrls) {
    ScriptLog().Write("too many urls");
    return;
  }
  urls_.push_back(UrlEntry{kind, CString(name ? name : ""), CString(url ? url : "")});
}

CString SyncScript::ResolveUrl(ScriptObject kind, const CString& name) {
  if (name.IsEmpty() || name[0] != '#') return name;
  if (kind == ScriptObject::Background) kind = ScriptObject::Image;
  for (const UrlEntry& u : urls_)
    if (u.kind == kind && u.name == name) return u.url;
  Log("url from " + name + " not available");
  return CString();
}

std::uint32_t SyncScript::Elapsed() const { return PageTicks() - startTick_; }

void SyncScript::ReadEntry() {
  if (!reader_) return;
  reader_->ReadEntry();
  entry_ = reader_->Entry();
}

void SyncScript::ArmTimer(int interval) {
  CWnd* window = page_ ? page_->GetWindow() : nullptr;
  if (window && IsWindow(window->GetSafeHwnd()))
    window->SetTimer(kTimerId, static_cast<UINT>(interval > 0 ? interval : 1));
}

void SyncScript::KillTimer() {
  CWnd* window = page_ ? page_->GetWindow() : nullptr;
  if (window && IsWindow(window->GetSafeHwnd())) window->KillTimer(kTimerId);
}

void SyncScript::EndScript() {
  ended_ = true;
  if (!page_) return;
  if (VObject* toolbar = page_->ToolbarPart()) {
    page_->BringToFront(toolbar);
    toolbar->SetState(toolbar->State() & ~VObject::kHidden);
  }
}

void SyncScript::Start() {
  if (!reader_) return;
  ScriptLog();
  while (entry_.time == 0) {
    Execute();
    ReadEntry();
    if (entry_.command == ScriptCommand::End) {
      // The timer stays armed: the first tick finds the end and stops it.
      EndScript();
      return;
    }
  }
  ArmTimer(entry_.timerInterval);
  startTick_ = PageTicks();
}

void SyncScript::Tick() {
  if (!reader_) return;
  if (!ended_ && entry_.command != ScriptCommand::End) {
    const std::uint32_t due = entry_.time;
    do {
      if (entry_.time != due) return;
      Execute();
      ReadEntry();
    } while (entry_.command != ScriptCommand::End);
  }
  EndScript();
  KillTimer();
}

VObject* SyncScript::ObjectAt(ScriptObject kind, int id) const {
  const int k = static_cast<int>(kind);
  if (k < 0 || k >= static_cast<int>(objects_.size()) || id < 0 || id >= kMaxObjects)
    return nullptr;
  return objects_[static_cast<std::size_t>(k)][static_cast<std::size_t>(id)];
}

SyncScript::Slots* SyncScript::SlotsOf(ScriptObject kind) {
  const int k = static_cast<int>(kind);
  if (k < 0 || k >= static_cast<int>(objects_.size())) return nullptr;
  return &objects_[static_cast<std::size_t>(k)];
}

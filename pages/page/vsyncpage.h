// The page that plays a timed presentation: a SyncScript kept on the server
// as a Generic document of SubType "sync". The page finds that document
// among the members of the collection or cluster it shows (or shows the
// document itself), fetches its file through the file cache, gives the
// collection's texts, images, sounds and movies to the script as "#1",
// "#2", ... of their kind, starts the script and drives it from timer 1 of
// its window. Everything else it takes from VPage. The page clock never
// runs on a script page: timer 1 is its only timer.
#pragma once

#include <memory>

#include "core/kx_object.h"
#include "core/objref.h"
#include "pages/page/vpage.h"

class List;
class SyncScript;

class VSyncpage : public VPage {
 public:
  static constexpr UINT_PTR kScriptTimer = 1;
  static constexpr UINT kEnterTimerMs = 100;
  // The Generic document's SubType that marks a script.
  static constexpr const char* kSyncSubType = "sync";

  VSyncpage();
  ~VSyncpage() override;

  // Whether the page switch shows the object as a script page.
  static int Accepts(const Ref<KXObject>& object);
  // The first Generic document of SubType "sync" (exact case) in the list;
  // empty when none.
  static Ref<KXObject> FindSyncDocument(const List* list);

  const char* GetClassName() const override;
  void Initialize() override;
  void Draw(CDC* dc, const RECT& clip) override;
  // A click on a label that leads somewhere stops the presentation.
  void Notify(int code, VObject* sender) override;
  void ReadStyleAttributes() override;
  // Any timer of the page window advances the script when it is due.
  void OnTimer(UINT_PTR id) override;
  void Enter() override;
  void Leave() override;
  // The objects of the script go with the script, before the page's other
  // children: the script would otherwise hold objects already deleted.
  void DeleteChildren() override;

  // Gives the script a numbered name for each text, image, sound and movie
  // of the list (sorted first).
  void RegisterMembers(List* list);

  SyncScript* Script() const { return script_.get(); }
  const Ref<KXObject>& ScriptDocument() const { return scriptDocument_; }
  VObject* BackgroundPart() const { return background_; }
  VObject* ToolbarPart() const { return toolbar_; }
  // The parts made elsewhere (a page made without Initialize, in tools and
  // tests, or a page that wants none).
  void SetParts(VObject* background, VObject* toolbar) {
    background_ = background;
    toolbar_ = toolbar;
  }
  // Takes a script made elsewhere, replacing the one held.
  void SetScript(std::unique_ptr<SyncScript> script);
  bool Ready() const { return ready_ != 0; }

 private:
  void KillScriptTimer();

  std::unique_ptr<SyncScript> script_;
  VObject* background_ = nullptr;
  VObject* toolbar_ = nullptr;
  Ref<KXObject> scriptDocument_;
  std::uint8_t ready_ = 1;
};

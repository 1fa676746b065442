// What the sound and the movie page objects share: the document's title,
// a media player (VMCI) above a row of two tool buttons, play and stop, and
// the load of the document's file through a queued load command. The object
// owns its load target: it cancels the queued load and detaches the target
// before the target goes, so a late delivery reaches nobody.
#pragma once

#include <memory>

#include "core/kx_object.h"
#include "core/objref.h"
#include "pages/media/media_positions.h"
#include "pages/objects/vgroup.h"
#include "pages/shell_link.h"

class LoadTarget;
class VLabel;
class VMCI;

class VKxMedia : public VGroup {
 public:
  ~VKxMedia() override;

  void Initialize() override;
  // The buttons play, restart, pause and stop the player; a delivered file
  // is opened by the player.
  void Notify(int code, VObject* sender) override;
  void ReadStyleAttributes() override;
  // Offered to the player first; the base decides what it does not take.
  bool SetBoolAttribute(const char* name, bool value) override;
  bool SetStringAttribute(const char* name, const char* text) override;
  bool SetNumberAttribute(const char* name, int value) override;
  bool SetColorAttribute(const char* name, COLORREF color) override;
  // "pos" moves the object itself.
  bool SetRectAttribute(const char* name, int left, int top, int right, int bottom) override;

  const Ref<KXObject>& Document() const { return document_; }
  const Ref<KXObject>& Anchor() const { return anchor_; }
  VMCI* Player() const { return player_; }
  VObject* Title() const { return title_; }
  VLabel* PlayButton() const { return playButton_; }
  VLabel* StopButton() const { return stopButton_; }
  LoadTarget* PendingLoad() const { return pending_.get(); }
  // The name the player opens the delivered document by: its address (the
  // file cache's key), or the delivered file when it has none.
  CString DeliveredName() const;

 protected:
  // `object`: the document, or an anchor that leads to it.
  VKxMedia(int left, int top, int right, int bottom, const Ref<KXObject>& object);

  // The player in the rectangle above the buttons.
  virtual VMCI* MakePlayer(const RECT& rect) = 0;
  // Start and end positions from the anchor's "Position" text.
  virtual void ApplyAnchorPosition(const CString& position) = 0;
  // Whether the document's file is to be fetched.
  virtual bool WantsLoad();
  virtual LoadKind Kind() const = 0;
  virtual std::unique_ptr<LoadTarget> MakeTarget() = 0;
  // The document's file has come: the player opens it.
  virtual void OnDelivered() = 0;

  void SetDocument(const Ref<KXObject>& document) { document_ = document; }
  // Gives the player the positions the range holds.
  void ApplyRange(const MediaRange& range);

 private:
  void DropPendingLoad();
  VLabel* MakeButton(int left, int top, int right, int bottom, const char* caption, const char* style);

  Ref<KXObject> document_;
  Ref<KXObject> anchor_;
  VObject* title_ = nullptr;
  VMCI* player_ = nullptr;
  VLabel* playButton_ = nullptr;
  VLabel* stopButton_ = nullptr;
  std::unique_ptr<LoadTarget> pending_;
};

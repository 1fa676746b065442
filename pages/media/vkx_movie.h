// The page object that shows a movie: its title, a player with a video
// window and the play and stop buttons. The movie is a server document
// fetched by a queued load command, or a file (or reference) that a style
// or a user-defined object names, which the player opens itself.
#pragma once

#include "mfc/cstring.h"
#include "pages/media/movie_anchors.h"
#include "pages/media/vkx_media.h"

class VKxMovie : public VKxMedia {
 public:
  VKxMovie(int left, int top, int right, int bottom, const Ref<KXObject>& object);
  // `reference`: a file name, or a reference to a server object (an
  // object id or "//host/path"), which becomes the document.
  VKxMovie(int left, int top, int right, int bottom, const char* reference);
  const char* GetClassName() const override;
  // The parts, then the document's link anchors laid over the movie's
  // frames: a click on the movie follows the anchor live at its frame.
  void Initialize() override;

  // "visible" hides or shows the movie, its player and its buttons (a
  // button its style keeps hidden stays hidden).
  bool SetBoolAttribute(const char* name, bool value) override;

  const CString& FileName() const { return fileName_; }
  const MovieAnchors& Anchors() const { return anchors_; }

 protected:
  VMCI* MakePlayer(const RECT& rect) override;
  // "Rect:" followed by positions in frames separated by ",": the first is
  // the start, the last the end; negative ones are ignored.
  void ApplyAnchorPosition(const CString& position) override;
  // Only a document that neither the style nor the constructor names a
  // file for.
  bool WantsLoad() override;
  LoadKind Kind() const override { return LoadKind::Movie; }
  std::unique_ptr<LoadTarget> MakeTarget() override;
  // Plays the movie with autoplay, else stands it opened at its position.
  void OnDelivered() override;

 private:
  void PlaceAnchors();

  CString fileName_;
  MovieAnchors anchors_;
};

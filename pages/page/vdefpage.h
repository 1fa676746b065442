// The page style "DefaultPage": one main member chosen by what the page
// shows - a picture, a text, a movie, a sound, a cluster of tiles or the
// title list of a collection - in one default rectangle, styled by the
// page's style and by the style expressions named after the member's kind;
// then the user-defined objects of the style, the toolbar and the
// background, and a 100 ms timer for the members.
#pragma once

#include "pages/page/vpage.h"

class VDefPage : public VPage {
 public:
  // The timer the members see as PageEvent::Timer with this id.
  static constexpr UINT_PTR kMemberTimer = 1;
  static constexpr UINT kMemberTimerMs = 100;
  // The member's rectangle: x, y, width and height as fractions of the
  // screen rectangle.
  static constexpr char kMemberRect[] = "65/640 27/480 460/640 418/480";

  VDefPage();
  ~VDefPage() override;

  const char* GetClassName() const override;
  void Initialize() override;
  void OnCreate() override;
  void OnClose() override;
  void OnDestroy() override;
};

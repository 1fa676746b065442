// What the text view tells its owner: a link clicked or entered with the
// keyboard, the link under the mouse, a context-menu request, and a request
// that a form submission made. Every operation does nothing here; the owner
// overrides what it handles. Link texts are the joined link records of the
// anchors concerned (each followed by four line feeds); an empty text is
// never sent to FollowAnchor.
#pragma once

#include "mfc/cstring.h"

class TextViewListener {
 public:
  virtual ~TextViewListener();
  virtual void FollowAnchor(const CString& linkText) { (void)linkText; }
  virtual void ShowLinkText(const CString& linkText) { (void)linkText; }
  // `screenX`, `screenY`: where the right button was released.
  virtual void ContextMenu(const CString& linkText, int kind, int screenX, int screenY) {
    (void)linkText, (void)kind, (void)screenX, (void)screenY;
  }
  // A form submission: the form's action with its method line, and the
  // encoded query.
  virtual void ForwardRequest(const CString& action, const CString& query) { (void)action, (void)query; }
};

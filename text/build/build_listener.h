// What a document build talks to outside the text layer: the target the
// build is for, the context that its picture requests carry, and the
// listener that serves picture requests and hears when a build ends. The
// layout and the shell implement these; the text layer only passes them on.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

class NamedObject;

// The object a build is for (the text view's load target). The document
// hands a background picture named by a server anchor to it.
class BuildTarget {
 public:
  virtual ~BuildTarget();
  // The picture's object id as "0x%08x".
  virtual void BackgroundPicture(const CString& idText);
};

// A build's own target until a load names one: does nothing.
BuildTarget& EmptyBuildTarget();

// Where the pictures of a document come from (the document's file source):
// every picture request carries a copy of it.
class PictureContext {
 public:
  virtual ~PictureContext();
  virtual PictureContext* Clone() const = 0;
};

class BuildListener {
 public:
  virtual ~BuildListener();
  // A build of `target` numbered `generation` has ended (or was abandoned):
  // its outstanding picture requests may be dropped.
  virtual void BuildFinished(BuildTarget* target, LONG generation) = 0;
  // The picture of a file name (with the reference it was written as); the
  // answer is borrowed, may be a placeholder that fills in later, or null.
  virtual NamedObject* RequestPicture(const CString& name, const CString& argument, const PictureContext* context,
                                      BuildTarget* target, LONG generation) = 0;
};

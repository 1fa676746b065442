// The load targets of the sound and movie page objects: a fetched file goes
// into the file cache under the document's URL (where the player finds it)
// and the waiting object is told. A file that comes as a temporary file of
// its own is handed to the cache as a temporary entry too, so that it is
// played first and deleted when the cache lets it go.
#pragma once

#include "pages/load_target.h"

class VKxMedia;

class MediaLoadTarget : public LoadTarget {
 public:
  explicit MediaLoadTarget(VKxMedia* owner);
  int Deliver(const char* fileName, int temporary) override;
};

class SoundLoadTarget : public MediaLoadTarget {
 public:
  using MediaLoadTarget::MediaLoadTarget;
};

class MovieLoadTarget : public MediaLoadTarget {
 public:
  using MediaLoadTarget::MediaLoadTarget;
};

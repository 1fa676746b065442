// The link anchors of a movie: each is live over the stretch of frames its
// position gives ("Rect:" and frame numbers, the first the start, the last
// the end; without an end it stays live to the movie's end). A click on the
// movie while an anchor is live follows that anchor.
#pragma once

#include <vector>

#include "core/kx_object.h"
#include "core/objref.h"
#include "win/types.h"

class MovieAnchors {
 public:
  // Takes the anchors in the order of their places; an anchor whose
  // position gives no start frame is never live.
  void Set(const std::vector<Ref<KXObject>>& links);
  void Clear() { stretches_.clear(); }
  bool Empty() const { return stretches_.empty(); }
  // The anchor live at the frame: of those whose stretch holds it, the one
  // that starts last (on equal starts the later one given); null for none.
  Ref<KXObject> At(LONG frame) const;

 private:
  struct Stretch {
    LONG from;
    LONG to;
    Ref<KXObject> anchor;
  };
  // By start frame.
  std::vector<Stretch> stretches_;
};

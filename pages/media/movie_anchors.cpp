#include "pages/media/movie_anchors.h"

#include <algorithm>

#include "core/anchor.h"
#include "pages/media/media_positions.h"

namespace {

constexpr LONG kLastFrame = 0x7FFFFFFF;

}  // namespace

void MovieAnchors::Set(const std::vector<Ref<KXObject>>& links) {
  stretches_.clear();
  for (const Ref<KXObject>& anchor : links) {
    if (!anchor) continue;
    const MediaRange range = ReadMoviePosition(anchor->getAttribute(kxanchor::kPositionKey));
    if (!range.from) continue;
    stretches_.push_back(Stretch{*range.from, range.to.value_or(kLastFrame), anchor});
  }
  std::stable_sort(stretches_.begin(), stretches_.end(),
                   [](const Stretch& a, const Stretch& b) { return a.from < b.from; });
}

Ref<KXObject> MovieAnchors::At(LONG frame) const {
  for (auto it = stretches_.rbegin(); it != stretches_.rend(); ++it)
    if (it->from <= frame && frame <= it->to) return it->anchor;
  return Ref<KXObject>();
}

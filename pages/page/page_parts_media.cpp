// Page parts that play sound and video: the movie and sound players a page
// makes for its member, and the player of the page's background music.
#include "pages/media/vkx_movie.h"
#include "pages/media/vkx_sound.h"
#include "pages/media/vmci.h"
#include "pages/page/page_members.h"
#include "pages/page/page_parts.h"

VObject* MakeMovieMember(const RECT& rect, const Ref<KXObject>& historyObject) {
  return new VKxMovie(rect.left, rect.top, rect.right, rect.bottom, historyObject);
}

VObject* MakeSoundMember(const RECT& rect, const Ref<KXObject>& historyObject) {
  return new VKxSound(rect.left, rect.top, rect.right, rect.bottom, historyObject);
}

VObject* MakeSoundPlayer() { return new VMCI(0, 0, 0, 0, "", false); }

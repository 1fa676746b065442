#include "pages/media/vkx_movie.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/anchor_positions.h"
#include "core/document.h"
#include "core/object_utils.h"
#include "framework/user_break.h"
#include "net/references.h"
#include "pages/media/media_load_target.h"
#include "pages/media/media_positions.h"
#include "pages/media/vmci.h"
#include "pages/objects/vlabel.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_struct.h"

namespace {

// Whether a text names a server object rather than a file: an object id
// or "//host/path".
bool IsObjectReference(const char* text) {
  if (!text || !*text) return false;
  if (std::strncmp(text, "//", 2) == 0) return true;
  char* end = nullptr;
  errno = 0;
  const unsigned long v = std::strtoul(text, &end, 0);
  return end != text && *end == '\0' && errno == 0 && v != 0;
}

}  // namespace

VKxMovie::VKxMovie(int left, int top, int right, int bottom, const Ref<KXObject>& object)
    : VKxMedia(left, top, right, bottom, object) {}

VKxMovie::VKxMovie(int left, int top, int right, int bottom, const char* reference)
    : VKxMedia(left, top, right, bottom, Ref<KXObject>()), fileName_(reference ? reference : "") {
  if (IsObjectReference(fileName_)) SetDocument(ResolveReference(fileName_));
}

const char* VKxMovie::GetClassName() const { return "VKxMovie"; }

void VKxMovie::Initialize() {
  if (Has(kInitialised)) return;
  VKxMedia::Initialize();
  PlaceAnchors();
}

void VKxMovie::PlaceAnchors() {
  anchors_.Clear();
  auto* document = dynamic_cast<::Document*>(Document().get());
  // The anchors are asked of the server only when no other request runs.
  if (!Player() || !document || LongOperationFlag()) return;
  SetLongOperationFlag(1);
  anchors_.Set(LinkAnchorsInPlaceOrder(*document));
  SetLongOperationFlag(0);
  if (anchors_.Empty()) return;
  Player()->SetLinkTest([this](LONG frame) { return bool(anchors_.At(frame)); });
  Player()->SetClickHandler([this](LONG frame) {
    const Ref<KXObject> anchor = anchors_.At(frame);
    if (!anchor) return false;
    Shell().ExecuteAnchorAction(anchor);
    return true;
  });
}

VMCI* VKxMovie::MakePlayer(const RECT& r) {
  return new VMCI(r.left, r.top, r.right, r.bottom, fileName_, true);
}

void VKxMovie::ApplyAnchorPosition(const CString& position) {
  ApplyRange(ReadMoviePosition(position));
}

bool VKxMovie::WantsLoad() {
  if (!Document() || !fileName_.IsEmpty()) return false;
  const PropertyStruct* style = GetStyle();
  return !style || getFile(style->StyleQuery("filename"), CString()).IsEmpty();
}

std::unique_ptr<LoadTarget> VKxMovie::MakeTarget() { return std::make_unique<MovieLoadTarget>(this); }

void VKxMovie::OnDelivered() {
  Player()->SetFileName(DeliveredName());
  if (Player()->GetAutoplay())
    Player()->Play();
  else
    Player()->Pause();
}

bool VKxMovie::SetBoolAttribute(const char* name, bool value) {
  if (CString(name ? name : "") != "visible") return VKxMedia::SetBoolAttribute(name, value);
  VGroup::SetBoolAttribute(name, value);
  if (Player()) Player()->SetBoolAttribute(name, value);
  for (VLabel* button : {PlayButton(), StopButton()}) {
    if (!button) continue;
    const PropertyStruct* style = button->GetStyle();
    if (!value || (style && getBool(style->StyleQuery("visible"), 1))) button->SetBoolAttribute(name, value);
  }
  return true;
}

#include "pages/objects/text_anchors.h"

#include "core/anchor.h"
#include "core/attr_record.h"
#include "core/logbook.h"
#include "core/object_utils.h"
#include "core/store_registry.h"
#include "pages/shell_link.h"

namespace {

constexpr char kUrlPrefix[] = "URL:";

}  // namespace

FileSource::~FileSource() = default;

FileSource* FileSource::Clone() const { return new FileSource(name); }

bool IsInlineLinkType(const CString& linkType) {
  CString t = linkType;
  t.MakeUpper();
  return t == "INLINE" || t == "BACKGROUND" || t == "INTAG";
}

bool ServeTextAnchor(const char* record, FileSource* source, LoadTarget* target) {
  const CString name = source ? source->name : CString();
  const AttrRecord attributes(record ? record : "");
  bool local = false;
  CString s = attributes.getAttribute("ObjectID=");
  // A negative id: an anchor of the document itself, whose destination is
  // an address.
  if (!s.IsEmpty() && s[0] == '-') {
    local = true;
    s = attributes.getAttribute("Dest=");
    if (s.IsEmpty()) s = attributes.getAttribute("Hint=");
    CString head = s.Left(4);
    head.MakeUpper();
    if (head == kUrlPrefix) s = s.Mid(4);
  }
  const Ref<KXObject> object = s.IsEmpty() ? Ref<KXObject>() : fetchObject(s, Ref<Store>());
  bool served = false;
  if (object) {
    if (object->getClassCode() == kClassAnchor) {
      CString type = static_cast<Anchor*>(object.get())->getLinkType();
      type.MakeUpper();
      if (IsInlineLinkType(type)) {
        Shell().PushLoad(LoadKind::Inline, object, target, name);
        served = true;
      } else {
        TheLogbook().Write("text anchor type " + type + " ignored");
      }
    } else if (local) {
      Shell().PushLoad(LoadKind::Inline, object, target, name);
      served = true;
    } else {
      TheLogbook().Write("text request " + objectUrl(object) + " ignored");
    }
  }
  return served;
}

TextAnchorFetcher::~TextAnchorFetcher() = default;

void TextAnchorFetcher::start(const char* record, FileSource* context, LoadTarget* request) {
  Shell().LoadTextAnchor(record, context, request);
}

void TextAnchorFetcher::cancel(LoadTarget*) {}

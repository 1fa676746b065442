// Object utilities: links, type names, member counts, addresses and the
// one-line description.
#include "core/object_utils.h"

#include "core/logbook.h"

namespace {

ObjectUtilityServices* gServices = nullptr;

constexpr const char* kTAnchorKey = "TAnchor=";
constexpr const char* kHintKey = "Hint=";
constexpr const char* kPresentationHintsKey = "PresentationHints=";
constexpr const char* kNameKey = "Name=";

bool IsSourceAnchor(KXObject& anchor) { return anchor.getAttribute(kTAnchorKey) == "Src"; }

// The destination a source anchor names: its "Dest=" value, or else the
// address of a "Hint=" that begins with "URL:" in any letter case.
CString SourceDestination(KXObject& anchor) {
  CString dest = anchor.getAttribute(kxobj::kDestKey);
  if (!dest.IsEmpty()) return dest;
  const CString hint = anchor.getAttribute(kHintKey);
  CString prefix = hint.Left(4);
  prefix.MakeUpper();
  return prefix == "URL:" ? hint.Mid(4) : CString();
}

Ref<KXObject> Resolve(const CString& name) {
  if (name.IsEmpty() || !gServices) return Ref<KXObject>();
  return gServices->resolveReference(name);
}

// The first destination anchor of the document that carries the fragment
// name among its keywords.
Ref<KXObject> FragmentAnchor(const Ref<KXObject>& document, const CString& fragment) {
  if (!document || !isDocument(document) || !gServices) return Ref<KXObject>();
  const List* anchors = gServices->destinationAnchors(*document);
  if (!anchors) return Ref<KXObject>();
  for (ListElement* e = anchors->first(); e; e = e->next()) {
    KXObject* anchor = ObjectOf(e);
    if (anchor && anchor->getKeywords().Contains(fragment.c_str())) return Ref<KXObject>(anchor);
  }
  return Ref<KXObject>();
}

}  // namespace

ObjectUtilityServices::~ObjectUtilityServices() = default;

ObjectUtilityServices* SetObjectUtilityServices(ObjectUtilityServices* services) {
  ObjectUtilityServices* old = gServices;
  gServices = services;
  return old;
}

ObjectUtilityServices* GetObjectUtilityServices() { return gServices; }

bool isDocument(const Ref<KXObject>& h) { return h && h->getType() == "Document"; }

Ref<KXObject> followLink(const Ref<KXObject>& h) {
  if (!h || h->getClassCode() != kClassAnchor) return h;
  if (!IsSourceAnchor(*h)) return gServices ? gServices->anchorDestination(*h) : Ref<KXObject>();

  const CString dest = SourceDestination(*h);
  const CString fragment = h->getAttribute(kxobj::kFragmentKey);
  if (fragment.IsEmpty()) return Resolve(dest);

  const Ref<KXObject> target = Resolve(dest);
  const Ref<KXObject> anchor = FragmentAnchor(target, fragment);
  if (anchor) return anchor;
  TheLogbook().Write("Fragment " + fragment + " not found in object " + dest);
  return target;
}

int linkTargetClass(const Ref<KXObject>& h) {
  const Ref<KXObject> target = followLink(h);
  return target ? target->getClassCode() : 0;
}

const char* objectTypeName(int code) {
  static const char* const kNames[] = {
      "KXObject",      "Anchor",         "unknown",         "unknown",
      "Document",      "Collection",     "Cluster",         "Text",
      "PIC",           "Image",          "Sound",           "Movie",
      "PostScript",    "Scene",          "Generic",         "Remote",
      "WWWDocument",   "GopherDocument", "GopherText",      "GopherImage",
      "GopherSound",   "GopherCollection", "GopherIndex",   "WaisDocument",
      "WaisSource",    "WaisText",       "WaisImage",       "TelnetSession",
      "FTPDocument",   "unknown",        "unknown",         "FakeObject"};
  constexpr int kCount = static_cast<int>(sizeof(kNames) / sizeof(kNames[0]));
  return code >= 0 && code < kCount ? kNames[code] : "unknown";
}

void TypeCount::clear() {
  object_ = nullptr;
  std::vector<Pair>().swap(pairs_);
  total_ = 0;
}

void TypeCount::add(int code) {
  for (Pair& p : pairs_) {
    if (p.code == code) {
      ++p.count;
      ++total_;
      return;
    }
  }
  if (pairs_.size() == pairs_.capacity()) pairs_.reserve(pairs_.capacity() + kGrowth);
  pairs_.push_back(Pair{code, 1});
  ++total_;
}

int TypeCount::count(int code) const {
  for (const Pair& p : pairs_)
    if (p.code == code) return p.count;
  return 0;
}

void TypeCount::countMembers(const Ref<KXObject>& h) {
  clear();
  object_ = followLink(h);
  if (!object_) return;
  const Ref<KXObject> target = followLink(object_);
  if (!target) return;

  if (target->getClassCode() == kClassCluster) {
    List members;
    if (gServices) gServices->clusterMembers(*target, members);
    for (ListElement* e = members.first(); e; e = e->next())
      add(linkTargetClass(Ref<KXObject>(ObjectOf(e))));
    members.clearAndDelete();
    return;
  }
  if (target->getClassCode() == kClassCollection && collectionKind(target) == 1) {
    const List* children = gServices ? gServices->collectionChildren(*target) : nullptr;
    if (children)
      for (ListElement* e = children->first(); e; e = e->next())
        add(linkTargetClass(Ref<KXObject>(ObjectOf(e))));
    return;
  }
  add(target->getClassCode());
}

CString objectUrl(const Ref<KXObject>& h) {
  if (!h) return CString();
  const CString id = h->getIdentifier();
  if (id.Find("0x") < 0 && id.Find("0X") < 0) return id;
  if (id.Find('@', 1) >= 0) return id;
  // Without a global id the object has no address: a bare "korvex:" would
  // be one cache key shared by every such object.
  const CString global = h->getGOid();
  if (global.IsEmpty()) return CString();
  return "korvex:" + global;
}

CString describeObject(const Ref<KXObject>& h) {
  if (!h) return "(no object)";
  CString s;
  const CString url = objectUrl(h);
  if (!url.IsEmpty()) s = "URL:" + url;
  if (collectionKind(h) == 1)
    s += " type:MultiCluster";
  else
    s += CString(" type:") + objectTypeName(h->getClassCode());
  if (isDocument(h)) {
    const StringArray names = h->getAllValues(kNameKey);
    for (int i = 0; i < names.count(); ++i) s += " Name:" + names.at(i);
    const CString hints = h->getAttribute(kPresentationHintsKey);
    if (!hints.IsEmpty()) s += " Presentation:" + hints;
  }
  const CString title = h->getTitle();
  if (!title.IsEmpty()) s += " Title:" + title;
  return s;
}

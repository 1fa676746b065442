#include "pages/picture/vcad_page.h"

#include <cstdio>

#include "core/cluster.h"
#include "core/collection.h"
#include "core/object_utils.h"
#include "core/screen_geometry.h"
#include "pages/page/page_members.h"
#include "pages/page/page_parts.h"
#include "pages/picture/vkx_image.h"
#include "pages/picture/vrandom_image.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"

namespace {

constexpr int kCollection = 5, kCluster = 6, kText = 7, kImage = 9, kSound = 10, kMovie = 11;

}  // namespace

VCADPage::VCADPage() { WantClock(); }

VCADPage::~VCADPage() = default;

const char* VCADPage::GetClassName() const { return "VCADPage"; }

void VCADPage::Initialize() {
  VPage::Initialize();
  Backsound();
  const Ref<KXObject>& history = HistoryEntry();
  const PropertyStruct* style = GetStyle();
  const RECT rect = ReadRect(kMemberRect);
  const Area defaultArea(rect.left, rect.top, rect.right, rect.bottom);
  const int code = linkTargetClass(history);
  auto place = [&](VObject* member, const char* name, const char* styleText, const char* defaultStyle,
                   const Ref<KXObject>& object) {
    if (!member) return;
    member->SetName(name);
    member->LoadStyle(style, styleText, defaultStyle, object);
    AppendChild(member);
  };

  if (code == kImage || code == kText || code == kMovie || code == kSound) {
    switch (code) {
      case kImage:
        place(new VKxImage(rect.left, rect.top, rect.right, rect.bottom, history, 1), "image1", "image1()",
              "Image()", history);
        break;
      case kText: place(MakeTextMember(rect, history), "text1", "text1()", "Text()", history); break;
      case kMovie: place(MakeMovieMember(rect, history), "movie1", "movie1()", "Movie()", history); break;
      default: place(MakeSoundMember(rect, history), "sound", "sound()", "Sound()", history); break;
    }
  } else if (code == kCluster || collectionKind(followLink(history)) == 1) {
    const Ref<KXObject> shown = followLink(history);
    List members;
    if (auto* cluster = dynamic_cast<Cluster*>(shown.get())) {
      cluster->collectVisibleMembers(members, false);
    } else if (auto* collection = dynamic_cast<Collection*>(shown.get())) {
      if (const List* children = collection->getChildren(nullptr, 0))
        for (ListElement* e = children->first(); e; e = e->next())
          if (KXObject* object = ObjectOf(e)) AppendObject(members, Ref<KXObject>(object));
    }
    int texts = 0, images = 0, movies = 0;
    char name[32];
    for (ListElement* e = members.first(); e; e = e->next()) {
      KXObject* raw = ObjectOf(e);
      if (!raw) continue;
      const Ref<KXObject> member(raw);
      switch (linkTargetClass(member)) {
        case kCollection:
          place(MakeTitlesMember(rect, defaultArea, member), "coll", "coll()", "Collection()", member);
          break;
        case kText:
          if (VObject* text = MakeTextMember(rect, member)) {
            std::snprintf(name, sizeof name, "text%d", ++texts);
            place(text, name, (CString(name) + "()").str().c_str(), "Text()", member);
          }
          break;
        case kImage: {
          std::snprintf(name, sizeof name, "image%d", ++images);
          place(new VKxImage(rect.left, rect.top, rect.right, rect.bottom, member, 1), name,
                (CString(name) + "()").str().c_str(), "Image()", member);
          break;
        }
        case kSound: place(MakeSoundMember(rect, member), "sound", "sound()", "Sound()", member); break;
        case kMovie:
          if (VObject* movie = MakeMovieMember(rect, member)) {
            std::snprintf(name, sizeof name, "movie%d", ++movies);
            place(movie, name, (CString(name) + "()").str().c_str(), "Movie()", member);
          }
          break;
        default: break;
      }
    }
    members.clearAndDelete();
  } else if (style && PropertyTable::IsA(style->StyleQuery("coll"), "RandomImage")) {
    const Area area = getArea(style->StyleQuery("coll.area"), defaultArea);
    const RECT b = area.GetBounds();
    place(new VRandomImage(b.left, b.top, b.right, b.bottom, history), "coll", "coll()", "Collection()", history);
  } else {
    Area area;
    const CString text = style ? getString(style->StyleQuery("coll.area"), CString(kMemberRect)) : CString(kMemberRect);
    if (!ReadArea(text, area) || area.Count() == 0) {
      area.Clear();
      ReadArea(kMemberRect, area);
    }
    place(MakeTitlesMember(rect, area, history), "coll", "coll()", "Collection()", history);
  }
  AddUserObjects(this, style);
  Toolbar();
  Background();
  InitializeChildren();
}

// The objects a style declares itself: every struct member named "user..."
// whose type is one of the object kinds becomes a page object of that kind,
// named after the member and styled by it.
#include <cstring>

#include "core/logbook.h"
#include "pages/media/vkx_movie.h"
#include "pages/media/vmci.h"
#include "pages/objects/vaction.h"
#include "pages/objects/vgroup.h"
#include "pages/objects/vlabel.h"
#include "pages/page/page_parts.h"
#include "pages/picture/vimage.h"
#include "pages/style/property_struct.h"
#include "pages/text/vtext.h"

namespace {

// The object for a member of the named type; null for a type that makes no
// user object here.
VObject* MakeUserObject(const CString& type) {
  if (type == "Label") return new VLabel(0, 0, 0, 0, 0);
  if (type == "Image") return new VImage(0, 0, 0, 0, nullptr);
  if (type == "Sound") return new VMCI(0, 0, 0, 0, "", false);
  if (type == "Movie") return new VKxMovie(0, 0, 0, 0, "");
  if (type == "Action") return new VAction();
  if (type == "Text") return new VText(0, 0, 0, 0);
  return nullptr;
}

void AddMember(VGroup* group, const PropertyStruct* member) {
  const CString name = member->GetName();
  if (std::strncmp(name, "user", 4) != 0) return;
  // A member met earlier (in the struct itself rather than its base) wins.
  if (group->FindByName(name, false)) return;
  const PropertyStruct* type = member->GetType();
  const CString typeName = type ? type->GetName() : CString();
  VObject* object = MakeUserObject(typeName);
  if (!object) {
    TheLogbook().Write("AddUserObjects: class " + name + "not supported as user defineable");
    return;
  }
  object->SetName(name);
  object->SetStyle(member->Instantiate());
  group->AppendChild(object);
  if (typeName != "Label") object->Initialize();
}

}  // namespace

void AddUserObjects(VGroup* group, const PropertyStruct* style) {
  if (!group || !style) return;
  // The struct and then the structs it derives from, each once.
  style->WalkChain([group](const PropertyStruct* s) {
    for (int i = 0; i < s->Count(); ++i) {
      const Property* member = s->MemberAt(i);
      if (member && member->IsStruct()) AddMember(group, static_cast<const PropertyStruct*>(member));
    }
    return false;
  });
}

#include "pages/objects/vaction.h"

#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"

VAction::VAction() : VObject(0, 0, 0, 0) { SetState(kPassThrough); }

VAction::~VAction() = default;

const char* VAction::GetClassName() const { return "VAction"; }

void VAction::Initialize() {
  ReadStyleAttributes();
  VObject::Initialize();
}

void VAction::ReadStyleAttributes() {
  if (!GetStyle()) {
    // SetStyle reads the attributes again, with the style attached.
    if (PropertyStruct* style = ApplyStyleAssignments("Action()", nullptr)) {
      SetStyle(style);
      return;
    }
  }
  VObject::ReadStyleAttributes();
  if (const PropertyStruct* s = GetStyle())
    command_ = getString(s->StyleQuery("command"), command_);
}

// The state flags stay as they are: an action is never shown.
void VAction::Start() { Shell().RunCommandLine(command_, Ref<KXObject>()); }

void VAction::Stop() {}

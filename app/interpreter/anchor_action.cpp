// What activating an anchor or another object does.
#include <memory>

#include "app/commands/command_queue.h"
#include "app/commands/navigation_commands.h"
#include "app/interpreter/interpreter.h"
#include "core/anchor.h"
#include "core/object_utils.h"
#include "framework/user_break.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"

namespace {

// The "onclick" action that the SourceAnchor style, refined by the anchor's
// Layout text, gives; "" when there is none.
CString AnchorAction(const CString& layout) {
  const PropertyStruct* base = getStruct(StyleTable().StyleQuery("SourceAnchor"));
  if (!base) return {};
  const std::unique_ptr<PropertyStruct> style(ApplyStyleAssignmentsTo(layout, base));
  if (!style) return {};
  return getString(style->StyleQuery("onclick"), CString());
}

}  // namespace

void Interpreter::ExecuteAnchorAction(const Ref<KXObject>& object) {
  if (!object) return;
  if (object->getClassCode() == kClassAnchor && static_cast<Anchor*>(object.get())->isSourceAnchor()) {
    const CString layout = object->getLayout();
    if (!layout.IsEmpty()) {
      // While a long operation runs the link is not followed (that would
      // ask the server); the anchor's own address stands in.
      const CString url = objectUrl(LongOperationFlag() ? object : followLink(object));
      const CString action = AnchorAction(layout);
      if (!action.IsEmpty()) {
        Run(action, url);
        return;
      }
    }
  }
  TheCommandQueue().Push(new GotoCommand(object));
}

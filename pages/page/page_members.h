// One maker per kind of main page member, each beside the objects it makes.
// A maker answers null when it cannot make its object.
#pragma once

#include "core/kx_object.h"
#include "core/objref.h"
#include "pages/area/area.h"
#include "win/types.h"

class VObject;

VObject* MakeImageMember(const RECT& rect, const Ref<KXObject>& historyObject);
VObject* MakeTextMember(const RECT& rect, const Ref<KXObject>& historyObject);
VObject* MakeMovieMember(const RECT& rect, const Ref<KXObject>& historyObject);
VObject* MakeSoundMember(const RECT& rect, const Ref<KXObject>& historyObject);
VObject* MakeClusterMember(const RECT& rect, const Area& area, const Ref<KXObject>& historyObject);
VObject* MakeTitlesMember(const RECT& rect, const Area& area, const Ref<KXObject>& historyObject);

// The page objects of other kinds that the page classes make for their
// members and parts: the main member of a default page, the background
// picture, the toolbar, the background-sound player, the progress
// indicator, the user-defined objects of a style, and the CAD page. Each
// maker answers null (or does nothing) when it cannot make its object; the
// page then goes without that part, as it does when memory runs out.
#pragma once

#include "core/kx_object.h"
#include "core/objref.h"
#include "pages/area/area.h"
#include "win/types.h"

class PropertyStruct;
class VGroup;
class VObject;
class VPage;

// The main member of a default page, by what the page shows.
enum class PageMemberKind { Image, Text, Movie, Sound, Cluster, CollectionTitles };

// The member for the history object in the rectangle (the cluster and the
// title list take the area).
VObject* MakePageMember(PageMemberKind kind, const RECT& rect, const Area& area,
                        const Ref<KXObject>& historyObject);
// A picture over the rectangle with no file of its own (its style names it).
VObject* MakeBackgroundPicture(const RECT& rect);
VObject* MakeToolbar(const RECT& rect);
// An audio player at an empty rectangle; its style names the file.
VObject* MakeSoundPlayer();
VObject* MakeProgressIndicator(const RECT& rect);
void SetProgressPercent(VObject* indicator, int percent);
// The objects a style's "user" section declares, as children of the group.
void AddUserObjects(VGroup* group, const PropertyStruct* style);
VPage* MakeCADPage();
// The palette of the cached picture with the most colours, or null.
HPALETTE LargestCachedPalette();

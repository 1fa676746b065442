// The one background sound of the program: the page object that plays the
// music a page style names. It is a child of the current page and moves to
// the next page while the next page wants the same music. Whoever deletes
// the object (a page that goes, a page that names other music) leaves no
// pointer to it behind: the object's destructor forgets it here.
#pragma once

#include "mfc/cstring.h"

class VObject;

VObject* BackgroundSound();
// The file the background sound plays ("" without one).
const CString& BackgroundSoundFile();
void SetBackgroundSound(VObject* player, const CString& fileName);
// Forgets the object when it is the background sound.
void ForgetBackgroundSound(const VObject* object);

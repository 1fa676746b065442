// Our MFC stand-in, in one include: CString, CObject and run-time classes,
// dump contexts, CPoint/CSize/CRect, exceptions, files and the application
// object, over the Win32 layer.
#pragma once

#include "win/windows.h"

#include "mfc/cstring.h"
#include "mfc/object.h"
#include "mfc/debug.h"
#include "mfc/dump_context.h"
#include "mfc/geometry.h"
#include "mfc/exceptions.h"
#include "mfc/file.h"
#include "mfc/app.h"

// Our MFC stand-in, in one include: CString, CObject and run-time classes,
// dump contexts, CPoint/CSize/CRect, exceptions, files, the application
// object, and the window classes: CWnd with message maps, GDI and DC
// wrappers, menus, frames, views, documents and templates, dialogs with
// data exchange, the control wrappers and printing.
#pragma once

#include "win/windows.h"

#include "mfc/cstring.h"
#include "mfc/object.h"
#include "mfc/debug.h"
#include "mfc/dump_context.h"
#include "mfc/geometry.h"
#include "mfc/exceptions.h"
#include "mfc/file.h"
#include "mfc/afxres.h"
#include "mfc/cmd_target.h"
#include "mfc/msgmap.h"
#include "mfc/wnd.h"
#include "mfc/gdi_objects.h"
#include "mfc/dc.h"
#include "mfc/menu.h"
#include "mfc/app.h"
#include "mfc/document.h"
#include "mfc/frame.h"
#include "mfc/view.h"
#include "mfc/print.h"
#include "mfc/dialog.h"
#include "mfc/controls.h"
#include "mfc/prompts.h"

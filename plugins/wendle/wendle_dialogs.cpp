// Until the dialog manager runs templates from a plug-in's resources, the
// options dialog cannot open; without a "DLG_GIF" template it could not
// open either, so ConvertDIBtoGIF ends here as it will then.
#include "wendle/wendle_dialogs.h"

namespace wendle {

bool RunOptionsDialog(GifWriteOptions&, bool) { return false; }

INT_PTR DlgGIF(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace wendle

// Showing the current history object as a page: which page class and page
// style present it (its Layout attribute, its collection head's, or the
// first rule of the rule file that holds), creating the new page hidden in
// the page parent, moving the background sound along, destroying the old
// page and entering the new one. The idle processing calls setCurrentPage
// after a navigating command succeeded.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

class CWnd;
class VPage;

// Switches to a page for the current history object; the new page, or null
// when none could be made (the old page then stays current and is entered
// again).
VPage* setCurrentPage(CWnd* parent, BOOL createHidden);
// Chooses and creates the page; null when its window cannot be made.
VPage* pageFor(CWnd* parent, BOOL createHidden);
// The page class for a page style; null (logged) for a style based on no
// page class.
VPage* pageFromStyle(const CString& pageStyle);
// Moves the background sound from the old page to the new one, stops the
// old page and shows and starts the new one. Nothing without a main window.
void changePage(VPage* oldPage, VPage* newPage, BOOL flag);

// The page shown now (null before the first), and the page expression and
// page style in force.
VPage* CurrentPage();
const CString& CurrentPageExpression();
const CString& CurrentPageStyle();
// The hint window for the main frame (hidden, styled by "HintDialog()");
// null when its window cannot be made.
class VHintDlg;
VHintDlg* MakeHintWindow(CWnd* frame);
// Destroys the current page (its window) and forgets it: at exit.
void DestroyCurrentPage();
// Destroys a page: its window when it has one (which deletes the page),
// else the page itself.
void DestroyPage(VPage* page);

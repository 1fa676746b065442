// Printing: the common print and print-setup dialogs (PrintDlg), the printer
// itself, and print preview.
//
// There is one printer, "PDF Printer": a printer DC renders each page with
// GDI's software rasteriser at the printer's resolution, and the document
// becomes a PDF file (one lossless image per page) at the output file the
// print dialog names. The file is written beside its final name and renamed
// into place at EndDoc; AbortDoc, a failed write or a DC deleted in the
// middle of a document leave nothing behind.
//
// The page comes from the settings file (the application's profile, or the
// file win::print::SetPrinterProfile names), section [Printer]:
//   PageSize=A4 | Letter | Legal        (A4 when missing or unknown)
//   Orientation=Portrait | Landscape    (Portrait)
//   Resolution=<dots per inch, 72..600> (300)
//   Output=<file name of the PDF>       (print.pdf in the temporary directory)
// The print-setup dialog changes page size and orientation, the print dialog
// the output file, for the rest of the session.
#pragma once

#include <functional>
#include <string>

#include "win/gdi.h"
#include "win/types.h"

// ---- DEVMODE and DEVNAMES ----------------------------------------------------
#define CCHDEVICENAME 32
#define CCHFORMNAME 32

#define DM_ORIENTATION 0x00000001L
#define DM_PAPERSIZE 0x00000002L
#define DM_COPIES 0x00000100L
#define DM_PRINTQUALITY 0x00000400L
#define DM_YRESOLUTION 0x00002000L

#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2

#define DMPAPER_LETTER 1
#define DMPAPER_LEGAL 5
#define DMPAPER_A4 9

#define DM_SPECVERSION 0x0400

// The printer's settings as the print dialogs hand them on (hDevMode). Only
// the fields named in dmFields mean something.
struct DEVMODE {
  CHAR dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  short dmOrientation;
  short dmPaperSize;
  short dmPaperLength;  // tenths of a millimetre
  short dmPaperWidth;
  short dmScale;
  short dmCopies;
  short dmDefaultSource;
  short dmPrintQuality;  // dots per inch (x)
  short dmColor;
  short dmDuplex;
  short dmYResolution;  // dots per inch (y)
  short dmTTOption;
  short dmCollate;
  CHAR dmFormName[CCHFORMNAME];
};
using LPDEVMODE = DEVMODE*;

// The printer's names (hDevNames): offsets, in characters from the start of
// the block, of the NUL-ended driver, device and output names. The output is
// the PDF file.
struct DEVNAMES {
  WORD wDriverOffset;
  WORD wDeviceOffset;
  WORD wOutputOffset;
  WORD wDefault;
};
using LPDEVNAMES = DEVNAMES*;
#define DN_DEFAULTPRN 0x0001

// ---- PrintDlg ------------------------------------------------------------------
#define PD_ALLPAGES 0x00000000L
#define PD_SELECTION 0x00000001L
#define PD_PAGENUMS 0x00000002L
#define PD_NOSELECTION 0x00000004L
#define PD_NOPAGENUMS 0x00000008L
#define PD_COLLATE 0x00000010L
#define PD_PRINTTOFILE 0x00000020L
#define PD_PRINTSETUP 0x00000040L
#define PD_NOWARNING 0x00000080L
#define PD_RETURNDC 0x00000100L
#define PD_RETURNIC 0x00000200L
#define PD_RETURNDEFAULT 0x00000400L
#define PD_SHOWHELP 0x00000800L
#define PD_ENABLEPRINTHOOK 0x00001000L
#define PD_ENABLESETUPHOOK 0x00002000L
#define PD_ENABLEPRINTTEMPLATE 0x00004000L
#define PD_ENABLESETUPTEMPLATE 0x00008000L
#define PD_ENABLEPRINTTEMPLATEHANDLE 0x00010000L
#define PD_ENABLESETUPTEMPLATEHANDLE 0x00020000L
#define PD_USEDEVMODECOPIES 0x00040000L
#define PD_USEDEVMODECOPIESANDCOLLATE 0x00040000L
#define PD_DISABLEPRINTTOFILE 0x00080000L
#define PD_HIDEPRINTTOFILE 0x00100000L
#define PD_NONETWORKBUTTON 0x00200000L

// CommDlgExtendedError answers.
#define CDERR_DIALOGFAILURE 0xFFFF
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define CDERR_MEMALLOCFAILURE 0x0009
#define PDERR_SETUPFAILURE 0x1001
#define PDERR_RETDEFFAILURE 0x1003
#define PDERR_CREATEICFAILURE 0x100A
#define PDERR_PRINTERNOTFOUND 0x100B

using LPPRINTHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
using LPSETUPHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct PRINTDLG {
  DWORD lStructSize;  // sizeof(PRINTDLG)
  HWND hwndOwner;
  HGLOBAL hDevMode;   // in: the settings to start from (or null); out: the chosen ones
  HGLOBAL hDevNames;  // in and out likewise; the caller frees both with GlobalFree
  HDC hDC;            // out, with PD_RETURNDC or PD_RETURNIC; the caller deletes it
  DWORD Flags;
  WORD nFromPage;
  WORD nToPage;
  WORD nMinPage;
  WORD nMaxPage;
  WORD nCopies;
  HINSTANCE hInstance;
  LPARAM lCustData;
  LPPRINTHOOKPROC lpfnPrintHook;  // hooks and custom templates are not supported:
  LPSETUPHOOKPROC lpfnSetupHook;  // the standard dialogs show
  LPCSTR lpPrintTemplateName;
  LPCSTR lpSetupTemplateName;
  HGLOBAL hPrintTemplate;
  HGLOBAL hSetupTemplate;
};
using LPPRINTDLG = PRINTDLG*;

// The print dialog (output file; all pages, pages from-to unless
// PD_NOPAGENUMS, the selection unless PD_NOSELECTION), or with PD_PRINTSETUP
// the print-setup dialog (page size and orientation), modal over hwndOwner.
// PD_RETURNDEFAULT shows nothing and returns the current printer's hDevMode
// and hDevNames (both must be null on entry). OK fills the structure:
// Flags holds PD_SELECTION, PD_PAGENUMS or neither (all pages), nFromPage and
// nToPage the range, nCopies 1, hDevMode / hDevNames the printer, hDC a DC of
// it with PD_RETURNDC (an information context with PD_RETURNIC). Returns
// FALSE for Cancel (CommDlgExtendedError 0) or a failure (its code).
BOOL PrintDlg(LPPRINTDLG pd);
DWORD CommDlgExtendedError();

// IDs of the print dialog's controls (platform/print/print_dialogs.rc).
#define IDC_PRINT_ALL 1056
#define IDC_PRINT_SELECTION 1057
#define IDC_PRINT_PAGES 1058
#define IDC_PRINT_FROM_LABEL 1089
#define IDC_PRINT_TO_LABEL 1090
#define IDC_PRINT_OUTPUT 1152
#define IDC_PRINT_FROM 1153
#define IDC_PRINT_TO 1154
// The print-setup dialog's controls.
#define IDC_SETUP_A4 1081
#define IDC_SETUP_LETTER 1082
#define IDC_SETUP_LEGAL 1083
#define IDC_SETUP_PORTRAIT 1084
#define IDC_SETUP_LANDSCAPE 1085

// ---- Print preview commands ---------------------------------------------------
// The preview's toolbar buttons send these as WM_COMMAND to the preview
// window; a caller may send them too.
#define AFX_ID_PREVIEW_CLOSE 0xE300
#define AFX_ID_PREVIEW_NUMPAGE 0xE301
#define AFX_ID_PREVIEW_NEXT 0xE302
#define AFX_ID_PREVIEW_PREV 0xE303
#define AFX_ID_PREVIEW_PRINT 0xE304
#define AFX_ID_PREVIEW_ZOOMIN 0xE305
#define AFX_ID_PREVIEW_ZOOMOUT 0xE306

namespace win::print {

// ---- The printer ----------------------------------------------------------------
enum class Paper { A4, Letter, Legal };

struct PrinterSetup {
  Paper paper = Paper::A4;
  bool landscape = false;
  int dpi = 300;
  std::string output;  // the PDF file, as the user gave it (Windows or Linux form)
};

// The device name of the printer in DEVMODE and DEVNAMES.
inline constexpr char kPrinterName[] = "PDF Printer";
inline constexpr char kPrinterDriver[] = "winspool";

// The settings file read for [Printer] when there is no application object
// (or to override its profile): null or "" goes back to the application's.
void SetPrinterProfile(LPCSTR file);
// The settings file's values with this session's choices (print setup, the
// print dialog's output file) laid over them.
PrinterSetup CurrentPrinterSetup();
// The page in printer pixels for a setup: the paper's size at its
// resolution, rounded to whole pixels, sides swapped for landscape.
SIZE PagePixels(const PrinterSetup& setup);
// This session's choices (what the dialogs do on OK). The output file must
// not be empty.
void ChoosePaper(Paper paper, bool landscape);
bool ChooseOutput(const std::string& file);
// Forgets this session's choices (tests).
void ResetPrinterChoices();

// Makes the PDF printer GDI's printer. PrintDlg and print preview install it
// themselves when GDI has none (GDI's placeholder drops every page); a test
// that installed another one puts it back with this.
void InstallPdfPrinter();

// How the last document ended.
struct PrintJobResult {
  bool finished = false;  // EndDoc wrote the file
  bool aborted = false;   // AbortDoc (or the DC was deleted mid-document)
  int pages = 0;
  std::string output;     // the file written (or that would have been)
  std::string error;      // why it failed; empty on success
};
PrintJobResult LastPrintJob();

// ---- Printing a document ----------------------------------------------------------
// Draws page `page` on a printer DC (the view's OnPrepareDC and OnPrint).
using RenderPageFn = std::function<bool(HDC dc, UINT page)>;

struct PrintLoop {
  LPCSTR docName = nullptr;
  UINT first = 1;
  UINT last = 0xFFFF;
  // Before each page is started (OnPrepareDC): false when there is no such
  // page, which ends the document there. May be empty.
  RenderPageFn prepare;
  // Draws the started page (OnPrint); false is a failure.
  RenderPageFn print;
};

// The standard print loop on a printer DC: StartDoc, then for each page from
// `first` to `last` (or until `prepare` says no) StartPage, print, EndPage,
// and EndDoc. Any failure aborts the document (AbortDoc; with the PDF
// printer no file is left) and returns false, as does an EndDoc whose file
// could not be written or a document without pages. `pages` (when given)
// receives the number of pages printed.
bool PrintPages(HDC dc, const PrintLoop& loop, int* pages = nullptr);

// ---- Answering the dialogs without a window (tests) --------------------------------
// What the print or print-setup dialog shows when it opens.
struct PrintDialogState {
  bool setup = false;  // the print-setup dialog
  // The print dialog:
  std::string output;
  DWORD range = PD_ALLPAGES;  // PD_ALLPAGES, PD_PAGENUMS or PD_SELECTION
  WORD fromPage = 1;
  WORD toPage = 1;
  WORD minPage = 1;
  WORD maxPage = 0xFFFF;
  bool pagesEnabled = true;
  bool selectionEnabled = false;
  // The print-setup dialog:
  Paper paper = Paper::A4;
  bool landscape = false;
};
// The hook plays the user: it gets what the dialog shows and changes it as
// the user would; true is OK, false Cancel. What it chose is checked as the
// dialog checks it: a refused choice shows the dialog's message box and the
// hook is asked again (after 8 refusals the dialog is cancelled). Null puts
// the windows back.
using PrintDialogHook = std::function<bool(PrintDialogState& state)>;
void SetPrintDialogHook(PrintDialogHook hook);

// ---- Print preview --------------------------------------------------------------------
struct PreviewOptions {
  // The printer DC the document was prepared for (OnBeginPrinting); pages
  // are drawn on it one at a time and shown scaled. Null: the preview makes
  // a DC of the current printer and deletes it when it closes.
  HDC printerDc = nullptr;
  UINT minPage = 1;
  UINT maxPage = 0xFFFF;  // 0xFFFF: not known; the end is where render says so
  UINT firstPage = 1;
  RenderPageFn render;          // draws one page (OnPrepareDC + OnPrint); false: no such page
  std::function<void()> print;  // the Print... button, after the preview closed
  std::function<void()> closed; // the preview closed (any way); called once
};

// Shows the preview over the client area of `frame` (a child window with a
// toolbar: Print..., Next Page, Prev Page, Zoom In, Zoom Out, Close; Page Up,
// Page Down and Escape work too) on page `firstPage`. The frame's other
// children are hidden while it shows and shown again when it closes. The
// frame keeps it sized to its client area (MoveWindow in its WM_SIZE). Null
// (and nothing called) when the window cannot be made or the first page
// does not render.
HWND ShowPrintPreview(HWND frame, PreviewOptions options);
// The page the preview shows (0 for a window that is no preview) and its
// zoom step (0 whole page, 1 and 2 closer).
UINT PreviewPage(HWND preview);
int PreviewZoom(HWND preview);

}  // namespace win::print

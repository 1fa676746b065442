// The base of every page class. A page is a window (a form view on dialog
// template 131 inside the page parent, see page_window.h) and the root of a
// tree of page objects. The window turns its messages into page events;
// the page paints the tree (with a transition when the page first appears),
// runs the one-second page clock, shows a progress indicator during long
// downloads, and makes the standard parts Background(), Toolbar() and
// Backsound() on request. The page belongs to its window: destroying the
// window deletes the page.
#pragma once

#include <memory>

#include "core/kx_object.h"
#include "core/objref.h"
#include "mfc/gdi_objects.h"
#include "pages/objects/vgroup.h"

class CDC;
class CPrintInfo;
class PageWindow;

// What a page object that can be printed offers the page (the text object
// does): the four steps of MFC's view printing.
class PrintablePageObject {
 public:
  virtual ~PrintablePageObject();
  virtual BOOL PreparePrinting(CPrintInfo* info) = 0;
  virtual void BeginPrinting(CDC* dc, CPrintInfo* info) = 0;
  virtual void Print(CDC* dc, CPrintInfo* info) = 0;
  virtual void EndPrinting(CDC* dc, CPrintInfo* info) = 0;
};

class VPage : public VGroup {
 public:
  // The dialog template of the page window, its control id, and the id of
  // the page-clock timer.
  static constexpr UINT kTemplateId = 131;
  static constexpr UINT kControlId = 12436;
  static constexpr UINT_PTR kClockTimer = 0x322;
  static constexpr UINT kClockPeriodMs = 1000;
  // How long a download runs before the page shows its progress indicator.
  static constexpr DWORD kProgressDelayMs = 3000;

  VPage();
  ~VPage() override;

  // --- The window side ---
  // Creates the page window in the parent (hidden while the hidden flag is
  // set) and runs its initial update. False when the window cannot be
  // made; the page then has no window and the caller still owns it.
  virtual BOOL CreatePage(CWnd* parent);
  // The main frame's progress as a bar in the progress rectangle.
  virtual void DrawProgressBar();
  // Entering clears the inactive flag and starts the page clock; leaving
  // sets it and stops the clock.
  virtual void Enter();
  virtual void Leave();
  // Milliseconds since the clock was started.
  virtual int GetElapsed();

  // --- The page-object side ---
  VObject* GetPage() override;
  VObject* FindByWindow(HWND window) override;
  CWnd* GetWindow() override;
  const char* GetClassName() const override;
  bool IsPage() const override;
  void Initialize() override;
  void OnTimer(UINT_PTR id) override;
  // The page clock times the page's objects, not the page: the page is
  // started when it is entered.
  void OnClock(DWORD time) override;
  void SetState(DWORD flags) override;
  // As an object's, and then the object's Layout attribute refines the
  // style chosen so far.
  void LoadStyle(const PropertyStruct* context, const char* styleText, const char* defaultStyleText,
                 const Ref<KXObject>& object) override;
  void Start() override;
  void Stop() override;

  // --- Parts ---
  VObject* Background();
  VObject* Toolbar();
  // The program's background sound for this page's style, or null.
  VObject* Backsound();

  // --- What the window and the main frame ask of the page ---
  // After the window is made: the tree is initialised once and the page's
  // effect is read from its style.
  void InitialUpdate();
  void StopClock();
  // Paints the page for the DC's clip box (the window's WM_PAINT).
  void OnDraw(CDC* dc);
  // Message 0x62C: the kind and its value.
  LRESULT OnProgress(WPARAM kind, LPARAM value);
  // Realises the palette of the cached picture with the most colours,
  // unless `changedBy` is this page's window.
  void RealizePalette(HWND changedBy);
  // The page window's WM_SETCURSOR.
  void SetCursorForMouse();
  // A child window's button click: the owner's parent is notified.
  BOOL OnChildCommand(WPARAM wParam, LPARAM lParam);
  // The printable object of the page (searched depth-first), or null.
  PrintablePageObject* FindPrintable();
  // The off-screen bitmap for transitions, made on first use compatible
  // with the DC in the size of the page; null when it cannot be made.
  CBitmap* OffscreenBitmap(CDC* compatible);

  const Ref<KXObject>& Object() const { return object_; }
  const Ref<KXObject>& LayoutSource() const { return layoutSource_; }
  const Ref<KXObject>& HistoryEntry() const { return historyEntry_; }
  bool ClockRunning() const { return clockTimer_ != 0; }
  DWORD ClockStart() const { return clockStart_; }
  bool MouseDown() const { return mouseDown_ != 0; }
  void SetMouseDown(bool down) { mouseDown_ = down ? 1 : 0; }
  // The progress rectangle at the bottom of the page.
  static RECT ProgressRect();

 protected:
  // A page class that wants the one-second page clock sets this.
  void WantClock() { clockWanted_ = 1; }
  void StartClock();

 private:
  friend class PageWindow;
  VObject* FindProgressIndicator();

  int mouseDown_ = 0;
  Ref<KXObject> object_;
  Ref<KXObject> layoutSource_;
  Ref<KXObject> historyEntry_;
  int clockWanted_ = 0;
  DWORD clockStart_ = 0;
  UINT_PTR clockTimer_ = 0;
  CBitmap offscreen_;
  RECT pageRect_;
  // Set while a progress fraction has been reported (kind 1) since the
  // last start (kind 0).
  bool progressRunning_ = false;
  DWORD progressStart_ = 0;
  PageWindow* window_ = nullptr;
};

// The clock of the page clock and the progress delay: GetTickCount unless
// a test sets another (null restores it).
using PageTickSource = DWORD (*)();
void SetPageTickSource(PageTickSource source);
DWORD PageTicks();

// The place of the pages inside their parent, in the parent's client
// coordinates: the main frame's page area, or the screen rectangle while
// there is none.
RECT GetPageArea();

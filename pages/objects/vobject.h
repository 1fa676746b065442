// The base of every page object: labels, buttons, pictures, text areas,
// players, toolbars, dialogs and the pages themselves. An object has a
// rectangle in page coordinates, state flags, a parent group and a next
// sibling, an optional child window and name, start and stop times of the
// page clock, a transition effect and an optional style of its own (a struct
// derived from the style table). It receives page events, paints itself
// (through the page's off-screen bitmap when a transition applies), answers
// hit tests and region queries, and takes attribute assignments by name from
// styles and scripts.
#pragma once

#include <cstdint>

#include "core/kx_object.h"
#include "core/objref.h"
#include "mfc/cstring.h"
#include "pages/objects/page_event.h"
#include "win/types.h"

class CDC;
class CRgn;
class CWnd;
class Property;
class PropertyStruct;
class VGroup;

class VObject {
 public:
  // State flags.
  static constexpr DWORD kDisabled = 0x01;     // skipped by hit testing
  static constexpr DWORD kTransparent = 0x02;  // no background, not opaque
  static constexpr DWORD kPassThrough = 0x04;  // nothing of its own; only children
  static constexpr DWORD kHidden = 0x08;
  static constexpr DWORD kInactive = 0x10;     // its page is not the current page
  static constexpr DWORD kInitialised = 0x20;
  static constexpr DWORD kStarted = 0x40;
  static constexpr DWORD kStopped = 0x80;

  // The stop time of an object that never stops by the clock.
  static constexpr DWORD kNever = 0xFFFFFFFFu;
  // The "end" an object's style gives when it names none, in seconds.
  static constexpr double kDefaultEndSeconds = 2097152.0;
  // The idle wait of an object that needs no idle events (IdleWait).
  static constexpr DWORD kNoIdleWait = 0xFFFFFFFFu;

  VObject(int left, int top, int right, int bottom);
  VObject(const VObject&) = delete;
  VObject& operator=(const VObject&) = delete;
  virtual ~VObject();

  virtual VObject* GetPage();
  virtual VObject* GetObjectUnderMouse();
  // The object whose own window `window` is: itself, or (groups) one of
  // its children.
  virtual VObject* FindByWindow(HWND window);
  virtual CWnd* GetWindow();
  virtual CWnd* GetTopWindow();
  virtual const char* GetClassName() const;
  virtual bool IsGroup() const;
  virtual bool IsPage() const;
  virtual bool IsDialog() const;
  virtual CString GetName() const;
  virtual void Initialize();
  virtual void Invalidate();
  // Fills the clip rectangle with the default background unless transparent.
  virtual void Draw(CDC* dc, const RECT& clip);
  virtual void OnMouseDown(int x, int y);
  virtual void OnMouseUp(int x, int y);
  virtual void OnMouseEnter();
  virtual void OnMouseMove(int x, int y);
  virtual void OnMouseLeave();
  virtual void UpdateCursor();
  virtual void OnIdle();
  // How soon the object needs its next idle event, in milliseconds: 0 while
  // work waits for idle time (pictures arriving: the calls then follow one
  // another), a time when something falls due then (a medium's end looked
  // for, the next picture of a show), kNoIdleWait when only the messages
  // that come anyway give it something to do. The program's loop sleeps
  // until the next message, but no longer than this.
  virtual DWORD IdleWait() const;
  // Whether the object needs idle events at all.
  bool WantsIdle() const { return IdleWait() != kNoIdleWait; }
  virtual void OnTimer(UINT_PTR id);
  virtual void OnCreate();
  virtual void OnClose();
  virtual void OnDestroy();
  // Passes the notification up to the parent.
  virtual void Notify(int code, VObject* sender);
  virtual void OnQueryEndSession();
  virtual void SetState(DWORD flags);
  virtual bool IsShown() const;
  virtual void AddToRegion(CRgn& region, bool opaqueOnly);
  virtual void GetRect(RECT* out) const;
  virtual void SetRect(int left, int top, int right, int bottom);
  virtual void MoveTo(int x, int y);
  virtual void Paint(CDC* dc, const RECT& clip);
  // Paints at once through a DC of the page's (or dialog's) window.
  virtual void Redraw(const RECT& clip);
  virtual void SetAudio(bool off);
  virtual void HandleEvent(PageEvent& event);
  virtual void HandleMouse(int x, int y, PageEvent& event);
  virtual PropertyStruct* GetStyle();
  // Takes the entry as the object's style (a non-struct entry is deleted)
  // and reads the attributes from it.
  virtual void SetStyle(Property* entry);
  // Gives the object the style that the style expressions make: the
  // default text (only while the object has no style yet), replaced by the
  // style text when that names a style, and refined by it otherwise.
  virtual void LoadStyle(const PropertyStruct* context, const char* styleText,
                         const char* defaultStyleText, const Ref<KXObject>& object);
  virtual void ReadStyleAttributes();
  virtual bool SetBoolAttribute(const char* name, bool value);
  virtual bool SetStringAttribute(const char* name, const char* text);
  virtual bool SetNumberAttribute(const char* name, int seconds);
  virtual bool SetColorAttribute(const char* name, COLORREF color);
  virtual bool SetRectAttribute(const char* name, int left, int top, int right, int bottom);
  virtual void Start();
  virtual void Stop();
  virtual bool IsEmpty() const;
  virtual bool Covers(int left, int top, int right, int bottom) const;
  virtual void OnClock(DWORD time);
  virtual void OnAttach();

  void SetName(const char* name) { name_ = name; }
  // Milliseconds; 0 or less gives 0.
  void SetStartTime(std::int64_t ms);
  void SetStopTime(std::int64_t ms);
  DWORD StartTime() const { return startTime_; }
  DWORD StopTime() const { return stopTime_; }
  int GetEffect() const { return effect_; }
  void SetEffect(int effect) { effect_ = effect; }
  void SetWindow(HWND window) { window_ = window; }
  // The own window while it is one; null otherwise.
  HWND GetOwnWindow() const;
  void SendIdleEvent();
  void InvalidateArea(int left, int top, int right, int bottom);

  DWORD State() const { return state_; }
  bool Has(DWORD flags) const { return (state_ & flags) != 0; }
  const RECT& Rect() const { return rect_; }
  VGroup* Parent() const { return parent_; }
  VObject* Next() const { return next_; }

 protected:
  // The rectangle without invalidation (the page layouts and the tree).
  void StoreRect(const RECT& r) { rect_ = r; }

 private:
  friend class VGroup;

  DWORD state_ = 0;
  RECT rect_;
  DWORD startTime_ = 0;
  DWORD stopTime_ = kNever;
  std::int32_t effect_ = 0;
  VGroup* parent_ = nullptr;
  VObject* next_ = nullptr;
  PropertyStruct* style_ = nullptr;
  HWND window_ = nullptr;
  CString name_;
};

// The background of page objects that name no colour: RGB(192, 192, 192).
inline constexpr COLORREF kDefaultBackground = 0x00C0C0C0;

// A rectangle of one colour.
void FillRectWithColor(CDC* dc, const RECT& rect, COLORREF color);
// Dispatches at most n waiting window messages of the thread; stops early
// when none is waiting.
void PumpPendingMessages(int n);

// Whether page transitions are drawn: the Effects setting, unless a page is
// painting its new picture off the screen (which it then brings onto the
// window with its own transition).
bool EffectsEnabled();
class EffectsSuppressed {
 public:
  EffectsSuppressed();
  ~EffectsSuppressed();
  EffectsSuppressed(const EffectsSuppressed&) = delete;
  EffectsSuppressed& operator=(const EffectsSuppressed&) = delete;
};

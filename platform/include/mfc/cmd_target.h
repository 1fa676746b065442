// Command targets and message maps: CCmdTarget, the map records the
// BEGIN_MESSAGE_MAP / ON_xxx / END_MESSAGE_MAP macros build, command routing
// through OnCmdMsg, and CCmdUI, through which commands are enabled, checked
// and renamed before they are offered to the user.
//
// A map entry carries a small handler function (a "thunk") made from the
// member function the ON_ macro names: it decodes wParam and lParam into the
// handler's arguments, so a handler with the wrong signature does not
// compile. The window-message entries (ON_WM_xxx) live in mfc/msgmap.h.
#pragma once

#include "mfc/object.h"
#include "win/types.h"
#include "win/user.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CMenu;

#define afx_msg

// ---- The framework's own messages ------------------------------------------
#define WM_QUERYAFXWNDPROC 0x0360  // answers 1 for windows of the framework
#define WM_SIZEPARENT 0x0361
#define WM_SETMESSAGESTRING 0x0362
#define WM_IDLEUPDATECMDUI 0x0363  // idle time: update the user-interface state
#define WM_INITIALUPDATE 0x0364    // a view's first update after its frame is made
#define WM_COMMANDHELP 0x0365
#define WM_HELPHITTEST 0x0366
#define WM_EXITHELPMODE 0x0367
#define WM_RECALCPARENT 0x0368
#define WM_SIZECHILD 0x0369
#define WM_KICKIDLE 0x036A  // a modal loop is idle (wParam MSGF_DIALOGBOX, lParam count)
#define WM_QUERYCENTERWND 0x036B
#define WM_DISABLEMODAL 0x036C
#define WM_FLOATSTATUS 0x036D
#define WM_ACTIVATETOPLEVEL 0x036E
// Messages a parent reflects back to the child control they came from.
#define WM_REFLECT_BASE 0xBC00
// The 16-bit colour message the WM_CTLCOLORxxx messages are mapped to.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
#define CTLCOLOR_MAX 7
#define MSGF_DIALOGBOX 0

// Command codes of OnCmdMsg: a command, or the question whether and how it
// is offered (the extra argument is then a CCmdUI).
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

// What a WM_CTLCOLOR handler is given.
struct AFX_CTLCOLOR {
  HWND hWnd;
  HDC hDC;
  UINT nCtlType;
};

// What a handler thunk decodes its arguments from.
struct AfxMessageCall {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT id;      // the command or control id (commands and notifications)
  void* extra;  // the CCmdUI of an update handler; the AFX_CTLCOLOR of WM_CTLCOLOR
};

// Calls the handler. For commands the result says whether the command was
// handled (update handlers: whether routing may stop); for window messages it
// is the message's result.
using AfxHandlerThunk = LRESULT (*)(CCmdTarget* target, const AfxMessageCall& call);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // window message, or WM_COMMAND (+ WM_REFLECT_BASE) for commands
  UINT nCode;     // notification or CN_ code; 0 for window messages
  UINT nID;       // first command or control id; 0 for window messages
  UINT nLastID;   // last id of a range
  AfxHandlerThunk pfn;  // null ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// A handler found without calling it (CCmdUI::DoUpdate asks whether a
// command has one).
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  AfxHandlerThunk pfn;
};

// The first entry of `entries` for the message, code and id, or null.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* entries, UINT message,
                                            UINT code, UINT id);

#define DECLARE_MESSAGE_MAP()                          \
 protected:                                            \
  static const AFX_MSGMAP* GetThisMessageMap();        \
  const AFX_MSGMAP* GetMessageMap() const override;

// The table is a static of GetThisMessageMap, made on first use; the
// handlers are named through ThisClass, so protected ones can be named.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                             \
    using ThisClass = theClass;                                                 \
    using TheBaseClass = baseClass;                                             \
    static const AFX_MSGMAP_ENTRY zemra_entries[] = {
#define END_MESSAGE_MAP()                                                       \
  {0, 0, 0, 0, nullptr}};                                                       \
  static const AFX_MSGMAP zemra_map = {&TheBaseClass::GetThisMessageMap,         \
                                       &zemra_entries[0]};                      \
  return &zemra_map;                                                            \
  }

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget() = default;

  // Routes a command (nCode CN_COMMAND or a control notification, with the
  // message in the high word for reflected ones) or its user-interface update
  // (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI) through this target's map and
  // its bases' maps. With pHandlerInfo the handler is only looked for.
  // TRUE when a handler took it.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // The wait cursor for a long operation; Begin and End pair up.
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

// The state of one command for its update handler: a menu item (m_pMenu,
// m_nIndex) or a control (m_pOther).
class CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  virtual void Enable(BOOL on = TRUE);
  virtual void SetCheck(int check = 1);  // 0 unchecked, 1 checked, 2 indeterminate
  virtual void SetRadio(BOOL on = TRUE);
  virtual void SetText(LPCSTR text);
  // The handler lets the command go on to the next target.
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks the target's update handler; with bDisableIfNoHandler a command
  // that no target handles is disabled. TRUE when an update handler ran.
  BOOL DoUpdate(CCmdTarget* target, BOOL bDisableIfNoHandler);

  UINT m_nID = 0;
  UINT m_nIndex = 0;
  CMenu* m_pMenu = nullptr;
  CMenu* m_pSubMenu = nullptr;
  CMenu* m_pParentMenu = nullptr;
  CWnd* m_pOther = nullptr;
  UINT m_nIndexMax = 0;
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;
};

namespace afx_detail {

// Command thunks.
template <class T, auto F>
LRESULT CommandCall(CCmdTarget* t, const AfxMessageCall&) {
  (static_cast<T*>(t)->*F)();
  return TRUE;
}
template <class T, auto F>
LRESULT CommandExCall(CCmdTarget* t, const AfxMessageCall& c) {
  return (static_cast<T*>(t)->*F)(c.id) ? TRUE : FALSE;
}
template <class T, auto F>
LRESULT CommandRangeCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(c.id);
  return TRUE;
}
template <class T, auto F>
LRESULT ReflectExCall(CCmdTarget* t, const AfxMessageCall&) {
  return (static_cast<T*>(t)->*F)() ? TRUE : FALSE;
}
// An update handler handled the command unless it asked for more routing.
template <class T, auto F>
LRESULT UpdateCall(CCmdTarget* t, const AfxMessageCall& c) {
  auto* ui = static_cast<CCmdUI*>(c.extra);
  if (!ui) return FALSE;
  (static_cast<T*>(t)->*F)(ui);
  const BOOL handled = !ui->m_bContinueRouting;
  ui->m_bContinueRouting = FALSE;
  return handled;
}
template <class T, auto F>
LRESULT UpdateRangeCall(CCmdTarget* t, const AfxMessageCall& c) {
  return UpdateCall<T, F>(t, c);
}
// ON_MESSAGE: LRESULT handler(WPARAM, LPARAM).
template <class T, auto F>
LRESULT MessageCall(CCmdTarget* t, const AfxMessageCall& c) {
  return (static_cast<T*>(t)->*F)(c.wParam, c.lParam);
}

}  // namespace afx_detail

// ---- Command entries ---------------------------------------------------------------
#define ON_COMMAND(id, memberFxn)                                      \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id),                     \
   &afx_detail::CommandCall<ThisClass, &ThisClass::memberFxn>},
#define ON_COMMAND_EX(id, memberFxn)                                   \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id),                     \
   &afx_detail::CommandExCall<ThisClass, &ThisClass::memberFxn>},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                        \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast),                 \
   &afx_detail::CommandRangeCall<ThisClass, &ThisClass::memberFxn>},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                     \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast),                 \
   &afx_detail::CommandExCall<ThisClass, &ThisClass::memberFxn>},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                            \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, (WORD)(id), (WORD)(id),           \
   &afx_detail::UpdateCall<ThisClass, &ThisClass::memberFxn>},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)              \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, (WORD)(id), (WORD)(idLast),       \
   &afx_detail::UpdateRangeCall<ThisClass, &ThisClass::memberFxn>},

// Control notifications (WM_COMMAND from a control): void handler().
#define ON_CONTROL(code, id, memberFxn)                                \
  {WM_COMMAND, (WORD)(code), (WORD)(id), (WORD)(id),                   \
   &afx_detail::CommandCall<ThisClass, &ThisClass::memberFxn>},
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                  \
  {WM_COMMAND, (WORD)(code), (WORD)(id), (WORD)(idLast),               \
   &afx_detail::CommandRangeCall<ThisClass, &ThisClass::memberFxn>},
// Notifications a parent reflects back to the control itself.
#define ON_CONTROL_REFLECT(code, memberFxn)                            \
  {WM_COMMAND + WM_REFLECT_BASE, (WORD)(code), 0, 0,                   \
   &afx_detail::CommandCall<ThisClass, &ThisClass::memberFxn>},
#define ON_CONTROL_REFLECT_EX(code, memberFxn)                         \
  {WM_COMMAND + WM_REFLECT_BASE, (WORD)(code), 0, 0,                   \
   &afx_detail::ReflectExCall<ThisClass, &ThisClass::memberFxn>},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn) ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_ERRSPACE(id, memberFxn) ON_CONTROL(LBN_ERRSPACE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_ERRSPACE(id, memberFxn) ON_CONTROL(CBN_ERRSPACE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// Any window message: LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
  {(UINT)(message), 0, 0, 0, &afx_detail::MessageCall<ThisClass, &ThisClass::memberFxn>},

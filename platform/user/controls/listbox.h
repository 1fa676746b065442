// The "LISTBOX" class (and "ComboLBox", the list a combo box drops).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "win/user.h"

namespace win::user {

LRESULT ListBoxProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
inline constexpr int kListBoxExtra = 2 * static_cast<int>(sizeof(LONG_PTR));
inline constexpr char kComboListClass[] = "ComboLBox";

// Most items a list box holds (LB_ERRSPACE past it), and longest item text.
inline constexpr size_t kMaxListItems = 32767;
inline constexpr size_t kMaxListText = 65535;

struct ListItem {
  std::string text;
  ULONG_PTR data = 0;
  bool selected = false;
};

struct ListState {
  std::vector<ListItem> items;
  int curSel = -1;  // single selection
  int caret = 0;    // the item with the focus rectangle
  int anchor = -1;  // where a Shift range starts
  int top = 0;
  int itemHeight = 16;
  std::vector<int> tabs;  // in dialog units; empty: every 32
  HFONT font = nullptr;
  bool focused = false;
  bool tracking = false;  // the mouse is down in the list
  HWND combo = nullptr;   // set for the list of a combo box: it notifies nobody
  bool scrollBar = false;  // made with WS_VSCROLL (the bar hides when not needed)
};

std::shared_ptr<ListState> ListStateOf(HWND list);

// For the combo box: the item under a client point (-1 outside the items),
// making an item the current one, and the visible rows.
int ListItemAt(HWND list, POINT client);
void ListSetCurrent(HWND list, int index);
int ListVisibleRows(HWND list);

}  // namespace win::user

// Cursors: the system cursors and the cursor resources, each with the X11
// cursor-font shape that stands for it on a display; the current cursor, its
// position and its display count.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "display/display.h"
#include "win/resources.h"
#include "display_link.h"
#include "window_store.h"

using namespace win::user;

namespace {

struct Cursor {
  std::string name;  // upper case; empty for a numbered cursor
  UINT number = 0;   // 0 for a named cursor
  std::string shape;
};

struct SystemCursor {
  UINT number;
  const char* shape;
};
constexpr SystemCursor kSystemCursors[] = {
    {32512, "left_ptr"},           {32513, "xterm"},
    {32514, "watch"},              {32515, "crosshair"},
    {32516, "sb_up_arrow"},        {32642, "bottom_right_corner"},
    {32643, "bottom_left_corner"}, {32644, "sb_h_double_arrow"},
    {32645, "sb_v_double_arrow"},  {32646, "fleur"},
    {32648, "circle"},             {32649, "hand2"},
    {32650, "watch"},              {32651, "question_arrow"},
};

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool allDigits(std::string_view s) {
  return !s.empty() && s.size() <= 5 &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The program's cursor texts, as registered.
std::string& RegisteredCursors() {
  static std::string text;
  return text;
}

// The table: resources first (they may replace a system cursor's number),
// then the system cursors; resources registered later go behind them.
// Handles are index + 1 and never change.
struct Table {
  std::vector<Cursor> cursors;

  Table() {
    Add(RegisteredCursors());
    for (const SystemCursor& c : kSystemCursors)
      if (!find(std::string(), c.number)) cursors.push_back(Cursor{std::string(), c.number, c.shape});
  }

  void Add(std::string_view text) {
    while (!text.empty()) {
      size_t eol = text.find('\n');
      std::string_view line = text.substr(0, eol);
      text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
      if (line.empty() || line.front() == '#') continue;
      size_t blank = line.find_first_of(" \t");
      if (blank == std::string_view::npos) continue;
      std::string_view key = line.substr(0, blank);
      std::string_view shape = line.substr(blank + 1);
      while (!shape.empty() && (shape.front() == ' ' || shape.front() == '\t')) shape.remove_prefix(1);
      if (shape.empty()) continue;
      Cursor c;
      if (allDigits(key) && std::atoi(std::string(key).c_str()) <= 0xFFFF)
        c.number = static_cast<UINT>(std::atoi(std::string(key).c_str()));
      else
        c.name = upper(key);
      c.shape = std::string(shape);
      if (!find(c.name, c.number)) cursors.push_back(std::move(c));
    }
  }

  HCURSOR find(const std::string& name, UINT number) const {
    for (size_t i = 0; i < cursors.size(); ++i) {
      const Cursor& c = cursors[i];
      if (number ? c.number == number : (c.number == 0 && c.name == name))
        return reinterpret_cast<HCURSOR>(i + 1);
    }
    return nullptr;
  }

  const Cursor* get(HCURSOR h) const {
    const auto i = reinterpret_cast<std::uintptr_t>(h);
    return (i >= 1 && i <= cursors.size()) ? &cursors[i - 1] : nullptr;
  }
};

Table*& builtTable() {
  static Table* t = nullptr;
  return t;
}

const Table& table() {
  static Table t;
  builtTable() = &t;
  return t;
}

struct State {
  HCURSOR current = nullptr;
  POINT pos{};
  int showCount = 0;
  bool initialised = false;
};

State& state() {
  static State s;
  if (!s.initialised) {
    s.initialised = true;
    s.current = LoadCursor(nullptr, IDC_ARROW);  // every program starts with the arrow
  }
  return s;
}

}  // namespace

void win::RegisterCursorTable(std::string_view text) {
  RegisteredCursors().append(text);
  RegisteredCursors() += '\n';
  if (Table* t = builtTable()) t->Add(text);
}

HCURSOR LoadCursor(HINSTANCE, LPCSTR name) {
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name))
    return table().find(std::string(), static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)));
  if (name[0] == '#' && allDigits(name + 1))
    return table().find(std::string(), static_cast<UINT>(std::atoi(name + 1)));
  return table().find(upper(name), 0);
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = state().current;
  state().current = cursor;
  if (previous != cursor) win::display::Active().CursorChanged();
  return previous;
}

HCURSOR GetCursor() { return state().current; }

BOOL GetCursorPos(LPPOINT out) {
  if (!out) return FALSE;
  *out = state().pos;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  state().pos.x = std::clamp(x, 0, std::max(0, w - 1));
  state().pos.y = std::clamp(y, 0, std::max(0, h - 1));
  return TRUE;
}

int ShowCursor(BOOL show) {
  const int count = show ? ++state().showCount : --state().showCount;
  win::display::Active().CursorChanged();
  return count;
}

namespace win {

const char* CursorShapeName(HCURSOR cursor) {
  const Cursor* c = table().get(cursor);
  return c ? c->shape.c_str() : nullptr;
}

namespace user {
int CursorShowCount() { return state().showCount; }

void ResetCursors() {
  State& s = state();
  s.current = LoadCursor(nullptr, IDC_ARROW);
  s.pos = POINT{};
  s.showCount = 0;
}
}  // namespace user

}  // namespace win

#include "x11_keys.h"

#include <X11/keysym.h>

#include "win/user.h"

namespace win::display::x11 {
namespace {

struct KeyMap {
  KeySym sym;
  UINT vk;
};

constexpr KeyMap kKeys[] = {
    {XK_BackSpace, VK_BACK},     {XK_Tab, VK_TAB},           {XK_ISO_Left_Tab, VK_TAB},
    {XK_Clear, VK_CLEAR},        {XK_Return, VK_RETURN},     {XK_KP_Enter, VK_RETURN},
    {XK_Pause, VK_PAUSE},        {XK_Scroll_Lock, VK_SCROLL}, {XK_Escape, VK_ESCAPE},
    {XK_Delete, VK_DELETE},      {XK_Home, VK_HOME},         {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},              {XK_Right, VK_RIGHT},       {XK_Down, VK_DOWN},
    {XK_Prior, VK_PRIOR},        {XK_Next, VK_NEXT},         {XK_End, VK_END},
    {XK_Begin, VK_CLEAR},        {XK_Select, VK_SELECT},     {XK_Print, VK_SNAPSHOT},
    {XK_Insert, VK_INSERT},      {XK_Help, VK_HELP},         {XK_Num_Lock, VK_NUMLOCK},
    {XK_Shift_L, VK_SHIFT},      {XK_Shift_R, VK_SHIFT},     {XK_Control_L, VK_CONTROL},
    {XK_Control_R, VK_CONTROL},  {XK_Caps_Lock, VK_CAPITAL}, {XK_Alt_L, VK_MENU},
    {XK_Alt_R, VK_MENU},         {XK_Meta_L, VK_MENU},       {XK_Meta_R, VK_MENU},
    {XK_ISO_Level3_Shift, VK_MENU}, {XK_space, VK_SPACE},
    {XK_KP_Space, VK_SPACE},     {XK_KP_Tab, VK_TAB},        {XK_KP_Home, VK_HOME},
    {XK_KP_Left, VK_LEFT},       {XK_KP_Up, VK_UP},          {XK_KP_Right, VK_RIGHT},
    {XK_KP_Down, VK_DOWN},       {XK_KP_Prior, VK_PRIOR},    {XK_KP_Next, VK_NEXT},
    {XK_KP_End, VK_END},         {XK_KP_Begin, VK_CLEAR},    {XK_KP_Insert, VK_INSERT},
    {XK_KP_Delete, VK_DELETE},   {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD},
    {XK_KP_Separator, VK_SEPARATOR}, {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Decimal, VK_DECIMAL}, {XK_KP_Divide, VK_DIVIDE},
    {XK_semicolon, VK_OEM_1},    {XK_colon, VK_OEM_1},       {XK_equal, VK_OEM_PLUS},
    {XK_plus, VK_OEM_PLUS},      {XK_comma, VK_OEM_COMMA},   {XK_less, VK_OEM_COMMA},
    {XK_minus, VK_OEM_MINUS},    {XK_underscore, VK_OEM_MINUS}, {XK_period, VK_OEM_PERIOD},
    {XK_greater, VK_OEM_PERIOD}, {XK_slash, VK_OEM_2},       {XK_question, VK_OEM_2},
    {XK_grave, VK_OEM_3},        {XK_asciitilde, VK_OEM_3},  {XK_bracketleft, VK_OEM_4},
    {XK_braceleft, VK_OEM_4},    {XK_backslash, VK_OEM_5},   {XK_bar, VK_OEM_5},
    {XK_bracketright, VK_OEM_6}, {XK_braceright, VK_OEM_6},  {XK_apostrophe, VK_OEM_7},
    {XK_quotedbl, VK_OEM_7},
};

}  // namespace

UINT VirtualKeyOf(KeySym sym) {
  if (sym >= XK_a && sym <= XK_z) return static_cast<UINT>('A' + (sym - XK_a));
  if (sym >= XK_A && sym <= XK_Z) return static_cast<UINT>('A' + (sym - XK_A));
  if (sym >= XK_0 && sym <= XK_9) return static_cast<UINT>('0' + (sym - XK_0));
  if (sym >= XK_KP_0 && sym <= XK_KP_9) return static_cast<UINT>(VK_NUMPAD0 + (sym - XK_KP_0));
  if (sym >= XK_F1 && sym <= XK_F12) return static_cast<UINT>(VK_F1 + (sym - XK_F1));
  for (const KeyMap& k : kKeys)
    if (k.sym == sym) return k.vk;
  return 0;
}

}  // namespace win::display::x11

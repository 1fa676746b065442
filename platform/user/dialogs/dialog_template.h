// Dialog templates in their binary form (DLGTEMPLATE and DLGTEMPLATEEX):
// what the dialog manager reads and what the resource compiler writes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "win/user.h"

namespace win::user {

// A name in a template: none, an ordinal (0xFFFF n), or a string.
struct TemplateName {
  bool present = false;
  bool isOrdinal = false;
  WORD ordinal = 0;
  std::string text;  // ANSI

  static TemplateName Ordinal(WORD n) { return TemplateName{true, true, n, {}}; }
  static TemplateName Text(std::string s) { return TemplateName{true, false, 0, std::move(s)}; }
};

struct DialogItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  TemplateName cls;  // ordinals 0x80 .. 0x85 are the standard classes
  TemplateName text;
  std::vector<BYTE> creationData;
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  TemplateName menu;
  TemplateName cls;
  std::string title;
  WORD pointSize = 0;  // with DS_SETFONT
  WORD weight = 0;     // DLGTEMPLATEEX only
  BYTE italic = 0;
  BYTE charset = 0;
  std::string face;
  std::vector<DialogItem> items;
};

// Most items a template may hold; more are refused.
inline constexpr size_t kMaxDialogItems = 2000;
// Reads a template of at most `size` bytes; false (and a reason) when it is
// cut short, holds too many items or names that do not end.
bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate* out, std::string* error);
// The classic DLGTEMPLATE form (the one the compiler emits), or the
// extended one where the classic cannot hold the template.
std::vector<BYTE> WriteDialogTemplate(const DialogTemplate& tmpl);

// The class name of a standard class ordinal ("BUTTON" for 0x80 ...); null
// for another number.
const char* StandardClassName(WORD ordinal);

}  // namespace win::user

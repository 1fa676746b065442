#include "core/message_boxes.h"

#include <cstdio>

#include "win/kernel.h"
#include "win/user.h"

namespace {

// The boxes build their text in a buffer of this size; longer texts are cut.
constexpr size_t kBoxText = 1024;

const char* tableString(UINT id) {
  const char* s = win_string_resource(id);
  return s ? s : "";
}

int box(const char* text, const char* caption, UINT icon) {
  return MessageBox(GetFocus(), text ? text : "", caption, MB_OK | icon);
}

}  // namespace

int ShowInfoId(UINT id) { return box(tableString(id), "Information", MB_ICONINFORMATION); }

int ShowMessageId(UINT id) {
  return box(tableString(id), tableString(kStrErrorCaption), MB_ICONEXCLAMATION);
}

int ShowErrorText(const char* text) {
  return box(text, tableString(kStrErrorCaption), MB_ICONEXCLAMATION);
}

int ShowErrorNumber(const char* text, int n) {
  char buffer[kBoxText];
  std::snprintf(buffer, sizeof buffer, "%s%i", text ? text : "", n);
  return ShowErrorText(buffer);
}

int ShowErrorTexts(const char* a, const char* b) {
  char buffer[kBoxText];
  std::snprintf(buffer, sizeof buffer, "%s%s", a ? a : "", b ? b : "");
  return ShowErrorText(buffer);
}

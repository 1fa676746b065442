// The small message boxes every layer uses to tell the user something. Each
// is owned by the window that has the focus and has an OK button only; the
// answer of the box is returned.
#pragma once

#include "win/types.h"

// String-table ids of the captions.
constexpr UINT kStrInformation = 5;
constexpr UINT kStrErrorCaption = 10;

// The text of string `id`, captioned "Information", information icon.
int ShowInfoId(UINT id);
// The text of string `id`, captioned with string 10, exclamation icon.
int ShowMessageId(UINT id);
// The given text, captioned with string 10, exclamation icon.
int ShowErrorText(const char* text);
// "%s%i" of the text and the number; the whole text is cut to 1023 bytes.
int ShowErrorNumber(const char* text, int n);
// The two texts one after the other, cut to 1023 bytes.
int ShowErrorTexts(const char* a, const char* b);

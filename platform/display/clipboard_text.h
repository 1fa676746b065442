// Clipboard text between the program's form (Windows-1252, CR LF line ends,
// ended by the first NUL) and what other programs on a display exchange:
// UTF-8 or ISO 8859-1 with LF line ends.
#pragma once

#include <string>
#include <string_view>

namespace win::display {

// Windows-1252 with CR LF to UTF-8 with LF.
std::string ClipboardTextToUtf8(std::string_view ansi);
// Windows-1252 with CR LF to ISO 8859-1 with LF; characters that 8859-1
// lacks (the euro, the typographic quotes) become '?'.
std::string ClipboardTextToLatin1(std::string_view ansi);
// UTF-8 to Windows-1252 with CR LF; characters that 1252 lacks become '?',
// bytes that are no UTF-8 are taken as 1252. Text after a NUL is dropped.
std::string ClipboardTextFromUtf8(std::string_view utf8);
// ISO 8859-1 to Windows-1252 with CR LF; the C1 controls become '?'.
std::string ClipboardTextFromLatin1(std::string_view latin1);

}  // namespace win::display

// Text as resources keep it (UTF-16) and as the program uses it (the ANSI
// code page, Windows-1252), and the UTF-8 of resource scripts.
#pragma once

#include <string>
#include <string_view>

namespace win::user {

// UTF-8 to UTF-16; a byte that does not start a valid UTF-8 sequence is read
// as a Windows-1252 character, so scripts saved in either encoding work.
std::u16string Utf8ToUtf16(std::string_view text);
// UTF-16 to Windows-1252; a character it lacks becomes '?'.
std::string Utf16ToAnsi(std::u16string_view text);
std::u16string AnsiToUtf16(std::string_view text);

}  // namespace win::user

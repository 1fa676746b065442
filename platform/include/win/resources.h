// The program's own resources: a program hands the platform its string
// table and its cursor table (the texts of its resource files) before it
// loads a string or a cursor of them. The platform has none of its own.
#pragma once

#include <string_view>

namespace win {

// Lines as ParseStringTable (win/string_table.h) reads them. An id already
// in the table keeps its text; a string handed out never moves.
void RegisterStringTable(std::string_view text);

// Lines "<name or number> <X11 cursor-font shape>" ("#" starts a note).
// Cursors registered before the first cursor is loaded may stand for a
// system cursor's number; a name or number already known keeps its shape.
void RegisterCursorTable(std::string_view text);

}  // namespace win

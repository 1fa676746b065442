// The logbook lines of the style table's dump.
#pragma once

// Formats one line (printf style) and writes it to the program's logbook.
void LogPropertyLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

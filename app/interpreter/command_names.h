// The names of the server system's user commands in English, German,
// French and Styrian ("??" for a name that serves every language), from
// help and quit through navigation and searching to editing, mailing and
// inserting objects. A catalogue only: the interpreter's words and the
// toolbar's are independent of it.
#pragma once

#include "core/multilang_string.h"

inline constexpr int kCommandNameSlots = 70;
// Slots built from texts; the rest are empty.
inline constexpr int kCommandNameTexts = 63;

// The names of one slot (an empty string outside 0..kCommandNameSlots-1).
// The table is built on first use and kept until exit.
const MultiLangString& CommandName(int slot);

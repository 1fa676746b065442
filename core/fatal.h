// The two fatal-error boxes: they tell the user, run the application's
// clean-up hook and end the program with status -1.
#pragma once

#include <functional>

inline constexpr const char* kFatalErrorText =
    "!! A FATAL ERROR occurred - the program will exit !!";

[[noreturn]] void FatalError();
// The fatal text, "\nError:" and the given text.
[[noreturn]] void FatalErrorText(const char* text);
// A broken invariant of the object model: the text alone in the error box
// (caption "Error !"), then the program ends as above.
[[noreturn]] void FatalErrorBox(const char* text);

// How the program ends after a fatal error; by default std::exit. Tests put
// in a hook that throws. A hook that returns is followed by std::exit all the
// same. Returns the previous hook; an empty hook restores the default.
using FatalExitHook = std::function<void(int status)>;
FatalExitHook SetFatalExitHook(FatalExitHook hook);

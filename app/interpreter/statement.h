// Command lines read into statements, without acting on them: the text is
// split into commands at semicolons (a double quote protects semicolons up
// to the next quote), each command's keyword is looked up, and its argument
// is read as the keyword wants it.
#pragma once

#include <functional>

#include "mfc/cstring.h"

enum class StatementKind {
  Empty,    // blank line: nothing to do
  Unknown,  // no command word matched
  Goto,
  Back,
  Again,
  Forward,
  Next,
  Previous,
  Root,
  KorvexRoot,
  Home,
  Up,
  Parents,
  History,
  Search,
  FullTextSearch,
  End,
  Language,
  AudioOn,
  AudioOff,
  ToggleAudio,
  SetBookmark,
  GotoBookmark,
  Set,
  Debug,
  Reload,
  Stop,
  Info,
  PrintText,
  PrintPreview,
  ClearImageCache,
};

struct Statement {
  StatementKind kind = StatementKind::Empty;
  // The command word as written.
  CString keyword;
  // The line after the keyword and the white space behind it.
  CString rest;
  // What the command works with: the goto target (an argument reference
  // already replaced), the search expression, the language code, the
  // bookmark; "" when the command takes none or was given none.
  CString argument;
  // Goto: no target was given at all (a reference to an empty item is a
  // target, though an empty one).
  bool missingTarget = false;
};

// Reads one command line; `arguments` is the comma-separated argument list
// that "#n" references in a goto target refer to (may be null).
Statement ParseStatement(const char* line, const char* arguments);

// Splits a text into commands at semicolons and hands each non-empty one
// (leading white space skipped, trailing white space kept) to `each`, in
// order. A double quote starts a stretch, ending at the next quote, in which
// semicolons do not split; the quotes stay in the command. Line feeds do not
// split.
void SplitCommands(const char* text, const std::function<void(const CString&)>& each);

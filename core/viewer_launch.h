// Starting the outside program that a document's viewer command names. The
// command line is cut into words at blanks and tabs (double quotes keep a
// word with blanks together and are dropped) and started directly, without
// a shell, so that no text of a document's attributes is ever run as shell
// syntax.
#pragma once

#include <string>
#include <vector>

#include "mfc/cstring.h"

// The words of a command line. Within double quotes two double quotes stand
// for one that is part of the word.
std::vector<std::string> SplitCommandLine(const CString& command);

// Words joined by blanks; a word that is empty or holds a blank, a tab or a
// double quote is put in double quotes (its own quotes doubled), so that
// SplitCommandLine gives every word back as it was.
CString JoinCommandLine(const std::vector<std::string>& words);

enum class ViewerStart {
  kStarted,       // the program runs
  kInternal,      // "internal": the client shows the content itself
  kNotConfigured, // no command: no viewer is configured for the content
  kFailed         // the program could not be started
};

// Starts the command's program (searched along PATH) and does not wait for
// it. `why` tells what went wrong for kNotConfigured and kFailed.
ViewerStart StartViewer(const CString& command, CString& why);

// Viewer command templates: the settings file maps, per document type (the
// RemoteDocType for remote documents), a file extension or subtype to a
// command template such as "xv -name $title $arg0". A template is expanded
// with the document's attributes into the command line that shows its
// content; the template "internal" means that the client shows the content
// itself.
#pragma once

#include <string>
#include <vector>

#include "mfc/cstring.h"

// The command that means: shown by the client itself.
inline constexpr const char* kInternalViewerCommand = "internal";

// The values of the template variables.
struct ViewerVariables {
  CString title;     // $title
  CString doctype;   // $doctype
  CString path;      // $path
  CString author;    // $author
  CString created;   // $created
  CString language;  // $language
  CString subtype;   // $subtype
  CString host;      // $host
  CString port;      // $port
  CString args[10];  // $arg0 (the content file) .. $arg9
};

// Expands a template into the viewer's arguments. It is cut into tokens at
// blanks, tabs and '$'; a token right after a '$' is a variable name and is
// glued to the argument before it unless a blank precedes the '$'; other
// tokens start an argument. A variable the table does not know stays as
// written. A value is never cut: a file name with blanks, or a title from
// the server, stays within its one argument and can add none. When
// `appendFileArgument` is set and the template names neither "internal"
// nor "$arg0", the content file (args[0]) is one more argument.
std::vector<std::string> ExpandViewerArguments(const CString& commandTemplate, const ViewerVariables& vars,
                                               bool appendFileArgument);

// The same arguments as one command line, from which SplitCommandLine gives
// them back exactly (see JoinCommandLine).
CString ExpandViewerTemplate(const CString& commandTemplate, const ViewerVariables& vars,
                             bool appendFileArgument);

// The template the settings file gives in `section` under `key`; empty when
// either is empty, when there is none, or without an application.
CString ViewerTemplateSetting(const CString& section, const CString& key);

// Splits blank- or tab-separated words (at most `maxWords`) of a text.
int SplitWords(const CString& text, CString* words, int maxWords);

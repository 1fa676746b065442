// The two document types: where their definition files lie and the
// definition set of each, read from its file at the first document of the
// type and kept for the rest of the run.
#pragma once

#include "mfc/cstring.h"

class DefinitionSet;

enum class DocumentType { kHtml, kKtf };

// The directory is the TextViewer setting HTMLDir (default "."), then "\"
// and the file name.
CString ElementDefinitionPath(DocumentType type);  // HTML.pri, KTF.pri
CString DefinitionPath(DocumentType type);         // HTML.sty, KTF.sty

// The set of a type: read from its definition file when the first document
// of the type is made (the count of constructions decides), empty until
// then, and shared by every document of the type.
DefinitionSet& SharedDefinitions(DocumentType type);
// Counts one more document of the type; the first one reads the set.
// True when this call read it.
bool CountDocument(DocumentType type);

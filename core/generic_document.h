// Generic documents (class code 14): content that only an outside program
// shows. The "Arguments=" attribute names the file for the content (its
// first word) and the arguments of the program ($arg1 .. $arg9 of the viewer
// template, viewer_templates.h).
#pragma once

#include <cstdint>

#include "core/document.h"
#include "mfc/cstring.h"

namespace kxgeneric {
inline constexpr const char* kArgumentsKey = "Arguments=";
}  // namespace kxgeneric

class GenericDocument : public Document {
 public:
  // A DocumentType other than "Generic" or "Remote" is a broken invariant of
  // the object factory: "Fatal Error: GenericDocument with DocumentType=..."
  // ends the program.
  explicit GenericDocument(const CString& record);

  // --- Replaced virtual operations, in slot order ---
  ~GenericDocument() override;
  // Without a fetch asked for, as KXObject; otherwise the document's
  // refresh, then the arguments are read again from the record.
  bool refresh() override;
  CString getRecord() override;
  CString getAttributeNames() override;
  // The document's attributes and "Arguments=".
  bool parseAttributes(const CString& recordText) override;
  // Saves to the file the arguments name (kept inside the temporary
  // directory) or to a fresh "GenOb" name, and finds the template under the
  // subtype (or the MIME subtype) in the section of the DocumentType.
  bool saveContent(StoreEntry* transfer, CString& commandTemplate, CString& fileName,
                   int mode) override;

  const CString& getArguments() const { return arguments; }

 protected:
  CString arguments;
};

// The two concrete documents: each makes its tokenizer in its mode, wraps it
// in a tag-definition table read from the type's element-definition file
// (for every document), and shares the definition set of its type (read
// once). HTML documents name their anchors' styles through the shared
// marker-kind table; KTF anchors all keep style 0.
#pragma once

#include <memory>

#include "text/document/markup_document.h"
#include "text/html_tokenizer.h"

class HtmlDocument : public MarkupDocument {
 public:
  // With a tokenizer given, it is used instead of a new one in HTML mode.
  HtmlDocument(const CString& recordText, const DocumentResources& resources, BYTE flag,
               std::unique_ptr<HtmlTokenizer> tokenizer = nullptr);
};

class KtfDocument : public MarkupDocument {
 public:
  KtfDocument(const CString& recordText, const DocumentResources& resources, BYTE flag,
              std::unique_ptr<HtmlTokenizer> tokenizer = nullptr);
  // KTF files are read from their first byte, whatever the record's body
  // offset says, and the selection stays as it is; paragraph breaks in the
  // text become paragraphs (or, right after an anchor, word spaces).
  int Load(BuildTarget* target, const CString& definitionName, bool fresh) override;
};

// A document of either kind for a server document's record: HTML when the
// record is empty or its MimeType is "text/html", else KTF.
std::unique_ptr<MarkupDocument> MakeDocumentFor(const CString& recordText, const DocumentResources& resources,
                                                BYTE flag);

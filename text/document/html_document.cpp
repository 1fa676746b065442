#include "text/document/html_document.h"

#include "core/attr_record.h"
#include "text/anchors/anchor_styles.h"
#include "text/document/document_types.h"
#include "text/html_tokenizer.h"
#include "text/tag_definition_table.h"

namespace {

std::unique_ptr<TokenSource> makeTokens(DocumentType type, std::unique_ptr<HtmlTokenizer> tokenizer) {
  if (!tokenizer)
    tokenizer = std::make_unique<HtmlTokenizer>(type == DocumentType::kHtml ? HtmlTokenizer::kHtml
                                                                            : HtmlTokenizer::kKtf,
                                                0);
  return std::make_unique<TagDefinitionTable>(ElementDefinitionPath(type), std::move(tokenizer));
}

HtmlTokenizer& tokenizerOf(TokenSource* tokens) {
  return static_cast<HtmlTokenizer&>(static_cast<TagDefinitionTable*>(tokens)->source());
}

}  // namespace

HtmlDocument::HtmlDocument(const CString& recordText, const DocumentResources& resources, BYTE flag,
                           std::unique_ptr<HtmlTokenizer> tokenizer)
    : MarkupDocument(recordText, makeTokens(DocumentType::kHtml, std::move(tokenizer)),
                     &SharedDefinitions(DocumentType::kHtml), resources, flag) {
  tokenizerOf(Tokens()).SetBaseProvider(&Viewer().Colors());
  if (CountDocument(DocumentType::kHtml)) AnchorStyleNames::Shared().RegisterMarkerKinds();
  Viewer().GetAnchorDefinitions().SetStyleNames(&AnchorStyleNames::Shared());
}

KtfDocument::KtfDocument(const CString& recordText, const DocumentResources& resources, BYTE flag,
                         std::unique_ptr<HtmlTokenizer> tokenizer)
    : MarkupDocument(recordText, makeTokens(DocumentType::kKtf, std::move(tokenizer)),
                     &SharedDefinitions(DocumentType::kKtf), resources, flag) {
  tokenizerOf(Tokens()).SetBaseProvider(&Viewer().Colors());
  CountDocument(DocumentType::kKtf);
}

int KtfDocument::Load(BuildTarget* target, const CString& definitionName, bool fresh) {
  if (!Stream()) return 0;
  Stream()->clear();
  Stream()->seekg(0, std::ios::beg);
  Stream()->clear();
  ApplyRecordSettings();
  return Build(target, definitionName, fresh, true);
}

std::unique_ptr<MarkupDocument> MakeDocumentFor(const CString& recordText, const DocumentResources& resources,
                                                BYTE flag) {
  if (recordText.IsEmpty() || AttrRecord(recordText).getAttribute("MimeType=") == "text/html")
    return std::make_unique<HtmlDocument>(recordText, resources, flag);
  return std::make_unique<KtfDocument>(recordText, resources, flag);
}

#include "text/document/markup_document.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "core/attr_record.h"
#include "text/anchors/anchor_range.h"
#include "text/atom/atom.h"
#include "text/build/build_listener.h"
#include "text/definition_set.h"
#include "text/document/document_view.h"
#include "text/document/insertions.h"
#include "text/style_definition.h"
#include "text/token_items.h"
#include "text/token_source.h"

DocumentView::~DocumentView() = default;

const StyleDefinition& MarkupDocument::BasisStyle() {
  static const StyleDefinition basis(TextStyle::Default(), "BasisStyle");
  return basis;
}

MarkupDocument::MarkupDocument(const CString& recordText, std::unique_ptr<TokenSource> tokens,
                               DefinitionSet* definitions, const DocumentResources& resources, BYTE flag)
    : viewer_(&anchorRanges_, &anchorRecords_, &tabSettings_,
              ViewerDocument::Resources{resources.listener, resources.fileSource, resources.dingbats,
                                        resources.factory},
              0, flag != 0),
      dispatcher_(definitions),
      recordText_(recordText),
      view_(resources.view),
      progress_(resources.progress) {
  tabSettings_.Append(new TabSettings);
  ReplaceTokens(std::move(tokens));
  ResetSelection();
}

MarkupDocument::~MarkupDocument() {
  stream_.reset();
  tokens_.reset();
  insertions_.clearAndDelete();
  anchorRanges_.clearAndDelete();
}

void MarkupDocument::ReplaceTokens(std::unique_ptr<TokenSource> tokens) {
  tokens_ = std::move(tokens);
  if (tokens_) tokens_->SetProgress(progress_);
}

void MarkupDocument::SetInputStream(std::unique_ptr<std::istream> stream) { stream_ = std::move(stream); }

void MarkupDocument::SetAnchors(const CString& anchorText) {
  anchorRecords_.Set(anchorText, AttrRecord(recordText_).getAttribute("GOid="));
  anchorsChanged_ = true;
}

void MarkupDocument::UpdateAnchors(const CString& anchorText) {
  ResetSelection();
  // The ranges point into the records: both go together.
  anchorRanges_.clearAndDelete();
  SetAnchors(anchorText);
  // A built document is loaded again, so that its anchors are placed anew.
  if (GetRoot() && stream_) Load(lastTarget_, CString(), true);
}

int MarkupDocument::LoadWithColor(BYTE red, BYTE green, BYTE blue, LONG scale, BuildTarget* target, bool fresh) {
  DefinitionSet* definitions = dispatcher_.Definitions();
  StyleDefinition* color = definitions ? definitions->GetColorStyle(red, green, blue, scale) : nullptr;
  return Load(target, color ? color->name : CString(), fresh);
}

int MarkupDocument::Load(BuildTarget* target, const CString& definitionName, bool fresh) {
  ResetSelection();
  if (!stream_) return 0;
  ApplyRecordSettings();
  stream_->clear();
  stream_->seekg(streamStart_, std::ios::beg);
  stream_->clear();
  return Build(target, definitionName, fresh, false);
}

void MarkupDocument::ApplyRecordSettings() {
  AttrRecord record(recordText_);
  CString base = record.getAttribute("Base=");
  CString protocol = record.getAttribute("Protocol=");
  if (base.IsEmpty() && !protocol.IsEmpty()) {
    base = protocol + "://" + record.getAttribute("Host=");
    CString port = record.getAttribute("Port=");
    if (!port.IsEmpty()) base += ":" + port;
    base += record.getAttribute("Path=");
    CString fragment = record.getAttribute("Fragment=");
    if (!fragment.IsEmpty()) base += "#" + fragment;
  }
  // Stored where the tokenizer looks for the base of relative links.
  if (!base.IsEmpty()) viewer_.Setup().SetName(NamedValueSource::kReferenceBase, base);

  static const struct {
    const char* key;
    int index;
  } kBodyColors[] = {{"Body=bgcolor=", 0}, {"Body=text=", 1}, {"Body=link=", 8}, {"Body=vlink=", 4}};
  for (const auto& c : kBodyColors) {
    DWORD rgb = 0;
    CString value = record.getAttribute(c.key);
    if (!value.IsEmpty() && ParseHexColor(value, rgb)) viewer_.Setup().SetColorPair(c.index, ColorRecord::FromRgbNumber(rgb));
  }
  streamStart_ = static_cast<LONG>(std::strtol(record.getAttribute("BodyOffset=").c_str(), nullptr, 0));
}

int MarkupDocument::Build(BuildTarget* target, const CString& definitionName, bool fresh, bool ktf) {
  const StyleDefinition* basis = &BasisStyle();
  bool begun = fresh ? viewer_.BeginBuild(0, basis, target) : viewer_.ContinueBuild(0, basis, target);
  if (!definitionName.IsEmpty()) dispatcher_.OpenDefinition(viewer_, definitionName);
  if (!begun || !tokens_) return 0;
  BuildTarget* buildTarget = viewer_.GetBuilder().Target();
  lastTarget_ = buildTarget;

  anchorRanges_.clearAndDelete();
  // Every load weaves in all the anchors: the insertions are used up as the
  // stream passes them.
  RebuildInsertions(insertions_, anchorRecords_);
  anchorsChanged_ = false;
  tokens_->Reset(stream_.get());

  // Insertions at the very start come first, in list order.
  std::vector<Insertion*> atStart;
  while (auto* first = static_cast<Insertion*>(insertions_.first())) {
    if (first->position != 0) break;
    insertions_.popFront();
    atStart.push_back(first);
  }
  for (auto it = atStart.rbegin(); it != atStart.rend(); ++it) {
    std::unique_ptr<Insertion> insertion(*it);
    if (std::unique_ptr<TokenItem> item = insertion->MakeItem(*tokens_)) tokens_->Requeue(std::move(item));
  }

  LONG last = 0;
  LONG lastAnchor = -1;
  LONG nextReport = firstContentReport_;
  for (;;) {
    std::unique_ptr<TokenItem> item = tokens_->NextToken();
    if (!item) break;
    const LONG start = item->start;
    const LONG next = tokens_->PeekOffset();
    if (ktf) {
      if (item->Kind() == kEventItem && static_cast<TokenEvent*>(item.get())->name == "KTFParagraph") {
        // A paragraph break right after an anchor only separates words.
        const char* name = lastAnchor == start ? "WordSpace" : "P";
        tokens_->Requeue(std::unique_ptr<TokenItem>(new TokenEvent(start, name)));
        continue;
      }
      lastAnchor = item->Kind() == kAnchorItem ? start : -1;
    }
    auto due = [&](Insertion* insertion) { return insertion && insertion->Due(start, next); };
    auto* first = static_cast<Insertion*>(insertions_.first());
    if (due(first)) {
      do {
        insertions_.popFront();
        std::unique_ptr<Insertion> insertion(first);
        tokens_->PushBack(std::move(item));
        item = insertion->MakeItem(*tokens_);
        if (!item) break;
        first = static_cast<Insertion*>(insertions_.first());
      } while (due(first) && !first->WrappedItem());
      if (!item) continue;
    }
    dispatcher_.Dispatch(*item, viewer_, *tokens_, *this, buildTarget, this);
    last = item->start;
    if (view_ && last >= nextReport) {
      view_->ContentAdded(*this, last);
      nextReport = last < kLastContentReport ? 2 * last : 0x7FFFFFFF;
    }
  }
  LONG result = viewer_.EndBuild(last);
  viewer_.Anchors().ApplyAnchorStyles(viewer_.GetRoot());
  return static_cast<int>(result);
}

// ---- Submission

void MarkupDocument::Forward(Form& form, const CString& extra) {
  CString action;
  CString query;
  EncodeFormSubmission(form, action, query);
  if (!extra.IsEmpty()) query += (query.IsEmpty() ? "" : "&") + extra;
  if (view_) view_->ForwardRequest(action, query);
}

void MarkupDocument::Submit(Form& form) { Forward(form, CString()); }

void MarkupDocument::SubmitAt(Form& form, const CString& argument) { Forward(form, argument); }

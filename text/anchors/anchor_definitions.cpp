#include "text/anchors/anchor_definitions.h"

#include <new>

#include "core/attr_record.h"
#include "text/anchors/anchor_range.h"
#include "text/anchors/anchor_record.h"
#include "text/anchors/anchor_styles.h"
#include "text/atom/atom.h"

AnchorDefinitions::AnchorDefinitions(List* anchors, AnchorRecordList* records)
    : anchors_(anchors), records_(records) {}

AnchorDefinitions::~AnchorDefinitions() {
  namedDefinitions_.clearAndDelete();
  named_.clearAndDelete();
}

AnchorRange* AnchorDefinitions::AddAnchor(const Position& start, AnchorRecord* definition) {
  if (!definition || !anchors_) return nullptr;
  LONG style = 0;
  if (names_) style = names_->LookupAnchorStyle(AttrRecord(definition->Text()).getAttribute("LinkType="));
  auto* range = new (std::nothrow) AnchorRange(start, LastPosition(), definition, style);
  if (range) anchors_->append(range);
  return range;
}

AnchorRange* AnchorDefinitions::EndAnchor(const Position& end, AnchorRecord* definition) {
  if (!anchors_) return nullptr;
  for (ListElement* e = anchors_->first(); e; e = e->next()) {
    auto* range = static_cast<AnchorRange*>(e);
    if (range->Record() == definition) {
      range->SetEnd(end);
      return range;
    }
  }
  return nullptr;
}

AnchorRange* AnchorDefinitions::EndLastAnchor(const Position& end) {
  if (!anchors_ || anchors_->isEmpty()) return nullptr;
  auto* range = static_cast<AnchorRange*>(anchors_->last());
  range->SetEnd(end);
  return range;
}

AnchorRecord* AnchorDefinitions::AddDefinition(const CString& text) {
  return records_ ? records_->Append(text) : nullptr;
}

AnchorRecord* AnchorDefinitions::FindDefinition(const CString& name) {
  return records_ ? records_->Find(name) : nullptr;
}

AnchorRange* AnchorDefinitions::AddNamedAnchor(const Position& start, const CString& name) {
  auto* definition = new (std::nothrow) AnchorRecord(name);
  if (!definition) return nullptr;
  auto* range = new (std::nothrow) AnchorRange(start, LastPosition(), definition, 0);
  if (!range) {
    delete definition;
    return nullptr;
  }
  namedDefinitions_.append(definition);
  named_.append(range);
  return range;
}

AnchorRange* AnchorDefinitions::EndNamedAnchor(const Position& end, const CString& name) {
  CString wanted(name);
  wanted.MakeUpper();
  for (ListElement* e = named_.first(); e; e = e->next()) {
    auto* range = static_cast<AnchorRange*>(e);
    if (range->Record()->Text() == wanted) {
      range->SetEnd(end);
      return range;
    }
  }
  return nullptr;
}

void AnchorDefinitions::ApplyAnchorStyles(Atom* target) {
  if (!target || !anchors_) return;
  for (ListElement* e = anchors_->first(); e; e = e->next()) {
    auto* range = static_cast<AnchorRange*>(e);
    target->ApplyStyle(range->Start(), range->End(), AnchorStyle(range->StyleNumber()));
  }
}

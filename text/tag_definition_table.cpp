#include "text/tag_definition_table.h"

#include <fstream>

#include "text/def_lexer.h"
#include "text/style_definition.h"
#include "win/path_map.h"

namespace {

CString Upper(const CString& s) {
  CString u = s;
  u.MakeUpper();
  return u;
}

std::string Marked(std::string_view name) {
  std::string m = "#";
  m.append(name);
  m.push_back('#');
  return m;
}

size_t ShapeByte(std::string_view name) { return name.empty() ? 0 : static_cast<unsigned char>(name[0]); }
std::uint32_t ShapeBit(std::string_view name) { return 1u << (name.size() < 31 ? name.size() : 31); }

}  // namespace

bool TagDefinition::Needs(std::string_view n) const {
  return !neededEvents.empty() && neededEvents.find(Marked(n)) != std::string::npos;
}

TagDefinitionTable::TagDefinitionTable(const CString& fileName, std::unique_ptr<TokenSource> source)
    : source_(std::move(source)), index_(kIndexBuckets) {
  if (fileName.IsEmpty()) return;
  std::ifstream in(win::HostPath(fileName.c_str()), std::ios::binary);
  if (in) Read(in);
}

TagDefinitionTable::TagDefinitionTable(std::istream& in, std::unique_ptr<TokenSource> source)
    : source_(std::move(source)), index_(kIndexBuckets) {
  Read(in);
}

TagDefinitionTable::~TagDefinitionTable() = default;

// The count at the top of the file is only an upper bound: entries are
// made as they are read, so a large count costs nothing. Reading ends with
// the lexer's input, so entries that share the file's last line are read.
void TagDefinitionTable::Read(std::istream& in) {
  long count = 0;
  if (!(in >> count)) return;
  DefLexer lexer(in);
  for (long i = 0; i < count; ++i) {
    CString name;
    if (!lexer.NextItem(name)) break;
    auto entry = std::make_unique<TagDefinition>();
    entry->name = name;
    ReadEntry(lexer, *entry);
    index_.Insert(entry->name, static_cast<int>(entries_.size()));
    shapes_[ShapeByte(entry->name.view())] |= ShapeBit(entry->name.view());
    entries_.push_back(std::move(entry));
  }
  RefuseEndlessInsertions();
}

void TagDefinitionTable::ReadEntry(DefLexer& lexer, TagDefinition& entry) {
  if (lexer.NextSeparator("{") == 0) return;
  LONG* const fields[] = {&entry.closeLevel, &entry.level, &entry.closeSame, &entry.endCloses, &entry.keepOpen};
  for (;;) {
    CString item;
    if (!lexer.NextItem(item) || item == "}") return;
    if (item == ",") continue;
    const CString clause = Upper(item);
    if (clause == "DEFINITIONS") {
      CString eq;
      if (lexer.NextItem(eq) && eq != "=") lexer.PushBack(eq);
      if (eq == "=") {
        for (LONG* field : fields) {
          CString v;
          if (!lexer.NextItem(v)) break;
          if (v == "," || v == "}") {
            lexer.PushBack(v);
            break;
          }
          if (v == ":") continue;
          *field = DefinitionAtoi(v);
          const char c = lexer.NextSeparator();
          if (c && c != ':') lexer.PushBack(CString(c));
        }
      }
    } else if (clause == "INSERTEVENT") {
      auto event = std::make_unique<TokenEvent>();
      if (event->ReadDefinition(lexer)) entry.insertEvent = std::move(event);
    } else if (clause == "NEEDEDEVENTS") {
      CString eq;
      if (lexer.NextItem(eq) && eq != "=") lexer.PushBack(eq);
      for (;;) {
        CString n;
        if (!lexer.NextItem(n)) break;
        if (n == "," || n == "}") {
          lexer.PushBack(n);
          break;
        }
        if (n == ":") continue;
        entry.neededEvents += Marked(Upper(n).view());
      }
    }
    const char c = lexer.NextSeparator(",}");
    if (c != ',') return;
  }
}

// An insertion helps only when the inserted element stays open (its own
// entry keeps it open) and is one that the inserting entry needs; any other
// would be inserted again before every retry of the event. Such insertions,
// an entry inserting itself among them, are dropped when the file is read.
void TagDefinitionTable::RefuseEndlessInsertions() {
  for (auto& entry : entries_) {
    if (!entry->insertEvent) continue;
    const CString& inserted = entry->insertEvent->name;
    const TagDefinition* target = Find(inserted.view());
    const bool sound = inserted != entry->name && entry->Needs(Upper(inserted).view()) && target &&
                       target->keepOpen && target != entry.get();
    if (!sound) entry->insertEvent.reset();
  }
}

const TagDefinition* TagDefinitionTable::Find(std::string_view name) const {
  if (!(shapes_[ShapeByte(name)] & ShapeBit(name))) return nullptr;
  auto* n = index_.Find(name);
  return n ? entries_[static_cast<size_t>(n->value)].get() : nullptr;
}

std::vector<CString> TagDefinitionTable::OpenNames() const {
  std::vector<CString> names;
  for (const OpenRecord& r : open_) names.push_back(r.event->name);
  return names;
}

void TagDefinitionTable::PushRecord(const TagDefinition* entry, std::unique_ptr<TokenEvent> event) {
  ++openNames_[Upper(event->name).str()];
  open_.push_back(OpenRecord{entry, std::move(event)});
}

void TagDefinitionTable::PopRecord() {
  if (open_.empty()) return;
  auto it = openNames_.find(Upper(open_.back().event->name).str());
  if (it != openNames_.end() && --it->second == 0) openNames_.erase(it);
  open_.pop_back();
}

bool TagDefinitionTable::AnyNeededOpen(const TagDefinition& entry) const {
  const std::string& needed = entry.neededEvents;
  size_t at = 0;
  while (at < needed.size()) {
    const size_t end = needed.find('#', at + 1);
    if (end == std::string::npos) break;
    if (openNames_.count(needed.substr(at + 1, end - at - 1))) return true;
    at = end + 1;
  }
  return false;
}

std::unique_ptr<TokenEvent> TagDefinitionTable::EndEventFor(const OpenRecord& record, LONG at) const {
  auto end = std::make_unique<TokenEvent>(at, "~" + record.event->name);
  CopyPairs(record.event->subItems, end->subItems);
  return end;
}

void TagDefinitionTable::CloseFrom(size_t from, LONG at) {
  for (size_t i = from; i < open_.size(); ++i) front_.push_front(Pending{EndEventFor(open_[i], at), true});
  while (open_.size() > from) PopRecord();
}

TagDefinitionTable::Pending TagDefinitionTable::Take() {
  if (front_.empty()) return Pending{source_->NextToken(), false};
  Pending p = std::move(front_.front());
  front_.pop_front();
  return p;
}

LONG TagDefinitionTable::PeekOffset() {
  return front_.empty() ? source_->PeekOffset() : front_.front().item->start;
}

void TagDefinitionTable::Reset(std::istream* stream) {
  source_->Reset(stream);
  front_.clear();
  while (!open_.empty()) PopRecord();
  insertingFor_ = nullptr;
  insertionsFor_ = 0;
}

std::unique_ptr<TokenItem> TagDefinitionTable::NextToken() {
  // Dropped end tags come in runs; they are passed over here, not by
  // calling again.
  for (;;) {
    Pending next = Take();
    std::unique_ptr<TokenItem> item = std::move(next.item);
    if (!item) {
      if (open_.empty()) return nullptr;
      auto end = EndEventFor(open_.back(), lastOffset_);
      PopRecord();
      return end;
    }
    if (item->Kind() == kDiagnosticItem) return item;
    if (!next.final && item->Kind() == kEventItem) {
      std::unique_ptr<TokenEvent> event(static_cast<TokenEvent*>(item.release()));
      item = event->IsEnd() ? HandleEnd(std::move(event)) : HandleStart(std::move(event), 0);
      if (!item) continue;
    }
    lastOffset_ = item->start;
    return item;
  }
}

// An element closed by the table is closed for good: its record goes as its
// end event is made, so an entry whose end tags do not close (endCloses 0)
// cannot be closed again and again before the same start tag.
std::unique_ptr<TokenItem> TagDefinitionTable::HandleStart(std::unique_ptr<TokenEvent> event, int depth) {
  const TagDefinition* d = Find(event->name.view());
  if (!d) return event;

  if (d->insertEvent && !AnyNeededOpen(*d)) {
    if (insertingFor_ != event.get()) {
      insertingFor_ = event.get();
      insertionsFor_ = 0;
    }
    if (depth < kMaxInsertions && insertionsFor_ < kMaxInsertions) {
      ++insertionsFor_;
      const LONG at = event->start;
      front_.push_front(Pending{std::move(event), false});
      return HandleStart(std::make_unique<TokenEvent>(*d->insertEvent, at), depth + 1);
    }
  }

  size_t from = open_.size();
  if (d->closeSame) {
    for (size_t i = open_.size(); i-- > 0;) {
      if (open_[i].event->name == d->name) {
        from = i;
        break;
      }
      if (open_[i].entry->level >= d->level) break;
    }
  }
  if (from == open_.size())
    while (from > 0 && open_[from - 1].entry->level < d->closeLevel && open_[from - 1].event->name != d->name) --from;
  if (from < open_.size()) {
    const LONG at = event->start;
    front_.push_front(Pending{std::move(event), false});
    CloseFrom(from, at);
    return Take().item;
  }
  if (event.get() == insertingFor_) insertingFor_ = nullptr;
  if (d->keepOpen) PushRecord(d, std::make_unique<TokenEvent>(*event));
  return event;
}

std::unique_ptr<TokenItem> TagDefinitionTable::HandleEnd(std::unique_ptr<TokenEvent> event) {
  const TagDefinition* d = Find(event->name.view().substr(1));
  // Only entries that keep their elements open have records to close.
  if (!d || !d->keepOpen) return event;
  const CString name = event->name.Mid(1);
  // A stray end tag (none of its elements open) is dropped at once; so is
  // one that would have to close an element of a higher level to reach its
  // own (a list closed inside a table cell): every open element keeps its
  // end. Neither walks the whole stack, so runs of them stay linear.
  if (!openNames_.count(Upper(name).str())) return nullptr;
  size_t i = open_.size();
  bool found = false;
  while (i > 0) {
    --i;
    if (open_[i].event->name == name) {
      found = true;
      break;
    }
    if (open_[i].entry->level > d->level) return d->endCloses ? nullptr : std::move(event);
  }
  if (!found) return nullptr;
  if (!d->endCloses) return event;
  if (event->SubItemCount() == 0) CopyPairs(open_[i].event->subItems, event->subItems);
  front_.push_front(Pending{std::move(event), true});
  CloseFrom(i + 1, front_.front().item->start);
  PopRecord();
  return Take().item;
}

void TagDefinitionTable::PushBack(std::unique_ptr<TokenItem> item) {
  if (!item) return;
  if (item->Kind() == kEventItem) {
    const auto& event = static_cast<const TokenEvent&>(*item);
    const bool end = event.IsEnd();
    const CString name = end ? event.name.Mid(1) : event.name;
    const TagDefinition* d = Find(name.view());
    if (d && d->keepOpen) {
      if (!end)
        PopRecord();
      else
        PushRecord(d, std::make_unique<TokenEvent>(event.start, name));
    }
  }
  front_.push_front(Pending{std::move(item), false});
}

void TagDefinitionTable::Requeue(std::unique_ptr<TokenItem> item) {
  if (item) front_.push_front(Pending{std::move(item), false});
}

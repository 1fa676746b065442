// Repairs the nesting of the events a token source gives, as the document
// type's element-definition file (HTML.pri, KTF.pri) says: elements kept
// open at a level, closed by a later element of the same name or of a
// higher level, enclosing elements inserted where they are missing, and
// stray end tags dropped. The table is itself a token source over the
// tokenizer, which it owns.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <istream>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "mfc/cstring.h"
#include "text/string_hash_table.h"
#include "text/token_source.h"

struct TagDefinition {
  CString name;
  LONG closeLevel = 0;
  LONG level = 0;
  LONG closeSame = 1;
  LONG endCloses = 1;
  LONG keepOpen = 0;
  // Upper-case names, each between two "#": "#UL##OL#".
  std::string neededEvents;
  std::unique_ptr<TokenEvent> insertEvent;

  bool Needs(std::string_view name) const;
};

class TagDefinitionTable : public TokenSource {
 public:
  static constexpr int kIndexBuckets = 85;
  // An event waits for at most this many insertions in front of it, and an
  // insertion may itself need at most this many more: tables whose
  // insertions never satisfy the need cannot hold the load up.
  static constexpr int kMaxInsertions = 8;

  // Reads the file (none for an empty name or a file that cannot be read:
  // every item then passes unchanged).
  TagDefinitionTable(const CString& fileName, std::unique_ptr<TokenSource> source);
  // Reads the definitions from a stream.
  TagDefinitionTable(std::istream& in, std::unique_ptr<TokenSource> source);
  ~TagDefinitionTable() override;

  void Reset(std::istream* stream) override;
  std::unique_ptr<TokenItem> NextToken() override;
  void PushBack(std::unique_ptr<TokenItem> item) override;
  void Requeue(std::unique_ptr<TokenItem> item) override;
  LONG PeekOffset() override;
  int MeasureRange(LONG from, LONG to) override { return source_->MeasureRange(from, to); }
  CString ResolveAnchor(const CString& value) override { return source_->ResolveAnchor(value); }
  void SetProgress(ProgressReporter* progress) override { source_->SetProgress(progress); }

  TokenSource& source() { return *source_; }
  int EntryCount() const { return static_cast<int>(entries_.size()); }
  const TagDefinition* Find(std::string_view name) const;
  // The names of the open elements, oldest first (for tests).
  std::vector<CString> OpenNames() const;

 private:
  struct OpenRecord {
    const TagDefinition* entry;
    std::unique_ptr<TokenEvent> event;
  };
  // Items put back in front of the source. The end events the table makes
  // to close open elements are final (their records are gone already);
  // anything else put back is read again like an item of the source.
  struct Pending {
    std::unique_ptr<TokenItem> item;
    bool final;
  };

  void Read(std::istream& in);
  void ReadEntry(class DefLexer& lexer, TagDefinition& entry);
  void RefuseEndlessInsertions();
  std::unique_ptr<TokenItem> HandleStart(std::unique_ptr<TokenEvent> event, int depth);
  std::unique_ptr<TokenItem> HandleEnd(std::unique_ptr<TokenEvent> event);
  std::unique_ptr<TokenEvent> EndEventFor(const OpenRecord& record, LONG at) const;
  void PushRecord(const TagDefinition* entry, std::unique_ptr<TokenEvent> event);
  void PopRecord();
  bool AnyNeededOpen(const TagDefinition& entry) const;
  // Closes the records from `from` (an index) up to the most recent: their
  // end events are put in front, the most recent first.
  void CloseFrom(size_t from, LONG at);
  Pending Take();

  std::unique_ptr<TokenSource> source_;
  std::vector<std::unique_ptr<TagDefinition>> entries_;
  StringHashTable<int> index_;
  // Bit n of the word of a first byte: some entry's name starts with that
  // byte and is n bytes long (31 for 31 and more). Most events (words and
  // the spaces between them) have no entry, and this tells so at once.
  std::array<std::uint32_t, 256> shapes_{};
  std::vector<OpenRecord> open_;
  std::deque<Pending> front_;
  std::unordered_map<std::string, int> openNames_;
  LONG lastOffset_ = 0;
  // The event that insertions were last made in front of, and how many.
  const TokenItem* insertingFor_ = nullptr;
  int insertionsFor_ = 0;
};

// The entry trees of a dictionary's data file (read only). A record at byte
// offset p of the file:
//
//   u16 length L (files of kind 3 and above), then L bytes:
//   u8 entry count c, then c entries: u32 word W, and u32 X when W's bit 0
//   is set (an inner entry, which has children)
//
// Files of kind below 3 have no length: the count and the entries follow
// the offset directly. A record address is the offset in its high 24 bits
// and an entry index in its low 8. An inner entry's word holds its child
// count in bits 1-8 and the offset of its children's record in bits 9-31,
// and its X the highest entry number of the leaves below it; a leaf's word
// holds its 4-bit code in bits 1-4 and its entry number in bits 5-31.
//
// Every read stays within the record's length (or the file); an entry index
// at or beyond the record's count, a record that cannot be read, or a tree
// deeper than a node can describe gives no node.
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <vector>

#include "win/types.h"

struct RecordNode {
  // The enclosing nodes a node can name: its depth has three bits.
  static constexpr int kMaxDepth = 7;

  DWORD word = 0;  // W with bit 0 cleared
  DWORD x = 0;     // inner entries only
  DWORD address = 0;
  DWORD path[kMaxDepth] = {};  // addresses of the enclosing nodes, outermost first
  int depth = 0;
  bool inner = false;
  int entryCount = 0;  // of the node's record

  int index() const { return static_cast<int>(address & 0xFF); }
  int code() const { return static_cast<int>((word >> 1) & 0xF); }
  int childCount() const { return static_cast<int>((word >> 1) & 0xFF); }
  DWORD childOffset() const { return word >> 9; }
};

class RecordFile {
 public:
  static constexpr int kCachedNodes = 10;
  // The kind from which records carry their length and are read whole.
  static constexpr int kRecordKind = 3;
  static constexpr int kFirstInnerNumber = -10002;

  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile() { close(); }

  // Names the data file; it is opened on first use. `depthLimit` and
  // `fanOut` shape the numbers of inner nodes; `root` is the address of the
  // first entry of the outermost record.
  void setFile(const std::string& name, int kind, int depthLimit, int fanOut, DWORD root = 0);
  // Releases the file (until its use count is 0) and forgets every cached
  // record and node.
  void close();

  std::optional<RecordNode> node(DWORD address, const RecordNode* parent = nullptr);
  std::optional<RecordNode> child(const RecordNode& node, int i);
  std::optional<RecordNode> nextSibling(const RecordNode& node);
  std::optional<RecordNode> parent(const RecordNode& node);
  std::optional<RecordNode> root() { return node(root_); }

  // Leaves: their entry number (0 and up). Inner nodes: -10002 for the
  // outermost, lower numbers deeper in.
  std::int32_t entryNumber(const RecordNode& node) const;
  // The node whose entry number is `number`.
  std::optional<RecordNode> findEntry(std::int32_t number);

  bool acquireFile();
  void releaseFile();
  int useCount() const { return uses_; }
  const std::string& fileName() const { return name_; }
  int kind() const { return kind_; }

 private:
  bool loadRecord(DWORD offset);
  bool readEntries(DWORD offset, int index, int& count, DWORD& word, DWORD& x);
  std::optional<RecordNode> nodeAt(DWORD address, const DWORD* path, int depth);
  std::optional<RecordNode> decode(DWORD address, const DWORD* path, int depth);
  std::optional<RecordNode> search(std::int32_t number, std::optional<RecordNode> first, long& budget);
  void remember(const RecordNode& node);

  std::string name_;
  HFILE file_ = HFILE_ERROR;
  int uses_ = 0;
  int kind_ = kRecordKind;
  int depthLimit_ = RecordNode::kMaxDepth;
  int fanOut_ = 0;
  DWORD root_ = 0;
  LONG cachedOffset_ = -1;  // the record held, -1 none
  std::vector<BYTE> record_;
  std::list<RecordNode> nodes_;  // most recent first
};

// The anchors of one document while it is built: each anchor is a range of
// positions with the link record that describes it and an anchor style
// number taken from the record's LinkType. Named anchors (the targets of
// fragment links) are kept apart, with private records holding their names.
#pragma once

#include "core/list.h"
#include "mfc/cstring.h"
#include "win/types.h"

class Atom;
class AnchorRange;
class AnchorRecord;
class AnchorRecordList;
class AnchorStyleNames;
class Position;

class AnchorDefinitions {
 public:
  // The anchor list and the record list are the document's (borrowed).
  AnchorDefinitions(List* anchors, AnchorRecordList* records);
  AnchorDefinitions(const AnchorDefinitions&) = delete;
  AnchorDefinitions& operator=(const AnchorDefinitions&) = delete;
  ~AnchorDefinitions();

  // Without names (KTF documents) every anchor gets style 0.
  void SetStyleNames(const AnchorStyleNames* names) { names_ = names; }
  const AnchorStyleNames* StyleNames() const { return names_; }

  AnchorRange* AddAnchor(const Position& start, AnchorRecord* definition);
  AnchorRange* EndAnchor(const Position& end, AnchorRecord* definition);
  AnchorRange* EndLastAnchor(const Position& end);
  AnchorRecord* AddDefinition(const CString& text);
  AnchorRecord* FindDefinition(const CString& name);
  AnchorRange* AddNamedAnchor(const Position& start, const CString& name);
  // The searched name is upper-cased; stored names are compared as stored.
  AnchorRange* EndNamedAnchor(const Position& end, const CString& name);
  // Gives each anchor's style to the atoms of its range, in list order.
  void ApplyAnchorStyles(Atom* target);

  const List& NamedAnchors() const { return named_; }
  List* Anchors() const { return anchors_; }

 private:
  List* anchors_;
  AnchorRecordList* records_;
  List named_;              // AnchorRange, owned
  List namedDefinitions_;   // their AnchorRecord, owned
  const AnchorStyleNames* names_ = nullptr;
};

// Test stand-ins for server objects and member-list entries: an object that
// answers every sort question from its attribute record, and an entry that
// points at one (or at none).
#pragma once

#include <cstdlib>
#include <cstdio>

#include "core/attr_record.h"
#include "core/sort_order.h"

namespace sort_test {

class RecordObject : public SortableObject {
 public:
  explicit RecordObject(const char* record, int classCode = 4)
      : record_(record), classCode_(classCode) {}

  CString sortAttribute(const char* key) override { return record_.getAttribute(key); }
  // The object's id as the object model keeps it: lower-cased.
  CString sortIdentifier() override {
    CString id = record_.getAttribute("ObjectID=");
    id.MakeLower();
    return id;
  }
  // The first title part without its language code.
  CString sortTitle() override {
    const CString title = record_.getAttribute("Title=");
    return title.GetLength() > 3 && title[2] == ':' ? title.Mid(3) : title;
  }
  CString sortType() override { return record_.getAttribute("Type="); }
  CString sortScore() override {
    const CString score = record_.getAttribute("Score=");
    if (score.IsEmpty()) return score;
    char text[16];
    std::snprintf(text, sizeof text, "%04d", std::atoi(score.c_str()));
    return CString(text);
  }
  int sortClassCode() override { return classCode_; }

 private:
  AttrRecord record_;
  int classCode_;
};

class Entry : public SortableMember {
 public:
  explicit Entry(SortableObject* object) : object_(object) {}
  SortableObject* sortObject() const override { return object_; }

 private:
  SortableObject* object_;
};

}  // namespace sort_test

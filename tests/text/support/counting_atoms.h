// A light atom sink for fuzzing and benchmarks: atoms that keep their
// children and items and count what they were given, made by a factory that
// counts what it made. Deep trees are torn down without recursion.
#pragma once

#include <cstddef>
#include <vector>

#include "core/named_list.h"
#include "text/atom/atom.h"
#include "text/atom/atom_factory.h"
#include "text/atom/position_item.h"

class CountingAtom : public Atom {
 public:
  // Atoms come from a free list refilled in blocks, so that the sink's own
  // allocations cost little beside the builder's.
  static void* operator new(std::size_t size) {
    if (size != sizeof(CountingAtom)) return ::operator new(size);
    FreeAtom*& head = freeList();
    if (!head) {
      constexpr int kBlock = 256;
      char* block = static_cast<char*>(::operator new(sizeof(CountingAtom) * kBlock));
      for (int i = 0; i < kBlock; ++i) {
        auto* f = reinterpret_cast<FreeAtom*>(block + i * sizeof(CountingAtom));
        f->next = head;
        head = f;
      }
    }
    FreeAtom* f = head;
    head = f->next;
    return f;
  }
  static void operator delete(void* p, std::size_t size) {
    if (size != sizeof(CountingAtom)) {
      ::operator delete(p);
      return;
    }
    auto* f = static_cast<FreeAtom*>(p);
    f->next = freeList();
    freeList() = f;
  }

  CountingAtom(DWORD mask, LONG start, long* live) : Atom(start), mask_(mask), live_(live) { ++*live_; }
  ~CountingAtom() override {
    std::vector<CountingAtom*> pending;
    take(pending);
    while (!pending.empty()) {
      CountingAtom* a = pending.back();
      pending.pop_back();
      a->take(pending);
      delete a;
    }
    for (PositionItem* i : items_) delete i;
    --*live_;
  }
  DWORD TypeMask() const override { return mask_; }
  bool AppendText(CString& out, const Position&, const Position&, BOOL, LONG) override {
    if (textLength_) out += "x";
    return true;
  }
  bool AddChild(Atom* child) override {
    if (mask_ == kWordMask || mask_ == kPictureMask || mask_ == kHorizontalRuleMask) return false;
    children_.push_back(static_cast<CountingAtom*>(child));
    return true;
  }
  bool AddText(std::string_view text, LONG, LONG, ResolvedStyle*) override {
    textLength_ += text.size();
    return mask_ == kWordMask || mask_ == kFormMask;
  }
  bool AdoptLabel(const DWORD* mask, Atom* label) override {
    if (!mask || *mask != kListItemMask || mask_ != kListItemMask) return false;
    children_.push_back(static_cast<CountingAtom*>(label));
    return true;
  }
  bool ApplyStyle(const Position&, const Position&, const StyleDefinition*) override { return true; }
  bool ApplyParagraphStyle(const Position&, const Position&, const StyleDefinition*) override { return true; }
  ResolvedStyle* StyleAt(const Position&) override { return nullptr; }
  bool SetMarks(const Position&, const Position&, BYTE) override { return true; }
  bool ClearMarks(const Position&, const Position&, BYTE) override { return true; }
  void MarksAt(const Position&, BYTE& bits) override { bits = 0; }
  bool AddItem(PositionItem* item) override {
    if (mask_ == kWordMask || mask_ == kPictureMask) return false;
    items_.push_back(item);
    return true;
  }
  void Reset(int) override {}
  int Format(TextOutput*, const LayoutRect&, Position*&, const Position&, int) override { return 0; }
  int Extent(LayoutRect& out, TextOutput*, const Position&, const Position&, int) override {
    out = LayoutRect::Of(0, 0, 0, 0);
    return 0;
  }
  LONG Spacing(int, TextOutput*, const Position&, const Position&, int) override { return 0; }
  LONG Unnamed(LONG, LONG) override { return 0; }
  LONG GapCount(const Position&, const Position&) override { return 0; }
  int Draw(TextOutput*, const LayoutPoint&, const LayoutRect&, const Position&, const Position&, int,
           const PositionRange*) override {
    return 0;
  }
  size_t textLength() const { return textLength_; }

 private:
  struct FreeAtom {
    FreeAtom* next;
  };
  static FreeAtom*& freeList() {
    static FreeAtom* head = nullptr;
    return head;
  }
  void take(std::vector<CountingAtom*>& into) {
    into.insert(into.end(), children_.begin(), children_.end());
    children_.clear();
  }
  DWORD mask_;
  long* live_;
  size_t textLength_ = 0;
  std::vector<CountingAtom*> children_;
  std::vector<PositionItem*> items_;
};

class CountingFactory : public AtomFactory {
 public:
  Atom* NewWord(LONG s, ResolvedStyle*) override { return make(kWordMask, s); }
  Atom* NewParagraph(LONG s, ResolvedStyle*, TabSettingsList*) override { return make(kParagraphMask, s); }
  Atom* NewPage(LONG s, ResolvedStyle*) override { return make(kPageMask, s); }
  Atom* NewTable(LONG s, ResolvedStyle*, const TableAttrs&) override { return make(kTableMask, s); }
  Atom* NewTableItem(LONG s, ResolvedStyle*, const CellAttrs&) override { return make(kTableItemMask, s); }
  Atom* NewListItem(LONG s, ResolvedStyle*, TabSettingsList*) override { return make(kListItemMask, s); }
  Atom* NewList(LONG s, ResolvedStyle*) override { return make(kListMask, s); }
  Atom* NewHorizontalRule(LONG s, ResolvedStyle*, LONG) override { return make(kHorizontalRuleMask, s); }
  Atom* NewPicture(LONG s, ResolvedStyle*, NamedObject*, LONG, LONG) override { return make(kPictureMask, s); }
  Atom* NewFormField(LONG s, ResolvedStyle*, const FormFieldSpec&) override { return make(kFormMask, s); }

  long made = 0;
  long live = 0;

 private:
  Atom* make(DWORD mask, LONG start) {
    ++made;
    return new CountingAtom(mask, start, &live);
  }
};

#include "text/style/resolved_style.h"

#include <bit>
#include <new>
#include <vector>

#include "core/string_array.h"
#include "text/style/output_metrics.h"
#include "text/style_definition.h"

OutputMetrics::~OutputMetrics() = default;

namespace {

const CString& nameOf(const StyleDefinition* d) {
  static const CString none;
  return d ? d->name : none;
}

int compareNames(const StyleDefinition* a, const StyleDefinition* b) {
  return CompareMultibyte(nameOf(a).c_str(), nameOf(b).c_str());
}

const TextStyle& styleOf(const StyleDefinition* d) { return d ? d->style : TextStyle::Empty(); }

}  // namespace

ResolvedStyle::ResolvedStyle(const TextStyle& style, const StyleDefinition* definition)
    : style_(style), definition_(definition), font_(DescriptorOf(style)) {}

ResolvedStyle::~ResolvedStyle() {
  // Deep trees (a document of many unclosed elements) must not be torn
  // down by recursion: unhook each subtree and delete it as a leaf.
  std::vector<ResolvedStyle*> pending;
  for (ResolvedStyle* c = firstChild_; c; c = c->nextSibling_) pending.push_back(c);
  firstChild_ = nullptr;
  while (!pending.empty()) {
    ResolvedStyle* node = pending.back();
    pending.pop_back();
    for (ResolvedStyle* c = node->firstChild_; c; c = c->nextSibling_) pending.push_back(c);
    node->firstChild_ = nullptr;
    delete node;
  }
}

FontDescriptor ResolvedStyle::DescriptorOf(const TextStyle& style) {
  FontDescriptor d;
  int drawStyle = style.displayBaseStyle.mode != StyleValue::kUnset ? style.displayBaseStyle.value : 0;
  d.styleNumber = static_cast<SHORT>(drawStyle + 1);
  d.flags = style.displayFlags.mask;
  d.scale = static_cast<WORD>(style.scale.mode != StyleValue::kUnset ? style.scale.value : 0);
  d.highlight = 0;
  d.color = style.color;
  d.colorIndex = -1;
  return d;
}

void ResolvedStyle::Recompute() {
  style_ = styleOf(definition_);
  if (parent_) style_.Merge(parent_->style_);
  font_ = DescriptorOf(style_);
}

ResolvedStyle* ResolvedStyle::FindOrAddChild(ResolvedStyle* candidate) {
  ResolvedStyle** link = &firstChild_;
  while (*link) {
    int order = compareNames((*link)->definition_, candidate->definition_);
    if (order == 0) {
      delete candidate;
      return *link;
    }
    if (order > 0) break;
    link = &(*link)->nextSibling_;
  }
  candidate->nextSibling_ = *link;
  *link = candidate;
  candidate->parent_ = this;
  candidate->Recompute();
  return candidate;
}

ResolvedStyle* ResolvedStyle::Resolve(const StyleDefinition* definition) {
  // Only the name is needed to find an existing level; a new one is merged
  // over this node once it is linked in.
  for (ResolvedStyle* c = firstChild_; c; c = c->nextSibling_) {
    int order = compareNames(c->definition_, definition);
    if (order == 0) return c;
    if (order > 0) break;
  }
  auto* candidate = new (std::nothrow) ResolvedStyle(styleOf(definition), definition);
  if (!candidate) return nullptr;
  return FindOrAddChild(candidate);
}

ResolvedStyle* ResolvedStyle::Close(const StyleDefinition* definition) {
  std::vector<ResolvedStyle*> passed;
  ResolvedStyle* node = this;
  while (node->parent_ && compareNames(node->definition_, definition) != 0) {
    passed.push_back(node);
    node = node->parent_;
  }
  if (!node->parent_) return this;  // not open here
  if (passed.empty()) return parent_;
  // Open again, outermost first, every level that was inside the closed one.
  ResolvedStyle* result = node->parent_;
  for (auto it = passed.rbegin(); it != passed.rend(); ++it) {
    ResolvedStyle* next = result->Resolve((*it)->definition_);
    if (!next) break;
    result = next;
  }
  if (result->parent_) {
    result->parent_->Refresh();
    result->Recompute();
  }
  return result;
}

void ResolvedStyle::Refresh() {
  std::vector<ResolvedStyle*> chain;
  for (ResolvedStyle* n = this; n->parent_; n = n->parent_) chain.push_back(n);
  // The root stays as it is; every level below it is merged anew, outermost
  // first, so each sees its parent's fresh style.
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->Recompute();
}

LayoutRect ResolvedStyle::BlankExtent(OutputMetrics* output) {
  if (!output) return metrics_;
  LONG scale = output->DeviceChangeCount();
  bool known = metrics_.left != kNotComputed && metrics_.right != kNotComputed && metrics_.top != kNotComputed &&
               metrics_.bottom != kNotComputed;
  if (!known || metricsContext_ != output || metricsScale_ != scale) {
    FontDescriptor d = font_;
    d.highlight = 0;
    d.colorIndex = -1;
    d.color = ColorRecord();
    LayoutRect box;
    output->BlankExtent(box, 1, d);
    metrics_ = box;
    metricsContext_ = output;
    metricsScale_ = scale;
  }
  return metrics_;
}

FontDescriptor* ResolvedStyle::BaseDescriptor(BYTE marks, int scalePercent) {
  font_.highlight = (marks & 0x02) ? 1 : 0;
  long long size = style_.scale.mode != StyleValue::kUnset ? style_.scale.value : 0;
  font_.scale = static_cast<WORD>(size * scalePercent / 100);
  return &font_;
}

int ResolvedStyle::MarkerCount() const { return std::popcount(MarkerSet()); }

// ---- StyleContext

StyleContext::~StyleContext() { delete root_; }

bool StyleContext::SetRoot(const StyleDefinition* definition) {
  delete root_;
  root_ = current_ = nullptr;
  open_.clear();
  root_ = new (std::nothrow) ResolvedStyle(styleOf(definition), definition);
  current_ = root_;
  return root_ != nullptr;
}

bool StyleContext::Push(const StyleDefinition* definition) {
  if (!current_) return false;
  ResolvedStyle* next = current_->Resolve(definition);
  if (!next) return false;
  current_ = next;
  ++open_[nameOf(definition).str()];
  return true;
}

bool StyleContext::Pop(const StyleDefinition* definition) {
  if (!current_) return false;
  auto it = open_.find(nameOf(definition).str());
  if (it == open_.end() || it->second <= 0) return false;
  ResolvedStyle* next = current_->Close(definition);
  if (!next || next == current_) return false;
  current_ = next;
  if (--it->second == 0) open_.erase(it);
  return true;
}

void StyleContext::ReturnToRoot() {
  current_ = root_;
  open_.clear();
}

// Style resolution. Each open element contributes the style of its
// definition on top of the styles around it; a ResolvedStyle is one level of
// that nesting: the definition's style merged over the effective style of
// the enclosing level. Levels form a tree that is shared: opening the same
// definition inside the same parent again finds the existing node, so each
// distinct chain of definitions is merged once however often it recurs.
// Children are kept ordered by definition name.
//
// Atoms hold ResolvedStyle pointers (never owned) as their element's style;
// the nodes live as long as the StyleContext that owns the tree.
#pragma once

#include <unordered_map>
#include <string>

#include "text/layout_support/layout_rect.h"
#include "text/style/font_descriptor.h"
#include "text/text_style.h"
#include "win/types.h"

class OutputMetrics;
class StyleDefinition;

class ResolvedStyle {
 public:
  ResolvedStyle(const TextStyle& style, const StyleDefinition* definition);
  ResolvedStyle(const ResolvedStyle&) = delete;
  ResolvedStyle& operator=(const ResolvedStyle&) = delete;
  // Destroys the whole subtree below this node, without recursion.
  ~ResolvedStyle();

  // The child level of this node for the definition (found or made); null
  // when memory failed.
  ResolvedStyle* Resolve(const StyleDefinition* definition);
  // This level with the nearest level of that definition taken out: levels
  // inside the closed one keep applying, in their order. This node itself
  // when the definition is not open here.
  ResolvedStyle* Close(const StyleDefinition* definition);
  // Recomputes the ancestors (from the root down) and then this node from
  // their definitions.
  void Refresh();

  // The box of one blank in this style's font on the output, cached until
  // another output, or the same one after a device change, asks.
  LayoutRect BlankExtent(OutputMetrics* output);
  // The four cached metric values {left, right, top, bottom}.
  const LayoutRect& GetMetrics(OutputMetrics* output) {
    BlankExtent(output);
    return metrics_;
  }
  // Sets this node's own descriptor for drawing: highlighted when marks
  // holds 0x02, scale = the style's size (0 unset) x scalePercent / 100.
  FontDescriptor* BaseDescriptor(BYTE marks, int scalePercent);

  const TextStyle& Style() const { return style_; }
  const StyleDefinition* Definition() const { return definition_; }
  ResolvedStyle* Parent() const { return parent_; }
  ResolvedStyle* FirstChild() const { return firstChild_; }
  ResolvedStyle* NextSibling() const { return nextSibling_; }
  const FontDescriptor& Font() const { return font_; }

  // What the layout reads of a style.
  LONG FaceNumber() const { return style_.displayBaseStyle.value; }
  bool FaceSet() const { return style_.displayBaseStyle.mode != StyleValue::kUnset; }
  LONG Size() const { return style_.scale.value; }
  bool SizeSet() const { return style_.scale.mode != StyleValue::kUnset; }
  // Display flags: 0x02 underline, 0x08 strike-through, 0x40 subscript,
  // 0x80 superscript (bit 0 bold and bit 2 italic go into the font).
  BYTE ExtraFlags() const { return style_.displayFlags.mask; }
  const ColorRecord& Color() const { return style_.color; }
  // The colour of the anchor kind the text belongs to (kinds below the
  // markers; the colour table's anchor colours follow its eight named
  // ones), -1 for text outside anchors. Text with a colour index is drawn
  // in that colour and underlined.
  LONG ColorIndex() const {
    const LONG kind = style_.anchors.primaryKind;
    return kind >= 0 && kind < AnchorSet::kFirstMarker ? kind : -1;
  }
  LONG FillMode() const { return 0; }
  // The marker kinds (anchor kinds 24-31) as bits 0-7, and how many.
  DWORD MarkerSet() const { return style_.anchors.mask >> 24; }
  int MarkerCount() const;
  int HorizontalAlignment() const { return static_cast<int>(style_.alignment.bits & 0x0f); }

 private:
  ResolvedStyle* FindOrAddChild(ResolvedStyle* candidate);
  void Recompute();
  static FontDescriptor DescriptorOf(const TextStyle& style);

  TextStyle style_;
  const StyleDefinition* definition_;
  ResolvedStyle* parent_ = nullptr;
  ResolvedStyle* firstChild_ = nullptr;
  ResolvedStyle* nextSibling_ = nullptr;
  LayoutRect metrics_;
  const OutputMetrics* metricsContext_ = nullptr;
  LONG metricsScale_ = 0;
  FontDescriptor font_;
};

// The resolved levels of one document: the root (the document's basis
// style) and the current level, which opening and closing elements move.
class StyleContext {
 public:
  StyleContext() = default;
  StyleContext(const StyleContext&) = delete;
  StyleContext& operator=(const StyleContext&) = delete;
  virtual ~StyleContext();

  // Destroys the tree and starts a new one from the definition's style
  // (copied whole: it must be complete). False, and no tree, when memory
  // failed.
  virtual bool SetRoot(const StyleDefinition* definition);
  // Opens an element: false (current unchanged) when it cannot.
  virtual bool Push(const StyleDefinition* definition);
  // Closes the nearest open element of that definition; false when none is
  // open (nothing changes).
  virtual bool Pop(const StyleDefinition* definition);

  ResolvedStyle* Root() const { return root_; }
  ResolvedStyle* Current() const { return current_; }
  // Makes the root the current level again.
  void ReturnToRoot();

 private:
  ResolvedStyle* root_ = nullptr;
  ResolvedStyle* current_ = nullptr;
  // How many levels of each definition name the current chain holds, so
  // that closing an element that is not open costs nothing.
  std::unordered_map<std::string, long> open_;
};

// Text runs: a piece of text in one effective style that measures and draws
// itself through the output. Words keep their text as runs, one per span.
// Offsets are byte offsets into the run's text; `to` = kRunEnd stands for
// the end of the run. Extents are boxes relative to the run's origin on the
// baseline (top negative above it).
#pragma once

#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "layout/atoms/run_text.h"
#include "mfc/cstring.h"
#include "text/atom/atom_pool.h"
#include "text/layout_support/layout_rect.h"
#include "text/style/font_descriptor.h"
#include "win/types.h"

class ResolvedStyle;
class StyleDefinition;
class TextOutput;

constexpr LONG kRunEnd = 0x7FFFFFFF;

// The byte at an index of the text, 0 outside it (as CString::GetAt), read
// in place: words and runs ask for blanks many times while they are laid
// out.
inline char ByteAt(std::string_view text, LONG index) {
  return index >= 0 && static_cast<size_t>(index) < text.size() ? text[static_cast<size_t>(index)] : '\0';
}

// Mark bits of styled items.
enum ItemMark : BYTE {
  kOwnBandMark = 0x01,   // a background band of its own
  kSelectionMark = 0x02, // selected: drawn highlighted
  kOverlayMark = 0x20,
  kFormMark = 0x80,
};

// The style pointer and marks shared by text runs and form fields.
class StyledItem {
 public:
  StyledItem(ResolvedStyle* style, BYTE marks) : style_(style), marks_(marks) {}
  virtual ~StyledItem();
  ZEMRA_POOLED_ALLOCATION

  // Resolves the change over the current style; false (style kept) when it
  // resolves to nothing.
  virtual bool SetStyle(const StyleDefinition* change);
  virtual bool SetParagraphStyle(const StyleDefinition* change);
  virtual void SetMarks(BYTE bits) { marks_ |= bits; }
  virtual void ClearMarks(BYTE bits) { marks_ &= static_cast<BYTE>(~bits); }
  // A descriptor for drawing, made from the style; false without a style.
  bool FontDescriptorFor(FontDescriptor& out) const;
  // The style's own cached descriptor at 100 percent with the highlight
  // mark; null without a style. Not to be freed.
  FontDescriptor* BaseFontDescriptor() const;

  ResolvedStyle* Style() const { return style_; }
  BYTE Marks() const { return marks_; }

 protected:
  ResolvedStyle* style_;
  BYTE marks_;
};

class TextRun : public StyledItem {
 public:
  enum Kind : int { kPlain = 0, kScript = 1, kOverlay = 2, kShiftJis = 3, kEuc = 4 };

  // A run whose text could not be had is empty: see Length.
  TextRun(std::string_view text, ResolvedStyle* style, BYTE marks) : StyledItem(style, marks) { text_.Assign(text); }

  virtual TextRun* Clone() const;
  virtual int Kind() const { return kPlain; }
  // A new style may change the font, so the cached width goes with the old.
  bool SetStyle(const StyleDefinition* change) override;
  bool SetParagraphStyle(const StyleDefinition* change) override;
  std::string_view Text() const { return text_.View(); }
  // Each returns false, with the text unchanged, when memory failed.
  bool SetText(std::string_view text) {
    ForgetWidth();
    return text_.Assign(text);
  }
  // Adds bytes at the end.
  bool Append(std::string_view piece) {
    ForgetWidth();
    return text_.Append(piece);
  }
  // Keeps the first `length` bytes.
  void Truncate(LONG length) {
    ForgetWidth();
    text_.Truncate(length);
  }
  // Starts over with new text in a style, unmarked: a run kept in place
  // and filled once its text arrives.
  bool Restart(std::string_view text, ResolvedStyle* style);
  LONG Length() const { return text_.Length(); }

  // The offset in the run nearest to the remaining distance x from `from`:
  // -1 when the run ends before x, and x is then reduced by its width.
  virtual LONG FitIndex(LONG& x, TextOutput* ctx, LONG from);
  // The character boundary before (direction 0) or after (1) an offset; -1
  // when there is none.
  virtual LONG Boundary(LONG index, int direction);
  virtual LONG CharLength(LONG index) const;
  virtual LONG PrevCharLength(LONG index) const;
  // The whole run without trailing blanks (the width is cached).
  virtual LayoutRect FullExtent(TextOutput* ctx);
  // A range without a trailing blank, with "-" when a hyphen is asked.
  virtual LayoutRect RangeExtent(TextOutput* ctx, LONG from, LONG to, bool hyphen);
  // A range including one trailing blank.
  virtual LayoutRect RangeExtentWithBlank(TextOutput* ctx, LONG from, LONG to, bool hyphen);
  // Background, then text.
  virtual bool Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, LONG from, LONG to,
                    bool hyphen);
  // Text, strike-through and underline; false when nothing was drawn.
  virtual bool DrawText(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, LONG from, LONG to,
                        bool hyphen);
  // The box of the blanks in the range, from its first blank.
  virtual LayoutRect BlankExtent(TextOutput* ctx, LONG from, LONG to);
  virtual void ForgetWidth() { cachedWidth_ = kWidthUnknown; }

  // Whether the byte at an offset is a blank.
  bool IsBlankAt(LONG index) const { return text_.At(index) == ' '; }
  // The number of blanks at the end of the text.
  LONG TrailingBlanks() const;
  // Whether an offset lies at or past the last byte that is not a blank
  // (most ranges end at the run's end: no blanks need counting then).
  bool ReachesTextEnd(LONG to) const { return to >= Length() || to >= Length() - TrailingBlanks(); }

 protected:
  static constexpr LONG kWidthUnknown = static_cast<LONG>(0x80000000u);

  // The descriptor the run measures with.
  virtual bool MeasureDescriptor(FontDescriptor& out) const;
  // Measures bytes [from, to) of the text, with "-" appended on request.
  LayoutRect Measure(TextOutput* ctx, LONG from, LONG to, bool hyphen) const;
  // The width of one blank in the run's style.
  LONG BlankWidth(TextOutput* ctx) const;
  void Clamp(LONG& from, LONG& to) const {
    if (from < 0) from = 0;
    if (to > Length()) to = Length();
  }
  // Copies style, marks and text into a new run of the same class; null
  // when memory failed.
  template <class T>
  T* CloneAs() const {
    auto* copy = new (std::nothrow) T(Text(), style_, marks_);
    if (copy && copy->Length() != Length()) {
      delete copy;
      return nullptr;
    }
    return copy;
  }

  // The whole run's width without trailing blanks; 32 bits, so that long
  // words keep their width.
  LONG cachedWidth_ = kWidthUnknown;
  RunText text_;
};

// Subscript and superscript: drawn at 70 percent, moved so that the small
// text hangs from (subscript) or stands on (superscript) the line's middle.
class ScriptRun : public TextRun {
 public:
  using TextRun::TextRun;
  TextRun* Clone() const override;
  int Kind() const override { return kScript; }
  LayoutRect FullExtent(TextOutput* ctx) override;
  LayoutRect RangeExtent(TextOutput* ctx, LONG from, LONG to, bool hyphen) override;
  LayoutRect RangeExtentWithBlank(TextOutput* ctx, LONG from, LONG to, bool hyphen) override;
  LayoutRect BlankExtent(TextOutput* ctx, LONG from, LONG to) override;
  bool DrawText(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, LONG from, LONG to,
                bool hyphen) override;
  LONG Shift(TextOutput* ctx);

 protected:
  bool MeasureDescriptor(FontDescriptor& out) const override;

 private:
  LayoutRect Shifted(LayoutRect r, TextOutput* ctx);
  LONG shift_ = kNotComputed;
  LONG lineBottom_ = 0;
};

// Several runs drawn over each other as one unit of the word.
class OverlayRun : public TextRun {
 public:
  OverlayRun(ResolvedStyle* style, BYTE marks) : TextRun(std::string_view(), style, marks) {}
  TextRun* Clone() const override;
  int Kind() const override { return kOverlay; }
  bool SetStyle(const StyleDefinition* change) override;
  bool SetParagraphStyle(const StyleDefinition* change) override;
  void SetMarks(BYTE bits) override;
  void ClearMarks(BYTE bits) override;
  LONG FitIndex(LONG& x, TextOutput* ctx, LONG from) override;
  LONG Boundary(LONG index, int direction) override;
  LayoutRect FullExtent(TextOutput* ctx) override;
  LayoutRect RangeExtent(TextOutput* ctx, LONG from, LONG to, bool hyphen) override;
  LayoutRect RangeExtentWithBlank(TextOutput* ctx, LONG from, LONG to, bool hyphen) override;
  LayoutRect BlankExtent(TextOutput* ctx, LONG from, LONG to) override;
  bool Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, LONG from, LONG to,
            bool hyphen) override;

  void AddRun(std::unique_ptr<TextRun> run) { runs_.push_back(std::move(run)); }
  LONG OverlayLength() const { return length_; }
  void SetOverlayLength(LONG length) { length_ = length; }
  bool IsOpen() const { return open_; }
  void Close() { open_ = false; }
  size_t RunCount() const { return runs_.size(); }

 private:
  std::vector<std::unique_ptr<TextRun>> runs_;
  LONG length_ = 0;
  bool open_ = true;
};

inline bool IsShiftJisLead(BYTE b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF); }
inline bool IsEucLead(BYTE b) { return b == 0x8E || (b > 0xA0 && b != 0xFF); }

// Text of a two-byte encoding: characters by the encoding's lead bytes.
template <int RunKind, bool (*IsLead)(BYTE)>
class LeadByteRun : public TextRun {
 public:
  using TextRun::TextRun;
  TextRun* Clone() const override { return CloneAs<LeadByteRun>(); }
  int Kind() const override { return RunKind; }
  LONG CharLength(LONG index) const override {
    if (index >= Length()) return 0;
    LONG n = IsLead(static_cast<BYTE>(text_.At(index))) ? 2 : 1;
    return n < Length() - index ? n : Length() - index;
  }
  LONG PrevCharLength(LONG index) const override {
    if (index <= 1) return index;
    if (IsLead(static_cast<BYTE>(text_.At(index - 1)))) return 2;
    // Lead bytes directly before: an odd number pairs the last with the
    // byte before the index.
    LONG leads = 0;
    for (LONG i = index - 2; i >= 0 && IsLead(static_cast<BYTE>(text_.At(i))); --i) ++leads;
    return leads % 2 ? 2 : 1;
  }
};

using ShiftJisRun = LeadByteRun<TextRun::kShiftJis, IsShiftJisLead>;
using EucRun = LeadByteRun<TextRun::kEuc, IsEucLead>;

// Paints the background of a run's box: the document background, the
// selection highlight, or one band per marker of the style.
bool DrawBackground(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, ResolvedStyle* style,
                    BYTE marks);

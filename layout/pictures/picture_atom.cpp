#include "layout/pictures/picture_atom.h"

#include <algorithm>
#include <new>

#include "layout/atoms/text_output.h"
#include "core/named_list.h"

namespace {

// The placeholder frame's draw styles: light above and left, dark below
// and right.
constexpr int kFrameLight = 6;
constexpr int kFrameDark = 7;
// The frame is drawn only round a box this much larger than the
// placeholder.
constexpr LONG kFrameRoom = 4;

LONG scaled(LONG value, LONG num, LONG den) {
  if (den <= 0) return value;
  return static_cast<LONG>(static_cast<long long>(value) * num / den);
}

}  // namespace

PictureAtom::PictureAtom(LONG start, ResolvedStyle* style, NamedObject* picture, LONG width, LONG height)
    : WindowObjectAtom(start, style), picture_(picture), width_(width > 0 ? width : 0), height_(height > 0 ? height : 0) {
  if (picture_) picture_->acquire();
}

PictureAtom::PictureAtom(const PictureAtom& other)
    : WindowObjectAtom(other.start_, other.style_),
      text_(other.text_),
      picture_(other.picture_),
      width_(other.width_),
      height_(other.height_) {
  CopyBase(other);
  if (picture_) picture_->acquire();
}

PictureAtom::~PictureAtom() {
  if (picture_) picture_->release();
}

bool PictureAtom::AddText(std::string_view text, LONG, LONG, ResolvedStyle*) {
  text_ += CString(text);
  return true;
}

bool PictureAtom::SetEnd(LONG end) {
  // A picture takes one position, whatever the element's end says.
  end_ = end > start_ ? end : start_ + 1;
  return true;
}

Atom* PictureAtom::CloneRange(const Position& from, const Position& to) {
  if (!(start_ < to.Number() && from.Number() < end_)) return nullptr;
  return new (std::nothrow) PictureAtom(*this);
}

bool PictureAtom::HoldsObject(LONG kind, void* object, PositionRange* range) {
  if (kind != 0 || !picture_ || object != picture_) return false;
  if (range) {
    Position start(start_), end(end_);
    if (!range->Start().Equal(start)) range->SetStart(start);
    if (!range->End().Equal(end)) range->SetEnd(end);
  }
  return true;
}

LayoutSize PictureAtom::GetSize(TextOutput* ctx) const {
  LayoutSize natural{0, 0};
  if (!picture_ || !ctx) return natural;
  ctx->PictureSize(natural, picture_);
  // The asked-for size is in screen pixels, as the natural one was before
  // PictureSize scaled it.
  LayoutSize asked{width_, height_};
  ctx->ScaleToDevice(asked);
  const bool pending = picture_->pending != 0;
  if (width_ == 0 && height_ == 0) return natural;
  if (width_ && height_) return asked;
  if (pending || natural.cx <= 0 || natural.cy <= 0) return natural;
  if (width_ == 0) return LayoutSize{scaled(asked.cy, natural.cx, natural.cy), asked.cy};
  return LayoutSize{asked.cx, scaled(asked.cx, natural.cy, natural.cx)};
}

int PictureAtom::Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position&, int) {
  continuation = nullptr;
  if (!picture_) return kFormatFits;
  LayoutSize size = GetSize(ctx);
  const bool tooWide = size.cx > rect.Width();
  const bool tooHigh = size.cy > rect.Height();
  if (tooWide || tooHigh) {
    continuation = StartPosition();
    return tooHigh ? kFormatNothing : kFormatTooWide;
  }
  continuation = EndPosition();
  return kFormatFits;
}

int PictureAtom::Extent(LayoutRect& out, TextOutput* ctx, const Position&, const Position&, int) {
  if (!picture_) {
    out = LayoutRect::Of(0, 0, 0, 0);
    return 0;
  }
  LayoutSize size = GetSize(ctx);
  // The picture stands on the baseline.
  out = LayoutRect::Of(0, size.cx, -size.cy, 0);
  return 0;
}

int PictureAtom::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position&,
                      const Position&, int, const PositionRange*) {
  if (!picture_ || !ctx) return 0;
  LayoutSize size = GetSize(ctx);
  // The clip is the picture's place on its line, relative to the origin
  // (its left edge on the baseline), as the line hands it to every atom.
  if (size.cx <= clip.left || 0 >= clip.right || 0 <= clip.top || -size.cy >= clip.bottom) return 0;
  LayoutRect box = LayoutRect::Of(origin.x, origin.x + size.cx, origin.y - size.cy, origin.y);
  LayoutSize natural{0, 0};
  ctx->PictureSize(natural, picture_);
  if (picture_->pending) {
    // The placeholder at its own size, framed to the size to come.
    LayoutSize shown{std::min(natural.cx, size.cx), std::min(natural.cy, size.cy)};
    ctx->StretchPicture(LayoutPoint{box.left, box.top}, shown, picture_);
    if (size.cx > natural.cx + kFrameRoom && size.cy > natural.cy + kFrameRoom) {
      FontDescriptor light(kFrameLight, ColorRecord(), 100, 0), dark(kFrameDark, ColorRecord(), 100, 0);
      LONG l = box.left, t = box.top, r = box.right - 1, b = box.bottom - 1;
      ctx->Line({l, t}, {r, t}, light);
      ctx->Line({l, t}, {l, b}, light);
      ctx->Line({r, t}, {r, b}, dark);
      ctx->Line({l, b}, {r + 1, b}, dark);
    }
    return 0;
  }
  ctx->StretchPicture(LayoutPoint{box.left, box.top}, size, picture_);
  // A selected picture is shown inverted by a highlight fill over it.
  if (marks_ & 0x02) {
    FontDescriptor highlight(0, 0, 100, 1);
    LayoutRect band = LayoutRect::Of(box.left, box.right, box.bottom - 2, box.bottom);
    ctx->FillRect(band, highlight);
  }
  return 0;
}

oldio::ostream& PictureAtom::Dump(oldio::ostream& out, int indent) {
  for (int i = 0; i < indent; ++i) out << ' ';
  CString line;
  line.Format("Pictureatom %ld on the positon:%p size %ldx%ld", start_, static_cast<const void*>(this), width_,
              height_);
  out << line.c_str() << oldio::endl;
  return out;
}

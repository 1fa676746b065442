#include "layout/support/fake_output.h"

#include <string>

namespace {

std::string Pt(const LayoutPoint& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

}  // namespace

std::string RectText(const LayoutRect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.right) + "," + std::to_string(r.top) + "," +
         std::to_string(r.bottom) + ")";
}

bool FakeOutput::DrawText(const LayoutPoint& at, const char* text, LONG length, const FontDescriptor& d) {
  calls.push_back("text " + Pt(at) + " '" + std::string(text, static_cast<size_t>(length)) + "'" +
                  (d.highlight ? " hl" : "") + (Scale(d) != 100 ? " scale " + std::to_string(Scale(d)) : ""));
  return true;
}

bool FakeOutput::TextExtent(LayoutRect& box, const char*, LONG length, const FontDescriptor& d) {
  ++textExtentCalls;
  if (measureFails) {
    box = LayoutRect::Of(0, 0, 0, 0);
    return false;
  }
  LONG s = Scale(d);
  box = LayoutRect::Of(0, length * kCharWidth * s / 100, -kAscent * s / 100, kDescent * s / 100);
  return true;
}

bool FakeOutput::BlankExtent(LayoutRect& box, LONG count, const FontDescriptor& d) {
  LONG s = Scale(d);
  LONG w = kCharWidth * s / 100;
  box = count >= 1 ? LayoutRect::Of(0, count * w, -kAscent * s / 100, kDescent * s / 100)
                   : LayoutRect::Of(w, w, -kAscent * s / 100, kDescent * s / 100);
  return true;
}

bool FakeOutput::FillRect(const LayoutRect& rect, const FontDescriptor& d) {
  calls.push_back("fill " + RectText(rect) + " style " + std::to_string(d.styleNumber) + (d.highlight ? " hl" : ""));
  return true;
}

bool FakeOutput::Polygon(const LayoutPoint* points, int count, const FontDescriptor& d) {
  std::string line = "polygon style " + std::to_string(d.styleNumber);
  for (int i = 0; i < count; ++i) line += " " + Pt(points[i]);
  calls.push_back(line);
  return true;
}

bool FakeOutput::Ellipse(const LayoutRect& rect, const FontDescriptor&) {
  calls.push_back("ellipse " + RectText(rect));
  return true;
}

bool FakeOutput::Line(const LayoutPoint& from, const LayoutPoint& to, const FontDescriptor& d) {
  calls.push_back("line " + Pt(from) + " " + Pt(to) + " style " + std::to_string(d.styleNumber) + " scale " +
                  std::to_string(d.scale));
  return true;
}

LONG FakeOutput::FontSize(const FontDescriptor& d) { return fontSize * Scale(d) / 100; }

void FakeOutput::PictureSize(LayoutSize& out, NamedObject*) { out = pictureSize; }

bool FakeOutput::StretchPicture(const LayoutPoint& at, const LayoutSize& size, NamedObject*) {
  calls.push_back("picture " + Pt(at) + " " + std::to_string(size.cx) + "x" + std::to_string(size.cy));
  return true;
}

void FakeOutput::EraseBackground(const LayoutRect& rect) { calls.push_back("erase " + RectText(rect)); }

bool FakeOutput::DrawPicture(const LayoutPoint& at, const LayoutRect&, NamedObject*) {
  calls.push_back("draw picture " + Pt(at));
  return true;
}

std::vector<std::string> FakeOutput::Calls(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const auto& c : calls)
    if (c.rfind(prefix, 0) == 0) out.push_back(c);
  return out;
}

ResolvedStyle* TestStyles::Make(void (*change)(TextStyle&)) {
  TextStyle style = TextStyle::Default();
  if (change) change(style);
  styles_.push_back(std::make_unique<ResolvedStyle>(style, nullptr));
  return styles_.back().get();
}

// An output with fixed metrics for layout tests: every byte is 10 units wide
// at scale 100 (a scale of 0 counts as 100), the ascent is 8 and the descent
// 2, scaled alike. Drawing calls are recorded as text lines.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "layout/atoms/text_output.h"
#include "text/style/resolved_style.h"

class FakeOutput : public TextOutput {
 public:
  static constexpr LONG kCharWidth = 10;
  static constexpr LONG kAscent = 8;
  static constexpr LONG kDescent = 2;

  bool DrawText(const LayoutPoint& at, const char* text, LONG length, const FontDescriptor& d) override;
  bool TextExtent(LayoutRect& box, const char* text, LONG length, const FontDescriptor& d) override;
  bool BlankExtent(LayoutRect& box, LONG count, const FontDescriptor& d) override;
  LONG DeviceChangeCount() const override { return deviceChanges; }
  bool FillRect(const LayoutRect& rect, const FontDescriptor& d) override;
  bool Polygon(const LayoutPoint* points, int count, const FontDescriptor& d) override;
  bool Ellipse(const LayoutRect& rect, const FontDescriptor& d) override;
  bool Line(const LayoutPoint& from, const LayoutPoint& to, const FontDescriptor& d) override;
  LONG FontSize(const FontDescriptor& d) override;
  void PictureSize(LayoutSize& out, NamedObject* picture) override;
  void ScaleToDevice(LayoutSize&) override {}
  bool StretchPicture(const LayoutPoint& at, const LayoutSize& size, NamedObject* picture) override;
  void EraseBackground(const LayoutRect& rect) override;
  bool DrawPicture(const LayoutPoint& at, const LayoutRect& source, NamedObject* picture) override;

  // Lines that begin with the prefix ("text", "fill", "line", ...).
  std::vector<std::string> Calls(const std::string& prefix) const;

  std::vector<std::string> calls;
  LayoutSize pictureSize{10, 10};
  LONG fontSize = 10;
  int textExtentCalls = 0;
  LONG deviceChanges = 0;
  // TextExtent fails (as without a device) and gives an empty box.
  bool measureFails = false;

 private:
  static LONG Scale(const FontDescriptor& d) { return d.scale ? d.scale : 100; }
};

// Styles for tests: resolved levels over the complete default style, kept
// alive by the set.
class TestStyles {
 public:
  // A level with the given changes applied to the default style.
  ResolvedStyle* Make(void (*change)(TextStyle&) = nullptr);
  ResolvedStyle* Plain() { return Make(); }

 private:
  std::vector<std::unique_ptr<ResolvedStyle>> styles_;
};

std::string RectText(const LayoutRect& r);

// A text view in a headless window system: a visible host window holding
// the view, the shipped definitions, draw styles in the pinned fonts, the
// view's own atom factory, and pictures that a test hands out by name.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "layout/view/text_view.h"
#include "gdi/surface.h"
#include "mfc/app.h"
#include "support/temp_dir.h"
#include "text/build/build_listener.h"

namespace view_test {

class RecordingListener : public TextViewListener {
 public:
  void FollowAnchor(const CString& link) override { followed.emplace_back(link.c_str()); }
  void ShowLinkText(const CString& link) override { shown.emplace_back(link.c_str()); }
  void ForwardRequest(const CString& action, const CString& query) override {
    requests.emplace_back(std::string(action.c_str()) + "|" + query.c_str());
  }
  std::vector<std::string> followed;
  std::vector<std::string> shown;
  std::vector<std::string> requests;
};

// Pictures by file name; names it does not know give null.
class PictureShelf : public BuildListener {
 public:
  void BuildFinished(BuildTarget*, LONG) override {}
  NamedObject* RequestPicture(const CString& name, const CString&, const PictureContext*, BuildTarget*,
                              LONG) override;
  std::map<std::string, NamedObject*> pictures;  // borrowed
};

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A view of the client size in the host (made anew when called again).
  TextView& OpenView(int width, int height);
  // A document of the kind the record names over the text, not yet given
  // to the view; null when it did not load completely.
  std::unique_ptr<MarkupDocument> Build(const std::string& record, const std::string& text);
  // Gives the view an HTML document before it is built, as the page's text
  // object does, builds it and tells the view it is complete; false when it
  // did not load completely.
  // `firstReport` (when not 0) is where the document first reports its
  // progress to the view.
  bool LoadInto(TextView& view, const std::string& html, LONG firstReport = 0);
  // Builds and shows an HTML document, then paints.
  TextView& Show(const std::string& html, int width = 320, int height = 200);
  // Dispatches every waiting message (paints included).
  static void Pump();
  // The view's client area as a picture.
  std::unique_ptr<win::gdi::Surface> Shot();
  // The screen point of a client point of the view.
  POINT Screen(int x, int y) const;

  testing_support::TempDir dir_;
  std::unique_ptr<CWinApp> app_;
  RecordingListener listener_;
  PictureShelf shelf_;
  std::unique_ptr<TextView> view_;
  HWND host_ = nullptr;
  BuildTarget target_;
  std::string printerIni_;
};

// A 24-bit BMP file image of w x h pixels, every pixel `rgb` (0xRRGGBB).
std::string SolidBmp(int w, int h, unsigned rgb);
// An 8-bit BMP file image whose palette entry i is `colors[i]` and whose
// pixels are given row by row from the top.
std::string IndexedBmp(int w, int h, const std::vector<unsigned>& colors, const std::vector<unsigned char>& pixels);

}  // namespace view_test

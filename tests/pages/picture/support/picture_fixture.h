// What the picture tests share: the page fixture, run in a temporary home
// directory that holds format.dat, with the converter plug-ins found where
// the build puts them, and the sample pictures copied in under their names.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "pages/support/pages_fixture.h"
#include "win/types.h"

namespace pages_test {

// A shell that records the loads, cancellations and command lines that
// picture objects send.
class PictureShell : public TestShell {
 public:
  void PushLoad(LoadKind kind, const Ref<KXObject>& document, LoadTarget* target, const char* name) override;
  void CancelLoads(LoadTarget* target) override;
  void RunCommandLine(const char* line, const Ref<KXObject>& anchor) override;
  void ExecuteAnchorAction(const Ref<KXObject>& anchor) override;

  std::vector<LoadTarget*> loads;
  std::vector<LoadTarget*> cancelled;
  std::vector<std::string> lines;
  std::vector<Ref<KXObject>> actions;
};

class PictureTest : public PagesTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Copies data/sample/gallery/<name>.body to <name> in the temporary
  // directory; its path.
  std::string Sample(const std::string& name);
  // Writes a packed DIB as a BMP file; its path.
  std::string WriteBmp(const std::string& name, const std::vector<unsigned char>& dib);
  // Writes a packed DIB as an EPS file through the EPS plug-in; its path,
  // or "" when the plug-in could not write it.
  std::string WriteEps(const std::string& name, const std::vector<unsigned char>& dib);
  // The display depth for the rest of the test (24, 8 or 4).
  static void UseDisplay(int bits);
  // The file cache hands out `file` for the key.
  void Serve(const std::string& key, const std::string& file) { served_[key] = file; }

  PictureShell pictureShell_;
  std::map<std::string, std::string> served_;

 private:
  std::filesystem::path previousDir_;
};

// Pixel (x, y) of an 8- or 24-bit DIB handle as 0xRRGGBB, y counted from
// the top of the picture.
unsigned PixelOf(HGLOBAL dib, int x, int y);
// The header of a DIB handle.
BITMAPINFOHEADER HeaderOf(HGLOBAL dib);

}  // namespace pages_test

namespace pages_test {

// A picture as an outside tool decoded it: width, height and 0xRRGGBB
// pixels row by row from the top.
struct ToolPicture {
  int width = 0;
  int height = 0;
  std::vector<unsigned> pixels;
};
// Runs a command that writes a PBM, PGM or PPM picture (binary forms) to
// its output; false when it fails or writes something else.
bool ReadPnmFrom(const std::string& command, ToolPicture* out);

}  // namespace pages_test

#include <memory>

#include "gdi/surface.h"
#include "mfc/dc.h"

namespace pages_test {

// A bitmap compatible with the display to draw page objects into.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  CDC* dc() { return &cdc_; }
  // 0xRRGGBB of a pixel.
  unsigned At(int x, int y) const;
  // What was drawn, as a picture for golden comparisons.
  std::unique_ptr<win::gdi::Surface> Shot() const;

 private:
  int width_, height_;
  HDC screen_;
  HDC memory_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  CDC cdc_;
};

}  // namespace pages_test

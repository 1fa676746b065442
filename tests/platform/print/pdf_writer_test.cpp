// The PDF writer's text pieces and its file structure.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gdi/surface.h"
#include "print/pdf_writer.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace {

using win::print::PdfPoints;
using win::print::PdfString;
using win::print::PdfWriter;

TEST(PdfText, PointsRoundDownToFourDecimals) {
  struct Case {
    int pixels;
    int dpi;
    const char* points;
  };
  const Case cases[] = {
      {2550, 300, "612"},     {2480, 300, "595.2"},  {3508, 300, "841.92"},
      {794, 96, "595.5"},     {100, 7, "1028.5714"},  // 1028.571428...
      {1, 600, "0.12"},       {0, 300, "0"},          {5, 0, "0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PdfPoints(c.pixels, c.dpi), c.points) << c.pixels << " at " << c.dpi;
  }
}

TEST(PdfText, StringsAreEscapedAndCut) {
  EXPECT_EQ(PdfString("Report (draft) \\ 1"), "(Report \\(draft\\) \\\\ 1)");
  EXPECT_EQ(PdfString("a\nb\xE4"), "(a\\012b\\344)");
  EXPECT_EQ(PdfString(std::string(300, 'x')).size(), 255u + 2u);
}

// The cross-reference table points at every object: each offset starts
// "n 0 obj", and startxref points at "xref".
TEST(PdfWriterFile, CrossReferencesPointAtTheirObjects) {
  testing_support::TempDir dir;
  const std::string path = dir.file("t.pdf");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  auto page = win::gdi::Surface::Create(30, 20, win::gdi::PixelFormat::Color, 0x336699);
  PdfWriter writer(f);
  ASSERT_TRUE(writer.Begin("t"));
  ASSERT_TRUE(writer.AddPage(*page, 72, 72));
  ASSERT_TRUE(writer.AddPage(*page, 150, 150));
  ASSERT_TRUE(writer.Finish());
  std::fclose(f);
  EXPECT_FALSE(writer.Finish());  // once only
  EXPECT_FALSE(writer.AddPage(*page, 72, 72));

  const std::string pdf = testing_support::TempDir::read(path);
  ASSERT_EQ(pdf.rfind("%%EOF\n"), pdf.size() - 6);
  const std::size_t sx = pdf.rfind("startxref\n");
  ASSERT_NE(sx, std::string::npos);
  const std::size_t xref = std::strtoull(pdf.c_str() + sx + 10, nullptr, 10);
  ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
  const std::size_t count = std::strtoull(pdf.c_str() + xref + 7, nullptr, 10);
  EXPECT_EQ(count, 3u + 2u * 4u + 1u);
  std::size_t entry = pdf.find('\n', xref + 5) + 1 + 20;  // past "0 N" and the free entry
  for (std::size_t n = 1; n < count; ++n, entry += 20) {
    const std::size_t offset = std::strtoull(pdf.c_str() + entry, nullptr, 10);
    const std::string head = std::to_string(n) + " 0 obj\n";
    EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "object " << n;
  }
  EXPECT_NE(pdf.find("/MediaBox [0 0 30 20]"), std::string::npos);
  EXPECT_NE(pdf.find("/MediaBox [0 0 14.4 9.6]"), std::string::npos);
  EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
}

TEST(PdfWriterFile, AWriteErrorIsReportedAndSticks) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  ZEMRA_SKIP_WITHOUT(full, "no /dev/full");
  std::setvbuf(full, nullptr, _IONBF, 0);
  auto page = win::gdi::Surface::Create(8, 8, win::gdi::PixelFormat::Color, 0);
  PdfWriter writer(full);
  EXPECT_FALSE(writer.Begin("t"));
  EXPECT_FALSE(writer.error().empty());
  EXPECT_FALSE(writer.AddPage(*page, 72, 72));
  EXPECT_FALSE(writer.Finish());
  std::fclose(full);
}

}  // namespace

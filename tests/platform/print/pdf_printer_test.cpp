// The PDF printer: multi-page documents, documents that end early or fail,
// and what is left on disk in each case.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/pdf_pages.h"
#include "support/print_fixture.h"
#include "win/gdi.h"
#include "win/print.h"
#include "win/user.h"

namespace print_test {
namespace {

// Page n: a black band whose place tells the page, on white.
bool DrawBand(HDC dc, UINT page) {
  const int w = GetDeviceCaps(dc, HORZRES);
  const int h = GetDeviceCaps(dc, VERTRES);
  const int top = static_cast<int>(page) * h / 10;
  return PatBlt(dc, 0, top, w, h / 20, BLACKNESS) != 0;
}

// Which band a picture shows: the page number, 0 for none.
int BandOf(const PagePicture& p) {
  for (int page = 1; page < 10; ++page) {
    const int y = page * p.height / 10 + p.height / 40;
    if (p.At(p.width / 2, y) == 0 && p.At(p.width / 2, p.height / 40) == 0xFFFFFF) return page;
  }
  return 0;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class PdfPrinterTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    Settings("Letter", "Portrait", 72);  // small pages: quick to read back
  }
};

TEST_F(PdfPrinterTest, PrintsEveryPageOfADocumentInOrder) {
  HDC dc = PrinterDc();
  win::print::PrintLoop loop;
  loop.docName = "Three pages";
  loop.first = 1;
  loop.last = 3;
  loop.print = DrawBand;
  int pages = 0;
  ASSERT_TRUE(win::print::PrintPages(dc, loop, &pages));
  EXPECT_EQ(pages, 3);
  DeleteDC(dc);
  const win::print::PrintJobResult job = win::print::LastPrintJob();
  EXPECT_TRUE(job.finished);
  EXPECT_EQ(job.pages, 3);
  EXPECT_TRUE(job.error.empty());

  std::string error;
  const std::vector<PagePicture> read = RenderPdf(out_, 72, Reader::Cairo, &error);
  ASSERT_EQ(read.size(), 3u) << error;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(read[static_cast<std::size_t>(i)].width, 612);
    EXPECT_EQ(read[static_cast<std::size_t>(i)].height, 792);
    EXPECT_EQ(BandOf(read[static_cast<std::size_t>(i)]), i + 1);
  }
  // The title is the document's name.
  EXPECT_NE(Slurp(out_).find("/Title (Three pages)"), std::string::npos);
}

TEST_F(PdfPrinterTest, APageRangeAndTheEndOfTheDocumentLimitThePages) {
  struct Case {
    UINT first;
    UINT last;
    UINT documentPages;  // prepare says no after this
    std::vector<int> bands;
  };
  const Case cases[] = {
      {2, 3, 9, {2, 3}},
      {1, 0xFFFF, 4, {1, 2, 3, 4}},
      {3, 3, 9, {3}},
  };
  for (const Case& c : cases) {
    HDC dc = PrinterDc();
    win::print::PrintLoop loop;
    loop.first = c.first;
    loop.last = c.last;
    loop.prepare = [&](HDC, UINT page) { return page <= c.documentPages; };
    loop.print = DrawBand;
    ASSERT_TRUE(win::print::PrintPages(dc, loop));
    DeleteDC(dc);
    std::string error;
    const std::vector<PagePicture> read = RenderPdf(out_, 72, Reader::Cairo, &error);
    ASSERT_EQ(read.size(), c.bands.size()) << error;
    for (std::size_t i = 0; i < read.size(); ++i) EXPECT_EQ(BandOf(read[i]), c.bands[i]);
  }
}

TEST_F(PdfPrinterTest, AnEndedEarlyOrFailedDocumentLeavesNoFileAndKeepsAnOlderOne) {
  enum class End { AbortDoc, DeleteDc, PrintFails, NoPages };
  for (End end : {End::AbortDoc, End::DeleteDc, End::PrintFails, End::NoPages}) {
    dir_.write("out.pdf", "older");  // a file printed before stays as it was
    HDC dc = PrinterDc();
    if (end == End::PrintFails || end == End::NoPages) {
      win::print::PrintLoop loop;
      loop.last = 3;
      if (end == End::NoPages) loop.prepare = [](HDC, UINT) { return false; };
      loop.print = [](HDC d, UINT page) { return page < 2 && DrawBand(d, page); };
      EXPECT_FALSE(win::print::PrintPages(dc, loop));
      DeleteDC(dc);
    } else {
      DOCINFO doc{sizeof(DOCINFO), "d", nullptr, nullptr, 0};
      ASSERT_GT(StartDoc(dc, &doc), 0);
      ASSERT_GT(StartPage(dc), 0);
      DrawBand(dc, 1);
      ASSERT_GT(EndPage(dc), 0);
      ASSERT_GT(StartPage(dc), 0);
      if (end == End::AbortDoc) {
        EXPECT_GT(AbortDoc(dc), 0);
      }
      DeleteDC(dc);
    }
    EXPECT_TRUE(win::print::LastPrintJob().aborted) << static_cast<int>(end);
    EXPECT_FALSE(win::print::LastPrintJob().finished);
    EXPECT_EQ(FilesBesideSettings(dir_), 1) << static_cast<int>(end);
    EXPECT_EQ(Slurp(out_), "older") << static_cast<int>(end);
  }
  EXPECT_TRUE(win::MessageBoxLog().empty());  // the caller knew; nobody is told twice
}

TEST_F(PdfPrinterTest, ADocumentWithoutPagesLeavesTheOldFile) {
  dir_.write("out.pdf", "older");
  HDC dc = PrinterDc();
  DOCINFO doc{sizeof(DOCINFO), "d", nullptr, nullptr, 0};
  ASSERT_GT(StartDoc(dc, &doc), 0);
  EXPECT_GT(EndDoc(dc), 0);
  DeleteDC(dc);
  EXPECT_FALSE(win::print::LastPrintJob().finished);
  EXPECT_EQ(win::print::LastPrintJob().pages, 0);
  EXPECT_EQ(Slurp(out_), "older");
  EXPECT_EQ(FilesBesideSettings(dir_), 1);
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(PdfPrinterTest, OutputsThatCannotBeWrittenAreRefusedAtStartDoc) {
  std::filesystem::create_directory(dir_.file("folder"));
  const std::string outputs[] = {
      dir_.file("missing/out.pdf"),  // no such folder
      dir_.file("folder"),           // a folder
  };
  for (const std::string& output : outputs) {
    Settings("Letter", "Portrait", 72, output);
    HDC dc = PrinterDc();
    DOCINFO doc{sizeof(DOCINFO), "d", nullptr, nullptr, 0};
    EXPECT_EQ(StartDoc(dc, &doc), SP_ERROR) << output;
    EXPECT_FALSE(win::print::LastPrintJob().error.empty()) << output;
    DeleteDC(dc);
  }
  EXPECT_EQ(FilesBesideSettings(dir_), 1);  // the folder only
}

TEST_F(PdfPrinterTest, OneDocumentAtATime) {
  HDC first = PrinterDc();
  HDC second = PrinterDc();
  DOCINFO doc{sizeof(DOCINFO), "d", nullptr, nullptr, 0};
  ASSERT_GT(StartDoc(first, &doc), 0);
  EXPECT_EQ(StartDoc(second, &doc), SP_ERROR);
  ASSERT_GT(StartPage(first), 0);
  DrawBand(first, 1);
  ASSERT_GT(EndDoc(first), 0);
  EXPECT_TRUE(win::print::LastPrintJob().finished);
  EXPECT_GT(StartDoc(second, &doc), 0);  // free again
  EXPECT_GT(AbortDoc(second), 0);
  DeleteDC(first);
  DeleteDC(second);
}

TEST_F(PdfPrinterTest, AFileThatCannotBeCompletedIsRemovedAndTheUserTold) {
  HDC dc = PrinterDc();
  DOCINFO doc{sizeof(DOCINFO), "d", nullptr, nullptr, 0};
  ASSERT_GT(StartDoc(dc, &doc), 0);
  ASSERT_GT(StartPage(dc), 0);
  DrawBand(dc, 1);
  // Something takes the file's name meanwhile: a folder cannot be replaced.
  std::filesystem::create_directory(out_);
  std::filesystem::create_directory(out_ + "/inside");
  EXPECT_GT(EndDoc(dc), 0);  // GDI cannot say it failed
  DeleteDC(dc);
  const win::print::PrintJobResult job = win::print::LastPrintJob();
  EXPECT_FALSE(job.finished);
  EXPECT_FALSE(job.error.empty());
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_NE(win::MessageBoxLog()[0].text.find(out_), std::string::npos);
  EXPECT_EQ(FilesBesideSettings(dir_), 1);  // the folder; no temporary file
}

TEST_F(PdfPrinterTest, PrintPagesFailsWhenTheFileCannotBeCompleted) {
  HDC dc = PrinterDc();
  win::print::PrintLoop loop;
  loop.last = 1;
  loop.print = [&](HDC d, UINT page) {
    std::filesystem::create_directories(out_ + "/inside");
    return DrawBand(d, page);
  };
  EXPECT_FALSE(win::print::PrintPages(dc, loop));
  DeleteDC(dc);
}

TEST_F(PdfPrinterTest, TheFileIsCreatedWithTheUsualPermissions) {
  HDC dc = PrinterDc();
  win::print::PrintLoop loop;
  loop.last = 1;
  loop.print = DrawBand;
  ASSERT_TRUE(win::print::PrintPages(dc, loop));
  DeleteDC(dc);
  const mode_t mask = umask(0);
  umask(mask);
  struct stat st{};
  ASSERT_EQ(stat(out_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

}  // namespace
}  // namespace print_test

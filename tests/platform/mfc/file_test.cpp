#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "mfc/afx.h"
#include "support/temp_dir.h"
#include "win/path_map.h"

using testing_support::TempDir;

namespace {

TEST(CFileTest, BinaryRoundTripWithSeekAndLength) {
  TempDir dir;
  const std::string name = dir.file("data.bin");
  {
    CFile f(name.c_str(), CFile::modeCreate | CFile::modeWrite);
    const char bytes[] = {'a', '\0', '\r', '\n', 'z'};
    f.Write(bytes, sizeof bytes);
    f.Write("TAIL", 4);
    EXPECT_EQ(f.GetPosition(), 9u);
    EXPECT_EQ(f.GetLength(), 9u);
    f.Close();
    EXPECT_EQ(f.m_hFile, CFile::hFileNull);
  }
  EXPECT_EQ(TempDir::read(name), std::string("a\0\r\nzTAIL", 9));  // binary: bytes as written

  CFile f;
  CFileException error;
  ASSERT_TRUE(f.Open(name.c_str(), CFile::modeReadWrite, &error));
  char buf[16] = {};
  EXPECT_EQ(f.Seek(-4, CFile::end), 5);
  EXPECT_EQ(f.Read(buf, sizeof buf), 4u);  // short only at the end
  EXPECT_STREQ(buf, "TAIL");
  EXPECT_EQ(f.Read(buf, sizeof buf), 0u);
  f.SeekToBegin();
  EXPECT_EQ(f.Seek(2, CFile::current), 2);
  EXPECT_EQ(f.SeekToEnd(), 9u);
  f.SetLength(3);  // the position moves to the new end
  EXPECT_EQ(f.GetLength(), 3u);
  EXPECT_EQ(f.GetPosition(), 3u);
  f.Write("!", 1);
  f.Flush();
  EXPECT_EQ(TempDir::read(name), std::string("a\0\r!", 4));

  try {
    f.Seek(-100, CFile::begin);
    ADD_FAILURE() << "a seek before the start must throw";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::badSeek);
    e->Delete();
  }
}

TEST(CFileTest, NamesAreReportedInWindowsForm) {
  TempDir dir;
  const std::string name = dir.write("Report.Final.txt", "x");
  CFile f(name.c_str(), CFile::modeRead | CFile::shareDenyWrite);
  EXPECT_STREQ(f.GetFileName(), "Report.Final.txt");
  EXPECT_STREQ(f.GetFileTitle(), "Report.Final");
  EXPECT_STREQ(f.GetFilePath(), win::WindowsPath(name).c_str());
  EXPECT_EQ(f.GetFilePath().Left(3), CString("C:\\"));
  // The Windows form of the name opens the same file, in any letter case.
  CString upper = f.GetFilePath();
  upper.MakeUpper();
  CFile again;
  EXPECT_TRUE(again.Open(upper, CFile::modeRead | CFile::shareDenyNone));
}

TEST(CFileTest, OpenFailuresGiveTheirCauses) {
  TempDir dir;
  dir.write("present.txt", "x");
  struct Case {
    const char* what;
    std::string name;
    UINT flags;
    int cause;
  };
  const Case cases[] = {
      {"missing file", dir.file("missing.txt"), CFile::modeRead, CFileException::fileNotFound},
      {"missing directory", dir.file("nodir/x.txt"), CFile::modeRead, CFileException::badPath},
      {"creating in a missing directory", dir.file("nodir/x.txt"),
       CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
      {"a directory", dir.path().string(), CFile::modeRead, CFileException::accessDenied},
      {"an empty name", "", CFile::modeRead, CFileException::badPath},
  };
  for (const Case& c : cases) {
    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(c.name.c_str(), c.flags, &error)) << c.what;
    EXPECT_EQ(error.m_cause, c.cause) << c.what;
    EXPECT_STREQ(error.m_strFileName, c.name.c_str()) << c.what;
    EXPECT_EQ(f.m_hFile, CFile::hFileNull) << c.what;
  }
  // The throwing constructor: a pointer to a heap exception, freed by Delete.
  const std::string missing = dir.file("missing.txt");
  try {
    CFile f(missing.c_str(), CFile::modeRead);
    ADD_FAILURE() << "must throw";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e->m_lOsError, ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    char text[256];
    EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
    EXPECT_NE(std::strstr(text, "missing.txt"), nullptr) << text;
    e->Delete();
  }
}

TEST(CFileTest, SharingFollowsTheShareModes) {
  TempDir dir;
  const std::string name = dir.write("shared.txt", "content");
  struct Case {
    const char* what;
    UINT first;
    UINT second;
    bool secondOpens;
  };
  const Case cases[] = {
      {"two readers sharing", CFile::modeRead | CFile::shareDenyWrite,
       CFile::modeRead | CFile::shareDenyWrite, true},
      {"writer while reader denies writing", CFile::modeRead | CFile::shareDenyWrite,
       CFile::modeWrite | CFile::shareDenyNone, false},
      {"exclusive", CFile::modeRead | CFile::shareExclusive, CFile::modeRead | CFile::shareDenyNone,
       false},
      {"compatibility mode shares nothing", CFile::modeRead, CFile::modeRead, false},
      {"second denies what the first does", CFile::modeReadWrite | CFile::shareDenyNone,
       CFile::modeRead | CFile::shareDenyWrite, false},
      {"deny none both ways", CFile::modeReadWrite | CFile::shareDenyNone,
       CFile::modeReadWrite | CFile::shareDenyNone, true},
  };
  for (const Case& c : cases) {
    CFile first(name.c_str(), c.first);
    CFile second;
    CFileException error;
    EXPECT_EQ(second.Open(name.c_str(), c.second, &error) != 0, c.secondOpens) << c.what;
    if (!c.secondOpens) {
      EXPECT_EQ(error.m_cause, CFileException::sharingViolation) << c.what;
    }
  }
  // A refused creating open must not have emptied the file.
  CFile holder(name.c_str(), CFile::modeRead | CFile::shareExclusive);
  CFile creator;
  EXPECT_FALSE(creator.Open(name.c_str(), CFile::modeCreate | CFile::modeWrite));
  holder.Close();
  EXPECT_EQ(TempDir::read(name), "content");
  // Once closed, the file opens again.
  CFile later(name.c_str(), CFile::modeRead);
}

TEST(CFileTest, RenameKeepsAnExistingTargetAndRemoveReportsMissingFiles) {
  TempDir dir;
  const std::string a = dir.write("a.txt", "A");
  const std::string b = dir.write("b.txt", "B");
  try {
    CFile::Rename(a.c_str(), b.c_str());
    ADD_FAILURE() << "an existing target must not be replaced";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::accessDenied);
    e->Delete();
  }
  EXPECT_EQ(TempDir::read(b), "B");
  const std::string c = dir.file("c.txt");
  CFile::Rename(a.c_str(), c.c_str());
  EXPECT_EQ(TempDir::read(c), "A");
  CFile::Remove(c.c_str());
  try {
    CFile::Remove(c.c_str());
    ADD_FAILURE() << "removing a missing file must throw";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    e->Delete();
  }
}

TEST(CStdioFileTest, TextModeReadsCrLfAsLfAndWritesLfAsIs) {
  TempDir dir;
  const std::string name = dir.write("lines.txt", std::string("one\r\ntwo\rhalf\n\r\nlast", 20));
  CStdioFile f(name.c_str(), CFile::modeRead | CFile::typeText);
  CString line;
  std::vector<std::string> lines;
  while (f.ReadString(line)) lines.push_back(line.str());
  const std::vector<std::string> expected = {"one", "two\rhalf", "", "last"};
  EXPECT_EQ(lines, expected);
  f.Close();

  CStdioFile binary(name.c_str(), CFile::modeRead | CFile::typeBinary);
  ASSERT_TRUE(binary.ReadString(line));
  EXPECT_STREQ(line, "one\r");

  const std::string out = dir.file("out.txt");
  {
    CStdioFile w(out.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    w.WriteString("alpha\n");
    w.WriteString("beta\n");
  }
  EXPECT_EQ(TempDir::read(out), "alpha\nbeta\n");
}

TEST(CStdioFileTest, FixedBufferReadsLeaveTheRestOfALongLine) {
  TempDir dir;
  const std::string name = dir.write("long.txt", "abcdefgh\r\nxy\r\n\x1aignored");
  CStdioFile f(name.c_str(), CFile::modeRead);
  char buf[5];
  std::vector<std::string> parts;
  while (f.ReadString(buf, sizeof buf)) parts.push_back(buf);
  // Text mode: CR LF becomes "\n", and Ctrl-Z ends the file.
  const std::vector<std::string> expected = {"abcd", "efgh", "\n", "xy\n"};
  EXPECT_EQ(parts, expected);
  EXPECT_EQ(f.ReadString(buf, sizeof buf), nullptr);
}

TEST(CStdioFileTest, OpenModesCreateAppendAndRefuse) {
  TempDir dir;
  const std::string name = dir.file("log.txt");
  {
    CStdioFile f(name.c_str(), CFile::modeCreate | CFile::modeWrite);
    f.WriteString("first\n");
  }
  {
    // Writing without creating appends, as the original library did.
    CStdioFile f(name.c_str(), CFile::modeWrite);
    f.SeekToBegin();
    f.WriteString("second\n");
  }
  {
    CStdioFile f(name.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ(line, "first");
    EXPECT_EQ(f.GetLength(), 13u);
  }
  EXPECT_EQ(TempDir::read(name), "first\nsecond\n");
  CStdioFile missing;
  CFileException error;
  EXPECT_FALSE(missing.Open(dir.file("none.txt").c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
}

TEST(CExceptionTest, MacrosDeleteTheCaughtExceptionUnlessPassedOn) {
  int caught = 0;
  TRY { AfxThrowFileException(CFileException::diskFull, 112, "x"); }
  CATCH(CFileException, e) {
    EXPECT_EQ(e->m_cause, CFileException::diskFull);
    ++caught;
  }
  END_CATCH
  EXPECT_EQ(caught, 1);

  try {
    TRY { AfxThrowMemoryException(); }
    CATCH(CMemoryException, e) { THROW_LAST(); }
    END_CATCH
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    e->Delete();
    ++caught;
  }
  EXPECT_EQ(caught, 2);
  // Windows codes and errno values map to causes.
  EXPECT_EQ(CFileException::OsErrorToException(32), CFileException::sharingViolation);
  EXPECT_EQ(CFileException::OsErrorToException(3), CFileException::badPath);
  EXPECT_EQ(CFileException::OsErrorToException(12345), CFileException::generic);
  EXPECT_EQ(CFileException::ErrnoToException(ENOSPC), CFileException::diskFull);
}

}  // namespace

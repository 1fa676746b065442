// Generic documents and viewer command templates: expansion of the
// variables, templates from the settings file, the arguments' file name
// (kept inside the temporary directory), refresh, and starting a viewer.
#include "core/generic_document.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/content_transfer.h"
#include "core/objects/document_test_fixture.h"
#include "core/viewer_launch.h"
#include "core/viewer_templates.h"

namespace {

using doctest::Make;

const std::string kGeneric = "Type=Document\nDocumentType=Generic\n";

class GenericDocumentTest : public doctest::DocumentFixture {};

TEST(ViewerTemplate, Expansion) {
  ViewerVariables v;
  v.title = "T";
  v.path = "/a";
  v.subtype = "sub";
  v.doctype = "Image";
  v.args[0] = "file.gif";
  v.args[1] = "-q";
  struct Case {
    const char* tmpl;
    bool appendFile;
    const char* expected;
  };
  const Case cases[] = {
      {"view $path -t $title", true, "view /a -t T file.gif"},
      {"x$path$subtype", false, "x/asub"},
      {"a\t$path", false, "a/a"},               // a tab before '$' does not separate
      {"a $path", false, "a /a"},
      {"$path", false, "/a"},                    // nothing before the '$'
      {"show $foo", false, "show $foo"},         // unknown variables stay
      {"internal", true, "internal"},
      {"prog $arg0 $arg1 $arg2", true, "prog file.gif -q \"\""},  // an empty value keeps its place
      {"viewer", true, "viewer file.gif"},
      {"viewer", false, "viewer"},
      {"  a \t\t b  ", false, "a b"},            // runs of separators
      {"$doctype:$title", false, "$doctype:T"},  // ':' is part of the name
      {"", true, "file.gif"},
      {"$", false, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExpandViewerTemplate(c.tmpl, v, c.appendFile), c.expected) << c.tmpl;
}

TEST(ViewerTemplate, EveryValueIsOneWholeArgument) {
  // Values from the server or the file system, with blanks, quotes and
  // option-like words: each stays exactly one argument, in its place.
  ViewerVariables v;
  v.title = "Quarterly \"report\" --remote-cmd=rm";
  v.author = "";
  v.args[0] = "/tmp/my files/a b.gif";
  struct Case {
    const char* tmpl;
    std::vector<std::string> args;
  } cases[] = {
      {"xv -name $title $arg0", {"xv", "-name", "Quarterly \"report\" --remote-cmd=rm", "/tmp/my files/a b.gif"}},
      {"show -a $author -t $title", {"show", "-a", "", "-t", "Quarterly \"report\" --remote-cmd=rm", "/tmp/my files/a b.gif"}},
      {"x --file=$arg0", {"x", "--file=/tmp/my files/a b.gif"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExpandViewerArguments(c.tmpl, v, true), c.args) << c.tmpl;
    // The command line the document keeps gives the same arguments back.
    EXPECT_EQ(SplitCommandLine(ExpandViewerTemplate(c.tmpl, v, true)), c.args) << c.tmpl;
  }
}

TEST_F(GenericDocumentTest, DocumentVariablesAndArguments) {
  Ref<GenericDocument> g = Make<GenericDocument>(
      1,
      kGeneric + "SubType=mpeg\nArguments=out.dat -q\t-v\nPath=/p\nAuthor=ann\n"
                 "TimeCreated=99/01/02 03:04:05\nTitle=en:Caf&eacute;\nHost=h\n",
      Ref<Store>(server));
  EXPECT_EQ(g->getClassCode(), kClassGeneric);
  EXPECT_EQ(g->getArguments(), "out.dat -q\t-v");
  EXPECT_EQ(g->buildViewerCommand("prog $arg0 $arg1 $arg2 $arg3", "F"), "prog F -q -v \"\"");
  EXPECT_EQ(g->buildViewerCommand("v $subtype $host $author $created $title $language", "F"),
            "v mpeg \"\" ann \"99/01/02 03:04:05\" Caf\xe9 en");
  EXPECT_EQ(g->buildViewerCommand("viewer", "F"), "viewer");  // no file for Generic

  // Only the first ten words count.
  Ref<GenericDocument> many = Make<GenericDocument>(
      2, kGeneric + "Arguments=w0 w1 w2 w3 w4 w5 w6 w7 w8 w9 w10\n", Ref<Store>(server));
  EXPECT_EQ(many->buildViewerCommand("$arg9 $arg10", "F"), "w9 $arg10");

  // Remote documents have host and port; other kinds no subtype or args.
  Ref<Document> remote = Make(3, "Type=Document\nDocumentType=Remote\nHost=h\nPort=70\n"
                                 "SubType=s\nArguments=a b\n",
                              Ref<Store>(server));
  EXPECT_EQ(remote->buildViewerCommand("v $host $port $subtype", "F"), "v h 70 \"\" F");
}

TEST_F(GenericDocumentTest, ContentGoesToTheArgumentsFileInsideTheTemporaryDirectory) {
  struct Case {
    const char* arguments;
    const char* expectedName;  // null: a fresh "GenOb" name
  };
  const Case cases[] = {
      {"out.dat -q", "out.dat"},
      {"../../escaped.dat -q", "escaped.dat"},
      {"/etc/abs.dat -q", "abs.dat"},
      {"C:\\WINDOWS\\drive.dat -q", "drive.dat"},
      {".. -q", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    Ref<GenericDocument> g = Make<GenericDocument>(
        1, kGeneric + "Arguments=" + c.arguments + "\n", Ref<Store>(server));
    server->setContent("0x00000001", "generic bytes");
    ASSERT_TRUE(g->loadContent(1, "", "prog $arg0 $arg1", "")) << c.arguments;
    const std::string file = g->getContentFile().str();
    EXPECT_EQ(std::filesystem::path(file).parent_path(), tempDir) << file;
    if (c.expectedName) {
      EXPECT_EQ(std::filesystem::path(file).filename(), c.expectedName);
      EXPECT_EQ(g->getViewerCommand(), ("prog " + file + " -q").c_str());
    } else {
      EXPECT_EQ(std::filesystem::path(file).filename().string().rfind("GenOb", 0), 0u) << file;
      EXPECT_EQ(file.back(), '.');  // no extension is added
    }
    EXPECT_EQ(testing_support::TempDir::read(file), "generic bytes");
    EXPECT_FALSE(std::filesystem::exists(dir.path().parent_path() / "escaped.dat"));
    server->clearTables();
  }
}

TEST_F(GenericDocumentTest, TemplatesFromTheSettingsFile) {
  useSettings("[Generic]\nmpeg=mpeg_play $arg0\nx-tar=tar tf $arg0\n"
              "[Remote]\nnever=x\n[Sound]\ntxt=never\n");
  struct Case {
    const char* lines;
    const char* command;  // with F for the file
  };
  const Case cases[] = {
      {"SubType=mpeg\n", "mpeg_play F"},
      {"MimeType=application/x-tar\n", "tar tf F"},
      {"SubType=mpeg\nMimeType=application/x-tar\n", "mpeg_play F"},  // the subtype first
  };
  for (const Case& c : cases) {
    Ref<GenericDocument> g =
        Make<GenericDocument>(1, kGeneric + c.lines, Ref<Store>(server));
    server->setContent("0x00000001", "data");
    ASSERT_TRUE(g->loadContent(1, "", "", "")) << c.lines;
    std::string expected = c.command;
    expected.replace(expected.find('F'), 1, g->getContentFile().str());
    EXPECT_EQ(g->getViewerCommand(), expected.c_str());
    server->clearTables();
  }

  // No template for the subtype: the box, and nothing is kept.
  win::ClearMessageBoxLog();
  const std::size_t kept = tempFiles().size();
  Ref<GenericDocument> unknown =
      Make<GenericDocument>(1, kGeneric + "SubType=none\n", Ref<Store>(server));
  dir.write("format.dat", "");
  server->setContent("0x00000001", "data");
  EXPECT_FALSE(unknown->loadContent(1, "", "", ""));
  EXPECT_EQ(doctest::BoxTexts(),
            std::vector<std::string>{"No appropriate viewer found for this document type !"});
  EXPECT_EQ(tempFiles().size(), kept);

  // The setting lookup itself.
  EXPECT_EQ(ViewerTemplateSetting("generic", "MPEG"), "mpeg_play $arg0");  // names without case
  EXPECT_EQ(ViewerTemplateSetting("", "mpeg"), "");
  EXPECT_EQ(ViewerTemplateSetting("Generic", ""), "");
  app.reset();
  EXPECT_EQ(ViewerTemplateSetting("Generic", "mpeg"), "");  // no application
}

TEST_F(GenericDocumentTest, RefreshReadsTheArgumentsAndAttributesAgain) {
  Ref<GenericDocument> g =
      Make<GenericDocument>(1, kGeneric + "Arguments=old\nSubType=a\n", Ref<Store>(server));
  server->addRecord("0x00000001", Record(1, (kGeneric + "Arguments=new x\nSubType=b\n").c_str()));
  g->invalidate(kRefreshAttributes);
  EXPECT_TRUE(g->refresh());
  EXPECT_EQ(g->getArguments(), "new x");
  EXPECT_EQ(g->getSubType(), "b");

  // Without a fetch asked for, nothing is read.
  g->invalidate(kRefreshNoFetch);
  EXPECT_TRUE(g->refresh());
  EXPECT_FALSE(g->isParsed());
  g->invalidate(0);
  const int asked = server->callCount("getRecord");
  EXPECT_TRUE(g->refresh());
  EXPECT_TRUE(g->isParsed());
  EXPECT_EQ(server->callCount("getRecord"), asked);

  server->clearTables();
  g->invalidate(kRefreshAttributes);
  EXPECT_FALSE(g->refresh());
}

TEST(ViewerLaunch, CommandLinesAndStarts) {
  struct Case {
    const char* command;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"xv -name T /tmp/f", {"xv", "-name", "T", "/tmp/f"}},
      {"  a\t\tb ", {"a", "b"}},
      {"view \"My Title\" f", {"view", "My Title", "f"}},
      {"x \"\" y", {"x", "", "y"}},
      {"say \"a \"\"b\"\"\" \"\"\"\"", {"say", "a \"b\"", "\""}},  // quotes within quotes
      {"", {}},
      {"a;rm -rf /", {"a;rm", "-rf", "/"}},  // no shell: ';' is just a character
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.command), c.words) << c.command;

  CString why;
  EXPECT_EQ(StartViewer("internal", why), ViewerStart::kInternal);
  EXPECT_EQ(StartViewer("  ", why), ViewerStart::kNotConfigured);
  EXPECT_FALSE(why.IsEmpty());
  EXPECT_EQ(StartViewer("/nonexistent/zemra-viewer file", why), ViewerStart::kFailed);
  EXPECT_GE(why.Find("zemra-viewer"), 0);
  EXPECT_EQ(StartViewer("true ignored-argument", why), ViewerStart::kStarted);
}

}  // namespace

// The page's text object: it finds its document's file through the shell,
// shows it, reads the anchor positions that say where to scroll, turns a
// link of the document into a goto, and turns a submitted form into a goto
// of a pseudo document that carries the query.
#include "pages/text/vtext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/attr_record.h"
#include "core/logbook.h"
#include "core/objects/support/fake_store.h"
#include "core/store_registry.h"
#include "display/headless.h"
#include "layout/view/text_view.h"
#include "mfc/afx.h"
#include "mfc/app.h"
#include "mfc/dc.h"
#include "net/open_store.h"
#include "text/anchors/anchor_range.h"
#include "pages/shell_link.h"
#include "pages/support/test_objects.h"
#include "support/temp_dir.h"
#include "text/draw/draw_styles.h"
#include "win/user.h"

namespace {

struct RecordingShell : ShellLink {
  CString FetchCached(const CString& reference) override {
    fetched.emplace_back(reference.c_str());
    auto it = files.find(reference.c_str());
    return it == files.end() ? CString() : CString(it->second.c_str());
  }
  CString AcquireCached(const CString& reference) override {
    CString file = FetchCached(reference);
    if (!file.IsEmpty()) ++locks[reference.c_str()];
    return file;
  }
  void UnlockCached(const CString& reference) override { --locks[reference.c_str()]; }
  void PushGoto(const Ref<KXObject>& object) override { gotos.push_back(object); }
  void ExecuteAnchorAction(const Ref<KXObject>& anchor) override { followed.push_back(anchor); }
  std::map<std::string, std::string> files;
  std::map<std::string, int> locks;
  std::vector<std::string> fetched;
  std::vector<Ref<KXObject>> gotos;
  std::vector<Ref<KXObject>> followed;
};

// A text object whose parent window is the test's host.
class HostedText : public VText {
 public:
  HostedText(CWnd* host, const char* file) : VText(0, 0, 400, 300), host_(host) { SetFileName(file); }
  HostedText(CWnd* host, const Ref<KXObject>& document) : VText(0, 0, 400, 300, document), host_(host) {}
  CWnd* GetWindow() override { return host_; }

 private:
  CWnd* host_;
};

class VTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    win::ResetGdiState();
    std::string ini = dir_.write("Tolm.ini", std::string("[TextViewer]\nHTMLDir=") + ZEMRA_SOURCE_DIR +
                                                 "/data/textdefs\nhomeDir=" + dir_.path().string() +
                                                 "\n[Styles]\nDrawStyles=1\n");
    app_ = std::make_unique<CWinApp>("ZemraVTextTest");
    app_->m_pszProfileName = strdup(ini.c_str());
    DrawStyles::Unload();
    SetShellLink(&shell_);
    objects_.Install();
    host_.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr, nullptr);
  }
  void TearDown() override {
    text_.reset();
    host_.DestroyWindow();
    // The framework's temporary objects go at idle time, which tests skip.
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    objects_.Remove();
    SetShellLink(nullptr);
    DrawStyles::Unload();
    win::ResetUserState();
  }
  HostedText& Open(const std::string& name, const std::string& html) {
    shell_.files[name] = dir_.write(name, html);
    text_ = std::make_unique<HostedText>(&host_, name.c_str());
    text_->Initialize();
    win::headless::DispatchPending();
    return *text_;
  }

  testing_support::TempDir dir_;
  std::unique_ptr<CWinApp> app_;
  RecordingShell shell_;
  pages_test::TestObjects objects_;
  CWnd host_;
  std::unique_ptr<HostedText> text_;
};

TEST(VTextAnchors, PositionsAreReadDecimalOrHexadecimalAndCheckedForOrder) {
  struct Case {
    const char* text;
    bool valid;
    LONG start, end;
  };
  const Case cases[] = {
      {"12 40", true, 12, 40},  {"0xc 0x28", true, 12, 40}, {"40 12", false, 0, 0},
      {"-1 5", false, 0, 0},    {"7", false, 0, 0},         {"0x28 0xc", false, 0, 0},
      {"0 0", true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LONG s = 99, e = 99;
    EXPECT_EQ(VText::ParseAnchorPosition(c.text, s, e), c.valid);
    // A position that cannot be read is never used: both ends are 0.
    EXPECT_EQ(s, c.start);
    EXPECT_EQ(e, c.end);
  }
}

TEST(VTextForms, ASubmissionBecomesARemoteRecordWithItsQuery) {
  const CString action =
      "ObjectID=-3\nRefID=0xffffffb\nType=Document\nDocumentType=Remote\nProtocol=http\nHost=quay.example\n"
      "Path=/cgi/order\nMethod=WWW_GET";
  CString record = VText::SubmissionRecord(action, "who=Ida+Marsh&boat=barge");
  AttrRecord r(record);
  EXPECT_EQ(r.getAttribute("CGI_REQUEST_METHOD="), "GET");
  EXPECT_EQ(r.getAttribute("CGI_QUERY_STRING="), "who=Ida+Marsh&boat=barge");
  EXPECT_EQ(r.getAttribute("Path="), "/cgi/order");
  EXPECT_EQ(r.getAttribute("Method="), "");
  // Never answered from the object cache: a second submission is new.
  EXPECT_EQ(r.getAttribute("ObjectID="), "");
  EXPECT_EQ(AttrRecord(VText::SubmissionRecord("Type=Document\nMethod=WWW_POST", "q=1")).getAttribute("CGI_REQUEST_METHOD="),
            "POST");
}

// A server text whose two link anchors the server gives out of the order
// of their places: each lies over the words its position names, and
// following the link found at a place reaches that anchor's action.
TEST_F(VTextTest, AnchorsByPositionLieOverTheirWordsAndAreFollowed) {
  Ref<FakeStore> server(new FakeStore("fake://texts/"));
  const Ref<KXObject> doc = objects_.Text(0x60);
  doc->setStore(Ref<Store>(server));
  // Offsets: "Marrow Bay" is 12..22, "Quill Point" 27..38.
  shell_.files[objectUrl(doc).str()] = dir_.write("coast.html", "<P>Tides at Marrow Bay and Quill Point.</P>");
  auto anchor = [&](std::int32_t id, const char* lines) {
    Ref<KXObject> a(TheObjectFactory().createObject(Record(id, lines)));
    a->setStore(Ref<Store>(server));
    EXPECT_TRUE(CacheObject(a->getObjectIdText(), a));
    return a;
  };
  const Ref<KXObject> point = anchor(0x61, "Type=Anchor\nTAnchor=Src\nDest=0x00000070\nPosition=27 38\n");
  const Ref<KXObject> bay = anchor(0x62, "Type=Anchor\nTAnchor=Src\nDest=0x00000071\nPosition=12 22\n");
  for (std::int32_t id : {0x70, 0x71}) {
    const Ref<KXObject> to = objects_.Text(id);
    CacheObject(to->getObjectIdText(), to);
  }
  server->setResults(kRequestAnchors, doc->getIdentifier(), {point, bay});

  text_ = std::make_unique<HostedText>(&host_, doc);
  text_->Initialize();
  win::headless::DispatchPending();
  ASSERT_NE(text_->View(), nullptr);
  MarkupDocument* shown = text_->View()->Document();
  ASSERT_NE(shown, nullptr);
  struct Place {
    LONG at;
    const char* followed;  // null: no link there
  };
  const Place places[] = {{14, "0x00000062"}, {30, "0x00000061"}, {5, nullptr}, {24, nullptr}};
  for (const Place& p : places) {
    SCOPED_TRACE(p.at);
    shell_.followed.clear();
    const CString links = shown->GetLinksAt(Position(p.at));
    if (!p.followed) {
      EXPECT_TRUE(links.IsEmpty());
      continue;
    }
    ASSERT_FALSE(links.IsEmpty());
    text_->FollowAnchor(links);
    ASSERT_EQ(shell_.followed.size(), 1u);
    EXPECT_EQ(shell_.followed[0]->getObjectIdText(), p.followed);
  }
  text_.reset();
  ClearObjectCache();
  server->clearTables();
}

TEST_F(VTextTest, AFileNameIsFetchedThroughTheShellAndShown) {
  HostedText& text = Open("harbour.html", "<P>The tide is <B>high</B> at Marrow Bay.</P>");
  ASSERT_NE(text.View(), nullptr);
  EXPECT_EQ(shell_.fetched, (std::vector<std::string>{"harbour.html"}));
  ASSERT_NE(text.View()->Document(), nullptr);
  EXPECT_TRUE(text.View()->Extent().IsComputed());
  EXPECT_TRUE(text.View()->IsWindowVisible());
  EXPECT_EQ(text.GetOwnWindow(), text.View()->GetSafeHwnd());
  // The same name again loads nothing new; another one does.
  text.SetFileName("harbour.html");
  EXPECT_EQ(shell_.fetched.size(), 1u);
  text.SetFileName("missing.html");
  EXPECT_EQ(shell_.fetched.size(), 2u);
  EXPECT_NE(text.View()->Document(), nullptr);  // the view keeps what it showed
}

TEST_F(VTextTest, TheFileShownIsKeptInTheCacheUntilAnotherIsShownOrTheObjectGoes) {
  shell_.files["tides.html"] = dir_.write("tides.html", "<P>High water at noon.</P>");
  HostedText& text = Open("harbour.html", "<P>The tide is high at Marrow Bay.</P>");
  using Locks = std::map<std::string, int>;
  EXPECT_EQ(shell_.locks, (Locks{{"harbour.html", 1}}));
  text.SetFileName("tides.html");
  EXPECT_EQ(shell_.locks, (Locks{{"harbour.html", 0}, {"tides.html", 1}}));
  // A file that cannot be had changes nothing: the view keeps its document.
  text.SetFileName("missing.html");
  EXPECT_EQ(shell_.locks, (Locks{{"harbour.html", 0}, {"tides.html", 1}}));
  text_.reset();
  EXPECT_EQ(shell_.locks, (Locks{{"harbour.html", 0}, {"tides.html", 0}}));
}

TEST_F(VTextTest, ALinkOfTheDocumentAndASubmittedFormBecomeGotos) {
  HostedText& text = Open("links.html",
                          "<P><A HREF=\"http://quay.example/tides.html\">tides</A></P>"
                          "<FORM ACTION=\"http://quay.example/cgi/order\"><INPUT NAME=who VALUE=Ida>"
                          "<INPUT TYPE=SUBMIT></FORM>");
  MarkupDocument* doc = text.View()->Document();
  ASSERT_NE(doc, nullptr);
  // The link text the view hands over for a click on the anchor.
  ASSERT_NE(doc->AnchorRanges().first(), nullptr);
  auto* range = static_cast<AnchorRange*>(doc->AnchorRanges().first());
  CString links = doc->GetLinksAt(range->Lower());
  ASSERT_FALSE(links.IsEmpty());
  text.FollowAnchor(links);
  ASSERT_EQ(shell_.gotos.size(), 1u);
  ASSERT_TRUE(shell_.gotos[0]);
  EXPECT_NE(shell_.gotos[0]->recordText().Find("tides.html"), -1);

  // A submission: the form's fields as a GET query.
  for (HWND c = GetWindow(text.View()->GetSafeHwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    SendMessage(text.View()->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(150, BN_CLICKED), reinterpret_cast<LPARAM>(c));
  }
  ASSERT_EQ(shell_.gotos.size(), 2u);
  ASSERT_TRUE(shell_.gotos[1]);
  AttrRecord r(shell_.gotos[1]->recordText());
  EXPECT_EQ(r.getAttribute("CGI_REQUEST_METHOD="), "GET");
  EXPECT_EQ(r.getAttribute("CGI_QUERY_STRING="), "who=Ida");
}

// Submissions as the document's encoder hands them over: the action (a link
// record the builder made, a plain address, or nothing) with its method
// line, and the encoded pairs. Each becomes one goto of a remote record
// that names the absolute address and carries the method and the query.
TEST_F(VTextTest, ASubmissionGoesToTheAbsoluteAddressOfItsActionWithMethodAndQuery) {
  HostedText& text = Open("order.html", "<P>Orders</P>");
  MarkupDocument* doc = text.View()->Document();
  ASSERT_NE(doc, nullptr);
  // A link record made while no base was known keeps its address relative.
  const CString unplaced = doc->MakeUrlLink("cgi/order", CString());
  doc->Viewer().Setup().SetName(NamedValueSource::kReferenceBase, "http://quay.example:8080/harbour/index.html");
  const CString placed = doc->MakeUrlLink("http://tides.example/cgi/order", CString());
  struct Case {
    const char* name;
    CString action;
    const char* query;
    const char* method;
    const char* host;
    const char* port;
    const char* path;
  };
  const Case cases[] = {
      {"absolute link record, GET", placed + "\nMethod=WWW_GET", "who=Ida+Marsh&boat=barge", "GET", "tides.example",
       "80", "/cgi/order"},
      {"relative address, POST", "cgi/order\nMethod=WWW_POST", "a=1&b=2", "POST", "quay.example", "8080",
       "/harbour/cgi/order"},
      {"address from the root, GET, no pairs", "/cgi/order\nMethod=WWW_GET", "", "GET", "quay.example", "8080",
       "/cgi/order"},
      {"no address: the document itself", "\nMethod=WWW_POST", "q=1", "POST", "quay.example", "8080",
       "/harbour/index.html"},
      {"relative link record, placed now", unplaced + "\nMethod=WWW_GET", "who=Ida", "GET", "quay.example", "8080",
       "/harbour/cgi/order"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    shell_.gotos.clear();
    text.ForwardRequest(c.action, c.query);
    ASSERT_EQ(shell_.gotos.size(), 1u);
    ASSERT_TRUE(shell_.gotos[0]);
    AttrRecord r(shell_.gotos[0]->recordText());
    EXPECT_EQ(r.getAttribute("DocumentType="), "Remote");
    EXPECT_EQ(r.getAttribute("Protocol="), "http");
    EXPECT_EQ(r.getAttribute("Host="), c.host);
    EXPECT_EQ(r.getAttribute("Port="), c.port);
    EXPECT_EQ(r.getAttribute("Path="), c.path);
    EXPECT_EQ(r.getAttribute("CGI_REQUEST_METHOD="), c.method);
    EXPECT_EQ(r.getAttribute("CGI_QUERY_STRING="), c.query);
    // The query ends the record: the session sends what follows its key.
    const CString record = shell_.gotos[0]->recordText();
    EXPECT_EQ(record.Right(static_cast<int>(std::strlen(c.query)) + 1), CString(c.query) + "\n");
    EXPECT_EQ(r.getAttribute("Method="), "");
  }
}

TEST_F(VTextTest, ASubmissionWithoutAnAbsoluteAddressGoesNowhereAndIsLogged) {
  HostedText& text = Open("order.html", "<P>Orders</P>");
  const std::string logPath = (dir_.path() / "submit.log").string();
  TheLogbook().SetFileName(logPath.c_str());
  // No base: neither a relative address nor no address can be placed.
  text.ForwardRequest("cgi/order\nMethod=WWW_GET", "who=Ida");
  text.ForwardRequest("\nMethod=WWW_POST", "who=Ida");
  TheLogbook().Close();
  EXPECT_TRUE(shell_.gotos.empty());
  const std::string log = testing_support::TempDir::read(logPath);
  std::vector<std::string> lines;
  for (size_t at = 0, nl; (nl = log.find('\n', at)) != std::string::npos; at = nl + 1)
    if (log.compare(at, 22, "cannot submit form to ") == 0) lines.push_back(log.substr(at, nl - at));
  ASSERT_EQ(lines.size(), 2u) << log;
  EXPECT_NE(lines[0].find("cannot submit form to cgi/order"), std::string::npos) << lines[0];
}

}  // namespace

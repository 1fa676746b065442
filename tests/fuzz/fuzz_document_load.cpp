// fuzz-libs: zemra_text
// The whole load of a document on arbitrary bytes, through the shipped HTML
// and KTF definitions and the Dingbat table, into a counting atom sink. The
// input is a document record, the server's anchor text and the document
// body, separated by NUL bytes. Every load ends with a position inside the
// body (or -1), leaves no atom behind when the document goes, and answers
// selection and link questions at any position.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/named_list.h"
#include "tests/text/support/counting_atoms.h"
#include "text/anchors/anchor_range.h"
#include "text/build/build_listener.h"
#include "text/definition_set.h"
#include "text/document/markup_document.h"
#include "text/html_tokenizer.h"
#include "text/resources/dingbat_table.h"
#include "text/resources/picture_factory.h"
#include "text/tag_definition_table.h"

namespace {

void fail(const char* what, int line) {
  std::fprintf(stderr, "check failed at line %d: %s\n", line, what);
  std::abort();
}
#define check(ok) ((ok) ? (void)0 : fail(#ok, __LINE__))

std::string dataFile(const char* name) { return std::string(ZEMRA_SOURCE_DIR) + "/data/" + name; }

struct Picture : NamedObject {};

// Pictures for every request: the pool and the Dingbats both answer.
struct Pictures : PictureFactory, BuildListener {
  Pictures() { shared.acquire(); }
  NamedObject* CreatePicture(const void*, LONG) override { return new Picture; }
  NamedObject* DefaultPicture() override { return &shared; }
  void BuildFinished(BuildTarget*, LONG) override {}
  NamedObject* RequestPicture(const CString& name, const CString&, const PictureContext*, BuildTarget*,
                              LONG) override {
    return name.IsEmpty() ? nullptr : &shared;
  }
  Picture shared;
};

struct Shared {
  Shared() : dingbats(dataFile("Dingbat/Dingbat.dat").c_str()) {
    InstallPictureFactory(&pictures);
    for (int i = 0; i < 2; ++i) {
      std::ifstream in(dataFile(i ? "textdefs/KTF.sty" : "textdefs/HTML.sty"));
      definitions[i].Read(in);
    }
  }
  Pictures pictures;
  DingbatTable dingbats;
  DefinitionSet definitions[2];
};

class FuzzDocument : public MarkupDocument {
 public:
  FuzzDocument(bool ktf, const CString& record, Shared& shared, CountingFactory& factory)
      : MarkupDocument(record, tokens(ktf), &shared.definitions[ktf], resources(shared, factory), 1), ktf_(ktf) {}
  int LoadDocument(bool fresh) {
    if (!Stream()) return 0;
    if (!ktf_) return Load(&target_, CString(), fresh);
    Stream()->seekg(0);
    ApplyRecordSettings();
    return Build(&target_, CString(), fresh, true);
  }

 private:
  static std::unique_ptr<TokenSource> tokens(bool ktf) {
    return std::make_unique<TagDefinitionTable>(
        CString(dataFile(ktf ? "textdefs/KTF.pri" : "textdefs/HTML.pri").c_str()),
        std::make_unique<HtmlTokenizer>(ktf ? HtmlTokenizer::kKtf : HtmlTokenizer::kHtml));
  }
  static DocumentResources resources(Shared& shared, CountingFactory& factory) {
    DocumentResources r;
    r.listener = &shared.pictures;
    r.dingbats = &shared.dingbats;
    r.factory = &factory;
    return r;
  }
  bool ktf_;
  BuildTarget target_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 24 * 1024) return 0;
  static Shared shared;
  const std::string input(reinterpret_cast<const char*>(data), size);
  size_t a = input.find('\0');
  size_t b = a == std::string::npos ? a : input.find('\0', a + 1);
  const std::string record = a == std::string::npos ? "" : input.substr(0, a);
  const std::string anchors = b == std::string::npos ? "" : input.substr(a + 1, b - a - 1);
  const std::string body = b == std::string::npos ? input : input.substr(b + 1);
  const LONG length = static_cast<LONG>(body.size());

  for (bool ktf : {false, true}) {
    CountingFactory factory;
    {
      FuzzDocument doc(ktf, CString(record), shared, factory);
      doc.SetAnchors(CString(anchors));
      doc.SetInputStream(std::make_unique<std::istringstream>(body));
      for (bool fresh : {true, false}) {
        int result = doc.LoadDocument(fresh);
        check(result == -1 || (result >= 0 && result <= length + 1));
        check(doc.GetRoot() != nullptr);
      }
      for (ListElement* e = doc.AnchorRanges().first(); e; e = e->next())
        check(static_cast<AnchorRange*>(e)->Record() != nullptr);
      Position middle(length / 2);
      doc.SetCaret(Position(0));
      doc.SetSelectionEnd(middle);
      doc.GetLinksAt(middle);
      doc.GetLinksOfSelection();
      doc.NextAnchor(true);
      doc.NextAnchor(false);
    }
    check(factory.live == 0);
  }
  return 0;
}

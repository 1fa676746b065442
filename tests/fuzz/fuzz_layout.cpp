// fuzz-libs: zemra_layout zemra_text
// Whole documents on arbitrary bytes through the tokenizer, the builder and
// the layout's own atoms, laid out at two fixed widths with fixed metrics,
// drawn, hit-tested and stepped through; and, while each is built, laid
// out and drawn as far as it has come, with its atoms still open, as the
// view shows a document that is loading. Every layout ends, and the tree
// goes with its document.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/named_list.h"
#include "layout/atoms/document_layout.h"
#include "layout/atoms/layout_atom_factory.h"
#include "layout/atoms/text_output.h"
#include "text/build/build_listener.h"
#include "text/definition_set.h"
#include "text/document/document_view.h"
#include "text/document/markup_document.h"
#include "text/html_tokenizer.h"
#include "text/tag_definition_table.h"

namespace {

std::string dataFile(const char* name) { return std::string(ZEMRA_SOURCE_DIR) + "/data/" + name; }

// Every byte 7 units wide (scaled), ascent 9, descent 3; drawing is counted.
struct FixedOutput : TextOutput {
  static LONG Scale(const FontDescriptor& d) { return d.scale ? d.scale : 100; }
  bool DrawText(const LayoutPoint&, const char*, LONG, const FontDescriptor&) override { return ++drawn, true; }
  bool TextExtent(LayoutRect& box, const char*, LONG length, const FontDescriptor& d) override {
    box = LayoutRect::Of(0, length * 7 * Scale(d) / 100, -9 * Scale(d) / 100, 3 * Scale(d) / 100);
    return true;
  }
  bool BlankExtent(LayoutRect& box, LONG count, const FontDescriptor& d) override {
    LONG w = 7 * Scale(d) / 100;
    box = LayoutRect::Of(count >= 1 ? 0 : w, count >= 1 ? count * w : w, -9 * Scale(d) / 100, 3 * Scale(d) / 100);
    return true;
  }
  LONG DeviceChangeCount() const override { return 0; }
  bool FillRect(const LayoutRect&, const FontDescriptor&) override { return true; }
  bool Polygon(const LayoutPoint*, int, const FontDescriptor&) override { return true; }
  bool Ellipse(const LayoutRect&, const FontDescriptor&) override { return true; }
  bool Line(const LayoutPoint&, const LayoutPoint&, const FontDescriptor&) override { return true; }
  LONG FontSize(const FontDescriptor& d) override { return 12 * Scale(d) / 100; }
  void PictureSize(LayoutSize& out, NamedObject*) override { out = LayoutSize{16, 16}; }
  void ScaleToDevice(LayoutSize&) override {}
  bool StretchPicture(const LayoutPoint&, const LayoutSize&, NamedObject*) override { return true; }
  void EraseBackground(const LayoutRect&) override {}
  bool DrawPicture(const LayoutPoint&, const LayoutRect&, NamedObject*) override { return true; }
  long drawn = 0;
};

// Lays out and draws what the build has made so far at each report.
struct GrowingView : DocumentView {
  void ForwardRequest(const CString&, const CString&) override {}
  void ContentAdded(MarkupDocument& document, LONG) override;
};

struct NoPictures : BuildListener {
  void BuildFinished(BuildTarget*, LONG) override {}
  NamedObject* RequestPicture(const CString&, const CString&, const PictureContext*, BuildTarget*, LONG) override {
    return nullptr;
  }
};

struct Shared {
  Shared() {
    for (int i = 0; i < 2; ++i) {
      std::ifstream in(dataFile(i ? "textdefs/KTF.sty" : "textdefs/HTML.sty"));
      definitions[i].Read(in);
    }
  }
  NoPictures pictures;
  GrowingView view;
  LayoutAtomFactory factory;
  DefinitionSet definitions[2];
};

class FuzzDocument : public MarkupDocument {
 public:
  FuzzDocument(bool ktf, Shared& shared)
      : MarkupDocument(CString(), tokens(ktf), &shared.definitions[ktf], resources(shared), 1), ktf_(ktf) {}
  int LoadDocument() {
    if (!Stream()) return 0;
    if (!ktf_) return Load(&target_, CString(), true);
    Stream()->seekg(0);
    return Build(&target_, CString(), true, true);
  }

 private:
  static std::unique_ptr<TokenSource> tokens(bool ktf) {
    return std::make_unique<TagDefinitionTable>(
        CString(dataFile(ktf ? "textdefs/KTF.pri" : "textdefs/HTML.pri").c_str()),
        std::make_unique<HtmlTokenizer>(ktf ? HtmlTokenizer::kKtf : HtmlTokenizer::kHtml));
  }
  static DocumentResources resources(Shared& shared) {
    DocumentResources r;
    r.listener = &shared.pictures;
    r.view = &shared.view;
    r.factory = &shared.factory;
    return r;
  }
  bool ktf_;
  BuildTarget target_;
};

void GrowingView::ContentAdded(MarkupDocument& document, LONG) {
  Atom* root = document.GetRoot();
  if (!root) return;
  root->Reset(1);
  DocumentLayout layout(root);
  FixedOutput out;
  layout.Layout(&out, 200);
  LayoutRect bounds = layout.Bounds();
  layout.Draw(&out, LayoutPoint{0, 0}, LayoutRect::Of(0, 200, 0, bounds.Height()), nullptr);
  std::unique_ptr<Position> hit(layout.HitTest(&out, LayoutPoint{60, bounds.Height() / 2}, 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Layout time grows with the text; a few kilobytes show every construct.
  if (size > 8 * 1024) return 0;
  static Shared shared;
  const std::string body(reinterpret_cast<const char*>(data), size);
  for (bool ktf : {false, true}) {
    FuzzDocument doc(ktf, shared);
    doc.SetInputStream(std::make_unique<std::istringstream>(body));
    doc.SetFirstContentReport(16);
    doc.LoadDocument();
    // Layouts of the growing tree leave their marks: measured afresh.
    if (doc.GetRoot()) doc.GetRoot()->Reset(1);
    if (!doc.GetRoot()) continue;
    DocumentLayout layout(doc.GetRoot());
    for (LONG width : {640, 40}) {
      FixedOutput out;
      layout.Layout(&out, width);
      LayoutRect bounds = layout.Bounds();
      layout.Draw(&out, LayoutPoint{0, 0}, LayoutRect::Of(0, width, 0, bounds.Height()), nullptr);
      std::unique_ptr<Position> hit(layout.HitTest(&out, LayoutPoint{width / 3, bounds.Height() / 2}, 1));
      if (hit) {
        for (int direction = 0; direction < 4; ++direction) delete layout.Step(&out, *hit, direction, 1, 0);
        LayoutRect caret;
        layout.CaretRect(&out, PositionRange(FirstPosition(), *hit), false, caret);
        layout.Text(FirstPosition(), *hit);
      }
    }
  }
  return 0;
}

#include "text/support/document_fixture.h"

#include <fstream>
#include <sstream>

#include "text/memory_stream.h"

namespace {

std::string settings() {
  return std::string("[TextViewer]\nHTMLDir=") + ZEMRA_SOURCE_DIR + "/data/textdefs\n" +
         "[Styles]\nDrawStyles=1\n";
}

}  // namespace

DocumentFixture::DocumentFixture() : app(settings()) {}

DocumentFixture::~DocumentFixture() = default;

DocumentResources DocumentFixture::resources() {
  DocumentResources r;
  r.fileSource = &source;
  r.listener = &listener;
  r.view = &view;
  r.factory = &factory;
  return r;
}

std::unique_ptr<MarkupDocument> DocumentFixture::Make(const std::string& record, const std::string& text) {
  std::unique_ptr<MarkupDocument> doc = MakeDocumentFor(CString(record.c_str()), resources(), 1);
  doc->SetInputStream(std::make_unique<std::istringstream>(text));
  return doc;
}

std::string DocumentFixture::Tree(const MarkupDocument& doc, bool styles) {
  Atom* root = doc.GetRoot();
  return root ? static_cast<RecordingAtom*>(root)->Tree(styles) : "none";
}

std::string DocumentFixture::SampleFile(const std::string& name) {
  return std::string(ZEMRA_SOURCE_DIR) + "/data/sample/documents/" + name;
}

std::string DocumentFixture::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

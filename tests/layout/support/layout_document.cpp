#include "layout/support/layout_document.h"

#include <cstring>
#include <sstream>

#include "text/document/html_document.h"
#include "text/draw/draw_styles.h"

LayoutDocuments::LayoutDocuments() : app_("ZemraLayoutTest") {
  std::string ini = dir_.write("Tolm.ini", std::string("[TextViewer]\nHTMLDir=") + ZEMRA_SOURCE_DIR +
                                               "/data/textdefs\n[Styles]\nDrawStyles=1\n");
  app_.m_pszProfileName = strdup(ini.c_str());
  DrawStyles::Unload();
}

LayoutDocuments::~LayoutDocuments() { DrawStyles::Unload(); }

std::unique_ptr<MarkupDocument> LayoutDocuments::Load(const std::string& record, const std::string& text) {
  DocumentResources resources;
  resources.fileSource = &source_;
  resources.listener = &listener_;
  resources.view = &view_;
  resources.factory = &factory_;
  std::unique_ptr<MarkupDocument> doc = MakeDocumentFor(CString(record.c_str()), resources, 1);
  if (!doc) return nullptr;
  doc->SetInputStream(std::make_unique<std::istringstream>(text));
  if (doc->Load(&target_, "", true) != MarkupDocument::kLoadComplete) return nullptr;
  return doc;
}

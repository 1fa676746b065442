#include "text/resources/viewer_resources.h"

#include "text/document/markup_document.h"
#include "text/draw/draw_styles.h"

ViewerResources::~ViewerResources() {
  // The users of the pool first, the fetcher that the pool calls last.
  listener_.reset();
  dingbats_.reset();
  pool_.reset();
  companion_.reset();
}

void ViewerResources::FillDocumentResources(DocumentResources& resources) const {
  resources.listener = listener_.get();
  resources.dingbats = dingbats_.get();
}

ViewerResources& ViewerResources::Shared() {
  static ViewerResources shared;
  return shared;
}

CString ViewerResources::DingbatPath() {
  return TextProfileString("TextViewer", "DingbatDir", "./Dingbat") + "\\" + DingbatTable::kFileName;
}

#include "text/build/build_listener.h"

BuildTarget::~BuildTarget() = default;

void BuildTarget::BackgroundPicture(const CString&) {}

BuildTarget& EmptyBuildTarget() {
  static BuildTarget empty;
  return empty;
}

PictureContext::~PictureContext() = default;

BuildListener::~BuildListener() = default;

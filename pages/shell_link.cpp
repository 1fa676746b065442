#include "pages/shell_link.h"

namespace {
ShellLink& DefaultLink() {
  static ShellLink link;
  return link;
}
ShellLink* installed = nullptr;
}  // namespace

ShellLink& Shell() { return installed ? *installed : DefaultLink(); }

void SetShellLink(ShellLink* link) { installed = link; }

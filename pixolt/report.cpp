#include "report.h"

#include <string>

#include "reasons.h"
#include "win/user.h"

namespace pixolt {

void Report(const char* operation, const char* reason) {
  std::string text = std::string(operation) + ": " + reason;
  MessageBox(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

}  // namespace pixolt

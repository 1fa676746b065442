// fuzz-libs: zemra_core
// A server object built from an arbitrary attribute record: parsing, the
// title, value lists and local record changes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/kx_object.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();
  Ref<KXObject> object(new KXObject(CString(text), Ref<Store>()));
  check(object->isParsed());
  check(object->recordText() == CString(text));
  const CString idText = object->getObjectIdText();
  for (int i = 0; i < idText.GetLength(); ++i) check(idText[i] < 'A' || idText[i] > 'Z');
  const CString score = object->getScoreText();
  check(score.IsEmpty() || score.GetLength() >= 4);
  object->getTitle();
  const StringArray names = object->getAllValues("Name=");
  for (int i = 0; i < names.count(); ++i) check(names.at(i).Find('\n') < 0);
  object->changeAttributes("", CString(text), false);
  const CString after = object->recordText();
  check(after.IsEmpty() || after[after.GetLength() - 1] == '\n');
  return 0;
}

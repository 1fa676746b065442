// fuzz-libs: zemra_net
// The object factory on arbitrary records: whatever the record, an object
// of a known kind or none, never a fatal end; and what the factory appends
// to a remote record stays on lines of its own.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/attr_record.h"
#include "core/fatal.h"
#include "core/kx_object.h"
#include "net/open_store.h"
#include "win/user.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  // A fatal end of the object model is a finding.
  static const bool hooked = [] {
    SetFatalExitHook([](int) { std::abort(); });
    return true;
  }();
  (void)hooked;
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();
  const CString record(text.c_str());

  KxObjectFactory factory;
  Ref<KXObject> object(factory.createObject(record));
  if (object) {
    const std::int32_t code = object->getClassCode();
    check((code >= kClassObject && code <= kClassRemote) || code == kClassTelnetSession ||
          code == kClassCGI || code == kClassSQL);
    // The object's record is the one given, with lines appended after it.
    const CString kept = object->recordText();
    check(kept.Left(record.GetLength()) == record);
    const AttrRecord before(record);
    const AttrRecord after(kept);
    for (const char* key : {"Type=", "DocumentType=", "Protocol=", "GopherType=", "Path=",
                            "RemoteDocType=", "MimeType="}) {
      const CString old = before.getAttribute(key);
      if (!old.IsEmpty()) check(after.getAttribute(key) == old);
    }
    object->getTitle();
    object->getIdentifier();
    object->getAttributeNames();
  }
  CString copy = record;
  const int kind = remoteDocKind(copy);
  check(kind >= 1 && kind <= 5);
  win::ClearMessageBoxLog();
  return 0;
}

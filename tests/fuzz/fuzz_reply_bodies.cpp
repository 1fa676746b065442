// fuzz-libs: zemra_net
// Every reply-body parser of the control connection over arbitrary bytes.
// First byte: the message code (mod 47). Second byte: bit 0 binary form,
// bit 1 compressed, bits 4-7 the protocol version (an index into the
// versions where layouts change). The rest is the body.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/lzw.h"
#include "net/reply_handlers.h"
#include "net/requests_echo.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// The decoder without its error box, capped small so the fuzzer stays fast.
bool expand(const void* data, size_t size, CString& out) {
  BYTE* block = nullptr;
  LONG length = 0;
  LONG capacity = 0;
  LzwStatus status = lzwExpand(static_cast<const BYTE*>(data), static_cast<LONG>(size), block,
                               length, capacity, kLzwReplyBits, 1 << 20);
  if (status == LzwStatus::Ok) out = CString(reinterpret_cast<const char*>(block), length);
  std::free(block);
  return status == LzwStatus::Ok;
}

constexpr int kVersions[] = {5, 6, 7, 8, 700, 702, 703, 704, 705, 711, 712, 713, 716, 717, 718, 16383};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  int code = data[0] % kMessageCodes;
  bool binary = (data[1] & 1) != 0;
  ReplyContext context;
  context.compressed = (data[1] & 2) != 0;
  context.version = kVersions[(data[1] >> 4) & 15];
  context.expand = expand;
  std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);

  ReplyBody body(bytes, binary);
  if (code == kHelloCode) {
    HelloAnswer answer;
    parseHello(static_cast<DWORD>(context.version) | (context.compressed ? kCompressBit : 0), body,
               answer);
    CString reply;
    if (answer.kind == HelloAnswer::Kind::kMessage && EchoReplyFor(answer.text, reply))
      check(reply.Left(8) == "message ");
    return 0;
  }
  Reply reply(1, code);
  ReplyParse result = parseReplyBody(code, context, body, reply);
  check(body.position() <= body.size());
  if (result == ReplyParse::kMalformed) {
    check(!reply.success && reply.status == kMalformedReplyStatus);
    check(reply.ids.count() == 0 && reply.firstText.IsEmpty() && reply.lengths.empty());
  }
  if (result == ReplyParse::kParsed) {
    // Lengths that were accepted always cut the text they describe.
    std::vector<CString> texts;
    if (!reply.lengths.empty()) check(reply.splitTexts(texts));
    check(static_cast<size_t>(reply.ids.count()) <= reply.idsInOrder.size());
  }
  return 0;
}

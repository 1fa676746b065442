// The reply bodies of the control protocol: what each message code carries,
// by protocol version, and where it goes in a Reply. The parsers work on a
// body that is already off the stream (ReplyBody), so they cannot disturb
// the framing; a body whose counts or fields do not fit fails its reply with
// kMalformedReplyStatus.
#pragma once

#include <string>

#include "net/reply.h"
#include "net/reply_handlers_body.h"

// Message codes run from 0 to 46; 47 means "no code" (no wait in progress).
constexpr int kMessageCodes = 47;
constexpr int kNoCode = 47;
constexpr int kHelloCode = 25;
constexpr int kEchoCode = 26;

// The status a reply gets when its body does not match its code: the
// server's "synchronisation error".
constexpr int kMalformedReplyStatus = 28;

// Expands an LZW-compressed block (12-bit codes); false when it is broken.
// The connection passes lzwExpandReplyBody.
using ReplyExpander = bool (*)(const void* data, size_t size, CString& out);

struct ReplyContext {
  int version = 717;        // protocol version in force
  bool compressed = false;  // the server confirmed compression
  ReplyExpander expand = nullptr;
};

enum class ReplyParse {
  kNoHandler,  // the code has no reply handler: the body is dropped
  kParsed,
  kMalformed,  // the reply fails with kMalformedReplyStatus
};

// True for the codes whose replies are parsed (every code but 0, 1, 13, 20,
// 21, 30 and 42, and the hello, which parseHello reads).
bool hasReplyHandler(int code);

// Reads the body of a reply with this code into `reply`. On kMalformed the
// reply's fields are cleared, success is false and status is
// kMalformedReplyStatus.
ReplyParse parseReplyBody(int code, const ReplyContext& context, ReplyBody& body, Reply& reply);

// What a hello reply (code 25, also the frame of the server's own messages)
// tells the connection.
struct HelloAnswer {
  enum class Kind { kNothing, kServerString, kReorganization, kMessage };
  int serverVersion = 0;  // low 14 bits of the id field
  bool compress = false;  // bit 30 of the id field
  int status = 0;         // non-zero: the server refused (from 713 on)
  Kind kind = Kind::kNothing;
  CString text;           // the server string, or the whole message text
};

// Reads a hello body. The layout follows the server's version word: up to
// 712 one string, from 713 on a status and then the string (when present).
// False when the body is malformed (answer then holds the header's facts).
bool parseHello(DWORD versionWord, ReplyBody& body, HelloAnswer& answer);

constexpr int kVersionMask = 0x3FFF;
constexpr DWORD kDistributedBit = 0x80000000u;
constexpr DWORD kCompressBit = 0x40000000u;

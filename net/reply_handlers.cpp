#include "net/reply_handlers.h"

#include <cstring>

#include "core/error.h"
#include "net/feature_vector_source.h"

namespace {

using Handler = bool (*)(const ReplyContext&, ReplyBody&, Reply&);


bool expandIfCompressed(const ReplyContext& context, const std::string& raw, CString& out) {
  if (context.compressed) {
    if (context.expand == nullptr) return false;
    return context.expand(raw.data(), raw.size(), out);
  }
  if (raw.size() > static_cast<size_t>(kMaxArrayCapacity)) return false;
  out = CString(raw.data(), static_cast<int>(raw.size()));
  return true;
}

// The status word of replies from 705 on; older replies carry none.
bool readStatusFrom705(const ReplyContext& context, ReplyBody& body, Reply& r) {
  if (context.version < 705) return true;
  LONG status = 0;
  if (!body.readInt(status)) return false;
  r.status = status;
  return true;
}

bool readStatus(ReplyBody& body, Reply& r) {
  LONG status = 0;
  if (!body.readInt(status)) return false;
  r.status = status;
  return true;
}

// A failed reply may leave out what follows its status.
bool failedAndDone(const Reply& r, const ReplyBody& body) {
  return r.status != 0 && body.bytesLeft() == 0;
}

// Ids in the reply's order, and the same ids as a sorted IdArray.
bool readIds(ReplyBody& body, Reply& r) {
  LONG count = 0;
  if (!body.readInt(count)) return false;
  if (count < 0 || static_cast<size_t>(count) > body.bytesLeft() || count > kMaxArrayCapacity)
    return false;
  std::vector<LONG> order;
  order.reserve(static_cast<size_t>(count));
  for (LONG i = 0; i < count; ++i) {
    LONG v = 0;
    if (!body.readInt(v)) return false;
    order.push_back(v);
  }
  std::unique_ptr<ObjectId[]> block(count > 0 ? new (std::nothrow) ObjectId[count] : nullptr);
  if (count > 0 && !block) return false;
  for (LONG i = 0; i < count; ++i) block[i] = ObjectId(order[static_cast<size_t>(i)]);
  r.ids.Adopt(count, std::move(block), count);
  r.idsInOrder = std::move(order);
  return true;
}

bool readLengths(ReplyBody& body, LONG count, Reply& r) {
  if (count < 0 || static_cast<size_t>(count) > body.bytesLeft()) return false;
  r.lengths.reserve(static_cast<size_t>(count));
  for (LONG i = 0; i < count; ++i) {
    LONG length = 0;
    if (!body.readInt(length) || length < 0) return false;
    r.lengths.push_back(length);
  }
  return true;
}

// The texts behind the lengths must be there; a longer block is tolerated.
bool lengthsFit(const Reply& r) {
  size_t total = 0;
  for (LONG length : r.lengths) total += static_cast<size_t>(length);
  return total <= static_cast<size_t>(r.firstText.GetLength());
}

bool onLong(const ReplyContext& c, ReplyBody& b, Reply& r) {  // 2
  if (!readStatusFrom705(c, b, r)) return false;
  if (failedAndDone(r, b)) return true;
  return b.readLong(r.firstInt);
}

bool onIdArray(const ReplyContext& c, ReplyBody& b, Reply& r) {  // 3, 4, 5, 8, 19, 31, 33, 44
  if (!readStatusFrom705(c, b, r)) return false;
  if (failedAndDone(r, b)) return true;
  return readIds(b, r);
}

bool onAnchorParents(const ReplyContext&, ReplyBody& b, Reply& r) {  // 6
  if (!readIds(b, r)) return false;
  r.success = false;  // the request goes by the count
  return true;
}

bool onRecord(const ReplyContext& c, ReplyBody& b, Reply& r) {  // 7
  LONG word = 0;
  if (!b.readInt(word)) return false;
  if (c.version < 705)
    r.status = word == 0 ? 8 : 0;
  else
    r.status = word;
  return r.status != 0 || b.readString(r.secondText);
}

bool onQuery(const ReplyContext& c, ReplyBody& b, Reply& r) {  // 9, 10
  if (c.version >= 705) {
    if (!readStatus(b, r)) return false;
  } else if (c.version >= 702) {
    LONG flag = 0;
    if (!b.readInt(flag)) return false;
    r.status = flag == 0 ? 35 : 0;
  }
  if (failedAndDone(r, b)) return true;
  return readIds(b, r);
}

bool onRecords(const ReplyContext& c, ReplyBody& b, Reply& r) {  // 11
  if (!readStatusFrom705(c, b, r)) return false;
  if (failedAndDone(r, b)) return true;
  if (!readIds(b, r)) return false;
  LONG n = static_cast<LONG>(r.idsInOrder.size());
  if (n == 0) return true;
  if (!readLengths(b, n, r)) return false;
  if (!expandIfCompressed(c, b.rest(), r.firstText)) return false;
  return lengthsFit(r);
}

bool onText(const ReplyContext& c, ReplyBody& b, Reply& r) {  // 12
  LONG word = 0;
  if (!b.readInt(word)) return false;
  if (c.version >= 703)
    r.status = word;
  else
    r.status = word == 0 ? 511 : 0;
  if (r.status != 0) return true;
  return expandIfCompressed(c, b.rest(), r.firstText);
}

bool onNewId(const ReplyContext&, ReplyBody& b, Reply& r) {  // 14-17, 32, 43
  if (!readStatus(b, r)) return false;
  if (r.status != 0) return true;
  return b.readLong(r.firstInt);
}

bool onLink(const ReplyContext&, ReplyBody& b, Reply& r) {  // 18
  if (!readStatus(b, r)) return false;
  if (r.status != 0) return true;
  return b.readInt(r.firstInt) && b.readInt(r.secondInt);
}

bool onStatus(const ReplyContext&, ReplyBody& b, Reply& r) {  // 22, 23, 27, ...
  return readStatus(b, r);
}

bool onIdentify(const ReplyContext&, ReplyBody& b, Reply& r) {  // 24
  return b.readString(r.firstText);
}

bool onEcho(const ReplyContext&, ReplyBody& b, Reply& r) {  // 26
  return b.bytesLeft() == 0 || b.readString(r.firstText);
}

bool onLock(const ReplyContext&, ReplyBody& b, Reply& r) {  // 29
  if (!readStatus(b, r)) return false;
  return r.status != 0 || b.readString(r.secondText);
}

bool onFeatures(const ReplyContext&, ReplyBody& b, Reply& r) {  // 34, 35
  if (!readStatus(b, r)) return false;
  if (failedAndDone(r, b)) return true;
  FeatureSourceOver<ReplyBody> source(b);
  return r.features.read(source) == FeatureRead::Ok;
}

// Replies that carry an Error: success is its ok(), status the code when not.
void takeError(LONG code, Reply& r) {
  Error e(code);
  r.success = e.ok();
  r.status = r.success ? 0 : code;
}

bool onBytes(const ReplyContext& c, ReplyBody& b, Reply& r) {  // 39, 45
  LONG code = 0;
  LONG n = 0;
  if (!b.readInt(code) || !b.readInt(n)) return false;
  if (n < 0) return false;
  std::string raw;
  if (!b.readBytes(static_cast<size_t>(n), raw)) return false;
  if (!expandIfCompressed(c, raw, r.firstText)) return false;
  r.firstInt = r.firstText.GetLength();
  takeError(code, r);
  return true;
}

bool onTexts(const ReplyContext& c, ReplyBody& b, Reply& r) {  // 40
  LONG code = 0;
  LONG n = 0;
  if (!b.readInt(code)) return false;
  if (!Error(code).ok() && b.bytesLeft() == 0) {
    takeError(code, r);
    return true;
  }
  if (!b.readInt(n) || !readLengths(b, n, r)) return false;
  if (!expandIfCompressed(c, b.rest(), r.firstText)) return false;
  if (!lengthsFit(r)) return false;
  takeError(code, r);
  return true;
}

struct Entry {
  int code;
  Handler handler;
};

constexpr Entry kHandlers[] = {
    {2, onLong},       {3, onIdArray},      {4, onIdArray},   {5, onIdArray},
    {6, onAnchorParents}, {7, onRecord},    {8, onIdArray},   {9, onQuery},
    {10, onQuery},     {11, onRecords},     {12, onText},     {14, onNewId},
    {15, onNewId},     {16, onNewId},       {17, onNewId},    {18, onLink},
    {19, onIdArray},   {22, onStatus},      {23, onStatus},   {24, onIdentify},
    {26, onEcho},      {27, onStatus},      {28, onStatus},   {29, onLock},
    {31, onIdArray},   {32, onNewId},       {33, onIdArray},  {34, onFeatures},
    {35, onFeatures},  {36, onStatus},      {37, onStatus},   {38, onStatus},
    {39, onBytes},     {40, onTexts},       {41, onStatus},   {43, onNewId},
    {44, onIdArray},   {45, onBytes},       {46, onStatus},
};

Handler handlerFor(int code) {
  for (const Entry& e : kHandlers)
    if (e.code == code) return e.handler;
  return nullptr;
}

void clearData(Reply& r) {
  r.firstInt = r.secondInt = 0;
  r.firstText.Empty();
  r.secondText.Empty();
  r.ids.RemoveAll();
  r.idsInOrder.clear();
  r.features.clear();
  r.lengths.clear();
}

}  // namespace

bool hasReplyHandler(int code) { return code == kHelloCode || handlerFor(code) != nullptr; }

ReplyParse parseReplyBody(int code, const ReplyContext& context, ReplyBody& body, Reply& reply) {
  Handler h = handlerFor(code);
  if (h == nullptr) return ReplyParse::kNoHandler;
  clearData(reply);
  reply.status = 0;
  reply.success = true;
  bool ok = h(context, body, reply);
  if (!ok) {
    clearData(reply);
    reply.success = false;
    reply.status = kMalformedReplyStatus;
    return ReplyParse::kMalformed;
  }
  // Most replies succeed exactly when their status is 0; those that decide
  // otherwise (6, 39, 40, 45) have set the flag themselves.
  if (code != 6 && code != 39 && code != 40 && code != 45) reply.success = reply.status == 0;
  return ReplyParse::kParsed;
}

bool parseHello(DWORD versionWord, ReplyBody& body, HelloAnswer& answer) {
  answer = HelloAnswer{};
  answer.serverVersion = static_cast<int>(versionWord & kVersionMask);
  answer.compress = (versionWord & kCompressBit) != 0;
  if (body.bytesLeft() == 0) return true;
  CString text;
  if (answer.serverVersion >= 713) {
    LONG status = 0;
    if (!body.readInt(status)) return false;
    if (status != 0) {
      answer.status = status;
      return true;
    }
    if (body.bytesLeft() > 0 && !body.readString(text)) return false;
  } else if (!body.readString(text)) {
    return false;
  }
  if (text.IsEmpty()) return true;

  // Fields separated by "$"; runs of separators count as one.
  const std::string& s = text.str();
  size_t a = s.find_first_not_of('$');
  if (a == std::string::npos) return true;
  size_t e = s.find('$', a);
  std::string first = s.substr(a, e == std::string::npos ? std::string::npos : e - a);
  if (first == "ServerString") {
    answer.kind = HelloAnswer::Kind::kServerString;
    if (e != std::string::npos) {
      size_t b = s.find_first_not_of('$', e);
      if (b != std::string::npos) {
        size_t f = s.find('$', b);
        answer.text = CString(s.substr(b, f == std::string::npos ? std::string::npos : f - b));
      }
    }
  } else if (first == "Reorganization") {
    answer.kind = HelloAnswer::Kind::kReorganization;
  } else {
    answer.kind = HelloAnswer::Kind::kMessage;
    answer.text = text;
  }
  return true;
}

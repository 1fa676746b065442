// mciSendString: a command string split into words and run on the device
// it names.
#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <string>

#include "mci/command_words.h"
#include "mci/device_table.h"
#include "mci/drivers.h"
#include "user/message_queue.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace win::mci {

namespace {

struct Request {
  std::string_view text;
  std::vector<Word> words;  // without "wait" and "notify"
  bool wait = false;
  bool notify = false;
  HWND callback = nullptr;
  std::string reply;
};

const char* Bool(bool b) { return b ? "true" : "false"; }

// The device a command names in its second word.
MCIERROR FindDevice(const Request& r, Device** out) {
  if (r.words.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  *out = DeviceTable::Get().Find(r.words[1].text);
  if (!*out) return MCIERR_INVALID_DEVICE_NAME;
  return 0;
}

MCIERROR NoMoreWords(const WordCursor& c) { return c.AtEnd() ? 0 : MCIERR_UNRECOGNIZED_KEYWORD; }

MCIERROR TakeNumber(WordCursor& c, std::int64_t* out) {
  const Word* w = c.Next();
  if (!w) return MCIERR_MISSING_PARAMETER;
  const auto v = ParseCount(*w);
  if (!v) return MCIERR_BAD_INTEGER;
  *out = *v;
  return 0;
}

// ---- sysinfo, capability --------------------------------------------------

MCIERROR SysInfo(Request& r) {
  if (r.words.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  const std::vector<Driver> drivers = InstalledDrivers();
  std::vector<std::string> names;
  WordCursor c(r.words, 2);
  const bool all = IsKeyword(r.words[1], "all");
  const auto type = DriverByName(r.words[1].text);
  if (!all && !type) return MCIERR_INVALID_DEVICE_NAME;
  const bool quantity = c.Take("quantity");
  std::int64_t index = 0;
  if (!quantity) {
    if (!c.Take("name")) return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_UNRECOGNIZED_KEYWORD;
    if (MCIERROR e = TakeNumber(c, &index)) return e;
  }
  if (c.Take("open")) {
    for (const auto& d : DeviceTable::Get().devices())
      if (all || d->type() == *type) names.push_back(d->alias);
  } else {
    for (const Driver& d : drivers)
      if (all || d.type == *type) names.push_back(d.name);
  }
  if (MCIERROR e = NoMoreWords(c)) return e;
  if (quantity) {
    r.reply = std::to_string(names.size());
    return 0;
  }
  if (index < 1 || static_cast<std::size_t>(index) > names.size()) return MCIERR_OUTOFRANGE;
  r.reply = names[static_cast<std::size_t>(index - 1)];
  return 0;
}

MCIERROR Capability(Request& r) {
  if (r.words.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  std::optional<DeviceType> type = DriverByName(r.words[1].text);
  if (!type) {
    if (Device* d = DeviceTable::Get().Find(r.words[1].text)) type = d->type();
  }
  if (!type) return MCIERR_INVALID_DEVICE_NAME;
  const bool video = *type == DeviceType::Video;
  WordCursor c(r.words, 2);
  if (c.TakeAll({"uses", "files"}) || c.TakeAll({"can", "play"}) || c.TakeAll({"compound", "device"}))
    r.reply = Bool(true);
  else if (c.TakeAll({"has", "video"}))
    r.reply = Bool(video);
  else if (c.TakeAll({"has", "audio"}))
    r.reply = Bool(true);
  else if (c.TakeAll({"can", "record"}) || c.TakeAll({"can", "eject"}) || c.TakeAll({"can", "save"}))
    r.reply = Bool(false);
  else if (c.TakeAll({"device", "type"}))
    r.reply = video ? "digitalvideo" : DriverName(*type);
  else
    return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_UNRECOGNIZED_KEYWORD;
  return NoMoreWords(c);
}

// ---- open, close ----------------------------------------------------------

constexpr const char* kOpenKeywords[] = {"type", "alias", "shareable", "style", "parent"};

bool IsOpenKeyword(const Word& w) {
  for (const char* k : kOpenKeywords)
    if (IsKeyword(w, k)) return true;
  return false;
}

MCIERROR Open(Request& r) {
  if (r.words.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  std::string element;
  std::size_t next = 2;
  if (r.words[1].quoted) {
    element = r.words[1].text;
  } else {
    // A bare name runs up to the first keyword: it may hold blanks.
    std::size_t last = 1;
    while (last + 1 < r.words.size() && !IsOpenKeyword(r.words[last + 1])) ++last;
    if (IsOpenKeyword(r.words[1])) return MCIERR_MISSING_DEVICE_NAME;
    element = std::string(r.text.substr(r.words[1].begin, r.words[last].end - r.words[1].begin));
    next = last + 1;
  }
  std::optional<DeviceType> type;
  const std::size_t bang = element.find('!');
  if (bang != std::string::npos) {
    type = DriverByName(std::string_view(element).substr(0, bang));
    if (!type) return MCIERR_INVALID_DEVICE_NAME;
    element.erase(0, bang + 1);
  }
  if (element.empty()) return MCIERR_FILENAME_REQUIRED;
  if (DriverByName(element)) return MCIERR_FILENAME_REQUIRED;  // a device of its own: nothing to play
  std::string alias;
  WordCursor c(r.words, next);
  while (!c.AtEnd()) {
    if (c.Take("type")) {
      const Word* w = c.Next();
      if (!w) return MCIERR_MISSING_STRING_ARGUMENT;
      const auto t = DriverByName(w->text);
      if (!t) return MCIERR_INVALID_DEVICE_NAME;
      if (type && *type != *t) return MCIERR_FLAGS_NOT_COMPATIBLE;
      type = t;
    } else if (c.Take("alias")) {
      const Word* w = c.Next();
      if (!w || w->text.empty()) return MCIERR_MISSING_STRING_ARGUMENT;
      if (!alias.empty()) return MCIERR_DUPLICATE_FLAGS;
      alias = w->text;
    } else if (!c.Take("shareable")) {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
  }
  if (!type) type = DriverForFile(element);
  if (!type) return MCIERR_DEVICE_TYPE_REQUIRED;
  const std::string name = alias.empty() ? element : alias;
  if (DeviceTable::Get().Find(name)) return alias.empty() ? MCIERR_DEVICE_OPEN : MCIERR_DUPLICATE_ALIAS;
  const std::string host = HostPath(element);
  struct stat st{};
  if (::stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return MCIERR_FILE_NOT_FOUND;
  std::unique_ptr<Device> device;
  if (MCIERROR e = Device::Open(*type, host, &device)) return e;
  device->alias = name;
  Device* added = DeviceTable::Get().Add(std::move(device));
  if (!added) return MCIERR_OUT_OF_MEMORY;
  r.reply = std::to_string(added->id);
  return 0;
}

MCIERROR Close(Request& r) {
  if (r.words.size() >= 2 && IsKeyword(r.words[1], "all")) {
    if (r.words.size() > 2) return MCIERR_UNRECOGNIZED_KEYWORD;
    DeviceTable::Get().CloseAll();
    return 0;
  }
  Device* d = nullptr;
  if (MCIERROR e = FindDevice(r, &d)) return e;
  if (MCIERROR e = NoMoreWords(WordCursor(r.words, 2))) return e;
  DeviceTable::Get().Close(d);
  return 0;
}

// ---- play, stop, pause, resume, seek ---------------------------------------

MCIERROR Play(Request& r, Device* d) {
  std::optional<std::int64_t> from, to;
  WordCursor c(r.words, 2);
  while (!c.AtEnd()) {
    std::int64_t v = 0;
    if (c.Take("from")) {
      if (from) return MCIERR_DUPLICATE_FLAGS;
      if (MCIERROR e = TakeNumber(c, &v)) return e;
      from = v;
    } else if (c.Take("to")) {
      if (to) return MCIERR_DUPLICATE_FLAGS;
      if (MCIERROR e = TakeNumber(c, &v)) return e;
      to = v;
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
  }
  const bool notifyAtEnd = r.notify && r.callback;
  if (MCIERROR e = d->Play(from, to, user::Now(), notifyAtEnd ? r.callback : nullptr)) return e;
  r.notify = false;  // the device notifies when the play ends
  if (r.wait) {
    // Returns when the clock reaches the end; a test's clock must move.
    while (d->mode() == PlayMode::Playing) {
      DeviceTable::Get().Pump();
      if (d->mode() == PlayMode::Playing) Sleep(1);
    }
  }
  return 0;
}

MCIERROR Stop(Request& r) {
  const DWORD now = user::Now();
  if (r.words.size() >= 2 && IsKeyword(r.words[1], "all")) {
    for (const auto& d : DeviceTable::Get().devices()) d->Stop(now);
    return NoMoreWords(WordCursor(r.words, 2));
  }
  Device* d = nullptr;
  if (MCIERROR e = FindDevice(r, &d)) return e;
  if (MCIERROR e = NoMoreWords(WordCursor(r.words, 2))) return e;
  d->Stop(now);
  return 0;
}

MCIERROR Pause(Request& r, Device* d) {
  if (MCIERROR e = NoMoreWords(WordCursor(r.words, 2))) return e;
  d->Pause(user::Now());
  return 0;
}

MCIERROR Resume(Request& r, Device* d) {
  if (MCIERROR e = NoMoreWords(WordCursor(r.words, 2))) return e;
  return d->Resume(user::Now());
}

MCIERROR Seek(Request& r, Device* d) {
  WordCursor c(r.words, 2);
  if (!c.Take("to")) return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_UNRECOGNIZED_KEYWORD;
  std::optional<std::int64_t> to;
  if (c.Take("start")) {
    to = 0;
  } else if (!c.Take("end")) {
    std::int64_t v = 0;
    if (MCIERROR e = TakeNumber(c, &v)) return e;
    to = v;
  }
  if (MCIERROR e = NoMoreWords(c)) return e;
  return d->Seek(to, user::Now());
}

// ---- status, set ------------------------------------------------------------

const char* ModeName(PlayMode m) {
  switch (m) {
    case PlayMode::Playing: return "playing";
    case PlayMode::Paused: return "paused";
    case PlayMode::Stopped: break;
  }
  return "stopped";
}

MCIERROR Status(Request& r, Device* d) {
  WordCursor c(r.words, 2);
  if (c.Take("position"))
    r.reply = std::to_string(d->Position(user::Now()));
  else if (c.Take("length"))
    r.reply = std::to_string(d->Length());
  else if (c.Take("mode"))
    r.reply = ModeName(d->mode());
  else if (c.TakeAll({"time", "format"}))
    r.reply = d->timeFormat() == TimeFormat::Frames ? "frames" : "milliseconds";
  else if (c.Take("ready") || c.TakeAll({"media", "present"}))
    r.reply = Bool(true);
  else if (c.TakeAll({"number", "of", "tracks"}))
    r.reply = "1";
  else if (c.TakeAll({"frame", "rate"})) {
    if (!d->hasVideo()) return MCIERR_UNSUPPORTED_FUNCTION;
    r.reply = std::to_string(d->FrameRateMilli());
  } else
    return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_UNRECOGNIZED_KEYWORD;
  return NoMoreWords(c);
}

MCIERROR Set(Request& r, Device* d) {
  WordCursor c(r.words, 2);
  if (c.TakeAll({"time", "format"})) {
    TimeFormat f;
    if (c.Take("milliseconds") || c.Take("ms"))
      f = TimeFormat::Milliseconds;
    else if (c.Take("frames"))
      f = TimeFormat::Frames;
    else
      return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_BAD_TIME_FORMAT;
    if (MCIERROR e = NoMoreWords(c)) return e;
    return d->SetTimeFormat(f);
  }
  if (c.Take("audio")) {
    if (!c.Take("all")) return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_BAD_CONSTANT;
    bool on;
    if (c.Take("on"))
      on = true;
    else if (c.Take("off"))
      on = false;
    else
      return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_BAD_CONSTANT;
    if (MCIERROR e = NoMoreWords(c)) return e;
    d->SetAudioOn(on);
    return 0;
  }
  return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_UNRECOGNIZED_KEYWORD;
}

// ---- window, put, where -----------------------------------------------------

MCIERROR Window(Request& r, Device* d) {
  WordCursor c(r.words, 2);
  if (!c.Take("handle")) return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_UNRECOGNIZED_KEYWORD;
  HWND wnd = nullptr;
  if (!c.Take("default")) {
    std::int64_t v = 0;
    if (MCIERROR e = TakeNumber(c, &v)) return e;
    wnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(v));
  }
  if (MCIERROR e = NoMoreWords(c)) return e;
  return d->SetWindow(wnd);
}

MCIERROR Put(Request& r, Device* d) {
  if (!d->hasVideo()) return MCIERR_UNSUPPORTED_FUNCTION;
  WordCursor c(r.words, 2);
  if (!c.Take("destination")) return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_UNRECOGNIZED_KEYWORD;
  std::optional<RECT> at;
  if (c.Take("at")) {
    std::int64_t v[4] = {};
    for (std::int64_t& n : v)
      if (MCIERROR e = TakeNumber(c, &n)) return e;
    if (v[2] == 0 || v[3] == 0 || v[0] + v[2] > 0x7FFFFFFF || v[1] + v[3] > 0x7FFFFFFF) return MCIERR_OUTOFRANGE;
    at = RECT{static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[0] + v[2]),
              static_cast<LONG>(v[1] + v[3])};
  }
  if (MCIERROR e = NoMoreWords(c)) return e;
  d->SetDestination(at);
  return 0;
}

MCIERROR Where(Request& r, Device* d) {
  if (!d->hasVideo()) return MCIERR_UNSUPPORTED_FUNCTION;
  WordCursor c(r.words, 2);
  RECT rect{};
  if (c.Take("source"))
    rect = d->Source();
  else if (c.Take("destination"))
    rect = d->Destination();
  else
    return c.AtEnd() ? MCIERR_MISSING_PARAMETER : MCIERR_UNRECOGNIZED_KEYWORD;
  if (MCIERROR e = NoMoreWords(c)) return e;
  r.reply = std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
            std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top);
  return 0;
}

// ---- dispatch -----------------------------------------------------------------

using DeviceCommand = MCIERROR (*)(Request&, Device*);
using OtherCommand = MCIERROR (*)(Request&);

struct CommandEntry {
  const char* verb;
  DeviceCommand onDevice;  // commands on one open device
  OtherCommand other;      // commands that find their device themselves
};

constexpr CommandEntry kCommands[] = {
    {"sysinfo", nullptr, SysInfo}, {"capability", nullptr, Capability}, {"open", nullptr, Open},
    {"close", nullptr, Close},     {"stop", nullptr, Stop},             {"play", Play, nullptr},
    {"pause", Pause, nullptr},     {"resume", Resume, nullptr},         {"seek", Seek, nullptr},
    {"status", Status, nullptr},   {"set", Set, nullptr},               {"window", Window, nullptr},
    {"put", Put, nullptr},         {"where", Where, nullptr},
};

MCIERROR Run(Request& r) {
  for (const CommandEntry& entry : kCommands) {
    if (!IsKeyword(r.words[0], entry.verb)) continue;
    if (entry.other) return entry.other(r);
    Device* d = nullptr;
    if (MCIERROR e = FindDevice(r, &d)) return e;
    return entry.onDevice(r, d);
  }
  return MCIERR_UNRECOGNIZED_COMMAND;
}

MCIERROR Send(LPCSTR command, std::string* reply, HWND callback) {
  if (!command) return MCIERR_MISSING_COMMAND_STRING;
  DeviceTable::Get().Pump();
  Request r;
  r.text = command;
  r.callback = callback;
  std::vector<Word> words;
  if (MCIERROR e = SplitWords(r.text, &words)) return e;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i >= 2 && IsKeyword(words[i], "wait")) {
      r.wait = true;
    } else if (i >= 2 && IsKeyword(words[i], "notify")) {
      r.notify = true;
    } else {
      r.words.push_back(std::move(words[i]));
    }
  }
  if (r.words.empty()) return MCIERR_MISSING_COMMAND_STRING;
  // Taken before the command runs: "close" takes the device away.
  const Device* named = r.words.size() >= 2 ? DeviceTable::Get().Find(r.words[1].text) : nullptr;
  const LPARAM id = named ? static_cast<LPARAM>(named->id) : 0;
  const MCIERROR e = Run(r);
  DeviceTable::Get().Pump();
  if (e) return e;
  if (r.notify && callback) PostMessage(callback, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, id);
  *reply = std::move(r.reply);
  return 0;
}

}  // namespace

void ResetMedia() {
  for (const auto& d : DeviceTable::Get().devices()) d->DropNotify();
  DeviceTable::Get().CloseAll();
  SharedMixer().Reset();
}

}  // namespace win::mci

MCIERROR mciSendStringA(LPCSTR command, LPSTR reply, UINT replyLength, HWND callback) {
  if (reply && replyLength) reply[0] = '\0';
  std::string text;
  const MCIERROR e = win::mci::Send(command, &text, callback);
  if (e) return e;
  if (!reply || !replyLength) return 0;
  if (text.size() >= replyLength) return MCIERR_PARAM_OVERFLOW;
  std::memcpy(reply, text.c_str(), text.size() + 1);
  return 0;
}

MCIDEVICEID mciGetDeviceIDA(LPCSTR name) {
  if (!name) return 0;
  const win::mci::Device* d = win::mci::DeviceTable::Get().Find(name);
  return d ? d->id : 0;
}

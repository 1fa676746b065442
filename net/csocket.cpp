#include "net/csocket.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "framework/app_hooks.h"
#include "framework/app_services.h"
#include "core/fatal.h"
#include "core/message_boxes.h"
#include "core/message_pump.h"
#include "win/kernel.h"

using namespace winsock;

namespace {

// One entry per open socket number, with the number of CSocket objects
// that hold it: a number taken on by a second holder (the reply reader
// holds the stream's socket) is closed when its last holder closes it, so
// it is never closed twice and never while another holder still uses it.
struct Registered {
  int socket;
  int holders;
};

std::vector<Registered>& registry() {
  static auto* r = new std::vector<Registered>;  // freed with the program, sockets left open
  return *r;
}

int gLive = 0;
bool gStarted = false;  // WinSock started by this layer

CSocket::ExitHook& exitHook() {
  static CSocket::ExitHook hook;
  return hook;
}

void endProgram(int status) {
  CleanupBeforeExit(status);
  if (exitHook()) exitHook()(status);
  std::exit(status);
}

class BusyCursor {
 public:
  BusyCursor() { BeginBusyCursor(); }
  ~BusyCursor() { EndBusyCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

void registerSocket(int socket) {
  for (Registered& r : registry()) {
    if (r.socket == socket) {
      ++r.holders;
      return;
    }
  }
  registry().push_back(Registered{socket, 1});
}

// Drops one holder; closes the socket when it was the last one.
void releaseSocket(int socket) {
  auto& list = registry();
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->socket != socket) continue;
    if (--it->holders > 0) return;
    list.erase(it);
    closesocket(static_cast<SOCKET>(socket));  // a failure changes nothing for us
    return;
  }
}

// Starts WinSock 1.1 exactly; anything else ends the program.
bool startWinsock() {
  BusyCursor busy;
  WSADATA data;
  const int rc = WSAStartup(MAKEWORD(1, 1), &data);
  if (rc == 0 && data.wVersion == MAKEWORD(1, 1)) {
    gStarted = true;
    return true;
  }
  ShowErrorText("Couldn't find a usable 'WINSOCK.DLL V1.1'");
  if (rc == 0) WSACleanup();
  endProgram(-1);
  return false;
}

}  // namespace

CSocket::CSocket() {
  if (gLive == 0 && registry().empty() && !gStarted) startWinsock();
  ++gLive;
}

CSocket::CSocket(int socket) : CSocket() { takeOn(socket); }

CSocket::CSocket(const char* host, int port) : CSocket() { Connect(host, port); }

CSocket::~CSocket() {
  Close();
  if (gLive > 0) --gLive;
  if (gLive == 0 && registry().empty() && gStarted) {
    gStarted = false;
    WSACleanup();
  }
}

void CSocket::takeOn(int socket) {
  socket_ = socket;
  registered_ = socket != -1;
  if (registered_) registerSocket(socket);
  flag_ = 1;
}

void CSocket::Attach(int socket) {
  Close();
  socket_ = socket;
  registered_ = false;
  flag_ = 1;
}

int CSocket::Detach() {
  const int s = socket_;
  if (registered_ && s != -1) {
    // Our hold goes, the socket stays open for the other holders; the last
    // holder's entry goes with it, so that a later socket of the same number
    // is not taken for one already held (and never closed).
    auto& list = registry();
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (it->socket != s) continue;
      if (--it->holders == 0) list.erase(it);
      break;
    }
  }
  socket_ = -1;
  registered_ = false;
  state_ = 0;
  return s;
}

bool CSocket::Create() {
  Close();
  const SOCKET s = winsock::socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) {
    ShowErrorText("Couldn't create a valid socket !");
    if (gStarted) {
      gStarted = false;
      WSACleanup();
    }
    endProgram(-1);
    return false;
  }
  takeOn(static_cast<int>(s));
  return true;
}

int CSocket::RawConnect(const sockaddr_in& address) {
  BusyCursor busy;
  return winsock::connect(static_cast<SOCKET>(socket_), reinterpret_cast<const sockaddr*>(&address),
                          sizeof address);
}

CSocket::Lookup CSocket::ResolveHost(const char* host, winsock::u_long& ip) {
  if (!host) host = "";
  ip = INADDR_NONE;
  if (std::isdigit(static_cast<unsigned char>(host[0]))) ip = inet_addr(host);
  if (ip != INADDR_NONE) return Lookup::kFound;
  hostent* entry;
  {
    BusyCursor busy;
    entry = gethostbyname(host);
  }
  if (!entry) return Lookup::kNoSuchHost;
  if (entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list[0]) return Lookup::kNotInternet;
  std::memcpy(&ip, entry->h_addr_list[0], 4);
  return Lookup::kFound;
}

int CSocket::Connect(const char* host, int port) {
  if (!host) host = "";
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<winsock::u_short>(port));
  winsock::u_long ip = INADDR_NONE;
  switch (ResolveHost(host, ip)) {
    case Lookup::kFound:
      break;
    case Lookup::kNoSuchHost: {
      char text[400];
      std::snprintf(text, sizeof text, "CSocket::Connect: gethostbyname: no such host %s", host);
      ShowErrorText(text);
      return -1;
    }
    case Lookup::kNotInternet:
      ShowErrorText("CSocket::Connect: gethostbyname: not an Internet host");
      return -1;
  }
  address.sin_addr.s_addr = ip;

  for (int attempt = 1; attempt <= 3; ++attempt) {
    if (socket_ == -1) {
      const SOCKET s = winsock::socket(AF_INET, SOCK_STREAM, 0);
      if (s == INVALID_SOCKET) {
        ShowErrorText("CSocket::Connect: couldn't create a socket !");
        return -1;
      }
      takeOn(static_cast<int>(s));
    }
    if (RawConnect(address) == 0) return 0;
    const int error = WSAGetLastError();
    Close();
    if (error != WSAECONNREFUSED || attempt == 3) {
      WSASetLastError(error);
      return -1;
    }
    Sleep(1);
  }
  return -1;
}

bool CSocket::IsNt() { return (GetVersion() & 0x80000000u) == 0; }

bool CSocket::pumpBeforeIo(bool forWrite) {
  // A socket that is ready goes on at once; one that is not waits a moment
  // for it, the display or a timer, whichever comes first, so that the
  // message step has something to do and an idle wait does not spin.
  WaitForSocketOrMessages(socket_, forWrite, kPumpWaitMs);
  return pumpOrAbort();
}

bool CSocket::pumpOrAbort() {
  if (PumpMessages(false) >= 0) return true;
  // The quit message: every waiting caller is to unwind.
  SetLinger(0);
  WSASetLastError(WSAECONNABORTED);
  return false;
}

int CSocket::Read(void* buffer, int length) {
  if (socket_ == -1) return 0;
  BusyCursor busy;
  if (!pumpBeforeIo(false)) return -1;
  const int n = IsNt() || length <= kNonNtChunk ? length : kNonNtChunk;
  return recv(static_cast<SOCKET>(socket_), static_cast<char*>(buffer), n, 0);
}

int CSocket::ReadNow(void* buffer, int length) {
  if (socket_ == -1) return 0;
  BusyCursor busy;
  if (!pumpOrAbort()) return -1;
  const int n = IsNt() || length <= kNonNtChunk ? length : kNonNtChunk;
  return recv(static_cast<SOCKET>(socket_), static_cast<char*>(buffer), n, 0);
}

int CSocket::Write(const void* buffer, int length) {
  if (socket_ == -1) return 0;
  BusyCursor busy;
  const char* bytes = static_cast<const char*>(buffer);
  if (length < 0) {
    ShowErrorText("CSocket::Write: FATAL BUG: buffer with negative length !!");
    SetLinger(0);
    Close();
    FatalError();
    return -1;
  }
  if (IsNt()) {
    if (!pumpBeforeIo(true)) return -1;
    return send(static_cast<SOCKET>(socket_), bytes, length, 0);
  }
  int sent = 0;
  while (sent < length) {
    if (!pumpBeforeIo(true)) return -1;
    const int chunk = length - sent < kNonNtChunk ? length - sent : kNonNtChunk;
    const int n = send(static_cast<SOCKET>(socket_), bytes + sent, chunk, 0);
    if (n > 0) {
      sent += n;
      continue;
    }
    if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK) {
      Sleep(1000);
      continue;
    }
    return n;
  }
  return sent;
}

int CSocket::Close() {
  BusyCursor busy;
  state_ = 0;
  if (socket_ != -1 && registered_) releaseSocket(socket_);
  socket_ = -1;
  registered_ = false;
  return 1;
}

void CSocket::SetLinger(int seconds) {
  if (socket_ == -1) return;
  linger l;
  l.l_onoff = 1;
  l.l_linger = static_cast<winsock::u_short>(seconds < 0 ? 0 : seconds);
  setsockopt(static_cast<SOCKET>(socket_), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l),
             sizeof l);
}

bool CSocket::IsRegistered(int socket) {
  for (const Registered& r : registry())
    if (r.socket == socket) return true;
  return false;
}

int CSocket::RegisteredCount() { return static_cast<int>(registry().size()); }

int CSocket::LiveCount() { return gLive; }

CSocket::ExitHook CSocket::SetExitHook(ExitHook hook) { return std::exchange(exitHook(), std::move(hook)); }

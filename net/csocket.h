// The client's one wrapper of a WinSock stream socket. It starts WinSock
// for the first socket and stops it after the last, keeps a registry of the
// socket numbers it opened (or took on) and has not closed yet, so that no
// number is closed twice, and runs one window-message step before every
// read and write; a quit message met there aborts the call.
#pragma once

#include <functional>

#include "win/winsock.h"

class CSocket {
 public:
  // The size to which single reads and writes are cut on Windows versions
  // other than NT (bit 31 of GetVersion set).
  static constexpr int kNonNtChunk = 2048;

  CSocket();
  // Takes on the socket number (registered unless it is -1).
  explicit CSocket(int socket);
  // Connects at once (see Connect).
  CSocket(const char* host, int port);
  ~CSocket();
  CSocket(const CSocket&) = delete;
  CSocket& operator=(const CSocket&) = delete;

  // Closes a socket still held, then makes a new TCP stream socket and
  // registers it. Without a socket to be had the program ends (error box,
  // exit -1); false only when the exit hook returned.
  bool Create();
  // 0 when connected, -1 otherwise (an error box tells why). A refused
  // connection is tried three times in all.
  int Connect(const char* host, int port);
  // The raw connect of the held socket, with the busy cursor shown: 0, or
  // SOCKET_ERROR with the WinSock error set.
  int RawConnect(const winsock::sockaddr_in& address);

  // Bytes received; 0 at the end of the stream or without a socket; -1 on
  // error (WSAGetLastError tells; WSAECONNABORTED when a quit message came).
  int Read(void* buffer, int length);
  // The bytes that have come already, after the message step but without
  // a wait for more: on a non-blocking socket -1 with WSAEWOULDBLOCK when
  // none have (otherwise as Read). A reader that takes a stream as fast as
  // it comes saves a wait for each piece.
  int ReadNow(void* buffer, int length);
  // Bytes sent (on NT possibly a part); 0 without a socket; -1 on error.
  int Write(const void* buffer, int length);
  // Closes the socket through the registry (a number held by another
  // CSocket too is closed when the last holder closes it); returns 1.
  int Close();
  // Holds a socket number without registering it: this object will never
  // close it (a buffer that uses a socket it does not own).
  void Attach(int socket);
  // Forgets the number without closing it; returns it (-1 when none).
  int Detach();
  // Lingering on with the given time; 0 makes the next close abortive.
  void SetLinger(int seconds);

  int socket() const { return socket_; }
  bool valid() const { return socket_ != -1; }
  int state() const { return state_; }
  void setState(int state) { state_ = state; }

  // ---- Process-wide ----
  // Whether a socket number is in the registry.
  static bool IsRegistered(int socket);
  // The IPv4 address of a host: dotted numbers as they stand, any other
  // name looked up. kNoSuchHost leaves the WinSock error set.
  enum class Lookup { kFound, kNoSuchHost, kNotInternet };
  static Lookup ResolveHost(const char* host, winsock::u_long& ip);
  static int RegisteredCount();
  static int LiveCount();
  // How the program ends when WinSock or a socket cannot be had (std::exit
  // by default). Tests put in a hook that throws. Returns the previous one.
  using ExitHook = std::function<void(int status)>;
  static ExitHook SetExitHook(ExitHook hook);

 private:
  void takeOn(int socket);
  // The message step before a read or write: false (and the call is to
  // fail with WSAECONNABORTED) when the quit message arrived.
  bool pumpBeforeIo(bool forWrite);
  // The message step alone; false (WSAECONNABORTED set) on the quit
  // message.
  bool pumpOrAbort();
  static bool IsNt();

  int socket_ = -1;
  int state_ = 0;
  int flag_ = 0;
  bool registered_ = false;  // this object holds a registry entry
};

// The POSIX calls under our WinSock layer, behind plain types: this header
// sees neither the C library's socket headers nor winsock.h, whose names
// clash. Addresses and ports are in network order. Every call that can fail
// returns -1 and puts the errno value in *err.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace winsock_posix {

// A TCP socket over IPv4 that never raises SIGPIPE and is not inherited by
// programs the client starts.
int openStream(int* err);
int closeFd(int fd);

int bindV4(int fd, std::uint32_t address, std::uint16_t port, int* err);
int listenFd(int fd, int backlog, int* err);
// The new descriptor, non-blocking when asked.
int acceptV4(int fd, bool nonblocking, std::uint32_t* address, std::uint16_t* port, int* err);
int connectV4(int fd, std::uint32_t address, std::uint16_t port, int* err);
long sendFd(int fd, const char* buffer, std::size_t length, bool oob, int* err);
long recvFd(int fd, char* buffer, std::size_t length, bool peek, bool oob, int* err);
// how: 0 receiving, 1 sending, 2 both.
int shutdownFd(int fd, int how, int* err);

int setNonblocking(int fd, bool on, int* err);
int bytesReadable(int fd, int* count, int* err);
int localName(int fd, std::uint32_t* address, std::uint16_t* port, int* err);
int peerName(int fd, std::uint32_t* address, std::uint16_t* port, int* err);

enum class Option { kReuseAddress, kKeepAlive, kDebug, kDontRoute, kBroadcast, kOobInline,
                    kSendBuffer, kReceiveBuffer, kReceiveLowWater, kError, kType, kAcceptConn, kNoDelay };
int setOption(int fd, Option option, int value, int* err);
int getOption(int fd, Option option, int* value, int* err);
int setLinger(int fd, bool on, int seconds, int* err);
int getLinger(int fd, bool* on, int* seconds, int* err);

struct PollItem {
  int fd;
  bool wantRead, wantWrite, wantExcept;
  bool read, write, except;
};
// Waits until an item is ready or the time is over (seconds < 0: without
// limit). The number of ready items.
int pollFds(std::vector<PollItem>& items, long seconds, long microseconds, int* err);

int hostName(char* buffer, std::size_t size, int* err);

enum class Lookup { kFound, kNotFound, kTryAgain, kNoData, kNoRecovery };
// The IPv4 addresses of a name, and its canonical name when the system
// gives one.
Lookup resolveV4(const char* name, std::vector<std::uint32_t>& addresses, std::string& canonical);

}  // namespace winsock_posix

// GetVersion of the KERNEL layer. It lives beside the socket layer because
// that is what reads it: on Windows versions other than NT single socket
// reads and writes are cut to 2048 bytes.
#include <atomic>

#include "win/kernel.h"

namespace {
// Windows NT 4.0, build 1381: bit 31 clear.
constexpr DWORD kNt40 = 0x05650004u;
std::atomic<DWORD> gVersion{kNt40};
}  // namespace

DWORD GetVersion() { return gVersion.load(); }

namespace win {
DWORD SetVersionForTesting(DWORD version) { return gVersion.exchange(version); }
}  // namespace win

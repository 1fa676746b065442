// A small program linked to the platform library: it asks for one value of
// the kernel layer and ends, so its time is what linking the library costs
// a program that starts (startup_bench).
#include "win/kernel.h"

int main() { return GetVersion() == 0 ? 1 : 0; }

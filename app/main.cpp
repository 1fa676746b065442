// The client program. The shell is built up issue by issue; until it can open
// its window this entry reports what it would start.
#include <cstdio>

#include "win/kernel.h"

int main() {
  char dir[MAX_PATH];
  GetCurrentDirectory(sizeof dir, dir);
  std::printf("Tolm v0.85: would start the client with settings %s/Tolm.ini\n", dir);
  return 0;
}

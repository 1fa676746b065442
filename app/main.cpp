// The client program. Without its window shell this entry reports what it
// would start.
#include <cstdio>

#include "app/version.h"
#include "win/kernel.h"

int main() {
  char dir[MAX_PATH];
  GetCurrentDirectory(sizeof dir, dir);
  std::printf("Tolm %s: would start the client with settings %s/Tolm.ini\n", kVersionText, dir);
  return 0;
}

// A library with an export table, for the loader's tests.
#include "win/module.h"

extern "C" int FixtureWep(int) { return 1; }
extern "C" int FixtureAdd(int a, int b) { return a + b; }
// A C symbol the table does not list: not an export.
extern "C" int NotExported() { return -1; }

namespace {
int Twice(int v) { return 2 * v; }
}  // namespace

ZEMRA_EXPORTS({1, "WEP", FixtureWep}, {2, "FixtureAdd", FixtureAdd}, {7, "Twice", Twice})

// A library without an export table that depends on one with a table, for
// the loader's tests: only its own C symbols are its exports.
extern "C" int FixtureAdd(int a, int b);

extern "C" int PlainValue() { return FixtureAdd(40, 2); }

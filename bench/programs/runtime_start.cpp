// A C++ program with nothing of ours: it uses the standard library, so
// that its start is what loading the C++ runtime alone costs, the floor
// under platform_start's (startup_bench).
#include <string>

int main(int argc, char** argv) { return argc > 0 && std::string(argv[0]).empty() ? 1 : 0; }

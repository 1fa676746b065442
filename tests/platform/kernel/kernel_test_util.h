// Helpers shared by the kernel tests.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "win/path_map.h"

namespace kernel_test {

// Restores the current directory when the test ends.
class CwdGuard {
 public:
  CwdGuard() : saved_(win::CurrentHostDirectory()) {}
  ~CwdGuard() {
    if (!saved_.empty() && ::chdir(saved_.c_str()) != 0) std::abort();
  }
  CwdGuard(const CwdGuard&) = delete;
  CwdGuard& operator=(const CwdGuard&) = delete;

 private:
  std::string saved_;
};

// Sets an environment variable for the test and restores it afterwards.
class EnvGuard {
 public:
  EnvGuard(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      had_ = true;
      old_ = old;
    }
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~EnvGuard() {
    if (had_)
      ::setenv(name_.c_str(), old_.c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  EnvGuard(const EnvGuard&) = delete;
  EnvGuard& operator=(const EnvGuard&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

}  // namespace kernel_test

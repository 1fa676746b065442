#include "core/error.h"

#include <gtest/gtest.h>

namespace {

TEST(Error, ClassNumberAndOk) {
  struct Case {
    int code;
    int cls;
    int number;
    bool ok;
  };
  const Case cases[] = {
      {0x0203, 2, 3, false}, {0x0200, 2, 0, true},  {0x0700, 5, 0, false},
      {0x0500, 5, 0, false}, {0x0000, 0, 0, true},  {0x04FF, 4, 0xFF, false},
      {-1, 5, 0xFF, false},  {0xFF00, 5, 0, false},
  };
  for (const Case& c : cases) {
    Error e(c.code);
    EXPECT_EQ(Error::errorClass(c.code), c.cls) << std::hex << c.code;
    EXPECT_EQ(Error::number(c.code), c.number) << std::hex << c.code;
    EXPECT_EQ(e.ok(), c.ok) << std::hex << c.code;
  }
}

TEST(Error, FreshErrorIsUnsetAndNotOk) {
  Error e;
  EXPECT_EQ(e.code(), -1);
  EXPECT_FALSE(e.ok());
  e.setCode(0x0100);
  EXPECT_TRUE(e.ok());
}

}  // namespace

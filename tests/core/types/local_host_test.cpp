#include "core/local_host.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

namespace {

int calls = 0;

// Fills the whole buffer with no NUL, as gethostname may for a long name.
int longNameQuery(char* buffer, std::size_t size) {
  ++calls;
  std::memset(buffer, 'h', size);
  return 0;
}

int shortNameQuery(char* buffer, std::size_t size) {
  ++calls;
  std::strncpy(buffer, "kxhost", size);
  return 0;
}

int failingQuery(char*, std::size_t) {
  ++calls;
  return -1;
}

TEST(LocalHostName, LongNameIsTerminatedInsideTheBuffer) {
  calls = 0;
  LocalHostName name(longNameQuery);
  const char* text = name.get();
  EXPECT_EQ(std::strlen(text), LocalHostName::kBufferSize - 1);
  EXPECT_EQ(text[0], 'h');
}

TEST(LocalHostName, AskedOnceAfterSuccessAgainAfterFailure) {
  calls = 0;
  LocalHostName name(shortNameQuery);
  EXPECT_STREQ(name.get(), "kxhost");
  EXPECT_STREQ(name.get(), "kxhost");
  EXPECT_EQ(calls, 1);

  calls = 0;
  LocalHostName failing(failingQuery);
  EXPECT_STREQ(failing.get(), "");
  EXPECT_STREQ(failing.get(), "");
  EXPECT_EQ(calls, 2);
}

TEST(LocalHostName, ProgramNameIsTheSystems) {
  char expected[256] = {};
  ASSERT_EQ(gethostname(expected, sizeof expected - 1), 0);
  expected[LocalHostName::kBufferSize - 1] = '\0';
  EXPECT_STREQ(localHostName(), expected);
  EXPECT_EQ(localHostName(), localHostName());
}

}  // namespace

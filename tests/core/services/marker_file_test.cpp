#include "core/marker_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

TEST(MarkerFile, HoldsHostNulAndPortWithoutLineEnd) {
  TempDir dir;
  const std::string path = dir.write("endpoint", "old content that is longer");
  ASSERT_TRUE(writeMarkerFileFor(path.c_str(), "alpha", 1050));
  EXPECT_EQ(TempDir::read(path), std::string("alpha\0" "1050", 10));
}

TEST(MarkerFile, HostNameIsCutTo100Bytes) {
  TempDir dir;
  const std::string path = dir.file("endpoint");
  ASSERT_TRUE(writeMarkerFileFor(path.c_str(), CString(std::string(150, 'h')), 7));
  EXPECT_EQ(TempDir::read(path), std::string(100, 'h') + std::string("\0" "7", 2));
}

TEST(MarkerFile, UsesThisHostsName) {
  TempDir dir;
  const std::string path = dir.file("endpoint");
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  ASSERT_TRUE(writeMarkerFile(path.c_str(), 418));
  EXPECT_EQ(TempDir::read(path), std::string(host) + std::string("\0" "418", 4));
}

TEST(MarkerFile, NullPathsAndRemoval) {
  TempDir dir;
  const std::string path = dir.file("endpoint");
  EXPECT_FALSE(writeMarkerFile(nullptr, 1));
  EXPECT_FALSE(removeMarkerFile(nullptr));
  ASSERT_TRUE(writeMarkerFileFor(path.c_str(), "h", 1));
  EXPECT_TRUE(removeMarkerFile(path.c_str()));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(removeMarkerFile(path.c_str()));
  EXPECT_FALSE(writeMarkerFileFor(dir.file("no/such/dir/endpoint").c_str(), "h", 1));
}

}  // namespace

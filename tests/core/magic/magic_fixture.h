// Shared set-up of the magic-table tests: a fresh headless message-box
// record and overflow notice, and helpers to load rules from text and match.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/magic.h"
#include "win/user.h"

namespace magic_testing {

class MagicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    ResetMagicOverflowNotice();
  }
  void TearDown() override { win::ResetUserState(); }

  static bool Load(const std::string& rules) { return LoadMagicText(rules.data(), rules.size()); }

  // The result of matching `bytes` against the loaded table; "<none>" when
  // nothing matched.
  static std::string Match(const std::string& bytes, int outSize = kMagicResultSize) {
    std::vector<char> out(static_cast<size_t>(outSize), '\x7f');
    if (!MatchLoadedMagic(bytes.data(), static_cast<int>(bytes.size()), out.data(), outSize))
      return "<none>";
    return std::string(out.data());
  }

  static std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const win::MessageBoxRecord& r : win::MessageBoxLog()) texts.push_back(r.text);
    return texts;
  }
};

}  // namespace magic_testing

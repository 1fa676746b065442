// Both frame bases of the viewer framework own the progress reporter that
// long operations find through GetFrameProgress, for as long as they exist.
#include <gtest/gtest.h>

#include <memory>

#include "app/frame/mdi_main_frame.h"
#include "app/frame/sdi_main_frame.h"
#include "framework/progress_reporter.h"

namespace {

template <class Frame>
void ExpectReporterWhileTheFrameExists() {
  ProgressReporter* reporter = nullptr;
  {
    auto frame = std::make_unique<Frame>();
    reporter = frame->Progress();
    ASSERT_NE(reporter, nullptr);
    EXPECT_EQ(GetFrameProgress(), reporter);
  }
  // Nothing reports to a reporter that went with its frame.
  EXPECT_EQ(GetFrameProgress(), nullptr);
}

TEST(FrameProgress, EachFrameBaseRegistersItsReporterWhileItExists) {
  ExpectReporterWhileTheFrameExists<CSDIMainFrame>();
  ExpectReporterWhileTheFrameExists<CMDIMainFrame>();
}

}  // namespace

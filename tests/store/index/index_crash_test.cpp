// A writer killed at random moments: whatever it finished reads back, the
// change it was making is whole or absent, and the file takes changes again.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "store/index/index_file.h"
#include "store/index/index_journal.h"
#include "support/index_contents.h"
#include "support/index_model.h"
#include "support/temp_dir.h"

namespace {

using index_testing::Contents;
using index_testing::IndexModel;
using index_testing::IndexOp;

// Runs the steps in a child that reports each finished step on a pipe, and
// kills it once it has reported `killAfter` steps and `delayMicros` more
// have passed. Returns the number of steps it reported.
int runAndKill(const std::string& path, const std::vector<IndexOp>& ops, size_t from, int killAfter,
               int delayMicros) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    IndexFile index;
    if (index.open(path.c_str(), IndexFile::kReadWrite) != 0) _exit(2);
    for (size_t i = from; i < ops.size(); ++i) {
      if (!index_testing::apply(index, ops[i])) _exit(3);
      int done = static_cast<int>(i - from + 1);
      if (write(fds[1], &done, sizeof done) != sizeof done) _exit(4);
    }
    index.close();
    _exit(0);
  }
  close(fds[1]);
  int reported = 0, n = 0;
  while (reported < killAfter && read(fds[0], &n, sizeof n) == sizeof n) reported = n;
  std::this_thread::sleep_for(std::chrono::microseconds(delayMicros));
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  while (read(fds[0], &n, sizeof n) == sizeof n) reported = n;
  close(fds[0]);
  // A child that ended by itself ended by a failed step or by finishing.
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0) return -1;
  return reported;
}

TEST(IndexCrash, AKilledWriterLeavesEveryFinishedStepAndNothingHalfDone) {
  testing_support::TempDir dir;
  std::string path = dir.file("crash.bof");
  ASSERT_EQ(IndexFile::create(path.c_str()), 0);
  // Keys of up to 200 bytes split a leaf every few inserts, and a few
  // hundred keys take chains: most of the writer's time is spent in changes
  // of several blocks.
  std::vector<IndexOp> ops = index_testing::makeOps(2024, 60000, 600);
  IndexModel model;
  size_t done = 0;
  int recoveries = 0;
  std::mt19937 rng(99);
  for (int run = 0; run < 60 && done < ops.size(); ++run) {
    int killAfter = 5 + static_cast<int>(rng() % 150);
    int delay = static_cast<int>(rng() % 3000);
    int reported = runAndKill(path, ops, done, killAfter, delay);
    ASSERT_GE(reported, 0) << "run " << run << ": the writer failed a step";
    bool leftAChange = index_testing::fileBytes(IndexJournal::pathFor(path)).size() > 0;

    IndexFile index;
    ASSERT_EQ(index.open(path.c_str(), IndexFile::kReadWrite), 0) << "run " << run;
    EXPECT_EQ(index.recovered(), leftAChange) << "run " << run;
    recoveries += index.recovered();
    Contents now;
    ASSERT_TRUE(index_testing::readAll(index, now)) << "run " << run;
    EXPECT_FALSE(index.damaged()) << "run " << run;

    for (int i = 0; i < reported; ++i) index_testing::apply(model, ops[done + static_cast<size_t>(i)]);
    done += static_cast<size_t>(reported);
    if (now != model.keys && done < ops.size()) {
      // The step in flight when the process died got through whole.
      index_testing::apply(model, ops[done]);
      ++done;
    }
    ASSERT_EQ(now, model.keys) << "run " << run << " after " << done << " steps";
  }
  EXPECT_GT(recoveries, 0) << "no kill landed inside a change of several blocks";
  // The file goes on taking changes.
  IndexFile index;
  ASSERT_EQ(index.open(path.c_str(), IndexFile::kReadWrite), 0);
  for (size_t i = done; i < done + 500 && i < ops.size(); ++i) ASSERT_TRUE(index_testing::apply(index, model, ops[i]));
  Contents now;
  ASSERT_TRUE(index_testing::readAll(index, now));
  EXPECT_EQ(now, model.keys);
}

}  // namespace

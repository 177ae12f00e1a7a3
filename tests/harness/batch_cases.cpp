// The cases of batch_selftest: one passes, two fail (one of them parameterised, whose name holds
// a slash), one ends the process, one skips, one is disabled, one fails when asked to; and the
// faults a batch must show though no case fails by itself: a crash that needs the case before it,
// a crash at exit, exit(0) inside a case, a suite that does not set up or tear down.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Memory that was freed: touching it is an access violation.
int* Freed() {
  void* page = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  VirtualFree(page, 0, MEM_RELEASE);
  return static_cast<int*>(page);
}

int* stale_cache = nullptr;

}  // namespace

TEST(Batch, Passes) { SUCCEED(); }
TEST(Batch, Fails) { ADD_FAILURE() << "the failure the self-test looks for"; }
TEST(Batch, EndsTheProcess) { std::_Exit(7); }
TEST(Batch, Skips) { GTEST_SKIP() << "the skip the self-test looks for"; }
TEST(Batch, DISABLED_EndsTheProcess) { std::_Exit(9); }
TEST(Batch, FailsWhenAsked) {
  EXPECT_EQ(0u, GetEnvironmentVariableW(L"BATCH_SELFTEST_FAIL", nullptr, 0)) << "asked to fail";
}

class BatchParam : public ::testing::TestWithParam<int> {};
TEST_P(BatchParam, Fails) { EXPECT_EQ(0, GetParam()) << "the parameterised failure"; }
INSTANTIATE_TEST_SUITE_P(Each, BatchParam, ::testing::Values(1));

// A cache left pointing at a freed object: the case after it in the same process crashes on it.
TEST(Later, LeavesAStaleCache) { stale_cache = Freed(); }
TEST(Later, CrashesAfterIt) {
  if (stale_cache) *stale_cache = 1;
}

TEST(AtExit, LeavesAFaultForExit) {
  std::atexit([] { *Freed() = 1; });
}

TEST(Quits, WithStatusZero) { std::exit(0); }

struct SuiteSetUp : ::testing::Test {
  static void SetUpTestSuite() { FAIL() << "the set-up failure"; }
};
TEST_F(SuiteSetUp, Passes) { SUCCEED(); }

struct SuiteTearDown : ::testing::Test {
  static void TearDownTestSuite() { ADD_FAILURE() << "the tear-down failure"; }
};
TEST_F(SuiteTearDown, Passes) { SUCCEED(); }

// The cases of batch_selftest: one passes, two fail (one of them parameterised, whose name holds
// a slash) and one ends the process.
#include <gtest/gtest.h>

#include <cstdlib>

TEST(Batch, Passes) { SUCCEED(); }
TEST(Batch, Fails) { ADD_FAILURE() << "the failure the self-test looks for"; }
TEST(Batch, EndsTheProcess) { std::_Exit(7); }

class BatchParam : public ::testing::TestWithParam<int> {};
TEST_P(BatchParam, Fails) { EXPECT_EQ(0, GetParam()) << "the parameterised failure"; }
INSTANTIATE_TEST_SUITE_P(Each, BatchParam, ::testing::Values(1));

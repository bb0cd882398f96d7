// A crash the runtime could not report must not pass for a reported failure (exit code 3).
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <exception>

namespace {

TEST(CrashExitDeathTest, AbortAndTerminateExitWithTheirOwnCode) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::abort(), ::testing::ExitedWithCode(4), "");
  EXPECT_EXIT(std::terminate(), ::testing::ExitedWithCode(4), "");
  EXPECT_EXIT(std::raise(SIGABRT), ::testing::ExitedWithCode(4), "");
}

}  // namespace

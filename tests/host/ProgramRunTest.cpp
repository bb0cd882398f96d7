// The rules every backend runs handlers by, without a window.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <vector>

#include "platform/Failure.h"
#include "platform/Program.h"
#include "platform/ProgramRun.h"
#include "platform/headless/World.h"

using platform::ExitCode;
using platform::ProgramRun;
using platform::headless::World;

namespace {

class ProgramRunTest : public ::testing::Test {
 protected:
  void SetUp() override { World::Get().Reset(); }
  int closes_ = 0;
  ProgramRun run_{[this] { ++closes_; }};
};

TEST_F(ProgramRunTest, WhateverAHandlerThrowsEndsTheRunOnceWithItsCode) {
  struct Case {
    const char* what;
    std::function<void()> handler;
    ExitCode code;
    const wchar_t* report;  // null: no report box
  };
  const Case cases[] = {
      {"End()", [] { platform::End(); }, ExitCode::kCreated, nullptr},
      {"End(code)", [] { platform::End(ExitCode::kWrongWindows); }, ExitCode::kWrongWindows,
       nullptr},
      {"refused, then End()",
       [] {
         platform::SetExitCode(ExitCode::kRefused);
         platform::End();
       },
       ExitCode::kRefused, nullptr},
      {"Failure", [] { throw platform::Failure(6, L"Overflow"); }, ExitCode::kUnhandledFailure,
       L"Run-time error '6':\r\rOverflow"},
      {"bad_alloc", [] { throw std::bad_alloc(); }, ExitCode::kUnhandledFailure,
       L"Run-time error '7':\r\rOut of memory"},
      {"anything else", [] { throw std::runtime_error("?"); }, ExitCode::kUnhandledFailure,
       L"Run-time error '51':\r\rInternal error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    World::Get().Reset();
    int closes = 0;
    ProgramRun run([&] { ++closes; });
    run.Run(c.handler);
    EXPECT_TRUE(run.Ended());
    EXPECT_EQ(run.Code(), c.code);
    EXPECT_EQ(closes, 1);
    const auto& boxes = World::Get().Boxes();
    ASSERT_EQ(boxes.size(), c.report ? 1u : 0u);
    if (c.report) {
      EXPECT_EQ(boxes[0].prompt, c.report);
    }
    // Once ended, nothing runs and nothing closes twice.
    bool ran = false;
    run.Run([&] { ran = true; });
    run.RequestClose();
    EXPECT_FALSE(ran);
    EXPECT_EQ(closes, 1);
  }
}

TEST_F(ProgramRunTest, HandlersNeverOverlapAndACloseWaitsForTheRunningOne) {
  std::vector<const char*> steps;
  run_.Run([&] {
    steps.push_back("outer");
    // What another program's sent message would start in the middle of a long call.
    run_.Run([&] { steps.push_back("nested"); });
    run_.RequestClose();
    EXPECT_FALSE(run_.Ended());
    EXPECT_EQ(closes_, 0);
    steps.push_back("outer goes on");
    platform::SetExitCode(ExitCode::kRefused);
  });
  EXPECT_EQ(steps, (std::vector<const char*>{"outer", "outer goes on"}));
  EXPECT_TRUE(run_.Ended());
  EXPECT_EQ(run_.Code(), ExitCode::kRefused);
  EXPECT_EQ(closes_, 1);
}

TEST_F(ProgramRunTest, NoCloseRequestCountsWhileAFailureIsReported) {
  World::Get().onMessageBox = [this](const auto&) { run_.RequestClose(); };
  run_.Run([] { throw platform::Failure(424, L"Object required"); });
  EXPECT_EQ(run_.Code(), ExitCode::kUnhandledFailure);
  EXPECT_EQ(closes_, 1);
}

}  // namespace

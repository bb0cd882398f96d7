// The rules every backend runs handlers by, without a window.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/Program.h"
#include "platform/ProgramRun.h"
#include "platform/Text.h"
#include "platform/headless/World.h"

using platform::ExitCode;
using platform::Handler;
using platform::ProgramRun;
using platform::headless::ProcessEnded;
using platform::headless::World;

namespace {

// How often the run ended the process, as the backend recorded it.
int Ends() {
  int ends = 0;
  for (const std::wstring& entry : World::Get().Trace()) ends += entry.rfind(L"end ", 0) == 0;
  return ends;
}

// Where the shipped program's process would end, the headless one unwinds.
void Enter(ProgramRun& run, const Handler& handler) {
  try {
    run.Run(handler);
  } catch (const ProcessEnded&) {
  }
}

void RequestClose(ProgramRun& run) {
  try {
    run.RequestClose();
  } catch (const ProcessEnded&) {
  }
}

class ProgramRunTest : public ::testing::Test {
 protected:
  void SetUp() override { World::Get().Reset(); }
  ProgramRun run_;
};

void EndOnce() { platform::End(); }
void EndWrongWindows() { platform::End(ExitCode::kWrongWindows); }
void EndRefused() {
  platform::SetExitCode(ExitCode::kRefused);
  platform::End();
}
void RaiseOverflow() { platform::Raise(platform::Failure(6, L"Overflow")); }
// More characters than any block could hold: the program's own allocation refuses it.
void AskTooMuchMemory() {
  const platform::Text huge(static_cast<std::size_t>(-1) / 2, L'x');
  ADD_FAILURE() << "allocated " << huge.size() << " characters";
}

TEST_F(ProgramRunTest, EveryEndEndsTheRunOnceWithItsCode) {
  struct Case {
    const char* what;
    void (*handler)();
    ExitCode code;
    const wchar_t* report;  // null: no report box
  };
  const Case cases[] = {
      {"End()", EndOnce, ExitCode::kCreated, nullptr},
      {"End(code)", EndWrongWindows, ExitCode::kWrongWindows, nullptr},
      {"refused, then End()", EndRefused, ExitCode::kRefused, nullptr},
      {"Failure", RaiseOverflow, ExitCode::kUnhandledFailure, L"Run-time error '6':\r\rOverflow"},
      {"out of memory", AskTooMuchMemory, ExitCode::kUnhandledFailure,
       L"Run-time error '7':\r\rOut of memory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    World::Get().Reset();
    ProgramRun run;
    Enter(run, [&c] { c.handler(); });
    EXPECT_TRUE(run.Ended());
    EXPECT_EQ(run.Code(), c.code);
    ASSERT_TRUE(World::Get().Exit().has_value());
    EXPECT_EQ(*World::Get().Exit(), c.code);
    EXPECT_EQ(Ends(), 1);
    const auto& boxes = World::Get().Boxes();
    ASSERT_EQ(boxes.size(), c.report ? 1u : 0u);
    if (c.report) {
      EXPECT_EQ(boxes[0].prompt, c.report);
    }
    // Once ended, nothing runs and nothing ends twice.
    bool ran = false;
    Enter(run, [&] { ran = true; });
    RequestClose(run);
    EXPECT_FALSE(ran);
    EXPECT_EQ(Ends(), 1);
  }
}

TEST_F(ProgramRunTest, HandlersNeverOverlapAndACloseWaitsForTheRunningOne) {
  std::vector<const char*> steps;
  Enter(run_, [&] {
    steps.push_back("outer");
    // What another program's sent message would start in the middle of a long call.
    run_.Run([&] { steps.push_back("nested"); });
    run_.RequestClose();
    EXPECT_FALSE(run_.Ended());
    EXPECT_EQ(Ends(), 0);
    steps.push_back("outer goes on");
    platform::SetExitCode(ExitCode::kRefused);
  });
  EXPECT_EQ(steps, (std::vector<const char*>{"outer", "outer goes on"}));
  EXPECT_TRUE(run_.Ended());
  EXPECT_EQ(World::Get().Exit(), ExitCode::kRefused);
  EXPECT_EQ(Ends(), 1);
}

TEST_F(ProgramRunTest, NoCloseRequestCountsWhileAFailureIsReported) {
  World::Get().onMessageBox = [this](const auto&) { run_.RequestClose(); };
  Enter(run_, [] { platform::Raise(platform::Failure(424, L"Object required")); });
  EXPECT_EQ(World::Get().Exit(), ExitCode::kUnhandledFailure);
  EXPECT_EQ(Ends(), 1);
}

}  // namespace

#include "tests/host/HeadlessFixture.h"

namespace {

class Countdown : public HeadlessTest {
 protected:
  std::vector<std::wstring> Label2Captions() const {
    std::vector<std::wstring> captions;
    for (const auto& e : world().Trace()) {
      if (e.rfind(L"Label2.Caption=", 0) == 0) captions.push_back(e.substr(15));
    }
    return captions;
  }
};

TEST_F(Countdown, CountsDownOncePerSecondAndEndsOnTheFifthTick) {
  const int code = RunFerrule();
  EXPECT_EQ(code, 0);
  EXPECT_EQ(world().EndedAt(), 5000);
  const std::vector<std::wstring> expected = {L"Closing in 4 seconds.", L"Closing in 3 seconds.",
                                              L"Closing in 2 seconds.", L"Closing in 1 seconds.",
                                              L"Closing in 0 seconds."};
  EXPECT_EQ(Label2Captions(), expected);
  // The last caption is set in the same handler that ends the program.
  const auto& trace = world().Trace();
  ASSERT_GE(trace.size(), 2u);
  EXPECT_EQ(trace[trace.size() - 2], L"Label2.Caption=Closing in 0 seconds.");
  EXPECT_EQ(trace.back(), L"end 0");
}

TEST_F(Countdown, NoTickArrivesBeforeTheLoadHandlerSetsTheInterval) {
  std::vector<unsigned> intervalsSeenInBox;
  world().answer = [](const auto&) { return platform::Variant::Int32(1); };
  world().onMessageBox = [&](const auto&) {
    intervalsSeenInBox.push_back(world().Control(L"Timer1").interval);
  };
  RunFerrule();
  ASSERT_EQ(intervalsSeenInBox.size(), 1u);
  EXPECT_EQ(intervalsSeenInBox[0], 0u);
  EXPECT_LT(TraceIndex(L"Timer1.Interval=1000"), TraceIndex(L"Label2.Caption=")) << TraceText();
}

TEST_F(Countdown, CloseEndsAtOnceWhateverTheCount) {
  for (long long at : {0LL, 999LL, 2500LL, 4999LL}) {
    SetUp();
    world().ScheduleClick(at, L"cmdClose");
    EXPECT_EQ(RunFerrule(), 0) << "click at " << at;
    EXPECT_EQ(world().EndedAt(), at);
    EXPECT_EQ(world().Trace().back(), L"end 0");
  }
}

TEST_F(Countdown, CloseAndCloseBoxKeepTheRefusedExitCode) {
  world().answer = [](const auto&) { return platform::Variant::Int32(1058); };
  world().ScheduleClick(1500, L"cmdClose");
  EXPECT_EQ(RunFerrule(), 1);

  SetUp();
  world().answer = [](const auto&) { return platform::Variant::Int32(1058); };
  world().ScheduleClose(2000);
  EXPECT_EQ(RunFerrule(), 1);
  EXPECT_EQ(world().EndedAt(), 2000);
}

TEST_F(Countdown, DecrementBelowTheSmallestCountIsReportedAsOverflow) {
  // Lower the count while the load handler waits on System Restore.
  world().answer = [](const auto&) {
    Module1::intCountdown = INT16_MIN;
    return platform::Variant::Int32(0);
  };
  EXPECT_EQ(RunFerrule(), 3);
  EXPECT_EQ(world().EndedAt(), 1000);
  ASSERT_EQ(world().Boxes().size(), 1u);
  EXPECT_EQ(world().Boxes()[0].prompt, L"Run-time error '6':\r\rOverflow");
  EXPECT_EQ(Module1::intCountdown.Value(), INT16_MIN);
}

}  // namespace

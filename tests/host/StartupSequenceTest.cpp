#include "tests/host/HeadlessFixture.h"

using platform::ExitCode;

namespace {

const std::wstring kCreating = L"\rCreating Restore Point.............";

class StartupSequence : public HeadlessTest {};

TEST_F(StartupSequence, ShowsCreatingTextThenStatusCloseButtonAndCountdownInThatOrder) {
  RunFerrule();
  SCOPED_TRACE(TraceText());
  const long show = TraceIndex(L"show");
  const long creating = TraceIndex(L"Label1.Caption=" + kCreating);
  const long label2Hidden = TraceIndex(L"Label2.Visible=false");
  const long closeHidden = TraceIndex(L"cmdClose.Visible=false");
  const long call = TraceIndex(L"call CreateRestorePoint");
  const long closeShown = TraceIndex(L"cmdClose.Visible=true");
  const long status = TraceIndex(L"Label1.Caption=New Restore Point");
  const long label2Shown = TraceIndex(L"Label2.Visible=true");
  const long timer = TraceIndex(L"Timer1.Interval=1000");
  EXPECT_EQ(show, 0);
  EXPECT_LT(show, creating);
  EXPECT_LT(creating, label2Hidden);
  EXPECT_LT(label2Hidden, closeHidden);
  EXPECT_LT(closeHidden, call);
  EXPECT_LT(call, closeShown);
  EXPECT_LT(closeShown, status);
  EXPECT_LT(status, label2Shown);
  EXPECT_LT(label2Shown, timer);
}

TEST_F(StartupSequence, FinalWindowHoldsStatusCloseButtonAndFirstCountdownText) {
  world().ScheduleClick(500, L"cmdClose");  // stop before the first tick
  RunFerrule();
  EXPECT_TRUE(world().WindowShown());
  EXPECT_EQ(world().WindowCaption(), L"Creating Restore Point");
  EXPECT_EQ(world().Control(L"Label1").caption, Module1::strStatus);
  // The status replaces the creating text whole: its leading line break is gone.
  EXPECT_EQ(Module1::strStatus.rfind(L"New Restore Point successfully created.", 0), 0u);
  EXPECT_TRUE(world().Control(L"cmdClose").visible);
  EXPECT_TRUE(world().Control(L"Label2").visible);
  EXPECT_EQ(world().Control(L"Label2").caption, L"Closing in 5 seconds.");
  EXPECT_EQ(world().Control(L"Timer1").interval, 1000u);
}

TEST_F(StartupSequence, FailureBoxIsShownMidSequenceAndTheSequenceStillCompletes) {
  world().answer = [](const auto&) { return platform::Variant::Int32(1058); };
  bool closeVisibleDuringBox = true;
  std::wstring label1DuringBox;
  world().onMessageBox = [&](const platform::headless::ShownBox&) {
    closeVisibleDuringBox = world().Control(L"cmdClose").visible;
    label1DuringBox = world().Control(L"Label1").caption;
  };
  const int code = RunFerrule();
  ASSERT_EQ(world().Boxes().size(), 1u);
  EXPECT_FALSE(closeVisibleDuringBox);
  EXPECT_EQ(label1DuringBox, kCreating);
  EXPECT_EQ(world().Control(L"Timer1").interval, 1000u);
  EXPECT_TRUE(world().Control(L"cmdClose").visible);
  EXPECT_EQ(code, static_cast<int>(ExitCode::kRefused));
}

TEST_F(StartupSequence, ExitCodeTellsTheOutcome) {
  EXPECT_EQ(RunFerrule(), static_cast<int>(ExitCode::kCreated));

  SetUp();
  world().answer = [](const auto&) { return platform::Variant::Int32(1); };
  EXPECT_EQ(RunFerrule(), static_cast<int>(ExitCode::kRefused));

  SetUp();
  world().SetWindowsVersion("5.2");
  EXPECT_EQ(RunFerrule(), static_cast<int>(ExitCode::kWrongWindows));

  SetUp();
  world().bindFailure = platform::Failure(-2147217392, L"Invalid class");
  EXPECT_EQ(RunFerrule(), static_cast<int>(ExitCode::kUnhandledFailure));
}

}  // namespace

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
  EXPECT_EQ(world().Control(L"Label1").caption, Status());
  // The status replaces the creating text whole: its leading line break is gone.
  EXPECT_EQ(Status().rfind(L"New Restore Point successfully created.", 0), 0u);
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

// A close request while System Restore works, or while its failure box is up, must neither cut
// the sequence short nor be lost: the outcome is shown, then the run ends without a countdown.
TEST_F(StartupSequence, CloseRequestedBeforeTheSequenceEndsTakesEffectRightAfterIt) {
  struct Case {
    const char* when;
    std::int32_t answer;
    bool closeDuringBox;
    ExitCode code;
  };
  const Case cases[] = {
      {"during a call that succeeds", 0, false, ExitCode::kCreated},
      {"during a call that is refused", 1058, false, ExitCode::kRefused},
      {"while the failure box is up", 1058, true, ExitCode::kRefused},
  };
  for (const Case& c : cases) {
    SetUp();
    SCOPED_TRACE(c.when);
    world().answer = [&c](const auto&) {
      if (!c.closeDuringBox) world().CloseBox();
      return platform::Variant::Int32(c.answer);
    };
    world().onMessageBox = [&c](const auto&) {
      if (c.closeDuringBox) world().CloseBox();
    };
    EXPECT_EQ(RunFerrule(), static_cast<int>(c.code));
    EXPECT_EQ(world().Boxes().size(), c.answer == 0 ? 0u : 1u);
    EXPECT_EQ(world().Control(L"Label1").caption, Status());
    // Ended in the same instant the sequence finished, after its last step, before any tick.
    EXPECT_EQ(world().EndedAt(), 0);
    EXPECT_LT(TraceIndex(L"close box"), TraceIndex(L"Timer1.Interval=1000")) << TraceText();
    EXPECT_EQ(world().Trace().back(), L"end " + std::to_wstring(static_cast<int>(c.code)));
    EXPECT_EQ(TraceIndex(L"Label2.Caption="), -1) << TraceText();
  }
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

// Where nobody can see a box (a service, a scheduled task) each outcome goes on as if its box
// had been answered, ends by itself with the same code, and leaves the box's words on stderr.
TEST_F(StartupSequence, WithoutAVisibleDisplayNoBoxWaitsAndTheWordsGoToStandardError) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    ExitCode code;
    long long endedAt;    // virtual ms: 5000 after a countdown, 0 without one
    const wchar_t* line;  // null: nothing on stderr
  };
  const Case cases[] = {
      {"created", [] {}, ExitCode::kCreated, 5000, nullptr},
      {"refused",
       [] { world().answer = [](const auto&) { return platform::Variant::Int32(1058); }; },
       ExitCode::kRefused, 5000, L"Reruze Dazova Derivod Irari: Restore Point creation Failed!"},
      {"not XP", [] { world().SetWindowsVersion("6.1"); }, ExitCode::kWrongWindows, 0,
       L"Error: This utility is only intended for Windows XP."},
      {"failure",
       [] { world().bindFailure = platform::Failure(-2147467259, L"Unspecified\r\rerror"); },
       ExitCode::kUnhandledFailure, 0,
       L"Reruze Dazova Derivod Irari: Run-time error '-2147467259 (80004005)': Unspecified error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    world().displayVisible = false;
    c.arrange();
    EXPECT_EQ(RunFerrule(), static_cast<int>(c.code)) << TraceText();
    EXPECT_TRUE(world().Boxes().empty());
    EXPECT_EQ(world().EndedAt(), c.endedAt);
    const std::vector<std::wstring> lines =
        c.line ? std::vector<std::wstring>{c.line} : std::vector<std::wstring>{};
    EXPECT_EQ(world().ErrorLines(), lines);
    if (c.code == ExitCode::kRefused) {
      EXPECT_EQ(world().Control(L"Label1").caption,
                L"Restore Point creation Failed!\rSystem Restore is turned off, or its service is "
                L"disabled (1058).");
    }
  }
}

}  // namespace

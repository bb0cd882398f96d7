#include <cstdint>
#include <limits>

#include "ops/RestorePointAnswer.h"
#include "platform/MessageBox.h"
#include "res/Application.h"
#include "tests/host/HeadlessFixture.h"

using platform::Failure;
using platform::Variant;

namespace {

// Called directly, outside a run: the runtime is given the title the run would have given it.
class RestorePoint : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform::SetApplicationTitle(res::kApplicationTitle);
  }
};

TEST_F(RestorePoint, StatusHasThreeLinesSeparatedByLoneCarriageReturns) {
  world().dateText = L"12/7/2026";
  world().timeText = L"2:15:09 PM";
  Module1::MakeRestorePoint();
  EXPECT_EQ(Status(),
            L"New Restore Point successfully created.\r"
            L"It is listed as: \r"
            L"Automatic Restore Point 12/7/2026 2:15:09 PM");
  const std::wstring status = Status();
  EXPECT_EQ(std::count(status.begin(), status.end(), L'\r'), 2);
  EXPECT_EQ(Status().find(L'\n'), std::wstring::npos);
}

TEST_F(RestorePoint, DateAndTimeAreReadBeforeTheServiceIsCalled) {
  world().timeText = L"2:15:09 PM";
  world().answer = [](const auto&) {
    world().timeText = L"2:16:30 PM";  // the call takes its time
    return Variant::Int32(0);
  };
  Module1::MakeRestorePoint();
  SCOPED_TRACE(TraceText());
  EXPECT_LT(TraceIndex(L"date"), TraceIndex(L"time"));
  EXPECT_LT(TraceIndex(L"time"), TraceIndex(L"call"));
  EXPECT_NE(Status().find(L"2:15:09 PM"), std::wstring::npos) << Status();
}

TEST_F(RestorePoint, ServiceGetsDescriptionTypeAndEventAsPositionalArguments) {
  Module1::MakeRestorePoint();
  ASSERT_EQ(world().Binds().size(), 1u);
  EXPECT_EQ(world().Binds()[0], L"winmgmts:\\\\.\\root\\default:Systemrestore");
  ASSERT_EQ(world().Calls().size(), 1u);
  const auto& call = world().Calls()[0];
  EXPECT_EQ(call.method, L"CreateRestorePoint");
  ASSERT_EQ(call.arguments.size(), 3u);
  EXPECT_EQ(call.arguments[0].type, Variant::kText);
  EXPECT_EQ(call.arguments[0].text, L"Automatic Restore Point");
  EXPECT_EQ(call.arguments[1].type, Variant::kInt16);
  EXPECT_EQ(call.arguments[1].number, 0);
  EXPECT_EQ(call.arguments[2].type, Variant::kInt16);
  EXPECT_EQ(call.arguments[2].number, 100);
}

TEST_F(RestorePoint, ZeroOfAnyNumericTypeIsSuccessAndShowsNoBox) {
  for (Variant::Type type :
       {Variant::kInt32, Variant::kInt16, Variant::kUInt32, Variant::kReal64}) {
    SetUp();
    world().answer = [type](const auto&) { return Variant::Number(type, 0); };
    Module1::MakeRestorePoint();
    EXPECT_TRUE(world().Boxes().empty()) << "type " << type;
    EXPECT_EQ(Status().rfind(L"New Restore Point successfully created.\r", 0), 0u);
  }
}

TEST_F(RestorePoint, AnythingButNumericZeroIsReportedAsFailureInBoxAndWindow) {
  struct Case {
    Variant answer;
    std::wstring secondLine;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {Variant::Int32(1058), L"System Restore is turned off, or its service is disabled (1058)."},
      {Variant::Int32(-1), L"System Restore returned -1."},
      {Variant::Number(Variant::kReal64, 0.5), L"System Restore returned a fraction."},
      // No conversion of these to a whole number is defined; they must be named, not cast.
      {Variant::Number(Variant::kReal64, nan),
       L"System Restore returned a value that is not a number."},
      {Variant::Number(Variant::kReal64, -infinity),
       L"System Restore returned an infinite number."},
      {Variant::Number(Variant::kReal64, 18446744073709551616.0),
       L"System Restore returned a number beyond 64 bits."},
      {Variant::Number(Variant::kUInt64, 18446744073709549568.0),
       L"System Restore returned 18446744073709549568."},
      {Variant::Number(Variant::kReal64, -1e300),
       L"System Restore returned a number beyond 64 bits."},
      {Variant::Number(Variant::kInt64, -9223372036854775808.0),
       L"System Restore returned -9223372036854775808."},
      {Variant::Empty(), L"System Restore returned nothing."},
      {Variant::Null(), L"System Restore returned Null."},
      {Variant::String(L"0"), L"System Restore returned the text \"0\"."},
      {Variant::Of(Variant::kBool), L"System Restore returned no number."},
  };
  for (const Case& c : cases) {
    SetUp();
    world().answer = [&c](const auto&) { return c.answer; };
    Module1::MakeRestorePoint();
    SCOPED_TRACE(c.secondLine);
    ASSERT_EQ(world().Boxes().size(), 1u);
    EXPECT_EQ(world().Boxes()[0].prompt, L"Restore Point creation Failed!");
    EXPECT_EQ(world().Boxes()[0].title, L"Reruze Dazova Derivod Irari");
    EXPECT_EQ(Status(), L"Restore Point creation Failed!\r" + c.secondLine);
  }
}

TEST_F(RestorePoint, KnownFailureCodesAreNamedInWordsAndKeepTheirNumber) {
  const std::wstring generic = L"System Restore returned ";
  for (std::int32_t code : {1058, 112, 1460, 10, 1359, 5}) {
    const std::wstring line =
        platform::headless::WideOf(Module1::DescribeAnswer(Variant::Int32(code)));
    SCOPED_TRACE(line);
    EXPECT_NE(line.rfind(generic, 0), 0u) << "no words for a known code";
    const std::wstring number = L" (" + std::to_wstring(code) + L").";
    EXPECT_EQ(line.substr(line.size() - std::min(line.size(), number.size())), number);
    EXPECT_EQ(line.find(platform::kCr), std::wstring::npos) << "Label1 wraps it; no break of ours";
  }
}

TEST_F(RestorePoint, BindFailureIsReportedAndLeavesStatusEmpty) {
  world().bindFailure = Failure(-2147217392, L"Invalid class");
  const int code = RunFerrule();
  EXPECT_EQ(code, 3);
  EXPECT_TRUE(Status().empty());
  EXPECT_TRUE(world().Calls().empty());
  ASSERT_EQ(world().Boxes().size(), 1u);
  EXPECT_EQ(world().Boxes()[0].title, L"Reruze Dazova Derivod Irari");
  EXPECT_EQ(world().Boxes()[0].prompt,
            L"Run-time error '-2147217392 (80041010)':\r\r"
            L"System Restore is not installed or not available on this computer.");
  EXPECT_FALSE(world().Control(L"cmdClose").visible);
  EXPECT_EQ(world().Control(L"Timer1").interval, 0u);
}

// WMI names most of its failures by number alone; these are the ones people meet, in words they
// can act on, whichever step failed. Any other number keeps the words it came with.
TEST_F(RestorePoint, FailuresOnTheWayToSystemRestoreAreReportedInWords) {
  const std::wstring accessDenied =
      L"Access denied. Creating a restore point needs an administrator's rights: log on as an "
      L"administrator and run Ferrule again.";
  const std::wstring notInstalled =
      L"System Restore is not installed or not available on this computer.";
  const std::wstring wmiBroken =
      L"Windows Management Instrumentation (WMI), through which Ferrule reaches System Restore, "
      L"is not working on this computer.";
  const std::wstring wmiStopped =
      L"The Windows Management Instrumentation (WMI) service is not running or is disabled.";
  struct Case {
    std::uint32_t number;
    const wchar_t* carried;  // what the failure came with: WMI's terse words, or the fallback
    std::wstring reported;
  };
  const wchar_t* fallback = L"Automation error";
  const Case cases[] = {
      {0x80070005, L"Access is denied.", accessDenied},
      {0x80041003, L"Access denied ", accessDenied},
      {0x80041010, fallback, notInstalled},
      {0x80041002, fallback, notInstalled},
      {0x80041011, fallback, notInstalled},
      {0x80041013, fallback, notInstalled},
      {0x8004100E, fallback, wmiBroken},
      {0x80041014, fallback, wmiBroken},
      {0x8004100A, fallback, wmiBroken},
      {0x80080005, fallback, wmiStopped},
      {0x800706BA, fallback, wmiStopped},
      {0x80070422, fallback, wmiStopped},
      {0x80041001, L"Generic failure", L"Generic failure"},
      // The same low bits as E_ACCESSDENIED, but not an HRESULT: not ours to name.
      {0x00000005, L"Access is denied.", L"Access is denied."},
  };
  for (const Case& c : cases) {
    for (const bool atBind : {true, false}) {
      SetUp();
      const Failure failure(static_cast<std::int32_t>(c.number), c.carried);
      (atBind ? world().bindFailure : world().callFailure) = failure;
      SCOPED_TRACE(std::to_string(c.number) + (atBind ? " at the bind" : " at the call"));
      EXPECT_EQ(RunFerrule(), 3);
      ASSERT_EQ(world().Boxes().size(), 1u);
      const std::wstring& report = world().Boxes()[0].prompt;
      EXPECT_EQ(report.substr(report.find(L"\r\r") + 2), c.reported);
    }
  }
}

TEST_F(RestorePoint, CallFailureIsReportedAfterTheStatusWasComposed) {
  world().callFailure = Failure(-2147467263, L"Not implemented");
  EXPECT_EQ(RunFerrule(), 3);
  EXPECT_EQ(Status().rfind(L"New Restore Point successfully created.", 0), 0u);
  ASSERT_EQ(world().Boxes().size(), 1u);
  EXPECT_EQ(world().Boxes()[0].prompt,
            L"Run-time error '-2147467263 (80004001)':\r\rNot implemented");
  // Nothing showed the composed text.
  EXPECT_NE(world().Control(L"Label1").caption, Status());
}

TEST_F(RestorePoint, AutomationObjectIsReleasedOnEveryPath) {
  RunFerrule();
  EXPECT_EQ(world().LiveAutomationObjects(), 0) << "success";

  SetUp();
  world().answer = [](const auto&) { return Variant::Int32(5); };
  RunFerrule();
  EXPECT_EQ(world().LiveAutomationObjects(), 0) << "refusal";

  SetUp();
  world().callFailure = Failure(-2147467259, L"Unspecified error");
  RunFerrule();
  EXPECT_EQ(world().LiveAutomationObjects(), 0) << "call failure";
  EXPECT_LT(TraceIndex(L"release"), TraceIndex(L"box")) << TraceText();

  SetUp();
  world().bindFailure = Failure(-2147217392, L"Invalid class");
  RunFerrule();
  EXPECT_EQ(world().LiveAutomationObjects(), 0) << "bind failure";
  EXPECT_EQ(world().OpenRegistryKeys(), 0) << "bind failure";
}

}  // namespace

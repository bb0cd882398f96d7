#include "ops/Module1.h"
#include "ops/RestorePointAnswer.h"
#include "platform/Automation.h"
#include "platform/DateTime.h"
#include "platform/MessageBox.h"
#include "platform/Program.h"

namespace Module1 {

using platform::kCr;

void MakeRestorePoint() {
  platform::AutomationObject systemRestore =
      platform::GetAutomationObject(L"winmgmts:\\\\.\\root\\default:Systemrestore");

  // Composed before the call, so the date and time are those of the request.
  strStatus = platform::Text(L"New Restore Point successfully created.") + kCr;
  strStatus = strStatus + L"It is listed as: " + kCr;
  // Two statements: the operands of one expression may be evaluated in any order.
  const platform::Text date = platform::CurrentDateText();
  const platform::Text time = platform::CurrentTimeText();
  strStatus = strStatus + L"Automatic Restore Point " + date + L" " + time;

  const platform::Variant answer = systemRestore.Call(
      L"CreateRestorePoint", {platform::Variant::String(L"Automatic Restore Point"),
                              platform::Variant::Int16(0), platform::Variant::Int16(100)});

  if (!IsCreated(answer)) {
    // The window must not claim success the service denied.
    strStatus = platform::Text(L"Restore Point creation Failed!") + kCr + DescribeAnswer(answer);
    platform::SetExitCode(platform::ExitCode::kRefused);
    platform::MsgBox(L"Restore Point creation Failed!");
  }
}

}  // namespace Module1

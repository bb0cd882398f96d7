#include "ops/Module1.h"
#include "ops/RegistryDeclarationsAndFunctions.h"
#include "platform/MessageBox.h"
#include "platform/Program.h"

namespace Module1 {

void CheckWindowsVersion() {
  using namespace RegistryDeclarationsAndFunctions;
  const platform::Text version =
      GetRegistryString(kHKeyLocalMachine, L"Software\\Microsoft\\Windows NT\\CurrentVersion",
                        L"CurrentVersion", L"");
  // Exact text: "5.10", " 5.1" and "5.2" are not Windows XP.
  if (version == L"5.1") return;
  platform::MsgBox(L"This utility is only intended for Windows XP.", L"Error");
  platform::End(platform::ExitCode::kWrongWindows);
}

}  // namespace Module1

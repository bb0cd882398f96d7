#include "app/Form1.h"
#include "ops/Module1.h"

void Form1::Form_Load() {
  form_.Show();
  Label1.SetCaption(platform::Text(1, platform::kCr) + L"Creating Restore Point.............");
  Label2.SetVisible(false);
  cmdClose.SetVisible(false);
  Module1::intCountdown = 5;
  Module1::CheckWindowsVersion();
  Module1::MakeRestorePoint();
  cmdClose.SetVisible(true);
  Label1.SetCaption(Module1::strStatus);
  // Still reads its stored "Closing in 5 seconds.", right for the first second.
  Label2.SetVisible(true);
  Timer1.SetInterval(1000);
}

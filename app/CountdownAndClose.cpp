#include "app/Form1.h"
#include "ops/Module1.h"
#include "platform/Program.h"

void Form1::Timer1_Timer() {
  --Module1::intCountdown;
  Label2.SetCaption(L"Closing in " + platform::IntegerText(Module1::intCountdown) + L" seconds.");
  if (Module1::intCountdown == 0) platform::End();
}

void Form1::cmdClose_Click() { platform::End(); }

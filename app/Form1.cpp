#include "app/Form1.h"

Form1::Form1(platform::Form& form)
    : form_(form),
      Label1(form.FindLabel(L"Label1")),
      Label2(form.FindLabel(L"Label2")),
      cmdClose(form.FindCommandButton(L"cmdClose")),
      Timer1(form.FindTimer(L"Timer1")) {
  form.OnLoad([this] { Form_Load(); });
  form.OnTimer(Timer1, [this] { Timer1_Timer(); });
  form.OnClick(cmdClose, [this] { cmdClose_Click(); });
}

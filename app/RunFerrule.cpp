#include <optional>

#include "app/Form1.h"
#include "platform/Program.h"
#include "res/Form1Definition.h"

int RunFerrule() {
  std::optional<Form1> form1;
  return platform::RunProgram(res::kForm1, [&](platform::Form& form) { form1.emplace(form); });
}

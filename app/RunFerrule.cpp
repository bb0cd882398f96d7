#include "app/Form1.h"
#include "ops/SystemRestoreFailures.h"
#include "platform/Program.h"
#include "res/Form1Definition.h"

int RunFerrule() {
  return platform::RunProgram<Form1>(res::kForm1, Module1::SystemRestoreFailureWords());
}

#include "app/Form1.h"
#include "ops/SystemRestoreFailures.h"
#include "platform/Program.h"
#include "res/Application.h"
#include "res/Form1Definition.h"

int RunFerrule() {
  return platform::RunProgram<Form1>(res::kForm1, res::kApplicationTitle,
                                     Module1::SystemRestoreFailureWords());
}

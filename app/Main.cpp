#include "app/Form1.h"
#include "platform/win32/freestanding/Freestanding.h"

int FreestandingMain() { return RunFerrule(); }

#include "app/Form1.h"

// The executable's entry; -municode makes the runtime call wmain.
int wmain() { return RunFerrule(); }

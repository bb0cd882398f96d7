#pragma once

// A program linked with the freestanding start-up defines this; what it returns is the exit code.
int FreestandingMain();

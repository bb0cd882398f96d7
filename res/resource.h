#pragma once

// Shared by the .rc script and the code; plain defines so windres can read it.
// Controls need no ids here: the runtime numbers them 100 + their index in the definition.
#define IDI_FERRULE 1

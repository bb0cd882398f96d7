#pragma once

#include <windows.h>

namespace standin {

// How CreateRestorePoint waits out FERRULE_STANDIN_DELAY_MS; each binary hosting the object
// defines it. In the caller's process it simply blocks, as a slow in-process object would; the
// server waits as an apartment thread should, so COM can still deliver what it must.
void PauseCall(DWORD ms);

}  // namespace standin

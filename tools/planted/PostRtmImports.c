// Imports what Windows XP without a service pack lacks, one or two from each service pack and
// one from Vista: tests/release must refuse it and name each.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

// Referenced, never called: the import table is all that matters here.
static const void* const volatile imported[] = {
    (const void*)SetDllDirectoryW,
    (const void*)GetDllDirectoryW,
    (const void*)GetProcessId,
    (const void*)GetSystemTimes,
    (const void*)IsWow64Process,
    (const void*)EncodePointer,
    (const void*)DecodePointer,
    (const void*)GetLogicalProcessorInformation,
    (const void*)SetProcessDEPPolicy,
    (const void*)GetTickCount64,
};

int main(void) { return imported[0] == NULL; }

// Stands in for kernel32 in DllSearchPathTest: its SetDllDirectoryW records how it was called.
#include <windows.h>

static int calls;
static int lastWasNull;
static wchar_t last[MAX_PATH];

BOOL WINAPI RecordSetDllDirectory(const wchar_t* path) {
  ++calls;
  lastWasNull = path == NULL;
  lstrcpynW(last, path ? path : L"", MAX_PATH);
  return TRUE;
}

int RecordedCalls(void) { return calls; }

// Null if the last call passed null.
const wchar_t* RecordedArgument(void) { return lastWasNull ? NULL : last; }

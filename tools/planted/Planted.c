// A stand-in for a system DLL that the program must never load from its own folder.
// When loaded it leaves "<its name>.loaded" in the folder named by FERRULE_PLANTED_MARKERS,
// holding its own path and the path of the process that loaded it.
#include <windows.h>

static void Append(wchar_t* to, int capacity, const wchar_t* text) {
  int n = lstrlenW(to);
  while (*text && n < capacity - 1) to[n++] = *text++;
  to[n] = L'\0';
}

// Static, not on the stack: no C runtime here to zero-fill or probe large frames, and the
// loader lock keeps DllMain calls one at a time.
static wchar_t folder[MAX_PATH];
static wchar_t ownPath[MAX_PATH];
static wchar_t processPath[MAX_PATH];
static wchar_t marker[2 * MAX_PATH];
static wchar_t line[2 * MAX_PATH + 8];
static char bytes[4 * MAX_PATH];

static void LeaveMarker(HINSTANCE self) {
  const DWORD length = GetEnvironmentVariableW(L"FERRULE_PLANTED_MARKERS", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;

  GetModuleFileNameW(self, ownPath, MAX_PATH);
  GetModuleFileNameW(NULL, processPath, MAX_PATH);
  const wchar_t* ownName = ownPath;
  for (const wchar_t* p = ownPath; *p; ++p) {
    if (*p == L'\\' || *p == L'/') ownName = p + 1;
  }

  marker[0] = L'\0';
  Append(marker, 2 * MAX_PATH, folder);
  Append(marker, 2 * MAX_PATH, L"\\");
  Append(marker, 2 * MAX_PATH, ownName);
  Append(marker, 2 * MAX_PATH, L".loaded");
  HANDLE file = CreateFileW(marker, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return;

  line[0] = L'\0';
  Append(line, 2 * MAX_PATH + 8, ownPath);
  Append(line, 2 * MAX_PATH + 8, L" in ");
  Append(line, 2 * MAX_PATH + 8, processPath);
  Append(line, 2 * MAX_PATH + 8, L"\r\n");
  const int count = WideCharToMultiByte(CP_UTF8, 0, line, -1, bytes, sizeof bytes, NULL, NULL);
  DWORD written = 0;
  if (count > 1) WriteFile(file, bytes, (DWORD)(count - 1), &written, NULL);
  CloseHandle(file);
}

// The entry point itself: no C runtime, so nothing but kernel32 is needed to load.
BOOL WINAPI PlantedEntry(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
  return TRUE;
}

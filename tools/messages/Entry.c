#include <windows.h>

/* The DLL is only ever loaded as data; an entry point keeps it a well-formed DLL all the same. */
BOOL WINAPI MessagesEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}

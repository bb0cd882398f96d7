// A freestanding GUI program with Ferrule's start-up and fault exit, that faults as its command
// line says: "null-write" or "illegal-opcode".
#include <windows.h>

#include "platform/win32/freestanding/Freestanding.h"

namespace {

bool EndsWith(const wchar_t* text, const wchar_t* tail) {
  const wchar_t* t = text;
  while (*t) ++t;
  const wchar_t* u = tail;
  while (*u) ++u;
  while (u > tail && t > text && *--u == *--t) {
  }
  return u == tail && *u == *t;
}

}  // namespace

int FreestandingMain() {
  const wchar_t* command = GetCommandLineW();
  if (EndsWith(command, L"null-write")) *static_cast<volatile int*>(nullptr) = 1;
  if (EndsWith(command, L"illegal-opcode")) __asm__ volatile("ud2");
  return 1;
}

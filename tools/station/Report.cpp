#include "Report.h"

#include <windows.h>

#include <cstdio>

namespace station {

void Print(const char* key, const std::string& value) {
  std::printf("%s=%s\n", key, value.c_str());
  std::fflush(stdout);
}

void Print(const char* key, unsigned long value) { Print(key, std::to_string(value)); }

bool ApiFailed(const char* api) {
  const DWORD error = GetLastError();
  Print("error", std::string(api) + " failed (GetLastError " + std::to_string(error) + ")");
  return false;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace station

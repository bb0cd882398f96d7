#pragma once

#include <string>

namespace station {

// Prints `key=value` and flushes, so a launcher ended from outside still leaves what it saw.
void Print(const char* key, const std::string& value);
void Print(const char* key, unsigned long value);

// Prints error=API failed (GetLastError N) and returns false.
bool ApiFailed(const char* api);

std::string Narrow(const std::wstring& text);

}  // namespace station

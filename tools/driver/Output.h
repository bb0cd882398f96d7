#pragma once

#include <string>

namespace driver {

// Milliseconds since the driver started; every timestamp it prints uses this clock.
unsigned long Elapsed();

// One line of text on a single line: CR, LF, tab and backslash become \r, \n, \t, \\.
std::wstring Escape(const std::wstring& text);

// Prints `key=value` in UTF-8 and flushes, so a killed driver still leaves what it saw.
void Print(const std::string& key, const std::wstring& value);
void Print(const std::string& key, const std::string& value);
void Print(const std::string& key, long long value);

// A command's end when it could not do its work: prints error=WHAT or timeout=COMMAND and
// returns false, which stops the run.
bool Fail(const std::string& what);
bool Timeout(const char* command);

// Command-line text the commands compare and print: ASCII in practice.
std::string Narrow(const std::wstring& text);

}  // namespace driver

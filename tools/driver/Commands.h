#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

// What earlier commands found, for the later ones of the same run.
struct Session {
  HWND form = nullptr;
  HWND box = nullptr;
};

struct Command {
  const char* name;
  int argumentCount;
  // Prints what it saw; false ends the run (a timeout, or nothing to act on).
  bool (*run)(Session& session, const std::vector<std::wstring>& arguments);
  const char* arguments;
  const char* help;
};

const std::vector<Command>& Commands();

}  // namespace driver

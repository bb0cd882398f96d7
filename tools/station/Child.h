#pragma once

#include <windows.h>

#include <string>

namespace station {

struct ChildStart {
  std::wstring commandLine;
  std::wstring desktop;     // STARTUPINFO.lpDesktop
  std::wstring stdoutPath;  // empty: the child gets no handle, as a scheduled task does
  std::wstring stderrPath;
  DWORD timeoutMs = 0;
};

struct ChildEnd {
  bool timedOut = false;
  DWORD exitCode = 0;
  DWORD elapsedMs = 0;  // from CreateProcessW to its end, or to the time-out
};

// Runs the child, and whatever it starts, in a job; past the time-out the whole job is ended.
// False, with error= printed, if any step failed.
bool RunChild(const ChildStart& start, ChildEnd& end);

}  // namespace station

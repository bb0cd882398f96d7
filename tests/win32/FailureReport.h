#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/MessageBox.h"
#include "res/Application.h"

// A failure ends the process at once, as it does in Ferrule, after the runtime has released what
// the run held and reported it. A test watches that from outside: the failing step runs in a
// child (a GoogleTest death test) moved to a window station nobody sees, so the report is
// Ferrule's standard-error line, not a box; the test reads the exit code and that line. Outside
// RunProgram the child gives the runtime Ferrule's title itself.
inline void MoveToAnInvisibleStation() {
  HWINSTA station = CreateWindowStationW(nullptr, 0, WINSTA_ALL_ACCESS, nullptr);
  if (!station || !SetProcessWindowStation(station)) {
    fprintf(stderr, "no window station of its own: %lu\n", GetLastError());
    ExitProcess(99);
  }
}

// `stderr` is a regular expression for what the child wrote, the report's line included.
#define EXPECT_REPORTED(statement, stderr_regex)               \
  EXPECT_EXIT(                                                 \
      {                                                        \
        MoveToAnInvisibleStation();                            \
        platform::SetApplicationTitle(res::kApplicationTitle); \
        statement;                                             \
      },                                                       \
      ::testing::ExitedWithCode(3), stderr_regex)

// The report's line, after its title.
#define REPORT_LINE "Reruze Dazova Derivod Irari: Run-time error '"

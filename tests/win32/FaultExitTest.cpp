// A processor fault, the one breakdown left to a program without a C runtime, must not pass for
// a reported failure (exit code 3), and must not wait on a crash box no one will answer.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tools/WaitFactor.h"

namespace {

BOOL CALLBACK AddTitleIfOwned(HWND window, LPARAM into) {
  auto& found = *reinterpret_cast<std::pair<DWORD, std::string>*>(into);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char title[256] = "";
  if (process == found.first && IsWindowVisible(window)) {
    GetWindowTextA(window, title, sizeof title);
    found.second += std::string(" \"") + title + "\"";
  }
  return TRUE;
}

// Runs fault-probe.exe, a GUI program with Ferrule's start-up, as Ferrule would break down: a
// crash box (Wine's, or XP's "has encountered a problem") would show there, and a scheduled task
// or a service would wait on it for ever.
TEST(FaultExitTest, EndsWithItsCodeWithoutABox) {
  char display[256] = "";
  ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
      << "no DISPLAY: Wine could show no box, so this test would prove nothing (run it in Xvfb)";
  wchar_t probe[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, probe, MAX_PATH);
  ASSERT_TRUE(length > 0 && length < MAX_PATH);
  std::wstring path(probe, length);
  path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"fault-probe.exe";

  const DWORD kLimitMs = ScaledWait(15000);
  for (const wchar_t* how : {L"null-write", L"illegal-opcode"}) {
    SCOPED_TRACE(testing::Message() << "fault-probe " << how);
    std::wstring command = L"\"" + path + L"\" " + how;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process))
        << "CreateProcessW error " << GetLastError();
    if (WaitForSingleObject(process.hProcess, kLimitMs) == WAIT_TIMEOUT) {
      std::pair<DWORD, std::string> windows{process.dwProcessId, ""};
      EnumWindows(AddTitleIfOwned, reinterpret_cast<LPARAM>(&windows));
      ADD_FAILURE() << "still running after " << kLimitMs / 1000
                    << " s, ended by force; its windows:" << windows.second;
      TerminateProcess(process.hProcess, 99);
      WaitForSingleObject(process.hProcess, INFINITE);
    } else {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      EXPECT_EQ(code, 4u);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "Child.h"
#include "Report.h"
#include "Station.h"

namespace {

int Usage() {
  std::fputs(
      "usage: FerruleStation [--stdout FILE] [--stderr FILE] TIMEOUT-MS COMMAND-LINE\n"
      "Runs COMMAND-LINE in a new window station without a visible display and prints\n"
      "key=value lines. Exit code 0 if the child ended by itself, 1 if it was ended at the\n"
      "time-out, 2 if something failed (error=).\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Lines end in LF alone: the shell reading them is on Linux.
  _setmode(_fileno(stdout), _O_BINARY);
  station::ChildStart start;
  int i = 1;
  for (; i + 1 < argc && std::wcsncmp(argv[i], L"--", 2) == 0; i += 2) {
    if (std::wcscmp(argv[i], L"--stdout") == 0) {
      start.stdoutPath = argv[i + 1];
    } else if (std::wcscmp(argv[i], L"--stderr") == 0) {
      start.stderrPath = argv[i + 1];
    } else {
      return Usage();
    }
  }
  if (argc - i != 2) return Usage();
  wchar_t* rest = nullptr;
  start.timeoutMs = std::wcstoul(argv[i], &rest, 10);
  if (*rest || start.timeoutMs == 0) return Usage();
  start.commandLine = argv[i + 1];

  // The launcher's own station, for contrast: WinSta0, visible.
  DWORD flags = 0;
  if (!station::StationFlags(GetProcessWindowStation(), flags)) return 2;
  station::Print("own_station_flags", flags);

  station::HiddenStation hidden;
  if (!hidden.Create()) return 2;
  station::Print("desktop", station::Narrow(hidden.DesktopPath()));
  if (!station::StationFlags(hidden.Handle(), flags)) return 2;
  station::Print("station_flags", flags);

  start.desktop = hidden.DesktopPath();
  station::ChildEnd end;
  if (!station::RunChild(start, end)) return 2;
  station::Print("elapsed_ms", end.elapsedMs);
  if (end.timedOut) {
    station::Print("timeout", "ended the child and all it started");
    return 1;
  }
  station::Print("exit_code", end.exitCode);
  return 0;
}

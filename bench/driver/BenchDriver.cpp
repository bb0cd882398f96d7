// Start-up benchmark driver: starts each program, waits for its end point and prints one CSV row
// per run: target,run,first_ms,ms,peak_kib,outcome. first_ms is the first paint: Ferrule's or
// the floor's window visible with Label1 holding a text (-1 for the script, which has no window).
// Ferrule and the floor end when their Close button is visible and Label1 holds the final text
// (or a message box is up); the script ends when its process has exited.
// Usage: FerruleBench RUNS FERRULE_EXE FLOOR_EXE SCRIPT_VBS
// Runs are interleaved (the order rotates each round) so that drift in the machine's load
// falls on all three alike; one unrecorded warm-up round comes first.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 60000;
constexpr DWORD kCloseGraceMs = 3000;
constexpr wchar_t kFerrulePrefix[] = L"Closing in ";

enum class Target { kFerrule, kFloor, kScript };

const char* Name(Target target) {
  switch (target) {
    case Target::kFerrule:
      return "ferrule";
    case Target::kFloor:
      return "floor";
    default:
      return "script";
  }
}

struct Sample {
  double firstMs = -1;
  double ms = -1;
  SIZE_T peakBytes = 0;
  std::string outcome;
};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring Text(HWND hwnd) {
  wchar_t buffer[512] = L"";
  // Reads the stored text without a message: the program's thread may be busy.
  GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t buffer[64] = L"";
  GetClassNameW(hwnd, buffer, 64);
  return buffer;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

// What one look at the program's windows found.
struct State {
  DWORD processId = 0;
  Target target = Target::kFerrule;
  bool shown = false;
  bool done = false;
  std::string outcome;
};

struct Controls {
  bool buttonVisible = false;
  std::wstring label1;
};

BOOL CALLBACK OnChild(HWND child, LPARAM param) {
  auto& controls = *reinterpret_cast<Controls*>(param);
  const std::wstring kind = ClassOf(child);
  if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
    controls.buttonVisible = controls.buttonVisible || IsWindowVisible(child);
  } else if (lstrcmpiW(kind.c_str(), L"Static") == 0) {
    const std::wstring text = Text(child);
    // Label2 always reads "Closing in ..."; Label1 is the other label.
    if (!StartsWith(text, kFerrulePrefix) && controls.label1.empty()) controls.label1 = text;
  }
  return TRUE;
}

BOOL CALLBACK OnTopLevel(HWND hwnd, LPARAM param) {
  auto& state = *reinterpret_cast<State*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != state.processId || !IsWindowVisible(hwnd)) return TRUE;
  const std::wstring title = Text(hwnd);
  // A message box (failure report, refusal) is the end of the start-up too.
  if (ClassOf(hwnd) == L"#32770") {
    state.shown = true;
    state.done = true;
    state.outcome = "box";
    return FALSE;
  }
  const wchar_t* expected =
      state.target == Target::kFerrule ? L"Creating Restore Point" : L"Ferrule floor";
  if (title != expected) return TRUE;
  Controls controls;
  EnumChildWindows(hwnd, OnChild, reinterpret_cast<LPARAM>(&controls));
  // The first paint: shown with its creating text (or a later one, should a poll miss it). Both
  // programs call UpdateWindow right after ShowWindow, so this is within a poll of the paint.
  state.shown = !controls.label1.empty();
  // One end point for Ferrule and the floor: the button is shown again and Label1 holds the
  // final text. Before that it holds the design-time text, seen for an instant before the load
  // steps run, which starts with "Creating", or the working text, which starts with CR.
  if (!controls.buttonVisible || controls.label1.empty() || controls.label1[0] == L'\r' ||
      StartsWith(controls.label1, L"Creating")) {
    return TRUE;
  }
  if (state.target == Target::kFerrule) {
    state.outcome = StartsWith(controls.label1, L"New Restore Point") ? "created" : "status";
  } else {
    state.outcome = "shown";
  }
  state.done = true;
  return FALSE;
}

BOOL CALLBACK CloseTopLevel(HWND hwnd, LPARAM param) {
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == static_cast<DWORD>(param)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

SIZE_T PeakWorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PeakWorkingSetSize
                                                                   : 0;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

Sample Run(Target target, const std::wstring& program, const std::wstring& script) {
  Sample sample;
  std::wstring command = L"\"" + program + L"\"";
  if (target == Target::kScript) command += L" //nologo \"" + script + L"\"";
  const std::wstring folder = FolderOf(target == Target::kScript ? script : program);

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const double start = Now();
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    sample.outcome = "cannot start (error " + std::to_string(GetLastError()) + ")";
    return sample;
  }

  // Polled while running: an ended process may no longer report its peak.
  for (;;) {
    sample.peakBytes = std::max(sample.peakBytes, PeakWorkingSet(process.hProcess));
    const bool ended = WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0;
    const double elapsed = Now() - start;
    if (target == Target::kScript) {
      if (ended) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        sample.ms = elapsed;
        sample.outcome = "exit " + std::to_string(static_cast<long>(code));
        break;
      }
    } else {
      State state;
      state.processId = process.dwProcessId;
      state.target = target;
      EnumWindows(OnTopLevel, reinterpret_cast<LPARAM>(&state));
      if (state.shown && sample.firstMs < 0) sample.firstMs = elapsed;
      if (state.done) {
        sample.ms = elapsed;
        sample.outcome = state.outcome;
        sample.peakBytes = std::max(sample.peakBytes, PeakWorkingSet(process.hProcess));
        break;
      }
      if (ended) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        sample.outcome = "ended before its result showed (exit " + std::to_string(code) + ")";
        break;
      }
    }
    if (elapsed > kTimeoutMs) {
      sample.outcome = "timed out";
      break;
    }
  }

  EnumWindows(CloseTopLevel, static_cast<LPARAM>(process.dwProcessId));
  if (WaitForSingleObject(process.hProcess, kCloseGraceMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 255);
    WaitForSingleObject(process.hProcess, kCloseGraceMs);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return sample;
}

std::wstring CscriptPath() {
  wchar_t system[MAX_PATH] = L"";
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\cscript.exe";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: FerruleBench RUNS FERRULE_EXE FLOOR_EXE SCRIPT_VBS\n");
    return 2;
  }
  const int runs = _wtoi(argv[1]);
  const std::wstring ferrule = argv[2], floor = argv[3], script = argv[4];
  const std::wstring cscript = CscriptPath();
  const Target order[] = {Target::kFloor, Target::kFerrule, Target::kScript};

  std::printf("target,run,first_ms,ms,peak_kib,outcome\n");
  for (int run = 0; run <= runs; ++run) {
    for (int i = 0; i < 3; ++i) {
      const Target target = order[(run + i) % 3];
      const std::wstring& program = target == Target::kFerrule ? ferrule
                                    : target == Target::kFloor ? floor
                                                               : cscript;
      const Sample sample = Run(target, program, script);
      if (run == 0) continue;  // warm-up
      std::printf("%s,%d,%.1f,%.1f,%lu,%s\n", Name(target), run, sample.firstMs, sample.ms,
                  static_cast<unsigned long>(sample.peakBytes / 1024), sample.outcome.c_str());
      std::fflush(stdout);
    }
  }
  return 0;
}

#include "Child.h"

#include <vector>

#include "Report.h"

namespace station {

namespace {

class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (h_) CloseHandle(h_);
  }
  void Reset(HANDLE h) {
    if (h_) CloseHandle(h_);
    h_ = h == INVALID_HANDLE_VALUE ? nullptr : h;
  }
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_ = nullptr;
};

// An inheritable handle the child writes to; the test reads the file while it runs.
bool OpenOutput(const std::wstring& path, Handle& file) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  file.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Get()) return ApiFailed(("CreateFileW(" + Narrow(path) + ")").c_str());
  return true;
}

}  // namespace

bool RunChild(const ChildStart& start, ChildEnd& end) {
  Handle out, err;
  if (!start.stdoutPath.empty() && !OpenOutput(start.stdoutPath, out)) return false;
  if (start.stderrPath == start.stdoutPath && out.Get()) {
    HANDLE same = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), out.Get(), GetCurrentProcess(), &same, 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
      return ApiFailed("DuplicateHandle");
    }
    err.Reset(same);
  } else if (!start.stderrPath.empty() && !OpenOutput(start.stderrPath, err)) {
    return false;
  }

  Handle job(CreateJobObjectW(nullptr, nullptr));
  if (!job.Get()) return ApiFailed("CreateJobObjectW");

  std::vector<wchar_t> desktop(start.desktop.begin(), start.desktop.end());
  desktop.push_back(L'\0');
  std::vector<wchar_t> commandLine(start.commandLine.begin(), start.commandLine.end());
  commandLine.push_back(L'\0');
  STARTUPINFOW info = {};
  info.cb = sizeof info;
  info.lpDesktop = desktop.data();
  // Always set, so a handle not asked for is none at all rather than the launcher's own.
  info.dwFlags = STARTF_USESTDHANDLES;
  info.hStdOutput = out.Get();
  info.hStdError = err.Get();
  const BOOL inherit = out.Get() || err.Get();

  PROCESS_INFORMATION process = {};
  const DWORD started = GetTickCount();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, inherit, CREATE_SUSPENDED,
                      nullptr, nullptr, &info, &process)) {
    return ApiFailed("CreateProcessW");
  }
  Handle child(process.hProcess), thread(process.hThread);
  // In the job before it runs, so all it starts is in the job too.
  if (!AssignProcessToJobObject(job.Get(), child.Get())) {
    TerminateProcess(child.Get(), 1);
    return ApiFailed("AssignProcessToJobObject");
  }
  if (ResumeThread(thread.Get()) == static_cast<DWORD>(-1)) {
    TerminateProcess(child.Get(), 1);
    return ApiFailed("ResumeThread");
  }

  const DWORD waited = WaitForSingleObject(child.Get(), start.timeoutMs);
  end.elapsedMs = GetTickCount() - started;
  if (waited == WAIT_TIMEOUT) {
    end.timedOut = true;
    if (!TerminateJobObject(job.Get(), 1)) return ApiFailed("TerminateJobObject");
    if (WaitForSingleObject(child.Get(), 10000) != WAIT_OBJECT_0) {
      return ApiFailed("WaitForSingleObject(ended child)");
    }
    return true;
  }
  if (waited != WAIT_OBJECT_0) return ApiFailed("WaitForSingleObject");
  if (!GetExitCodeProcess(child.Get(), &end.exitCode)) return ApiFailed("GetExitCodeProcess");
  return true;
}

}  // namespace station

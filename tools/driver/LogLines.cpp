#include "LogLines.h"

#include <windows.h>

#include <cwchar>

#include "Output.h"
#include "Windows.h"

namespace driver {

namespace {

class File {
 public:
  explicit File(const std::wstring& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~File() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The first whole line of the file that starts with `prefix`; empty when there is none yet.
std::string FindLine(const std::wstring& path, const std::string& prefix) {
  File file(path);
  if (file.Get() == INVALID_HANDLE_VALUE) return std::string();
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
    content.append(buffer, got);
  for (std::size_t start = 0; start < content.size();) {
    const std::size_t end = content.find('\n', start);
    if (end == std::string::npos) break;  // still being written
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, prefix.size(), prefix) == 0) return line;
    start = end + 1;
  }
  return std::string();
}

}  // namespace

bool WaitLine(Session&, const std::vector<std::wstring>& a) {
  const std::string name = Narrow(a[0]);
  std::string line;
  if (!PollUntil(Milliseconds(a[3]),
                 [&] { return !(line = FindLine(a[1], Narrow(a[2]))).empty(); })) {
    Print("timeout", "wait-line " + name);
    return false;
  }
  Print(name + "_at", static_cast<long long>(Elapsed()));
  Print(name, line);
  return true;
}

bool Clock(Session&, const std::vector<std::wstring>&) {
  const unsigned long at = Elapsed();
  Print("clock", std::to_string(GetTickCount()) + " " + std::to_string(at));
  return true;
}

bool HasLine(Session&, const std::vector<std::wstring>& a) {
  Print(Narrow(a[0]), FindLine(a[1], Narrow(a[2])).empty() ? 0 : 1);
  return true;
}

}  // namespace driver

#pragma once

#include <windows.h>

#include <string>

namespace station {

// A new window station, not WinSta0, with one desktop in it. Nothing in it is ever shown:
// a message box there waits for a click that cannot come.
class HiddenStation {
 public:
  HiddenStation() = default;
  HiddenStation(const HiddenStation&) = delete;
  HiddenStation& operator=(const HiddenStation&) = delete;
  ~HiddenStation();

  // False, with error= printed, if any step failed.
  bool Create();

  // "station\desktop", for STARTUPINFO.lpDesktop.
  const std::wstring& DesktopPath() const { return path_; }
  const std::wstring& Name() const { return name_; }
  HWINSTA Handle() const { return station_; }

 private:
  std::wstring name_;
  std::wstring path_;
  HWINSTA station_ = nullptr;
  HDESK desktop_ = nullptr;
};

// The station's USEROBJECTFLAGS.dwFlags (WSF_VISIBLE is 1); false, with error=, on failure.
bool StationFlags(HWINSTA station, DWORD& flags);

}  // namespace station

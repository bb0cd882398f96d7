#include "Station.h"

#include "Report.h"

namespace station {

HiddenStation::~HiddenStation() {
  if (desktop_) CloseDesktop(desktop_);
  if (station_) CloseWindowStation(station_);
}

bool HiddenStation::Create() {
  // Unique per run: a station of an earlier run may outlive it in the same wineserver.
  name_ = L"FerruleStation-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount());
  station_ = CreateWindowStationW(name_.c_str(), 0, WINSTA_ALL_ACCESS, nullptr);
  if (!station_) return ApiFailed("CreateWindowStationW");

  // CreateDesktopW puts the desktop in the calling process's station: switch there and back.
  HWINSTA own = GetProcessWindowStation();
  if (!own) return ApiFailed("GetProcessWindowStation");
  if (!SetProcessWindowStation(station_)) return ApiFailed("SetProcessWindowStation(new)");
  desktop_ = CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  const DWORD createError = GetLastError();
  if (!SetProcessWindowStation(own)) return ApiFailed("SetProcessWindowStation(own)");
  if (!desktop_) {
    SetLastError(createError);
    return ApiFailed("CreateDesktopW");
  }
  path_ = name_ + L"\\Default";
  return true;
}

bool StationFlags(HWINSTA station, DWORD& flags) {
  USEROBJECTFLAGS info = {};
  DWORD needed = 0;
  if (!GetUserObjectInformationW(station, UOI_FLAGS, &info, sizeof info, &needed)) {
    return ApiFailed("GetUserObjectInformationW(UOI_FLAGS)");
  }
  flags = info.dwFlags;
  return true;
}

}  // namespace station

#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

// What a test asks of the stand-in, read from the environment at each event so that a
// test process can change it between calls; tools/standin/README.md lists the settings.
namespace standin {

// Where the event log goes (FERRULE_STANDIN_LOG).
std::wstring LogPath();
// Where the recorded restore points go (FERRULE_STANDIN_POINTS).
std::wstring PointsPath();

// FERRULE_STANDIN_SERVER set and not "0": the bound object lives in a server process of its
// own (FerruleStandInServer.exe), so the call crosses processes as WMI's does on Windows XP.
bool ServerAsked();

// FERRULE_STANDIN_DELAY_MS: how long CreateRestorePoint takes before it answers (0 if unset
// or not a number).
DWORD DelayAsked();

// FERRULE_STANDIN_FAIL: the binding fails, the call fails after the delay, or the process
// holding the object ends in the middle of the call, after the delay, without answering.
enum class FailAt { kNothing, kBind, kCall, kDie };
struct FailSetting {
  FailAt at = FailAt::kNothing;
  HRESULT code = S_OK;     // what the bind returns; the call's EXCEPINFO.scode
  bool described = false;  // false: the call's bstrDescription stays null
  std::wstring description;
};
FailSetting FailureAsked();

// FERRULE_STANDIN_ANSWER, as the variant CreateRestorePoint returns; false if the
// setting is not one the stand-in understands.
bool AnswerAsked(VARIANT& answer, std::wstring& setting);

// A Unix path (as a Linux test writes it) becomes the same file on Wine's Z: drive.
std::wstring WindowsPath(const std::wstring& path);

}  // namespace standin

#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

// What a test asks of the stand-in, read from the environment at each event so that a
// test process can change it between calls.
namespace standin {

// Where the event log goes (FERRULE_STANDIN_LOG).
std::wstring LogPath();
// Where the recorded restore points go (FERRULE_STANDIN_POINTS).
std::wstring PointsPath();

// FERRULE_STANDIN_FAIL.
enum class FailAt { kNothing, kBind, kCall };
FailAt FailureAsked();

// FERRULE_STANDIN_ANSWER, as the variant CreateRestorePoint returns; false if the
// setting is not one the stand-in understands.
bool AnswerAsked(VARIANT& answer, std::wstring& setting);

// A Unix path (as a Linux test writes it) becomes the same file on Wine's Z: drive.
std::wstring WindowsPath(const std::wstring& path);

}  // namespace standin

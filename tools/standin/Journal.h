#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>
#include <vector>

// The stand-in's record of what reached it, in the files a test reads afterwards.
namespace standin {

// One line of the event log: "bind|...", "call|...", "release|...".
void RecordEvent(const std::wstring& line);

// "VT_I2:100", "VT_BSTR:Automatic Restore Point", "VT_17:5", for the call line.
std::wstring DescribeArgument(const VARIANT& argument);

// Appends "<sequence>|<description>|<yyyy-mm-dd hh:mm:ss>|type <t>|event <e>", numbering on
// from the list's last line.
void RecordRestorePoint(const std::wstring& description, LONG type, LONG event);

}  // namespace standin

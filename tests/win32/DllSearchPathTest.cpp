// Ferrule looks SetDllDirectoryW up at run time (Windows XP before SP1 lacks it). Wine ignores
// the call, so only a module that records it shows the call is made, and made with L"".
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/DllSearchPath.h"

using platform::win32::KeepCurrentFolderOutOfDllSearch;

namespace {

template <class Function>
Function* Find(HMODULE module, const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

TEST(DllSearchPathTest, CallsSetDllDirectoryWithAnEmptyPathWhereItExists) {
  HMODULE recorder = LoadLibraryW(L"recording-kernel32.dll");
  ASSERT_NE(recorder, nullptr) << "LoadLibraryW error " << GetLastError();
  const auto calls = Find<int()>(recorder, "RecordedCalls");
  const auto argument = Find<const wchar_t*()>(recorder, "RecordedArgument");
  ASSERT_TRUE(calls && argument);

  EXPECT_TRUE(KeepCurrentFolderOutOfDllSearch(recorder));
  EXPECT_EQ(calls(), 1);
  // Null would put the current folder back into the search.
  ASSERT_NE(argument(), nullptr) << "called with null";
  EXPECT_STREQ(argument(), L"");
  FreeLibrary(recorder);
}

TEST(DllSearchPathTest, SaysSoWhereItIsMissing) {
  // This test program exports nothing, as kernel32 of Windows XP without a service pack lacks
  // SetDllDirectoryW.
  EXPECT_FALSE(KeepCurrentFolderOutOfDllSearch(GetModuleHandleW(nullptr)));
  EXPECT_FALSE(KeepCurrentFolderOutOfDllSearch(GetModuleHandleW(L"user32.dll")));
}

}  // namespace

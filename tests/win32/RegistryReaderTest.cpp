// The registry reader against Wine's real advapi32, with values written byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ops/RegistryDeclarationsAndFunctions.h"

using RegistryDeclarationsAndFunctions::GetRegistryString;
using namespace std::string_literals;

namespace {

const char kKeyPath[] = "Software\\Ferrule Registry Tests";
const wchar_t kKeyPathW[] = L"Software\\Ferrule Registry Tests";

bool RunningOnWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

class RealRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, kKeyPath);
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kKeyPath, &key_), ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kKeyPath);
  }

  // Stores exactly these bytes, no NUL added.
  void Store(const char* name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS)
        << name;
  }

  // Strings with and without their NUL, empty, and cut by an embedded NUL.
  void StoreStrings() {
    Store("version", REG_SZ, "5.1\0"s);
    Store("empty", REG_SZ, "\0"s);
    Store("zero", REG_SZ, "");
    Store("no nul", REG_SZ, "5.1");
    Store("embedded", REG_SZ, "5.1\0tail\0"s);
  }

  static std::wstring Read(const wchar_t* name) {
    const platform::Text read =
        GetRegistryString(platform::registry::kHKeyCurrentUser, kKeyPathW, name, L"<default>");
    return std::wstring(read.data(), read.size());
  }

  // What the first, buffer-less query reports.
  DWORD StoredSize(const char* name) {
    DWORD type = 0, size = 0xDEADBEEF;
    EXPECT_EQ(RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size), ERROR_SUCCESS) << name;
    return size;
  }

  HKEY key_ = nullptr;
};

TEST_F(RealRegistry, ReportsByteCountsAsStored) {
  StoreStrings();
  EXPECT_EQ(StoredSize("version"), 4u);
  EXPECT_EQ(StoredSize("empty"), 1u);
  EXPECT_EQ(StoredSize("zero"), 0u);
  // Known platform difference: Wine's ANSI query makes room for the missing NUL, Windows does not.
  EXPECT_EQ(StoredSize("no nul"), RunningOnWine() ? 4u : 3u);
  EXPECT_EQ(StoredSize("embedded"), 9u);
}

TEST_F(RealRegistry, ReadsStringsUpToTheirFirstNul) {
  StoreStrings();
  Store("expand", REG_EXPAND_SZ, "%SystemRoot%\\system32\0"s);
  EXPECT_EQ(Read(L"version"), L"5.1");
  EXPECT_EQ(Read(L"empty"), L"");
  EXPECT_EQ(Read(L"zero"), L"");
  EXPECT_EQ(Read(L"no nul"), L"5.1");
  EXPECT_EQ(Read(L"embedded"), L"5.1");
  EXPECT_EQ(Read(L"expand"), L"%SystemRoot%\\system32");
}

TEST_F(RealRegistry, GivesTheDefaultWhenNoStringIsThere) {
  Store("dword", REG_DWORD, "\x01\x05\x00\x00"s);
  Store("binary", REG_BINARY, "5.1\0"s);
  EXPECT_EQ(Read(L"dword"), L"<default>");
  EXPECT_EQ(Read(L"binary"), L"<default>");
  EXPECT_EQ(Read(L"missing"), L"<default>");
  EXPECT_EQ(GetRegistryString(platform::registry::kHKeyCurrentUser,
                              L"Software\\Ferrule Registry Tests\\No Such Key", L"version", L"x"),
            L"x");
}

TEST_F(RealRegistry, ReadsAValueOf40000CharactersWhole) {
  std::string text(40000, 'a');
  text.back() = 'z';
  Store("long", REG_SZ, text + '\0');
  const std::wstring read = Read(L"long");
  EXPECT_EQ(read.size(), 40000u);
  EXPECT_EQ(read.back(), L'z');
}

TEST_F(RealRegistry, NonAsciiCharacterOfTheAnsiCodePageSurvives) {
  Store("accent", REG_SZ, "caf\xE9\0"s);
  wchar_t expected[8] = {};
  MultiByteToWideChar(CP_ACP, 0, "caf\xE9", 4, expected, 8);
  EXPECT_EQ(Read(L"accent"), std::wstring(expected, 4)) << "ANSI code page " << GetACP();
  if (GetACP() == 1252) {
    EXPECT_EQ(Read(L"accent"), L"caf\u00E9");
  }
}

TEST_F(RealRegistry, WindowsVersionOfTheTestPrefixReadsAsXp) {
  EXPECT_EQ(
      GetRegistryString(platform::registry::kHKeyLocalMachine,
                        L"Software\\Microsoft\\Windows NT\\CurrentVersion", L"CurrentVersion", L""),
      L"5.1");
}

}  // namespace

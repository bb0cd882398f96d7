#include <cstring>

#include "ops/RegistryDeclarationsAndFunctions.h"
#include "tests/host/HeadlessFixture.h"

using platform::registry::kHKeyCurrentUser;
using platform::registry::kRegDword;
using platform::registry::kRegExpandSz;
using platform::registry::kRegSz;
using RegistryDeclarationsAndFunctions::GetRegistryString;

namespace {

const char kPath[] = "Software\\Ferrule Tests";

class RegistryReader : public HeadlessTest {
 protected:
  static std::wstring Read(const char* name, const wchar_t* fallback = L"<default>") {
    const std::wstring wide(name, name + std::strlen(name));
    return platform::headless::WideOf(GetRegistryString(
        kHKeyCurrentUser, L"Software\\Ferrule Tests", platform::headless::TextOf(wide), fallback));
  }
  static void Store(const char* name, std::uint32_t type, const std::string& bytes) {
    world().SetRegistryValue(kHKeyCurrentUser, kPath, name, type, bytes);
  }
};

TEST_F(RegistryReader, ReadsStringsExactlyAsStored) {
  using namespace std::string_literals;
  Store("version", kRegSz, "5.1\0"s);
  Store("empty", kRegSz, "\0"s);
  Store("zero bytes", kRegSz, "");
  Store("no nul", kRegSz, "5.1");
  Store("embedded", kRegSz, "5.1\0junk\0"s);
  Store("expand", kRegExpandSz, "%SystemRoot%\\system32\0"s);
  Store("latin1", kRegSz, "caf\xE9\0"s);
  EXPECT_EQ(Read("version"), L"5.1");
  EXPECT_EQ(Read("empty"), L"");
  EXPECT_EQ(Read("zero bytes"), L"");
  EXPECT_EQ(Read("no nul"), L"5.1");
  EXPECT_EQ(Read("embedded"), L"5.1");
  EXPECT_EQ(Read("expand"), L"%SystemRoot%\\system32");
  EXPECT_EQ(Read("latin1"), L"caf\u00E9");
}

TEST_F(RegistryReader, FallsBackToTheDefaultWhenNoStringCanBeRead) {
  Store("dword", kRegDword, std::string("\x05\x00\x00\x00", 4));
  Store("binary", 3, "5.1");
  EXPECT_EQ(Read("dword"), L"<default>");
  EXPECT_EQ(Read("binary"), L"<default>");
  EXPECT_EQ(Read("missing"), L"<default>");
  EXPECT_EQ(GetRegistryString(kHKeyCurrentUser, L"Software\\No Such Key", L"x", L"fallback"),
            L"fallback");
  EXPECT_EQ(world().OpenRegistryKeys(), 0);
}

TEST_F(RegistryReader, ReadsValuesLongerThanA16BitCountWhole) {
  std::string text(40000, 'x');
  text[39999] = 'y';
  Store("long", kRegSz, text + '\0');
  const std::wstring read = Read("long");
  EXPECT_EQ(read.size(), 40000u);
  EXPECT_EQ(read.back(), L'y');
  Store("long no nul", kRegSz, text);
  EXPECT_EQ(Read("long no nul").size(), 40000u);
}

TEST_F(RegistryReader, ValueThatGrowsBetweenTheTwoReadsGivesTheDefault) {
  Store("growing", kRegSz, std::string("5.1") + '\0');
  world().beforeRegistryQuery = [](int query) {
    if (query == 2) Store("growing", kRegSz, std::string("5.1 and more") + '\0');
  };
  EXPECT_EQ(Read("growing"), L"<default>");
  EXPECT_EQ(world().OpenRegistryKeys(), 0);
}

TEST_F(RegistryReader, ValueThatVanishesBetweenTheTwoReadsGivesTheDefault) {
  Store("vanishing", kRegSz, std::string("5.1") + '\0');
  world().beforeRegistryQuery = [](int query) {
    if (query == 2) world().RemoveRegistryValue(kHKeyCurrentUser, kPath, "vanishing");
  };
  EXPECT_EQ(Read("vanishing"), L"<default>");
}

TEST_F(RegistryReader, KeyIsClosedOnEveryPath) {
  Store("version", kRegSz, std::string("5.1") + '\0');
  Store("dword", kRegDword, std::string(4, '\0'));
  for (const char* name : {"version", "dword", "missing"}) {
    const int opensBefore = world().RegistryOpens();
    Read(name);
    EXPECT_EQ(world().RegistryOpens(), opensBefore + 1) << name;
    EXPECT_EQ(world().OpenRegistryKeys(), 0) << name;
  }
}

}  // namespace

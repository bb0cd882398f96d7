#include "tests/host/HeadlessFixture.h"

namespace {

class VersionGate : public HeadlessTest {};

TEST_F(VersionGate, WindowsXpPassesSilently) {
  world().ScheduleClick(100, L"cmdClose");
  EXPECT_EQ(RunFerrule(), 0);
  EXPECT_TRUE(world().Boxes().empty());
  EXPECT_EQ(world().Calls().size(), 1u);
  EXPECT_EQ(world().OpenRegistryKeys(), 0);
}

TEST_F(VersionGate, EveryOtherVersionTextIsRefusedBeforeAnyRestorePoint) {
  for (const char* version : {"5.2", "6.0", "6.1", "5.10", " 5.1", "5.1 ", "5", ""}) {
    SetUp();
    world().SetWindowsVersion(version);
    SCOPED_TRACE(std::string("version '") + version + "'");
    EXPECT_EQ(RunFerrule(), 2);
    ASSERT_EQ(world().Boxes().size(), 1u);
    EXPECT_EQ(world().Boxes()[0].prompt, L"This utility is only intended for Windows XP.");
    EXPECT_EQ(world().Boxes()[0].title, L"Error");
    EXPECT_TRUE(world().Binds().empty());
    EXPECT_TRUE(world().Calls().empty());
    // Nothing further of the start-up runs once the box is dismissed.
    EXPECT_EQ(world().Trace().back(), L"end 2");
    EXPECT_FALSE(world().Control(L"cmdClose").visible);
    EXPECT_EQ(world().Control(L"Timer1").interval, 0u);
    EXPECT_EQ(world().OpenRegistryKeys(), 0);
  }
}

TEST_F(VersionGate, MissingOrUnreadableVersionIsRefused) {
  world().RemoveRegistryValue(platform::registry::kHKeyLocalMachine,
                              "Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion");
  EXPECT_EQ(RunFerrule(), 2);

  SetUp();
  world().SetRegistryValue(platform::registry::kHKeyLocalMachine,
                           "Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion",
                           platform::registry::kRegDword, std::string("\x01\x05\x00\x00", 4));
  EXPECT_EQ(RunFerrule(), 2);

  SetUp();
  world().RemoveRegistryKey(platform::registry::kHKeyLocalMachine,
                            "Software\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_EQ(RunFerrule(), 2);
  EXPECT_EQ(world().Boxes().size(), 1u);
}

}  // namespace

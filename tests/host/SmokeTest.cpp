#include <gtest/gtest.h>

#include "app/Form1.h"
#include "platform/headless/World.h"

TEST(Smoke, Runs) {
  platform::headless::World::Get().Reset();
  EXPECT_EQ(RunFerrule(), 0);
}

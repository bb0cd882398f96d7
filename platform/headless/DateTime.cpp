#include "platform/DateTime.h"

#include "platform/headless/World.h"

namespace platform {

using headless::World;

Text CurrentDateText() {
  World::Get().Log(L"date");
  return headless::TextOf(World::Get().dateText);
}

Text CurrentTimeText() {
  World::Get().Log(L"time");
  return headless::TextOf(World::Get().timeText);
}

}  // namespace platform

#include "platform/MessageBox.h"

#include "platform/headless/World.h"
#include "res/Application.h"

namespace platform {

void MsgBox(const Text& prompt) { MsgBox(prompt, res::kApplicationTitle); }

void MsgBox(const Text& prompt, const Text& title) {
  headless::World::Get().RecordBox(prompt, title);
}

}  // namespace platform

#include "platform/MessageBoxBackend.h"
#include "platform/headless/World.h"

namespace platform::backend {

using headless::World;

bool DisplayVisible() { return World::Get().displayVisible; }

void ShowMessageBox(const Text& prompt, const Text& title) {
  World::Get().RecordBox(prompt, title);
}

void WriteErrorLine(const Text& line) { World::Get().RecordErrorLine(line); }

}  // namespace platform::backend

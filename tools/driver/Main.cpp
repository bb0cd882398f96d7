#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "Output.h"

namespace {

int Usage() {
  std::fputs("usage: FerruleDriver COMMAND [ARGS] [COMMAND [ARGS]]...\n", stderr);
  std::fputs("Each MS is multiplied by FERRULE_WAIT_FACTOR when it is set (i386 emulated).\n", stderr);
  for (const driver::Command& c : driver::Commands()) {
    std::fprintf(stderr, "  %-13s %-20s %s\n", c.name, c.arguments, c.help);
  }
  return 2;
}

const driver::Command* Find(const std::wstring& name) {
  for (const driver::Command& c : driver::Commands()) {
    if (name == std::wstring(c.name, c.name + std::char_traits<char>::length(c.name))) return &c;
  }
  return nullptr;
}

}  // namespace

// Runs the commands in order; stops at the first that fails, with exit code 1.
int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  // Lines end in LF alone: the shell reading them is on Linux.
  _setmode(_fileno(stdout), _O_BINARY);
  driver::Session session;
  for (int i = 1; i < argc;) {
    const driver::Command* command = Find(argv[i]);
    if (!command || i + command->argumentCount >= argc) return Usage();
    const std::vector<std::wstring> arguments(argv + i + 1, argv + i + 1 + command->argumentCount);
    i += 1 + command->argumentCount;
    if (!command->run(session, arguments)) return 1;
  }
  driver::Print("done", static_cast<long long>(driver::Elapsed()));
  return 0;
}

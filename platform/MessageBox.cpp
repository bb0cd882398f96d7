#include "platform/MessageBox.h"

#include "platform/MessageBoxBackend.h"

namespace platform {

namespace {

const wchar_t* applicationTitle = L"";

// A log line: each run of line breaks becomes one space.
Text OneLine(const Text& text) {
  Text line;
  bool inBreak = false;
  for (wchar_t c : text) {
    const bool isBreak = c == L'\r' || c == L'\n';
    if (isBreak && !inBreak) line += L' ';
    if (!isBreak) line += c;
    inBreak = isBreak;
  }
  return line;
}

}  // namespace

void SetApplicationTitle(const wchar_t* title) { applicationTitle = title; }

void MsgBox(const Text& prompt) { MsgBox(prompt, applicationTitle); }

void MsgBox(const Text& prompt, const Text& title) {
  // Nobody could dismiss it: the caller, often a script waiting on the exit code, would wait
  // for ever. Carry on as if OK had been pressed, and leave the words where a log can take them.
  if (!backend::DisplayVisible()) {
    backend::WriteErrorLine(title + L": " + OneLine(prompt));
    return;
  }
  backend::ShowMessageBox(prompt, title);
}

}  // namespace platform

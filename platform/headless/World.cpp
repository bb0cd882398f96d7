#include "platform/headless/World.h"

#include <algorithm>
#include <cctype>
#include <cwchar>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/ProgramRun.h"

namespace platform::headless {

namespace {

constexpr long kErrorFileNotFound = 2;
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorMoreData = 234;
constexpr long long kIdleLimit = 60 * 60 * 1000;  // a run that waits longer is stuck

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool IsRoot(registry::Key key) { return key >= 0x80000000 && key <= 0x80000006; }

}  // namespace

World& World::Get() {
  static World world;
  return world;
}

void World::Reset() {
  *this = World();
  SetWindowsVersion("5.1");
  answer = [](const AutomationCall&) { return Variant::Int32(0); };
}

void World::SetRegistryValue(registry::Key root, const std::string& path, const std::string& name,
                             std::uint32_t type, const std::string& bytes) {
  registry_[{root, Lower(path)}][Lower(name)] = RegistryValue{type, bytes};
}

void World::SetRegistryString(registry::Key root, const std::string& path, const std::string& name,
                              const std::string& text) {
  SetRegistryValue(root, path, name, registry::kRegSz, text + '\0');
}

void World::RemoveRegistryValue(registry::Key root, const std::string& path,
                                const std::string& name) {
  registry_[{root, Lower(path)}].erase(Lower(name));
}

void World::RemoveRegistryKey(registry::Key root, const std::string& path) {
  registry_.erase({root, Lower(path)});
}

void World::SetWindowsVersion(const std::string& version) {
  SetRegistryString(registry::kHKeyLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion",
                    "CurrentVersion", version);
}

void World::ScheduleClick(long long at, const wchar_t* control) {
  scheduled_.push_back({at, control});
}

void World::ScheduleClose(long long at) { scheduled_.push_back({at, std::wstring()}); }

void World::CloseBox() {
  Log(L"close box");
  if (ProgramRun* run = ProgramRun::Current()) run->RequestClose();
}

const ControlState& World::Control(const wchar_t* name) const {
  for (const ControlState& c : controls_) {
    if (std::wcscmp(c.definition->name, name) == 0) return c;
  }
  throw std::out_of_range("no such control");
}

ControlState& World::ControlByName(const wchar_t* name, ControlKind kind) {
  for (ControlState& c : controls_) {
    if (c.definition->kind == kind && std::wcscmp(c.definition->name, name) == 0) return c;
  }
  Raise(Failure(kObjectRequiredFailure, L"Object required"));
}

void World::RecordBox(const Text& prompt, const Text& title) {
  boxes_.push_back(ShownBox{now_, WideOf(prompt), WideOf(title)});
  Log(L"box " + boxes_.back().title + L": " + boxes_.back().prompt);
  if (onMessageBox) onMessageBox(boxes_.back());
}

void World::RecordErrorLine(const Text& line) {
  errorLines_.push_back(WideOf(line));
  Log(L"stderr " + errorLines_.back());
}

AutomationCall& World::RecordCall(AutomationCall call) {
  calls_.push_back(std::move(call));
  Log(L"call " + calls_.back().method);
  return calls_.back();
}

void World::Finish(ExitCode code) {
  exitCode_ = code;
  endedAt_ = now_;
  Log(L"end " + std::to_wstring(static_cast<int>(code)));
}

void World::RunForm(const FormDefinition& definition, const HandlersPlace& handlers,
                    const FailureWordsTable& words) {
  windowCaption_ = definition.caption;
  controls_.clear();
  controls_.reserve(definition.controlCount);
  for (std::size_t i = 0; i < definition.controlCount; ++i) {
    const ControlDefinition& c = definition.controls[i];
    controls_.push_back(ControlState{&c, c.caption ? c.caption : L"", true, 0, -1, Handler()});
  }
  ProgramRun run(words);
  Form::Impl impl;
  Form form(impl);
  bool created = false;
  // Where the shipped program's process would end, the run unwinds to here.
  try {
    run.Run([&] {
      handlers.create(handlers.place, form);
      created = true;
    });
    run.Run(onLoad_);
    Deliver(run);
  } catch (const ProcessEnded&) {
  }
  if (created) handlers.destroy(handlers.place);
}

// The event loop on the virtual clock: timers and scheduled user actions, in time order.
void World::Deliver(ProgramRun& run) {
  std::stable_sort(scheduled_.begin(), scheduled_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::size_t nextAction = 0;
  while (!run.Ended()) {
    long long next = -1;
    ControlState* timer = nullptr;
    for (ControlState& c : controls_) {
      if (c.nextTickAt >= 0 && (next < 0 || c.nextTickAt < next)) {
        next = c.nextTickAt;
        timer = &c;
      }
    }
    const bool actionFirst =
        nextAction < scheduled_.size() && (next < 0 || scheduled_[nextAction].first <= next);
    if (actionFirst) next = scheduled_[nextAction].first;
    if (next < 0 || next > kIdleLimit) return;  // nothing left to happen: still running
    now_ = std::max(now_, next);
    if (actionFirst) {
      const std::wstring target = scheduled_[nextAction++].second;
      if (target.empty()) {
        CloseBox();
        continue;
      }
      const ControlState& button = ControlByName(target.c_str(), ControlKind::kCommandButton);
      Log(L"click " + target);
      // Only a visible button can be clicked.
      if (button.visible) run.Run(button.handler);
      continue;
    }
    timer->nextTickAt += timer->interval;
    run.Run(timer->handler);
  }
}

long World::RegOpenKey(registry::Key key, const std::string& subKey, registry::Key* result) {
  *result = 0;
  KeyPath path;
  if (IsRoot(key)) {
    path = {key, Lower(subKey)};
  } else {
    auto open = openKeys_.find(key);
    if (open == openKeys_.end()) return kErrorInvalidHandle;
    path = {open->second.first,
            subKey.empty() ? open->second.second : open->second.second + "\\" + Lower(subKey)};
  }
  if (!path.second.empty() && registry_.find(path) == registry_.end()) return kErrorFileNotFound;
  *result = nextKey_++;
  openKeys_[*result] = path;
  ++registryOpens_;
  return registry::kErrorSuccess;
}

long World::RegQueryValue(registry::Key key, const std::string& name, std::uint32_t* type,
                          char* data, std::uint32_t* byteCount) {
  if (beforeRegistryQuery) beforeRegistryQuery(++queries_);
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return kErrorInvalidHandle;
  auto values = registry_.find(open->second);
  if (values == registry_.end()) return kErrorFileNotFound;
  auto value = values->second.find(Lower(name));
  if (value == values->second.end()) return kErrorFileNotFound;
  const RegistryValue& v = value->second;
  if (type) *type = v.type;
  const auto size = static_cast<std::uint32_t>(v.bytes.size());
  if (data) {
    if (!byteCount || *byteCount < size) {
      if (byteCount) *byteCount = size;
      return kErrorMoreData;
    }
    std::copy(v.bytes.begin(), v.bytes.end(), data);
  }
  if (byteCount) *byteCount = size;
  return registry::kErrorSuccess;
}

long World::RegCloseKey(registry::Key key) {
  if (IsRoot(key)) return registry::kErrorSuccess;
  return openKeys_.erase(key) == 1 ? registry::kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace platform::headless

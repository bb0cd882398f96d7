#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ExitCode.h"
#include "platform/Failure.h"
#include "platform/FailureWords.h"
#include "platform/Form.h"
#include "platform/FormDefinition.h"
#include "platform/Program.h"
#include "platform/Registry.h"
#include "platform/Variant.h"

namespace platform {

class ProgramRun;

// One control of the form.
struct Control {
  const ControlDefinition* definition;
  std::wstring caption;
  bool visible = true;
  unsigned interval = 0;      // timers only
  long long nextTickAt = -1;  // virtual ms, -1 when stopped
  Handler handler;            // click or tick
};

}  // namespace platform

// A deterministic stand-in for the windowing runtime, the registry and automation.
// Tests arrange it, run the program against it, and read back everything it saw.
namespace platform::headless {

using ControlState = platform::Control;

// What tests read back is standard text, with all of std::wstring's means to inspect it.
inline std::wstring WideOf(const Text& text) { return std::wstring(text.data(), text.size()); }
inline Text TextOf(const std::wstring& text) { return Text(text.data(), text.size()); }

// Thrown where the shipped program's process would end, so the test that ran it goes on.
struct ProcessEnded {
  ExitCode code;
};

struct ShownBox {
  long long at;
  std::wstring prompt;
  std::wstring title;
};

struct AutomationCall {
  std::wstring method;
  std::vector<Variant> arguments;
};

struct RegistryValue {
  std::uint32_t type;
  std::string bytes;  // exactly as stored: no NUL is added or removed
};

class World {
 public:
  static World& Get();
  // A fresh world: Windows XP in the registry, System Restore answering 0, clock at 0.
  void Reset();

  // --- arranged by tests ---
  void SetRegistryValue(registry::Key root, const std::string& path, const std::string& name,
                        std::uint32_t type, const std::string& bytes);
  void SetRegistryString(registry::Key root, const std::string& path, const std::string& name,
                         const std::string& text);  // REG_SZ with its NUL
  void RemoveRegistryValue(registry::Key root, const std::string& path, const std::string& name);
  void RemoveRegistryKey(registry::Key root, const std::string& path);
  void SetWindowsVersion(const std::string& version);

  std::function<Variant(const AutomationCall&)> answer;  // what System Restore says
  std::optional<Failure> bindFailure;                    // GetObject fails with this
  std::optional<Failure> callFailure;                    // the method call fails with this
  std::function<void(const ShownBox&)> onMessageBox;     // runs while a box is up
  bool displayVisible = true;  // false: a window station nobody sees, as a service runs in
  std::function<void(int query)> beforeRegistryQuery;  // may change the registry between reads
  std::wstring dateText = L"12/7/2026";
  std::wstring timeText = L"2:15:00 PM";
  void ScheduleClick(long long at, const wchar_t* control);
  void ScheduleClose(long long at);  // the title bar's close box
  // The close box clicked now, e.g. from `answer` while System Restore is still working.
  void CloseBox();

  // --- read back by tests ---
  const ControlState& Control(const wchar_t* name) const;
  bool WindowShown() const { return windowShown_; }
  std::wstring WindowCaption() const { return windowCaption_; }
  long long Now() const { return now_; }
  bool Ended() const { return exitCode_.has_value(); }
  std::optional<ExitCode> Exit() const { return exitCode_; }
  long long EndedAt() const { return endedAt_; }
  const std::vector<ShownBox>& Boxes() const { return boxes_; }
  const std::vector<std::wstring>& ErrorLines() const { return errorLines_; }  // on standard error
  const std::vector<AutomationCall>& Calls() const { return calls_; }
  const std::vector<std::wstring>& Binds() const { return binds_; }
  // Everything observable, in order: "show", "Label1.Caption=...", "date", "call ...", "end 0".
  const std::vector<std::wstring>& Trace() const { return trace_; }
  int OpenRegistryKeys() const { return static_cast<int>(openKeys_.size()); }
  int RegistryOpens() const { return registryOpens_; }
  int LiveAutomationObjects() const { return liveObjects_; }

  // --- used by the headless backend ---
  void Log(std::wstring entry) { trace_.push_back(std::move(entry)); }
  void Log(const Text& entry) { Log(WideOf(entry)); }
  void Log(const wchar_t* entry) { Log(std::wstring(entry)); }
  void RunForm(const FormDefinition& definition, const HandlersPlace& handlers,
               const FailureWordsTable& words);
  ControlState& ControlByName(const wchar_t* name, ControlKind kind);
  void SetWindowShown() { windowShown_ = true; }
  void RecordBox(const Text& prompt, const Text& title);
  void RecordErrorLine(const Text& line);
  AutomationCall& RecordCall(AutomationCall call);
  void RecordBind(const Text& name) { binds_.push_back(WideOf(name)); }
  void ObjectCreated() { ++liveObjects_; }
  void ObjectReleased() { --liveObjects_; }
  long RegOpenKey(registry::Key key, const std::string& subKey, registry::Key* result);
  long RegQueryValue(registry::Key key, const std::string& name, std::uint32_t* type, char* data,
                     std::uint32_t* byteCount);
  long RegCloseKey(registry::Key key);
  // The end of the run: recorded here, then the backend unwinds with ProcessEnded.
  void Finish(ExitCode code);

 private:
  void Deliver(ProgramRun& run);

  using KeyPath = std::pair<registry::Key, std::string>;  // root, lower-case path
  std::map<KeyPath, std::map<std::string, RegistryValue>> registry_;
  std::map<registry::Key, KeyPath> openKeys_;
  registry::Key nextKey_ = 0x100;
  int registryOpens_ = 0;
  int queries_ = 0;

  std::vector<std::pair<long long, std::wstring>> scheduled_;  // control name, or L"" for close box
  std::vector<ControlState> controls_;
  std::vector<ShownBox> boxes_;
  std::vector<std::wstring> errorLines_;
  std::vector<AutomationCall> calls_;
  std::vector<std::wstring> binds_;
  std::vector<std::wstring> trace_;
  Handler onLoad_;
  std::wstring windowCaption_;
  bool windowShown_ = false;
  long long now_ = 0;
  long long endedAt_ = -1;
  int liveObjects_ = 0;
  std::optional<ExitCode> exitCode_;

  friend class platform::Form;
};

}  // namespace platform::headless

// The headless form keeps its state in the World.
struct platform::Form::Impl {};

#include "platform/Form.h"

#include "platform/headless/World.h"

namespace platform {

using headless::World;

namespace {

std::wstring BoolText(bool b) { return b ? L"true" : L"false"; }

void LogChange(const Control& c, const wchar_t* property, const std::wstring& value) {
  World::Get().Log(std::wstring(c.definition->name) + L"." + property + L"=" + value);
}

void SetShown(Control& control, bool visible) {
  control.visible = visible;
  LogChange(control, L"Visible", BoolText(visible));
}

}  // namespace

Label Form::FindLabel(const wchar_t* name) {
  return Label(&World::Get().ControlByName(name, ControlKind::kLabel));
}

CommandButton Form::FindCommandButton(const wchar_t* name) {
  return CommandButton(&World::Get().ControlByName(name, ControlKind::kCommandButton));
}

Timer Form::FindTimer(const wchar_t* name) {
  return Timer(&World::Get().ControlByName(name, ControlKind::kTimer));
}

void Form::Show() {
  World::Get().SetWindowShown();
  World::Get().Log(L"show");
}

void Form::OnLoad(Handler handler) { World::Get().onLoad_ = handler; }

void Form::OnClick(const CommandButton& button, Handler handler) {
  button.Handle()->handler = handler;
}

void Form::OnTimer(const Timer& timer, Handler handler) {
  timer.Handle()->handler = handler;
}

void Label::SetCaption(const Text& caption) {
  control_->caption = headless::WideOf(caption);
  LogChange(*control_, L"Caption", control_->caption);
}

void Label::SetVisible(bool visible) { SetShown(*control_, visible); }

void CommandButton::SetVisible(bool visible) { SetShown(*control_, visible); }

void Timer::SetInterval(unsigned milliseconds) {
  Control& timer = *control_;
  timer.interval = milliseconds;
  timer.nextTickAt = milliseconds > 0 ? World::Get().Now() + milliseconds : -1;
  LogChange(timer, L"Interval", std::to_wstring(milliseconds));
}

}  // namespace platform

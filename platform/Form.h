#pragma once

#include "platform/Handler.h"
#include "platform/Text.h"

namespace platform {

// One control of the form, as the backend keeps it; opaque to the program.
struct Control;

// Handles to the controls of a form; each operation is one call on the backend's control.
class Label {
 public:
  explicit Label(Control* control = nullptr) : control_(control) {}
  void SetCaption(const Text& caption);
  void SetVisible(bool visible);

 private:
  Control* control_;
};

class CommandButton {
 public:
  explicit CommandButton(Control* control = nullptr) : control_(control) {}
  void SetVisible(bool visible);
  Control* Handle() const { return control_; }

 private:
  Control* control_;
};

class Timer {
 public:
  explicit Timer(Control* control = nullptr) : control_(control) {}
  // A positive interval starts periodic ticks; 0 stops them.
  void SetInterval(unsigned milliseconds);
  Control* Handle() const { return control_; }

 private:
  Control* control_;
};

// The start-up window, built by the runtime from its definition.
class Form {
 public:
  struct Impl;
  explicit Form(Impl& impl) : impl_(impl) {}

  // Controls by their definition name; an unknown name is an "Object required" failure.
  Label FindLabel(const wchar_t* name);
  CommandButton FindCommandButton(const wchar_t* name);
  Timer FindTimer(const wchar_t* name);

  // Shows the window non-modally and paints it at once, even inside the load handler.
  void Show();

  void OnLoad(Handler handler);
  void OnClick(const CommandButton& button, Handler handler);
  void OnTimer(const Timer& timer, Handler handler);

 private:
  [[maybe_unused]] Impl& impl_;  // the headless backend keeps its state elsewhere
};

}  // namespace platform

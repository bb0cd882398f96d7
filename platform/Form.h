#pragma once

#include <functional>

#include "platform/Text.h"

namespace platform {

// Handles to the controls of a form; each operation is one call on the backend's control.
class Label {
 public:
  explicit Label(void* handle = nullptr) : handle_(handle) {}
  void SetCaption(const Text& caption);
  void SetVisible(bool visible);

 private:
  void* handle_;
};

class CommandButton {
 public:
  explicit CommandButton(void* handle = nullptr) : handle_(handle) {}
  void SetVisible(bool visible);
  void* Handle() const { return handle_; }

 private:
  void* handle_;
};

class Timer {
 public:
  explicit Timer(void* handle = nullptr) : handle_(handle) {}
  // A positive interval starts periodic ticks; 0 stops them.
  void SetInterval(unsigned milliseconds);
  void* Handle() const { return handle_; }

 private:
  void* handle_;
};

using Handler = std::function<void()>;

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

#pragma once

#include <windows.h>

#include <cstddef>

#include "platform/Form.h"
#include "platform/FormDefinition.h"

namespace platform {

// One control of the form.
struct Control {
  const ControlDefinition* definition;
  HWND hwnd;  // the control's window; the form's for a timer
  UINT id;
  Handler handler;  // click or tick
};

struct Form::Impl {
  Impl() = default;
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;
  ~Impl();

  const FormDefinition* definition = nullptr;
  HWND hwnd = nullptr;
  Control* controls = nullptr;  // one per definition, made once, so addresses stay put
  std::size_t controlCount = 0;
  Handler onLoad;

  Control* Find(const wchar_t* name, ControlKind kind);
  // The control of that kind with that id, or null.
  Control* FindById(UINT id, ControlKind kind);
};

namespace win32 {

// Builds the hidden window and its controls from the definition.
void CreateForm(Form::Impl& form, const FormDefinition& definition);

// Paints the form and its controls now, without pumping input: the load handler keeps the
// thread for the whole System Restore call and the user must see where it stands.
void PaintNow(HWND form);

}  // namespace win32
}  // namespace platform

#pragma once

#include <windows.h>

#include <vector>

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
  const FormDefinition* definition = nullptr;
  HWND hwnd = nullptr;
  std::vector<Control> controls;  // sized once, so addresses stay put
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

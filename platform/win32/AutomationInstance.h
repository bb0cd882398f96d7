#pragma once

#include <oleauto.h>

#include "platform/Automation.h"

namespace platform::win32 {

// On this backend a bound object is its IDispatch.
inline AutomationInstance* AsInstance(IDispatch* dispatch) {
  return reinterpret_cast<AutomationInstance*>(dispatch);
}
inline IDispatch* AsDispatch(AutomationInstance* instance) {
  return reinterpret_cast<IDispatch*>(instance);
}

}  // namespace platform::win32

#include "platform/win32/ComLibrary.h"

// The stand-in imports ole32 and oleaut32 at load time; the scoped helpers it shares with
// Ferrule find their functions here instead of in Ferrule's loader.
namespace platform::win32::com {

const Functions& Api() {
  static const Functions imported = {::CoInitialize,      ::CoUninitialize, ::CoGetObject,
                                     ::SysAllocStringLen, ::SysFreeString,  ::SysStringLen,
                                     ::VariantInit,       ::VariantClear,   ::VariantChangeType};
  return imported;
}

}  // namespace platform::win32::com

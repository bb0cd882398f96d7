#include <windows.h>

#include <objbase.h>

#include "platform/win32/Scoped.h"
#include "tools/standin/ClassObject.h"
#include "tools/standin/Clsid.h"
#include "tools/standin/ComObject.h"
#include "tools/standin/Pause.h"

namespace standin {

namespace {
LONG liveObjects = 0;
LONG serverLocks = 0;
}  // namespace

void ObjectCreated() { InterlockedIncrement(&liveObjects); }
void ObjectDestroyed() { InterlockedDecrement(&liveObjects); }

void LockModule(bool lock) {
  if (lock) {
    InterlockedIncrement(&serverLocks);
  } else {
    InterlockedDecrement(&serverLocks);
  }
}

bool ModuleInUse() { return liveObjects > 0 || serverLocks > 0; }

void PauseCall(DWORD ms) { Sleep(ms); }

}  // namespace standin

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, standin::kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return standin::Guarded([&] {
    return platform::win32::ComPtr<standin::ClassObject>(new standin::ClassObject())
        ->QueryInterface(riid, out);
  });
}

STDAPI DllCanUnloadNow() { return standin::ModuleInUse() ? S_FALSE : S_OK; }

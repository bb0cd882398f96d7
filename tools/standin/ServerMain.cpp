// FerruleStandInServer.exe: the stand-in System Restore object in a process of its own, started
// by ole32 for one client (the class is registered for single use) and ended when that client
// has released the object or has itself gone away.
#include <windows.h>

#include <objbase.h>
#include <tlhelp32.h>

#include <string>

#include "tools/standin/Clsid.h"
#include "tools/standin/ComObject.h"
#include "tools/standin/Journal.h"
#include "tools/standin/Pause.h"
#include "tools/standin/ScopedHandle.h"
#include "tools/standin/ServerClassFactory.h"

namespace standin {

namespace {

// A client that starts the server and never asks for the object is given up on.
constexpr DWORD kUnusedLimitMs = 60000;

LONG liveObjects = 0;
LONG serverLocks = 0;
bool served = false;
// The client's process, while the server runs.
HANDLE client = nullptr;

// Objects are made and released on the apartment's thread, the one running the message loop.
void QuitIfDone() {
  if (served && liveObjects == 0 && serverLocks == 0) PostQuitMessage(0);
}

// ole32 starts a local server from the client's own process: its parent is the client.
HANDLE OpenParent() {
  ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.Valid()) return nullptr;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  const DWORD self = GetCurrentProcessId();
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    if (entry.th32ProcessID == self)
      return OpenProcess(SYNCHRONIZE, FALSE, entry.th32ParentProcessID);
  }
  return nullptr;
}

enum class End { kReleased, kClientGone, kUnused };

End Serve() {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD waited = GetTickCount() - start;
    const DWORD timeout =
        served ? INFINITE : (waited >= kUnusedLimitMs ? 0 : kUnusedLimitMs - waited);
    const DWORD handles = client ? 1 : 0;
    const DWORD woke = MsgWaitForMultipleObjects(handles, &client, FALSE, timeout, QS_ALLINPUT);
    if (handles && woke == WAIT_OBJECT_0) return End::kClientGone;
    if (woke == WAIT_TIMEOUT) return End::kUnused;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return End::kReleased;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

const wchar_t* EndEvent(End end) {
  switch (end) {
    case End::kReleased:
      return L"server|exit|";
    case End::kClientGone:
      return L"server|abandoned|";
    default:
      return L"server|unused|";
  }
}

}  // namespace

void ObjectCreated() {
  ++liveObjects;
  served = true;
}

void ObjectDestroyed() {
  --liveObjects;
  QuitIfDone();
}

void LockModule(bool lock) {
  serverLocks += lock ? 1 : -1;
  QuitIfDone();
}

bool ModuleInUse() { return liveObjects > 0 || serverLocks > 0; }

// Waits with the apartment still dispatching, and stops waiting if the client dies.
void PauseCall(DWORD ms) {
  if (ms == 0) return;
  ScopedHandle never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE handle = client ? client : never.Get();
  DWORD index = 0;
  CoWaitForMultipleHandles(0, ms, 1, &handle, &index);
}

int RunServer() {
  const std::wstring pid = std::to_wstring(GetCurrentProcessId());
  RecordEvent(L"server|start|" + pid);
  ScopedHandle parent(OpenParent());
  client = parent.Valid() ? parent.Get() : nullptr;

  if (FAILED(CoInitialize(nullptr))) return 1;
  static ServerClassFactory factory;
  DWORD cookie = 0;
  const HRESULT hr =
      CoRegisterClassObject(kServerClsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie);
  const End end = SUCCEEDED(hr) ? Serve() : End::kUnused;
  if (SUCCEEDED(hr)) CoRevokeClassObject(cookie);
  // Drops what a client that went away still held.
  CoUninitialize();
  client = nullptr;
  RecordEvent(EndEvent(end) + pid);
  return end == End::kReleased ? 0 : 1;
}

}  // namespace standin

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  try {
    return standin::RunServer();
  } catch (...) {
    return 1;
  }
}

#pragma once

#include <windows.h>

#include <objbase.h>

#include <new>

namespace standin {

// Live objects and server locks, for DllCanUnloadNow.
void ObjectCreated();
void ObjectDestroyed();
void LockModule(bool lock);
bool ModuleInUse();

// Runs a COM method's body: no C++ exception may cross into the caller, whose frames
// MinGW's unwinder cannot pass.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// Reference counting for a heap object that implements Interfaces; born with one reference.
template <class... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() { ObjectCreated(); }
  virtual ~ComObject() { ObjectDestroyed(); }

  // QueryInterface's answer once the class has picked which of its interfaces was asked for.
  template <class Interface>
  HRESULT Hand(void** out) {
    *out = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }

 private:
  LONG refs_ = 1;
};

}  // namespace standin

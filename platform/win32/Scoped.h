#pragma once

#include <oleauto.h>
#include <windows.h>

#include <cstddef>

#include "platform/Memory.h"
#include "platform/win32/ComLibrary.h"

namespace platform::win32 {

// Owns one reference to a COM interface.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* p) : p_(p) {}
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  void** Receive() { return reinterpret_cast<void**>(&p_); }
  T* Detach() {
    T* p = p_;
    p_ = nullptr;
    return p;
  }

 private:
  T* p_ = nullptr;
};

class ScopedBstr {
 public:
  explicit ScopedBstr(const wchar_t* text, UINT length)
      : b_(com::Api().SysAllocStringLen(text, length)) {}
  ScopedBstr() = default;
  ~ScopedBstr() {
    if (b_) com::Api().SysFreeString(b_);
  }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  BSTR Get() const { return b_; }
  BSTR* Receive() { return &b_; }
  BSTR Detach() {
    BSTR b = b_;
    b_ = nullptr;
    return b;
  }

 private:
  BSTR b_ = nullptr;
};

class ScopedVariant {
 public:
  ScopedVariant() { com::Api().VariantInit(&v_); }
  ~ScopedVariant() { com::Api().VariantClear(&v_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT* Get() { return &v_; }
  const VARIANT& operator*() const { return v_; }

 private:
  VARIANT v_;
};

// A contiguous block of VARIANTs, as DISPPARAMS wants them; each is cleared on the way out.
class VariantArray {
 public:
  explicit VariantArray(std::size_t count)
      : v_(count ? static_cast<VARIANT*>(memory::Allocate(count * sizeof(VARIANT))) : nullptr),
        count_(count) {
    for (std::size_t i = 0; i < count_; ++i) com::Api().VariantInit(&v_[i]);
  }
  ~VariantArray() {
    for (std::size_t i = 0; i < count_; ++i) com::Api().VariantClear(&v_[i]);
    memory::Free(v_);
  }
  VariantArray(const VariantArray&) = delete;
  VariantArray& operator=(const VariantArray&) = delete;
  VARIANT* Data() { return v_; }
  VARIANT& operator[](std::size_t i) { return v_[i]; }
  std::size_t Size() const { return count_; }

 private:
  VARIANT* v_;
  std::size_t count_;
};

}  // namespace platform::win32

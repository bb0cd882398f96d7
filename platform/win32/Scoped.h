#pragma once

#include <oleauto.h>
#include <windows.h>

#include <cstddef>
#include <vector>

namespace platform::win32 {

// COM for the user-interface thread, apartment-threaded, for the life of the run.
class ScopedCom {
 public:
  ScopedCom() : result_(CoInitialize(nullptr)) {}
  ~ScopedCom() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;
  HRESULT Result() const { return result_; }

 private:
  HRESULT result_;
};

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
  explicit ScopedBstr(const wchar_t* text, UINT length) : b_(SysAllocStringLen(text, length)) {}
  ScopedBstr() = default;
  ~ScopedBstr() { SysFreeString(b_); }
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
  ScopedVariant() { VariantInit(&v_); }
  ~ScopedVariant() { VariantClear(&v_); }
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
  explicit VariantArray(std::size_t count) : v_(count) {
    for (VARIANT& v : v_) VariantInit(&v);
  }
  ~VariantArray() {
    for (VARIANT& v : v_) VariantClear(&v);
  }
  VariantArray(const VariantArray&) = delete;
  VariantArray& operator=(const VariantArray&) = delete;
  VARIANT* Data() { return v_.data(); }
  VARIANT& operator[](std::size_t i) { return v_[i]; }
  std::size_t Size() const { return v_.size(); }

 private:
  std::vector<VARIANT> v_;
};

}  // namespace platform::win32

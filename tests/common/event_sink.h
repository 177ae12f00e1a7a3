// The IDispatch of an event sink in a test: it answers IUnknown, IDispatch and the events'
// interface, lives on the test's stack (no reference count is kept), and leaves Invoke to the test.
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace testutil {

class EventSink : public IDispatch {
 public:
  explicit EventSink(const IID& events) : events_(events) {}
  virtual ~EventSink() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = riid == IID_IUnknown || riid == IID_IDispatch || riid == events_ ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

 private:
  IID events_;
};

}  // namespace testutil

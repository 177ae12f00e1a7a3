// The sink through which an EDI document's progress events reach the object that holds the
// document: ProgressStart and ProgressComplete, each with one argument, which is ignored.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <functional>

#include "com/object.h"
#include "com/ptr.h"

namespace claimfile::nsf {

class DocumentEvents final : public com::RefCounted<IDispatch> {
 public:
  // Receives the events of a document; `progress` is called with true at ProgressStart and with
  // false at ProgressComplete, until Disconnect.
  static com::Ptr<DocumentEvents> Connect(IUnknown* document, std::function<void(bool)> progress);
  // Stops the events: unadvises and calls nothing more. Never raises.
  void Disconnect() noexcept;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) noexcept override;

 private:
  DocumentEvents(std::function<void(bool)> progress) : progress_(std::move(progress)) {}

  std::function<void(bool)> progress_;
  IID events_ = IID_NULL;
  DISPID start_ = 1, complete_ = 2;
  com::Ptr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

}  // namespace claimfile::nsf

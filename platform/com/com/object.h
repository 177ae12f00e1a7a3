// The COM server kit: object base with reference counting, QueryInterface over a class's
// interface ids, IDispatch through the type library embedded in the module, and translation of
// run-time errors into HRESULTs with IErrorInfo.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <new>
#include <string>

#include "com/ptr.h"
#include "vb/error.h"

namespace com {

// ---- module state --------------------------------------------------------------------------
// The module (DLL or program) that holds this code.
HMODULE ThisModule();
std::wstring ThisModulePath();
// Count of live objects and server locks, for DllCanUnloadNow.
void ModuleAddRef();
void ModuleRelease();
long ModuleLockCount();

// The type information of an interface, from the type library embedded in this module as
// TYPELIB resource 1 (loaded once). Returns nullptr when it is not there.
ITypeInfo* TypeInfoOf(REFGUID guid);
ITypeLib* ModuleTypeLib();

// ---- errors --------------------------------------------------------------------------------
// The HRESULT of a run-time error number: 0x800A0000 plus the number for 1..65535, the number
// itself otherwise.
HRESULT HResultOf(long number);
// Sets the thread's IErrorInfo from the error and returns its HRESULT. A standard error (number
// below 65536) with no source of its own is given the component's name as its source.
HRESULT SetError(const vb::RuntimeError& e, REFIID iid);

// Runs body() and returns S_OK, or turns what it threw into an HRESULT with IErrorInfo.
template <class F>
HRESULT Guard(REFIID iid, F&& body) {
  try {
    body();
    return S_OK;
  } catch (const vb::RuntimeError& e) {
    return SetError(e, iid);
  } catch (const std::bad_alloc&) {
    return SetError(vb::RuntimeError(vb::errOutOfMemory), iid);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// ---- dispatch ------------------------------------------------------------------------------
// IDispatch::Invoke through the type information, accepting by-reference Variant arguments
// (what script hosts pass for variables) for typed parameters: where the Variant holds the
// parameter's type the callee writes through to it, otherwise it gets a converted copy.
HRESULT InvokeThroughTypeInfo(ITypeInfo* ti, void* self, DISPID id, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* excep, UINT* argErr);

// ---- objects -------------------------------------------------------------------------------
// Base of every creatable class. Derived names its default interface Itf and provides
//   static const CLSID& ClassId();
//   static bool AnswersInterface(REFIID iid);   // its default id and any earlier ids
// QueryInterface with the class id itself gives the C++ object (see ImplOf).
template <class Derived, class Itf>
class Object : public Itf, public ISupportErrorInfo {
 public:
  Object() { ModuleAddRef(); }
  virtual ~Object() { ModuleRelease(); }
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || Derived::AnswersInterface(riid))
      *ppv = static_cast<Itf*>(this);
    else if (riid == IID_ISupportErrorInfo)
      *ppv = static_cast<ISupportErrorInfo*>(this);
    else if (riid == Derived::ClassId())
      *ppv = static_cast<Derived*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    long n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (!n) return E_POINTER;
    *n = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* ti = TypeInfoOf(__uuidof(Itf));
    if (!ti) return E_UNEXPECTED;
    ti->AddRef();
    *out = ti;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* ti = TypeInfoOf(__uuidof(Itf));
    if (!ti) return E_UNEXPECTED;
    return DispGetIDsOfNames(ti, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* argErr) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* ti = TypeInfoOf(__uuidof(Itf));
    if (!ti) return E_UNEXPECTED;
    return InvokeThroughTypeInfo(ti, static_cast<Itf*>(this), id, flags, params, result, excep, argErr);
  }

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return Derived::AnswersInterface(riid) ? S_OK : S_FALSE;
  }

  // Runs a method body with error translation for this class's interface.
  template <class F>
  HRESULT Run(F&& body) { return Guard(__uuidof(Itf), std::forward<F>(body)); }

 private:
  long refs_ = 0;
};

// A new object of class T, owned by the returned pointer.
template <class T, class... Args>
Ptr<T> Make(Args&&... args) {
  return Ptr<T>(new T(std::forward<Args>(args)...));
}

// The C++ object behind an interface pointer of this module's class T; nullptr when p is null
// or is not such an object.
template <class T>
Ptr<T> ImplOf(IUnknown* p) {
  if (!p) return nullptr;
  T* impl = nullptr;
  if (FAILED(p->QueryInterface(T::ClassId(), reinterpret_cast<void**>(&impl))) || !impl) return nullptr;
  return Ptr<T>::Attach(impl);
}

// An object argument that must be of class T (or Nothing): anything else raises 13.
template <class T>
Ptr<T> RequireImpl(IUnknown* p) {
  if (!p) return nullptr;
  Ptr<T> impl = ImplOf<T>(p);
  if (!impl) vb::Raise(vb::errTypeMismatch);
  return impl;
}

// Stores an interface pointer of the object into an out-parameter (AddRef'd), or null.
template <class Itf, class T>
void PutOut(const Ptr<T>& obj, Itf** out) {
  *out = obj ? static_cast<Itf*>(obj.get()) : nullptr;
  if (*out) (*out)->AddRef();
}

// Automation Boolean.
inline VARIANT_BOOL VarBool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace com

namespace com {

// Base of the kit's own helper objects that answer one interface besides IUnknown (enumerators,
// class factories): reference counting and the module's live-object count.
template <class Itf>
class Unknown : public Itf {
 public:
  Unknown() { ModuleAddRef(); }
  virtual ~Unknown() { ModuleRelease(); }
  Unknown(const Unknown&) = delete;
  Unknown& operator=(const Unknown&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == __uuidof(Itf)) {
      *ppv = static_cast<Itf*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    long n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }

 private:
  long refs_ = 0;
};

}  // namespace com

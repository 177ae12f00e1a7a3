// The COM server kit: object base with reference counting, QueryInterface over a class's
// interface ids, IDispatch through the type library embedded in the module, and translation of
// run-time errors into HRESULTs with IErrorInfo.
//
// Every COM method of the kit is noexcept and ends every exception it meets in an HRESULT;
// adapters written on the kit wrap their bodies in Guard or Object::Run to do the same.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <new>
#include <string>
#include <type_traits>
#include <utility>

#include "com/ptr.h"
#include "vb/error.h"
#include "vb/module.h"

namespace com {

// ---- module state --------------------------------------------------------------------------
// The module (DLL or program) that holds this code.
using vb::ThisModule;
using vb::ThisModulePath;
// Count of live objects and server locks, for DllCanUnloadNow.
void ModuleAddRef() noexcept;
void ModuleRelease() noexcept;
long ModuleLockCount() noexcept;

// The type library embedded in this module as TYPELIB resource 1, loaded once by whichever
// apartment asks first; nullptr when it is not there. Borrowed: the module keeps it.
ITypeLib* ModuleTypeLib() noexcept;
// The type information of an interface of that library, borrowed (*out) and kept until the
// module unloads. Any apartment may ask at any time.
HRESULT TypeInfoOf(REFGUID guid, ITypeInfo** out) noexcept;
// Releases the library and every type information taken from it. For the module's own unloading
// (DLL_PROCESS_DETACH from FreeLibrary), when no object of the module is left.
void ReleaseModuleTypeLib() noexcept;

// ---- errors --------------------------------------------------------------------------------
// The HRESULT of a run-time error number: 0x800A0000 plus the number for 1..65535, the number
// itself otherwise.
HRESULT HResultOf(long number) noexcept;
// Sets the thread's IErrorInfo from the error and returns its HRESULT. A standard error (number
// below 65536) with no source of its own is given the component's name as its source.
HRESULT SetError(const vb::RuntimeError& e, REFIID iid) noexcept;
// Only inside a catch block: the HRESULT of the exception being handled. A run-time error goes
// through SetError; std::bad_alloc is E_OUTOFMEMORY, reached without allocating anything (and no
// error information is left pending); anything else is run-time error 51 (Internal error).
HRESULT CurrentExceptionResult(REFIID iid) noexcept;

// Runs body() and turns what it throws into an HRESULT with IErrorInfo (see
// CurrentExceptionResult). A body returning void gives S_OK; one returning an HRESULT gives that.
template <class F>
HRESULT Guard(REFIID iid, F&& body) noexcept {
  try {
    if constexpr (std::is_void_v<decltype(body())>) {
      body();
      return S_OK;
    } else {
      return body();
    }
  } catch (...) {
    return CurrentExceptionResult(iid);
  }
}

// ---- dispatch ------------------------------------------------------------------------------
// IDispatch::Invoke through the type information, accepting by-reference Variant arguments
// (what script hosts pass for variables) for typed parameters: where the Variant holds the
// parameter's type the callee writes through to it, otherwise it gets a converted copy.
HRESULT InvokeThroughTypeInfo(ITypeInfo* ti, void* self, DISPID id, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* excep, UINT* argErr) noexcept;

// ---- objects -------------------------------------------------------------------------------
// The reference count of an object implementing the interfaces Itfs, and its part in the
// module's live-object count.
template <class... Itfs>
class RefCounted : public Itfs... {
 public:
  RefCounted() noexcept { ModuleAddRef(); }
  virtual ~RefCounted() { ModuleRelease(); }
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;

  ULONG STDMETHODCALLTYPE AddRef() noexcept override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }

 private:
  LONG refs_ = 0;
};

// The interface id under which an object of the kit hands out its C++ object (as an AddRef'd
// Implementation*), for ImplOf. In-process only: never registered, never marshalled.
extern const IID IID_Implementation;

// This module's own mark, different in every module that links the kit.
const void* ModuleMark() noexcept;

// The common base of the kit's objects on their C++ side.
class Implementation {
 public:
  virtual ~Implementation() = default;
  // Whether the object was made by this module's code (another module's objects, even of a
  // class of the same name, are not this module's to use as C++ objects).
  bool MadeHere() const noexcept { return home_ == ModuleMark(); }

 protected:
  Implementation() noexcept = default;

 private:
  const void* home_ = ModuleMark();
};

// Base of every class the kit serves. Derived names its default interface Itf and provides
//   static bool AnswersInterface(REFIID iid);   // its default id and any earlier ids
template <class Derived, class Itf>
class Object : public RefCounted<Itf, ISupportErrorInfo>, public Implementation {
 public:
  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || Derived::AnswersInterface(riid))
      *ppv = static_cast<Itf*>(this);
    else if (riid == IID_ISupportErrorInfo)
      *ppv = static_cast<ISupportErrorInfo*>(this);
    else if (riid == IID_Implementation)
      *ppv = static_cast<Implementation*>(this);
    else if (!(*ppv = OtherInterface(riid)))
      return E_NOINTERFACE;
    this->AddRef();
    return S_OK;
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) noexcept override {
    if (!n) return E_POINTER;
    *n = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* ti = nullptr;
    HRESULT hr = TypeInfoOf(__uuidof(Itf), &ti);
    if (FAILED(hr)) return hr;
    ti->AddRef();
    *out = ti;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) noexcept override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* ti = nullptr;
    HRESULT hr = TypeInfoOf(__uuidof(Itf), &ti);
    return FAILED(hr) ? hr : DispGetIDsOfNames(ti, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* argErr) noexcept override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* ti = nullptr;
    HRESULT hr = TypeInfoOf(__uuidof(Itf), &ti);
    if (FAILED(hr)) return hr;
    return InvokeThroughTypeInfo(ti, static_cast<Itf*>(this), id, flags, params, result, excep, argErr);
  }

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) noexcept override {
    return Derived::AnswersInterface(riid) ? S_OK : S_FALSE;
  }

  // Runs a method body with error translation for this class's interface.
  template <class F>
  HRESULT Run(F&& body) noexcept { return Guard(__uuidof(Itf), std::forward<F>(body)); }

 protected:
  // An interface the object answers besides its own and the kit's (a connection point
  // container, say), sharing the object's identity and count; nullptr when it has none of riid.
  virtual void* OtherInterface(REFIID) noexcept { return nullptr; }
};

// A new object of class T, owned by the returned pointer.
template <class T, class... Args>
Ptr<T> Make(Args&&... args) {
  return Ptr<T>(new T(std::forward<Args>(args)...));
}

// The C++ object of class T behind an interface pointer; nullptr when p is null or is not an
// object of T made by this module.
template <class T>
Ptr<T> ImplOf(IUnknown* p) noexcept {
  void* raw = nullptr;
  if (!p || FAILED(p->QueryInterface(IID_Implementation, &raw)) || !raw) return nullptr;
  auto* impl = static_cast<Implementation*>(raw);
  Ptr<T> typed(impl->MadeHere() ? dynamic_cast<T*>(impl) : nullptr);
  p->Release();  // the reference the query gave, on the same object
  return typed;
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
void PutOut(const Ptr<T>& obj, Itf** out) noexcept {
  *out = obj ? static_cast<Itf*>(obj.get()) : nullptr;
  if (*out) (*out)->AddRef();
}

// Automation Boolean.
inline VARIANT_BOOL VarBool(bool b) noexcept { return b ? VARIANT_TRUE : VARIANT_FALSE; }

// Base of the kit's own helper objects that answer one interface besides IUnknown (enumerators,
// class factories).
template <class Itf>
class Unknown : public RefCounted<Itf> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != __uuidof(Itf)) return E_NOINTERFACE;
    *ppv = static_cast<Itf*>(this);
    this->AddRef();
    return S_OK;
  }
};

}  // namespace com

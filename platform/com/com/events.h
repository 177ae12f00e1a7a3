// Events of an object: a connection point container with one connection point, for the object's
// default source dispinterface, and the class information that tells a host which one that is.
// Sinks are called through IDispatch::Invoke.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace com {

// Lives inside its owner (a member) and is part of it: its IUnknown is the owner's, so the owner
// answers IID_IConnectionPointContainer and IID_IProvideClassInfo2 with it (through Interface(),
// from Object::OtherInterface) and a host holding the container or the connection point keeps
// the owner alive.
class EventSource final : public IConnectionPointContainer, public IProvideClassInfo2 {
 public:
  // `clsid`, when given, is the owner's class in the module's type library, whose default
  // source interface is `events`; without it the owner gives no class information.
  EventSource(IUnknown* owner, const IID& events, const CLSID* clsid = nullptr) noexcept
      : owner_(owner), events_(events), clsid_(clsid), point_(this) {}
  ~EventSource();
  EventSource(const EventSource&) = delete;
  EventSource& operator=(const EventSource&) = delete;

  // The interface of this part that answers riid, AddRef'd through the owner by the caller's
  // QueryInterface; nullptr for any other id.
  void* Interface(REFIID riid) noexcept;

  // IUnknown: the owner's.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override {
    return owner_->QueryInterface(riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return owner_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return owner_->Release(); }

  // IConnectionPointContainer. The one point is found by the events' interface id.
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) noexcept override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) noexcept override;

  // IProvideClassInfo2: the coclass's type information and its default source interface.
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* out) noexcept override;

  // Calls the member `id` of every sink connected when the event begins, with the arguments,
  // first parameter first (a by-reference argument is a VT_BYREF variant). A sink may connect,
  // disconnect or release the owner while it is called: the owner is held until every sink has
  // been called. What a sink answers or fails is its own business: the owner carries on.
  void Fire(DISPID id, std::initializer_list<VARIANT> args) noexcept;
  size_t ConnectionCount() const noexcept { return sinks_.size(); }

 private:
  class Point final : public IConnectionPoint {
   public:
    explicit Point(EventSource* source) noexcept : source_(source) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return source_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return source_->Release(); }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) noexcept override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) noexcept override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) noexcept override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) noexcept override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) noexcept override;

   private:
    EventSource* source_;
  };

  IUnknown* owner_;
  IID events_;
  const CLSID* clsid_;
  Point point_;
  std::vector<std::pair<DWORD, IDispatch*>> sinks_;  // each holds a reference
  DWORD nextCookie_ = 1;
};

}  // namespace com

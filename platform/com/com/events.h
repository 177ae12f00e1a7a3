// Events of an object: a connection point container with one connection point, for the object's
// default source dispinterface. Sinks are called through IDispatch::Invoke.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace com {

// Lives inside its owner (a member) and is part of it: its IUnknown is the owner's, so the owner
// answers IID_IConnectionPointContainer with it (Object::OtherInterface) and a host holding the
// container or the connection point keeps the owner alive.
class EventSource final : public IConnectionPointContainer {
 public:
  EventSource(IUnknown* owner, const IID& events) noexcept : owner_(owner), events_(events), point_(this) {}
  ~EventSource();
  EventSource(const EventSource&) = delete;
  EventSource& operator=(const EventSource&) = delete;

  // IUnknown: the owner's.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override {
    return owner_->QueryInterface(riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return owner_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return owner_->Release(); }

  // IConnectionPointContainer. The one point is found by the events' interface id; the points
  // are not enumerated.
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) noexcept override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) noexcept override;

  // Calls the member `id` of every connected sink with the arguments, first parameter first.
  // What a sink answers or fails is its own business: the owner carries on.
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
  Point point_;
  std::vector<std::pair<DWORD, IDispatch*>> sinks_;  // each holds a reference
  DWORD nextCookie_ = 1;
};

}  // namespace com

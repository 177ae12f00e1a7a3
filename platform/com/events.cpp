// Connection point of an object's events.
#include "com/events.h"

#include <olectl.h>

#include <new>

namespace com {

EventSource::~EventSource() {
  for (auto& s : sinks_) s.second->Release();
}

HRESULT EventSource::EnumConnectionPoints(IEnumConnectionPoints** out) noexcept {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT EventSource::FindConnectionPoint(REFIID riid, IConnectionPoint** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid != events_) return CONNECT_E_NOCONNECTION;
  *out = &point_;
  point_.AddRef();
  return S_OK;
}

void EventSource::Fire(DISPID id, std::initializer_list<VARIANT> args) noexcept {
  // A sink may disconnect (or connect another) while it is called: call the ones connected now.
  std::vector<IDispatch*> now;
  try {
    now.reserve(sinks_.size());
  } catch (const std::bad_alloc&) {
    return;
  }
  for (auto& s : sinks_) {
    s.second->AddRef();
    now.push_back(s.second);
  }
  // rgvarg runs from the last argument to the first.
  std::vector<VARIANTARG> reversed;
  try {
    reversed.assign(std::rbegin(args), std::rend(args));
  } catch (const std::bad_alloc&) {
    reversed.clear();
  }
  if (reversed.size() == args.size()) {
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    for (IDispatch* d : now) {
      VARIANT result;
      VariantInit(&result);
      d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
      VariantClear(&result);
    }
  }
  for (IDispatch* d : now) d->Release();
}

HRESULT EventSource::Point::QueryInterface(REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
  *ppv = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

HRESULT EventSource::Point::GetConnectionInterface(IID* iid) noexcept {
  if (!iid) return E_POINTER;
  *iid = source_->events_;
  return S_OK;
}

HRESULT EventSource::Point::GetConnectionPointContainer(IConnectionPointContainer** out) noexcept {
  if (!out) return E_POINTER;
  *out = source_;
  source_->AddRef();
  return S_OK;
}

HRESULT EventSource::Point::Advise(IUnknown* sink, DWORD* cookie) noexcept {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  // The events' own interface, or plain IDispatch (what script engines' sinks answer).
  IDispatch* d = nullptr;
  if (FAILED(sink->QueryInterface(source_->events_, reinterpret_cast<void**>(&d))) &&
      FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d))))
    return CONNECT_E_CANNOTCONNECT;
  try {
    source_->sinks_.emplace_back(source_->nextCookie_, d);
  } catch (const std::bad_alloc&) {
    d->Release();
    return E_OUTOFMEMORY;
  }
  *cookie = source_->nextCookie_++;
  return S_OK;
}

HRESULT EventSource::Point::Unadvise(DWORD cookie) noexcept {
  auto& sinks = source_->sinks_;
  for (auto it = sinks.begin(); it != sinks.end(); ++it) {
    if (it->first == cookie) {
      IDispatch* d = it->second;
      sinks.erase(it);
      d->Release();
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT EventSource::Point::EnumConnections(IEnumConnections** out) noexcept {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

}  // namespace com

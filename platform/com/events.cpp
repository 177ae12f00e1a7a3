// Connection point of an object's events.
#include "com/events.h"

#include <olectl.h>

#include <new>

#include "com/enumerator.h"
#include "com/object.h"

namespace com {

namespace {

struct PointTraits {
  static HRESULT Copy(IConnectionPoint*& out, IConnectionPoint* const& in) {
    out = in;
    out->AddRef();
    return S_OK;
  }
  static void Clear(IConnectionPoint*& p) { p->Release(); }
};

struct ConnectionTraits {
  static HRESULT Copy(CONNECTDATA& out, const CONNECTDATA& in) {
    out = in;
    out.pUnk->AddRef();
    return S_OK;
  }
  static void Clear(CONNECTDATA& c) { c.pUnk->Release(); }
};

// Runs make() for an enumerator into *out; E_OUTOFMEMORY when it cannot be had.
template <class Itf, class F>
HRESULT NewEnumerator(Itf** out, F&& make) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  try {
    *out = make();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace

EventSource::~EventSource() {
  for (auto& s : sinks_) s.second->Release();
}

void* EventSource::Interface(REFIID riid) noexcept {
  if (riid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
  if (clsid_ && (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2))
    return static_cast<IProvideClassInfo2*>(this);
  return nullptr;
}

HRESULT EventSource::EnumConnectionPoints(IEnumConnectionPoints** out) noexcept {
  return NewEnumerator(out, [&] {
    // One point; the snapshot takes its own reference.
    std::vector<IConnectionPoint*> points{&point_};
    point_.AddRef();
    try {
      return SnapshotEnumerator<IEnumConnectionPoints, IConnectionPoint*, PointTraits>::New(std::move(points));
    } catch (...) {
      point_.Release();
      throw;
    }
  });
}

HRESULT EventSource::FindConnectionPoint(REFIID riid, IConnectionPoint** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid != events_) return CONNECT_E_NOCONNECTION;
  *out = &point_;
  point_.AddRef();
  return S_OK;
}

HRESULT EventSource::GetClassInfo(ITypeInfo** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  ITypeInfo* ti = nullptr;
  HRESULT hr = TypeInfoOf(*clsid_, &ti);
  if (FAILED(hr)) return hr;
  ti->AddRef();
  *out = ti;
  return S_OK;
}

HRESULT EventSource::GetGUID(DWORD kind, GUID* out) noexcept {
  if (!out) return E_POINTER;
  *out = GUID_NULL;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *out = events_;
  return S_OK;
}

void EventSource::Fire(DISPID id, std::initializer_list<VARIANT> args) noexcept {
  owner_->AddRef();
  // A sink may disconnect (or connect another) while it is called: call the ones connected now.
  std::vector<IDispatch*> now;
  std::vector<VARIANTARG> reversed;  // rgvarg runs from the last argument to the first
  try {
    now.reserve(sinks_.size());
    reversed.assign(std::rbegin(args), std::rend(args));
  } catch (const std::bad_alloc&) {
    owner_->Release();
    return;
  }
  for (auto& s : sinks_) {
    s.second->AddRef();
    now.push_back(s.second);
  }
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  for (IDispatch* d : now) {
    VARIANT result;
    VariantInit(&result);
    d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
    VariantClear(&result);
  }
  for (IDispatch* d : now) d->Release();
  owner_->Release();  // last: it may end the owner, and this with it
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
  return NewEnumerator(out, [&] {
    std::vector<CONNECTDATA> connections;
    connections.reserve(source_->sinks_.size());
    for (auto& s : source_->sinks_) {
      s.second->AddRef();
      connections.push_back(CONNECTDATA{s.second, s.first});
    }
    return SnapshotEnumerator<IEnumConnections, CONNECTDATA, ConnectionTraits>::New(std::move(connections));
  });
}

}  // namespace com

// The COM adapters of the document's parts: Guide, Interchange, Group, TransactionSet, Segment.
#pragma once
#include "document.h"
#include "late_bound.h"

namespace edi {

// Dispatch ids of the calls that take the direct route.
enum : DISPID { kSegmentByPath = 2, kElementValue = 34 };

class GuideCom final : public LateBound<Guide> {
 public:
  using LateBound<Guide>::LateBound;
  HRESULT STDMETHODCALLTYPE get_Path(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE get_TransactionSetId(BSTR* out) noexcept override;
};

class InterchangeCom final : public LateBound<Interchange> {
 public:
  using LateBound<Interchange>::LateBound;
  HRESULT STDMETHODCALLTYPE CreateGroup(BSTR version, IEdiGroup** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Header(IEdiSegment** out) noexcept override;
};

class GroupCom final : public LateBound<Group> {
 public:
  using LateBound<Group>::LateBound;
  HRESULT STDMETHODCALLTYPE CreateTransactionSet(BSTR id, IEdiTransactionSet** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Header(IEdiSegment** out) noexcept override;
};

class TransactionSetCom final : public LateBound<TransactionSet> {
 public:
  using LateBound<TransactionSet>::LateBound;
  HRESULT STDMETHODCALLTYPE SegmentByPath(BSTR path, IEdiSegment** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Header(IEdiSegment** out) noexcept override;
  // A writer calls SegmentByPath once per segment: a call with one text argument goes straight
  // to it; any other goes through the type information.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* argErr) noexcept override;
};

class SegmentCom final : public LateBound<Segment> {
 public:
  using LateBound<Segment>::LateBound;
  HRESULT STDMETHODCALLTYPE get_SegmentId(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE get_ElementValue(long element, VARIANT component, BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_ElementValue(long element, VARIANT component, BSTR value) noexcept override;
  // A writer sets and reads back element values by the million: a put of a text or a get by
  // 32-bit element (and component) number goes straight to the property; any other call goes
  // through the type information.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* argErr) noexcept override;
};

}  // namespace edi

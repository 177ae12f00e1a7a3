// The COM face of the general Collection: VBA's _Collection methods and an IDispatch of its own,
// by name (the collection has no type information in this library).
#pragma once
#include "model/general_collection.h"

namespace claimfile {

class GeneralCollectionCom final : public GeneralCollection {
 public:
  // IDispatch: the names Item, Add, Count, Remove and _NewEnum, and Add's and Item's and
  // Remove's parameter names.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* argErr) noexcept override;
  // _Collection
  HRESULT STDMETHODCALLTYPE Item(VARIANT* index, VARIANT* result) noexcept override;
  HRESULT STDMETHODCALLTYPE Add(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) noexcept override;
  HRESULT STDMETHODCALLTYPE Count(long* result) noexcept override;
  HRESULT STDMETHODCALLTYPE Remove(VARIANT* index) noexcept override;
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** result) noexcept override;
};

}  // namespace claimfile

// The COM accessors of the model collections over their logic class: Item (default member),
// Count, Remove and NewEnum for all, Add for the unkeyed three.
#pragma once
#include <oaidl.h>

#include <vector>

#include "com/accessors.h"
#include "com/enumerator.h"
#include "com/object.h"
#include "vb/collection.h"

namespace claimfile {

template <class Logic, class ItemItf>
class ModelCollectionCom : public Logic {
 public:
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT* index, ItemItf** out) noexcept override {
    if (!index || !out) return E_POINTER;
    *out = nullptr;
    return this->Run([&] { com::PutOut(Logic::Item(vb::CollectionIndex::From(*index)), out); });
  }
  HRESULT STDMETHODCALLTYPE get_Count(long* out) noexcept override {
    return com::Compute(*this, out, [&] { return Logic::Count(); });
  }
  HRESULT STDMETHODCALLTYPE Remove(VARIANT* index) noexcept override {
    if (!index) return E_POINTER;
    return this->Run([&] { Logic::Remove(vb::CollectionIndex::From(*index)); });
  }
  HRESULT STDMETHODCALLTYPE get_NewEnum(IUnknown** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return this->Run([&] {
      std::vector<IDispatch*> items;
      for (auto& item : *this) items.push_back(static_cast<ItemItf*>(item.get()));
      *out = com::NewDispatchEnumerator(items);
    });
  }
};

template <class Logic, class ItemItf>
class UnkeyedCollectionCom : public ModelCollectionCom<Logic, ItemItf> {
 public:
  HRESULT STDMETHODCALLTYPE Add(ItemItf** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return this->Run([&] { com::PutOut(Logic::Add(), out); });
  }
};

}  // namespace claimfile

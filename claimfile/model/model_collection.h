// The model collection family: a thin typed wrapper over a private
// Collection of model objects that creates its items itself. Item (default member), Count,
// Remove and NewEnum pass straight to the collection; Add differs between the unkeyed three
// (Claims, ServiceLines, InsurancePolicies) and Batchs.
#pragma once
#include <string>
#include <vector>

#include "com/enumerator.h"
#include "com/object.h"
#include "vb/collection.h"

namespace claimfile {

template <class Derived, class Itf, class ItemT, class ItemItf>
class ModelCollection : public com::Object<Derived, Itf> {
 public:
  // A number is a position from 1 (9 outside 1..Count), a text a key (5 when not held).
  com::Ptr<ItemT> Item(const vb::CollectionIndex& index) { return mCol.Item(index); }
  com::Ptr<ItemT> Item(long position) { return mCol.Item(position); }
  com::Ptr<ItemT> Item(const std::wstring& key) { return mCol.Item(key); }
  long Count() const { return mCol.Count(); }
  void Remove(const vb::CollectionIndex& index) { mCol.Remove(index); }
  void Remove(long position) { mCol.Remove(position); }
  void Remove(const std::wstring& key) { mCol.Remove(key); }

  // Iteration in collection order, over the items.
  auto begin() { return mCol.begin(); }
  auto end() { return mCol.end(); }

  // COM
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT* index, ItemItf** out) override {
    if (!index || !out) return E_POINTER;
    *out = nullptr;
    return this->Run([&] { com::PutOut(Item(vb::CollectionIndex::From(*index)), out); });
  }
  HRESULT STDMETHODCALLTYPE get_Count(long* out) override {
    if (!out) return E_POINTER;
    *out = Count();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Remove(VARIANT* index) override {
    if (!index) return E_POINTER;
    return this->Run([&] { Remove(vb::CollectionIndex::From(*index)); });
  }
  HRESULT STDMETHODCALLTYPE get_NewEnum(IUnknown** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return this->Run([&] {
      std::vector<IDispatch*> items;
      for (auto& item : mCol) items.push_back(static_cast<ItemItf*>(item.get()));
      *out = com::NewDispatchEnumerator(items);
    });
  }

 protected:
  vb::Collection<com::Ptr<ItemT>> mCol;
};

// Claims, ServiceLines, InsurancePolicies: Add() appends a new item without a key.
template <class Derived, class Itf, class ItemT, class ItemItf>
class UnkeyedCollection : public ModelCollection<Derived, Itf, ItemT, ItemItf> {
 public:
  // Creates the item (its constructor runs fully), appends it and returns it. A failure in the
  // item's constructor fails Add, and nothing is added.
  com::Ptr<ItemT> Add() {
    auto item = com::Make<ItemT>();
    this->mCol.Add(item);
    return item;
  }

  HRESULT STDMETHODCALLTYPE Add(ItemItf** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return this->Run([&] { com::PutOut(Add(), out); });
  }
};

}  // namespace claimfile

// The model collection family: a thin typed wrapper over a private Collection of model objects
// that creates its items itself. Item, Count, Remove and iteration pass straight to the
// collection; Add differs between the unkeyed three (Claims, ServiceLines, InsurancePolicies)
// and Batchs. Their COM accessors are com/model_collection_com.h's.
#pragma once
#include <string>

#include "com/object.h"
#include "vb/collection.h"

namespace claimfile {

template <class Derived, class Itf, class ItemT>
class ModelCollection : public com::Object<Derived, Itf> {
 public:
  // A number is a position from 1 (9 outside 1..Count), a text a key (5 when not held).
  com::Ptr<ItemT> Item(const vb::CollectionIndex& index) { return Items().Item(index); }
  com::Ptr<ItemT> Item(long position) { return Items().Item(position); }
  com::Ptr<ItemT> Item(const std::wstring& key) { return Items().Item(key); }
  long Count() const { return const_cast<ModelCollection*>(this)->Items().Count(); }
  void Remove(const vb::CollectionIndex& index) { Items().Remove(index); }
  void Remove(long position) { Items().Remove(position); }
  void Remove(const std::wstring& key) { Items().Remove(key); }

  // Iteration in collection order, over the items.
  auto begin() { return Items().begin(); }
  auto end() { return Items().end(); }

 protected:
  // The items, made first by a collection that makes them late (its PrepareItems()).
  vb::Collection<com::Ptr<ItemT>>& Items() {
    static_cast<Derived*>(this)->PrepareItems();
    return mCol;
  }
  void PrepareItems() {}

  vb::Collection<com::Ptr<ItemT>> mCol;
};

// Claims, ServiceLines, InsurancePolicies: Add() appends a new item without a key.
template <class Derived, class Itf, class ItemT>
class UnkeyedCollection : public ModelCollection<Derived, Itf, ItemT> {
 public:
  // Creates the item (its constructor runs fully), appends it and returns it. A failure in the
  // item's constructor fails Add, and nothing is added.
  com::Ptr<ItemT> Add() {
    auto item = ItemT::New();
    this->mCol.Add(item);
    return item;
  }
};

}  // namespace claimfile

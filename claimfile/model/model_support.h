// What the claim-file classes share: their field-store helpers and the checked sums of their
// counts and totals.
#pragma once
#include <cstdint>
#include <string>

#include "com/object.h"
#include "model/members.h"
#include "model/output_fields.h"
#include "vb/currency.h"
#include "vb/error.h"

namespace claimfile {

// A new value store holding the names, in this order, each as if added by name alone.
inline com::Ptr<OutputFields> NewFieldStore(const FieldNames& names) { return OutputFields::NewStore(names); }

// The object an object member holds; a member set to Nothing raises 91.
template <class T>
T& Held(const com::Ptr<T>& member) {
  if (!member) vb::Raise(vb::errObjectNotSet);
  return *member;
}

// The store of a model object; a store set to Nothing raises 91.
inline OutputFields& StoreOf(const com::Ptr<OutputFields>& store) { return Held(store); }

// What a write-only property does: OutFields.SetValue(field, text) (0x80040001 for a field the
// store does not hold, 91 when the store is Nothing).
inline void StoreField(const com::Ptr<OutputFields>& store, const std::wstring& field,
                       const std::wstring& text) {
  StoreOf(store).SetValue(field, text);
}

// The stored text of a field (5 for a field the store does not hold, 91 when it is Nothing).
inline const std::wstring& FieldText(const com::Ptr<OutputFields>& store, std::wstring_view field) {
  return StoreOf(store).ValueOf(field);
}

// 32-bit count addition; 6 on overflow.
inline long AddCount(long sum, long count) {
  int32_t r;
  if (__builtin_add_overflow(static_cast<int32_t>(sum), static_cast<int32_t>(count), &r))
    vb::Raise(vb::errOverflow);
  return r;
}

// The sum of one count over the items of a collection member, in collection order: 91 when the
// member is Nothing, 6 on overflow.
template <class Items, class Item>
long SumOfCounts(const com::Ptr<Items>& items, long (Item::*count)() const) {
  long sum = 0;
  for (auto& item : Held(items)) sum = AddCount(sum, ((*item).*count)());
  return sum;
}

// The sum of one Currency read over the items of a collection member: 91 when the member is
// Nothing, 6 on overflow.
template <class Items, class Item>
vb::Currency SumOfAmounts(const com::Ptr<Items>& items, vb::Currency (Item::*amount)() const) {
  vb::Currency sum;
  for (auto& item : Held(items)) sum += ((*item).*amount)();
  return sum;
}

}  // namespace claimfile

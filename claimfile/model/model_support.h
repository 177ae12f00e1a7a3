// What the claim-file classes share: their field-store helpers, the checked sums of their counts
// and totals, and the macros that declare a public variable's accessors and a write-only
// property in one line each.
#pragma once
#include <oaidl.h>

#include <cstdint>
#include <string>

#include "com/accessors.h"
#include "com/object.h"
#include "model/output_fields.h"
#include "vb/currency.h"
#include "vb/error.h"

namespace claimfile {

// A new value store holding the names, in this order, each added by name alone.
template <class Names>
com::Ptr<OutputFields> NewFieldStore(const Names& names) {
  auto store = com::Make<OutputFields>();
  for (const wchar_t* name : names) store->Add(name);
  return store;
}

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
inline const std::wstring& FieldText(const com::Ptr<OutputFields>& store, const std::wstring& field) {
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

// The COM half of a write-only property: stores the text argument, left unchanged, under field.
template <class Self>
HRESULT PutFieldText(Self& self, const com::Ptr<OutputFields>& store, const wchar_t* field, BSTR* text) {
  if (!text) return E_POINTER;
  return self.Run([&] { StoreField(store, field, com::FromBstr(*text)); });
}

}  // namespace claimfile

// A public text variable: the member, its get and its let.
#define CLAIMFILE_TEXT_MEMBER(Name)                                                             \
  std::wstring Name;                                                                            \
  HRESULT STDMETHODCALLTYPE get_##Name(BSTR* out) override { return com::Get(out, Name); }      \
  HRESULT STDMETHODCALLTYPE put_##Name(BSTR value) override { return com::Let(Name, value); }

// A public variable of a value type (Boolean, 16-bit integer, double, enum): member, get and let.
#define CLAIMFILE_VALUE_MEMBER(Type, ComType, Name, Initial)                                    \
  Type Name = Initial;                                                                          \
  HRESULT STDMETHODCALLTYPE get_##Name(ComType* out) override { return com::Get(out, Name); }   \
  HRESULT STDMETHODCALLTYPE put_##Name(ComType value) override { return com::Let(Name, value); }

// A public object variable of one of this library's classes: member, get, the reserved position
// and set by reference (an object of another class raises 13; Nothing is taken).
#define CLAIMFILE_OBJECT_MEMBER(Impl, Itf, Name)                                                \
  com::Ptr<Impl> Name;                                                                          \
  HRESULT STDMETHODCALLTYPE get_##Name(Itf** out) override { return com::Get(out, Name); }      \
  HRESULT STDMETHODCALLTYPE reserved##Name() override { return E_NOTIMPL; }                     \
  HRESULT STDMETHODCALLTYPE putref_##Name(Itf* value) override {                                \
    return Run([&] { Name = com::RequireImpl<Impl>(value); });                                  \
  }

// A public variable of the run time's general Collection type, held as any Automation object.
#define CLAIMFILE_COLLECTION_MEMBER(Name)                                                       \
  com::Ptr<IDispatch> Name;                                                                     \
  HRESULT STDMETHODCALLTYPE get_##Name(IDispatch** out) override { return com::Get(out, Name); } \
  HRESULT STDMETHODCALLTYPE reserved##Name() override { return E_NOTIMPL; }                     \
  HRESULT STDMETHODCALLTYPE putref_##Name(IDispatch* value) override {                          \
    Name = value;                                                                               \
    return S_OK;                                                                                \
  }

// A write-only property Prop that stores its text argument under the field name Field.
#define CLAIMFILE_FIELD_PUT(Prop, Field)                                                        \
  HRESULT STDMETHODCALLTYPE put_##Prop(BSTR* text) override {                                   \
    return ::claimfile::PutFieldText(*this, OutFields, L"" #Field, text);                       \
  }
// The same, for a property that stores under its own name.
#define CLAIMFILE_FIELD_PUT_SAME(Name) CLAIMFILE_FIELD_PUT(Name, Name)

// The names of a field list, as an array element each.
#define CLAIMFILE_FIELD_NAME(Name) L"" #Name,

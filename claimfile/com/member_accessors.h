// The COM accessors of the claim-file classes: those of their public variables, from the member
// lists that their logic classes declare the data from (model/members.h), the write-only
// properties that store text in the field store, and the computed reads.
#pragma once
#include <oaidl.h>

#include <string>

#include "com/accessors.h"
#include "com/object.h"
#include "model/members.h"
#include "model/model_support.h"

namespace claimfile {

// The COM half of a write-only property: stores the text argument, left unchanged, under field.
template <class Self>
HRESULT PutFieldText(Self& self, const com::Ptr<OutputFields>& store, const wchar_t* field, BSTR* text) {
  if (!text) return E_POINTER;
  return self.Run([&] { StoreField(store, field, com::FromBstr(*text)); });
}

// The COM half of a key test (BRExists): the logic's answer for the key, false where the key
// is missing or the answer cannot be had. It never raises and leaves no error pending.
template <class Self, class Test>
HRESULT KeyTest(Self& self, BSTR* key, VARIANT_BOOL* out, Test&& test) noexcept {
  if (!out) return E_POINTER;
  bool found = false;
  self.Run([&] { found = key && test(com::FromBstr(*key)); });
  *out = com::VarBool(found);
  SetErrorInfo(0, nullptr);
  return S_OK;
}

}  // namespace claimfile

// A text variable: get and let.
#define CLAIMFILE_TEXT_ACCESSORS(Name)                                                          \
  HRESULT STDMETHODCALLTYPE get_##Name(BSTR* out) noexcept override { return com::Get(out, Name); } \
  HRESULT STDMETHODCALLTYPE put_##Name(BSTR value) noexcept override { return com::Let(Name, value); }

// A variable of a value type: get and let in its Automation type.
#define CLAIMFILE_VALUE_ACCESSORS(Type, ComType, Name, Initial)                                 \
  HRESULT STDMETHODCALLTYPE get_##Name(ComType* out) noexcept override { return com::Get(out, Name); } \
  HRESULT STDMETHODCALLTYPE put_##Name(ComType value) noexcept override { return com::Let(Name, value); }

// An object variable: get, the reserved position and set by reference (an object of another
// class raises 13; Nothing is taken).
#define CLAIMFILE_OBJECT_ACCESSORS(Impl, Itf, Name)                                             \
  HRESULT STDMETHODCALLTYPE get_##Name(Itf** out) noexcept override { return com::Get(out, Name); } \
  HRESULT STDMETHODCALLTYPE reserved##Name() noexcept override { return E_NOTIMPL; }            \
  HRESULT STDMETHODCALLTYPE putref_##Name(Itf* value) noexcept override {                       \
    return Run([&] { Name = com::RequireImpl<Impl>(value); });                                  \
  }

// A Collection variable: get, the reserved position and set by reference (any object is taken).
#define CLAIMFILE_COLLECTION_ACCESSORS(Name)                                                    \
  HRESULT STDMETHODCALLTYPE get_##Name(IDispatch** out) noexcept override { return com::Get(out, Name); } \
  HRESULT STDMETHODCALLTYPE reserved##Name() noexcept override { return E_NOTIMPL; }            \
  HRESULT STDMETHODCALLTYPE putref_##Name(IDispatch* value) noexcept override {                 \
    Name = value;                                                                               \
    return S_OK;                                                                                \
  }

// The accessors of every variable of a member list.
#define CLAIMFILE_MEMBER_ACCESSORS(MEMBERS)                                                     \
  MEMBERS(CLAIMFILE_TEXT_ACCESSORS, CLAIMFILE_VALUE_ACCESSORS, CLAIMFILE_OBJECT_ACCESSORS,      \
          CLAIMFILE_COLLECTION_ACCESSORS)

// A write-only property Prop that stores its text argument under the field name Field.
#define CLAIMFILE_FIELD_PUT(Prop, Field)                                                        \
  HRESULT STDMETHODCALLTYPE put_##Prop(BSTR* text) noexcept override {                          \
    return ::claimfile::PutFieldText(*this, OutFields, L"" #Field, text);                       \
  }
// The same, for a property that stores under its own name.
#define CLAIMFILE_FIELD_PUT_SAME(Name) CLAIMFILE_FIELD_PUT(Name, Name)

// A computed read: the logic's Name() in Automation form, under the object's error guard.
#define CLAIMFILE_COMPUTED_GET(ComType, Name)                                                   \
  HRESULT STDMETHODCALLTYPE get_##Name(ComType* out) noexcept override {                        \
    return com::Compute(*this, out, [&] { return Name(); });                                    \
  }

#include "x837/edi_document.h"

#include <algorithm>
#include <cstring>

#include "com/client.h"
#include "vb/automation.h"
#include "vb/error.h"
#include "x837/version_services.h"

namespace claimfile::Edi837 {

// {A3BDF966-100C-4AF6-9EA8-5EA8D4D2924B}
const IID IID_EdiGuide = {0xA3BDF966, 0x100C, 0x4AF6, {0x9E, 0xA8, 0x5E, 0xA8, 0xD4, 0xD2, 0x92, 0x4B}};
// {E9D13417-E4B1-4693-83A9-7F815E1C8DC8}
const IID IID_EdiInterchange = {0xE9D13417, 0xE4B1, 0x4693, {0x83, 0xA9, 0x7F, 0x81, 0x5E, 0x1C, 0x8D, 0xC8}};
// {E24B6CBE-45E3-4176-BE9F-FF4F5F17CCFF}
const IID IID_EdiGroup = {0xE24B6CBE, 0x45E3, 0x4176, {0xBE, 0x9F, 0xFF, 0x4F, 0x5F, 0x17, 0xCC, 0xFF}};
// {1C2E3803-53FF-467A-A1D4-DAE7E97B96BA}
const IID IID_EdiTransactionSet = {0x1C2E3803, 0x53FF, 0x467A, {0xA1, 0xD4, 0xDA, 0xE7, 0xE9, 0x7B, 0x96, 0xBA}};
// {A0BF03A7-2768-4C30-8F0F-64EA3E1624F9}
const IID IID_EdiSegment = {0xA0BF03A7, 0x2768, 0x4C30, {0x8F, 0x0F, 0x64, 0xEA, 0x3E, 0x16, 0x24, 0xF9}};

namespace {

enum : DISPID {
  idCreateInterchange = 1,
  idLoadGuide = 3,
  idSave = 10,
  idSegmentTerminator = 13,
  idElementSeparator = 14,
  idCompositeSeparator = 15,
  idCreateChild = 2,  // group of an interchange, transaction set of a group, segment by path
  idInterchangeHeader = 14,
  idGroupHeader = 11,
  idTransactionHeader = 10,
  idElementValue = 34,
};

// Arguments that own their contents, but for a text in the reused BSTR of CallBuffers.
struct Args {
  explicit Args(UINT n) : count(n) {
    for (UINT i = 0; i < n; ++i) VariantInit(&v[i]);
  }
  ~Args() {
    for (UINT i = 0; i < count; ++i)
      if (i != borrowed) VariantClear(&v[i]);
  }
  Args(const Args&) = delete;
  Args& operator=(const Args&) = delete;
  void Text(UINT i, const std::wstring& s) {
    v[i].vt = VT_BSTR;
    v[i].bstrVal = vb::ToBstr(s);
  }
  void Text(UINT i, std::wstring_view s, CallBuffers* buffers) {
    if (!buffers) return Text(i, std::wstring(s));
    v[i].vt = VT_BSTR;
    v[i].bstrVal = buffers->Text(s);
    borrowed = i;
  }
  void Long(UINT i, long n) {
    v[i].vt = VT_I4;
    v[i].lVal = n;
  }
  VARIANT v[3];
  UINT count;
  UINT borrowed = ~0u;
};

// The run-time number of a failure: the code of a control-facility HRESULT, else the HRESULT.
long NumberOf(HRESULT hr) {
  return HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<long>(hr);
}

}  // namespace

namespace {

// The length prefix of a BSTR: its byte count, in the four bytes before its first character.
void SetByteLength(BSTR b, UINT characters) {
  const UINT bytes = characters * static_cast<UINT>(sizeof(OLECHAR));
  std::memcpy(reinterpret_cast<char*>(b) - sizeof bytes, &bytes, sizeof bytes);
}

}  // namespace

BSTR CallBuffers::Text(std::wstring_view s) {
  const UINT length = static_cast<UINT>(s.size());
  if (!text_ || length > capacity_) {
    Free();
    const UINT capacity = std::max<UINT>(length, 256);
    text_ = SysAllocStringLen(nullptr, capacity);
    if (!text_) vb::Raise(vb::errOutOfMemory);
    capacity_ = capacity;
  }
  std::copy(s.begin(), s.end(), text_);
  text_[length] = L'\0';
  SetByteLength(text_, length);
  return text_;
}

void CallBuffers::Free() {
  if (!text_) return;
  SetByteLength(text_, capacity_);
  SysFreeString(text_);
  text_ = nullptr;
  capacity_ = 0;
}

void EdiObject::Invoke(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result) const {
  if (!d_) vb::Raise(vb::errObjectNotSet);
  VARIANT reversed[3];
  std::reverse_copy(args, args + count, reversed);
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed, nullptr, count, 0};
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  EXCEPINFO ex{};
  const HRESULT hr = d_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &ex, nullptr);
  if (hr == DISP_E_EXCEPTION) {
    if (ex.pfnDeferredFillIn) ex.pfnDeferredFillIn(&ex);
    const long number = ex.scode ? NumberOf(ex.scode) : ex.wCode;
    std::wstring description = vb::FromBstr(ex.bstrDescription), source = vb::FromBstr(ex.bstrSource);
    SysFreeString(ex.bstrDescription);
    SysFreeString(ex.bstrSource);
    SysFreeString(ex.bstrHelpFile);
    if (description.empty()) description = vb::StandardDescription(number);
    throw vb::RuntimeError(number, description, source);
  }
  com::CheckInvoke(hr);
}

com::Ptr<IDispatch> EdiObject::ObjectOf(DISPID id, VARIANT* args, UINT count, REFIID iid) const {
  vb::Variant r;
  Invoke(id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, count, &r);
  if (r.vt != VT_DISPATCH && r.vt != VT_UNKNOWN) vb::Raise(vb::errTypeMismatch);
  if (!r.punkVal) vb::Raise(vb::errObjectNotSet);
  com::Ptr<IDispatch> object;
  CheckCall(r.punkVal->QueryInterface(iid, reinterpret_cast<void**>(object.out())));
  return object;
}

void EdiSegment::Set(long element, long component, std::wstring_view value) const {
  Args a(component ? 3 : 2);
  a.Long(0, element);
  if (component) a.Long(1, component);
  // X12 data has no control characters: a line break inside a value would end the segment for
  // a receiver that reads by lines. Such values are rare, so only they are copied.
  auto control = [](wchar_t c) { return c < L' ' || c == 0x7F; };
  std::wstring cleaned;
  if (std::any_of(value.begin(), value.end(), control)) {
    cleaned.assign(value);
    std::replace_if(cleaned.begin(), cleaned.end(), control, L' ');
    value = cleaned;
  }
  a.Text(a.count - 1, value, buffers_);
  Invoke(idElementValue, DISPATCH_PROPERTYPUT, a.v, a.count, nullptr);
}

void EdiSegment::Read(long element, long component, VARIANT& r) const {
  Args a(component ? 2 : 1);
  a.Long(0, element);
  if (component) a.Long(1, component);
  Invoke(idElementValue, DISPATCH_METHOD | DISPATCH_PROPERTYGET, a.v, a.count, &r);
  if (r.vt != VT_EMPTY && r.vt != VT_BSTR) CheckCall(VariantChangeType(&r, &r, 0, VT_BSTR));
}

std::wstring EdiSegment::Get(long element, long component) const {
  vb::Variant r;
  Read(element, component, r);
  return r.vt == VT_EMPTY ? std::wstring() : vb::FromBstr(r.bstrVal);
}

bool EdiSegment::IsEmpty(long element) const {
  vb::Variant r;
  Read(element, 0, r);
  return r.vt == VT_EMPTY || SysStringLen(r.bstrVal) == 0;
}

EdiSegment EdiTransactionSet::SegmentByPath(std::wstring_view path) const {
  Args a(1);
  a.Text(0, path, buffers_);
  return EdiSegment(ObjectOf(idCreateChild, a.v, 1, IID_EdiSegment), buffers_);
}

EdiSegment EdiTransactionSet::Header() const {
  return EdiSegment(ObjectOf(idTransactionHeader, nullptr, 0, IID_EdiSegment), buffers_);
}

EdiTransactionSet EdiGroup::CreateTransactionSet(const std::wstring& id) const {
  Args a(1);
  a.Text(0, id);
  return EdiTransactionSet(ObjectOf(idCreateChild, a.v, 1, IID_EdiTransactionSet), buffers_);
}

EdiSegment EdiGroup::Header() const {
  return EdiSegment(ObjectOf(idGroupHeader, nullptr, 0, IID_EdiSegment), buffers_);
}

EdiGroup EdiInterchange::CreateGroup(const std::wstring& version) const {
  Args a(1);
  a.Text(0, version);
  return EdiGroup(ObjectOf(idCreateChild, a.v, 1, IID_EdiGroup), buffers_);
}

EdiSegment EdiInterchange::Header() const {
  return EdiSegment(ObjectOf(idInterchangeHeader, nullptr, 0, IID_EdiSegment), buffers_);
}

EdiObject EdiDocument::LoadGuide(const std::wstring& path) const {
  Args a(2);
  a.Text(0, path);
  a.Long(1, 0);
  return EdiObject(ObjectOf(idLoadGuide, a.v, 2, IID_EdiGuide));
}

void EdiDocument::SetSeparators(const std::wstring& segment, const std::wstring& element,
                                const std::wstring& composite) const {
  const std::pair<DISPID, const std::wstring*> separators[] = {
      {idSegmentTerminator, &segment}, {idElementSeparator, &element}, {idCompositeSeparator, &composite}};
  for (const auto& [id, text] : separators) {
    Args a(1);
    a.Text(0, *text);
    Invoke(id, DISPATCH_PROPERTYPUT, a.v, 1, nullptr);
  }
}

EdiInterchange EdiDocument::CreateInterchange(const std::wstring& standard, const std::wstring& version) const {
  Args a(2);
  a.Text(0, standard);
  a.Text(1, version);
  return EdiInterchange(ObjectOf(idCreateInterchange, a.v, 2, IID_EdiInterchange), buffers_);
}

void EdiDocument::Save(const std::wstring& fileName) const {
  Args a(1);
  a.Text(0, fileName);
  vb::Variant discard;
  Invoke(idSave, DISPATCH_METHOD, a.v, 1, &discard);
}

}  // namespace claimfile::Edi837

// The outside EDI document component as the 837 writer drives it: late-bound only, through
// IDispatch and the component's dispatch ids, so any component with those ids can serve.
// A failed call raises vb::RuntimeError with the number a Visual Basic caller would see in
// Err.Number (12378 stays 12378) and the component's description.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

#include "com/ptr.h"

namespace claimfile::Edi837 {

// Interface ids the writer asks of the objects the document hands out.
extern const IID IID_EdiGuide;
extern const IID IID_EdiInterchange;
extern const IID IID_EdiGroup;
extern const IID IID_EdiTransactionSet;
extern const IID IID_EdiSegment;

// What the calls of one writer reuse instead of allocating anew: the BSTR of a text argument
// (a callee copies an [in] BSTR and keeps nothing of it) and the buffer a segment path is put
// together in. The objects a document hands out share the buffers of the document they came from.
// The BSTR is allocated once at a capacity and each text is written into it, its length prefix
// set to the text's; the prefix is the capacity's again before the BSTR grows or is freed.
class CallBuffers {
 public:
  CallBuffers() = default;
  ~CallBuffers() { Free(); }
  CallBuffers(const CallBuffers&) = delete;
  CallBuffers& operator=(const CallBuffers&) = delete;
  // The text as the reused BSTR, valid until the next call; raises 7 when it cannot be had.
  BSTR Text(std::wstring_view s);
  std::wstring path;

 private:
  void Free();
  BSTR text_ = nullptr;
  UINT capacity_ = 0;  // in characters
};

// Any object of the component: a dispatch pointer and calls by dispatch id.
class EdiObject {
 public:
  EdiObject() = default;
  explicit EdiObject(com::Ptr<IDispatch> d, CallBuffers* buffers = nullptr) : d_(std::move(d)), buffers_(buffers) {}
  explicit operator bool() const { return static_cast<bool>(d_); }
  IDispatch* get() const { return d_.get(); }
  void reset() { d_.reset(); }

 protected:
  // Invokes the id with the arguments in natural order (a property put passes its last
  // argument as the named DISPID_PROPERTYPUT one). A call for a result is made as a method or
  // property get, as a Visual Basic caller makes it.
  void Invoke(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result) const;
  // The object a call returns, asked for the interface id.
  com::Ptr<IDispatch> ObjectOf(DISPID id, VARIANT* args, UINT count, REFIID iid) const;

  com::Ptr<IDispatch> d_;
  CallBuffers* buffers_ = nullptr;  // not owned; none: each text argument is a new BSTR
};

class EdiSegment : public EdiObject {
 public:
  using EdiObject::EdiObject;
  // Element value (id 34), by element number and, for a composite, component number (0: none).
  void Set(long element, std::wstring_view value) const { Set(element, 0, value); }
  void Set(long element, long component, std::wstring_view value) const;
  std::wstring Get(long element, long component = 0) const;
  // Whether Get would answer empty text, without copying the text.
  bool IsEmpty(long element) const;

 private:
  // The value read back (id 34) into r: VT_EMPTY or VT_BSTR.
  void Read(long element, long component, VARIANT& r) const;
};

class EdiTransactionSet : public EdiObject {
 public:
  using EdiObject::EdiObject;
  EdiSegment SegmentByPath(std::wstring_view path) const;  // id 2
  EdiSegment Header() const;                                 // id 10, ST
};

class EdiGroup : public EdiObject {
 public:
  using EdiObject::EdiObject;
  EdiTransactionSet CreateTransactionSet(const std::wstring& id) const;  // id 2
  EdiSegment Header() const;                                             // id 11, GS
};

class EdiInterchange : public EdiObject {
 public:
  using EdiObject::EdiObject;
  EdiGroup CreateGroup(const std::wstring& version) const;  // id 2
  EdiSegment Header() const;                                // id 14, ISA
};

class EdiDocument : public EdiObject {
 public:
  using EdiObject::EdiObject;
  EdiObject LoadGuide(const std::wstring& path) const;  // id 3, second argument 0
  // ids 13, 14, 15
  void SetSeparators(const std::wstring& segment, const std::wstring& element, const std::wstring& composite) const;
  EdiInterchange CreateInterchange(const std::wstring& standard, const std::wstring& version) const;  // id 1
  void Save(const std::wstring& fileName) const;                                                        // id 10
};

}  // namespace claimfile::Edi837

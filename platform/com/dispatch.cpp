// IDispatch::Invoke through the type information, with the arguments made to fit: by-reference
// Variants for typed parameters, and missing optional parameters given their default.
#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <vector>

#include "com/object.h"

namespace com {

namespace {

// The Automation type that a parameter type stands for (enums are 32-bit integers);
// VT_EMPTY when it has no plain Variant form.
VARTYPE BaseType(ITypeInfo* ti, const TYPEDESC& td) {
  if (td.vt != VT_USERDEFINED) return td.vt;
  ITypeInfo* ref = nullptr;
  if (FAILED(ti->GetRefTypeInfo(td.hreftype, &ref))) return VT_EMPTY;
  TYPEATTR* attr = nullptr;
  VARTYPE vt = VT_EMPTY;
  if (SUCCEEDED(ref->GetTypeAttr(&attr))) {
    if (attr->typekind == TKIND_ENUM) vt = VT_I4;
    else if (attr->typekind == TKIND_ALIAS) vt = BaseType(ref, attr->tdescAlias);
    else if (attr->typekind == TKIND_DISPATCH || attr->typekind == TKIND_INTERFACE) vt = VT_DISPATCH;
    ref->ReleaseTypeAttr(attr);
  }
  ref->Release();
  return vt;
}

// The function that Invoke will call, released with the holder.
struct FuncDesc {
  ITypeInfo* ti = nullptr;
  FUNCDESC* fd = nullptr;
  ~FuncDesc() { if (fd) ti->ReleaseFuncDesc(fd); }
};

bool FindFunc(ITypeInfo* ti, DISPID id, WORD flags, FuncDesc& out) {
  TYPEATTR* attr = nullptr;
  if (FAILED(ti->GetTypeAttr(&attr))) return false;
  UINT count = attr->cFuncs;
  ti->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* fd = nullptr;
    if (FAILED(ti->GetFuncDesc(i, &fd))) continue;
    if (fd->memid == id && (fd->invkind & flags)) {
      out.ti = ti;
      out.fd = fd;
      return true;
    }
    ti->ReleaseFuncDesc(fd);
  }
  return false;
}

// Where a by-reference pointer to a Variant's value of type vt lives.
void* ValueAddress(VARIANT* v, VARTYPE vt) {
  switch (vt) {
    case VT_I2: return &v->iVal;
    case VT_I4: return &v->lVal;
    case VT_R4: return &v->fltVal;
    case VT_R8: return &v->dblVal;
    case VT_CY: return &v->cyVal;
    case VT_DATE: return &v->date;
    case VT_BSTR: return &v->bstrVal;
    case VT_BOOL: return &v->boolVal;
    case VT_UI1: return &v->bVal;
    case VT_DISPATCH: return &v->pdispVal;
    case VT_UNKNOWN: return &v->punkVal;
    default: return nullptr;
  }
}

bool IsMissing(const VARIANT& v) { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }

class ArgumentFitter {
 public:
  ArgumentFitter(ITypeInfo* ti, const FUNCDESC* fd, const DISPPARAMS* params) : ti_(ti), fd_(fd) {
    fixed_ = *params;
    args_.assign(params->rgvarg, params->rgvarg + params->cArgs);
  }

  DISPPARAMS* Fit(WORD flags) {
    const UINT cArgs = fixed_.cArgs, cNamed = fixed_.cNamedArgs;
    for (UINT k = 0; k < cArgs; ++k) {
      int param = ParamOf(k);
      if (param < 0 || param >= fd_->cParams) continue;
      if (IsMissing(args_[k])) FillDefault(args_[k], param);
      else if (args_[k].vt == (VT_BYREF | VT_VARIANT) && args_[k].pvarVal) FitReference(args_[k], param);
    }
    // Trailing optional parameters left out of a call by position.
    if (cNamed == 0 && !(flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))) {
      int given = static_cast<int>(cArgs);
      int last = given;
      while (last < fd_->cParams && IsOptional(last)) ++last;
      if (last > given) {
        std::vector<VARIANTARG> extra(static_cast<size_t>(last - given));
        // rgvarg runs from the last parameter to the first.
        for (int p = last - 1, i = 0; p >= given; --p, ++i) {
          VariantInit(&extra[static_cast<size_t>(i)]);
          FillDefault(extra[static_cast<size_t>(i)], p);
        }
        args_.insert(args_.begin(), extra.begin(), extra.end());
        fixed_.cArgs = static_cast<UINT>(args_.size());
      }
    }
    fixed_.rgvarg = args_.data();
    return &fixed_;
  }

 private:
  int ParamOf(UINT k) const {
    if (k < fixed_.cNamedArgs) {
      DISPID named = fixed_.rgdispidNamedArgs[k];
      return named == DISPID_PROPERTYPUT ? fd_->cParams - 1 : named;
    }
    return static_cast<int>(fixed_.cArgs - 1 - k);
  }
  const ELEMDESC& Param(int p) const { return fd_->lprgelemdescParam[p]; }
  bool IsOptional(int p) const {
    USHORT f = Param(p).paramdesc.wParamFlags;
    return (f & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) && !(f & PARAMFLAG_FRETVAL);
  }
  const TYPEDESC& ValueType(int p) const {
    const TYPEDESC& td = Param(p).tdesc;
    return td.vt == VT_PTR ? *td.lptdesc : td;
  }

  // A missing argument for a typed parameter becomes its default: the library's default value
  // where it has one, else the empty value of its type (Nothing for an object). Variant
  // parameters stay missing.
  void FillDefault(VARIANTARG& a, int p) {
    const TYPEDESC& target = ValueType(p);
    if (target.vt == VT_VARIANT) {
      a.vt = VT_ERROR;
      a.scode = DISP_E_PARAMNOTFOUND;
      return;
    }
    auto v = std::make_unique<Variant>();
    const PARAMDESC& pd = Param(p).paramdesc;
    if ((pd.wParamFlags & PARAMFLAG_FHASDEFAULT) && pd.pparamdescex)
      VariantCopy(v.get(), &pd.pparamdescex->varDefaultValue);
    VARTYPE want = BaseType(ti_, target);
    if (want == VT_DISPATCH || want == VT_UNKNOWN) {
      if (v->vt == VT_EMPTY) {
        v->vt = want;  // a missing object is Nothing
        v->punkVal = nullptr;
      }
    } else if (want != VT_EMPTY) {
      VariantChangeType(v.get(), v.get(), 0, want);
    }
    a = *v;
    keep_.push_back(std::move(v));
  }

  // A by-reference Variant for a typed parameter: where it holds the parameter's own type the
  // callee writes through to the caller's variable; otherwise the callee gets a copy.
  void FitReference(VARIANTARG& a, int p) {
    const TYPEDESC& td = Param(p).tdesc;
    const TYPEDESC& target = ValueType(p);
    if (target.vt == VT_VARIANT) return;
    VARIANT* inner = a.pvarVal;
    VARTYPE want = BaseType(ti_, target);
    void* where = td.vt == VT_PTR && inner->vt == want ? ValueAddress(inner, want) : nullptr;
    if (where) {
      a.vt = VT_BYREF | want;
      a.byref = where;
      return;
    }
    auto copy = std::make_unique<Variant>();
    if (FAILED(VariantCopyInd(copy.get(), inner))) return;
    a = *copy;
    keep_.push_back(std::move(copy));
  }

  ITypeInfo* ti_;
  const FUNCDESC* fd_;
  DISPPARAMS fixed_;
  std::vector<VARIANTARG> args_;
  std::vector<std::unique_ptr<Variant>> keep_;
};

}  // namespace

HRESULT InvokeThroughTypeInfo(ITypeInfo* ti, void* self, DISPID id, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* excep, UINT* argErr) noexcept {
  SetErrorInfo(0, nullptr);
  FuncDesc fd;
  if (!params || !FindFunc(ti, id, flags, fd))
    return ti->Invoke(self, id, flags, params, result, excep, argErr);
  // Fitting the arguments allocates.
  return Guard(IID_IDispatch, [&] {
    ArgumentFitter fitter(ti, fd.fd, params);
    return ti->Invoke(self, id, flags, fitter.Fit(flags), result, excep, argErr);
  });
}

}  // namespace com

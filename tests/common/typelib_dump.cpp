#include "typelib_dump.h"

#include <oleauto.h>

#include <algorithm>
#include <cstdio>

namespace testutil {

namespace {

std::string Narrow(const wchar_t* s) {
  std::string out;
  for (; s && *s; ++s) out += static_cast<char>(*s < 128 ? *s : '?');
  return out;
}

std::string TypeName(ITypeInfo* ti, const TYPEDESC& td) {
  switch (td.vt) {
    case VT_PTR: return TypeName(ti, *td.lptdesc) + "*";
    case VT_USERDEFINED: {
      ITypeInfo* ref = nullptr;
      std::string name = "?";
      if (SUCCEEDED(ti->GetRefTypeInfo(td.hreftype, &ref))) {
        BSTR n = nullptr;
        if (SUCCEEDED(ref->GetDocumentation(MEMBERID_NIL, &n, nullptr, nullptr, nullptr))) name = Narrow(n);
        SysFreeString(n);
        ref->Release();
      }
      return name;
    }
    case VT_BSTR: return "BSTR";
    case VT_I2: return "short";
    case VT_I4: return "long";
    case VT_INT: return "int";
    case VT_R4: return "float";
    case VT_R8: return "double";
    case VT_CY: return "CURRENCY";
    case VT_DATE: return "DATE";
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_VARIANT: return "VARIANT";
    case VT_DISPATCH: return "IDispatch*";
    case VT_UNKNOWN: return "IUnknown*";
    case VT_HRESULT: return "HRESULT";
    case VT_VOID: return "void";
    case VT_UI1: return "unsigned char";
    default: return "vt" + std::to_string(td.vt);
  }
}

}  // namespace

ITypeLib* LoadModuleTypeLib(const std::wstring& modulePath) {
  ITypeLib* lib = nullptr;
  if (FAILED(LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, &lib))) return nullptr;
  return lib;
}

std::string GuidText(REFGUID g) {
  wchar_t buf[64];
  StringFromGUID2(g, buf, 64);
  return Narrow(buf);
}

std::vector<std::string> DescribeInterface(ITypeLib* lib, REFGUID iid) {
  std::vector<std::string> out;
  ITypeInfo* ti = nullptr;
  if (FAILED(lib->GetTypeInfoOfGuid(iid, &ti))) return out;
  // For a dual interface, the vtable view.
  TYPEATTR* attr = nullptr;
  ti->GetTypeAttr(&attr);
  if (attr->typekind == TKIND_DISPATCH) {
    HREFTYPE h;
    ITypeInfo* itf = nullptr;
    if (SUCCEEDED(ti->GetRefTypeOfImplType(-1, &h)) && SUCCEEDED(ti->GetRefTypeInfo(h, &itf))) {
      ti->ReleaseTypeAttr(attr);
      ti->Release();
      ti = itf;
      ti->GetTypeAttr(&attr);
    }
  }
  // A dispinterface alone (an event interface) has no vtable: its members in declaration order.
  const bool dispatchOnly = attr->typekind == TKIND_DISPATCH;
  std::vector<std::pair<int, std::string>> rows;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* fd = nullptr;
    if (FAILED(ti->GetFuncDesc(i, &fd))) continue;
    BSTR names[32] = {};
    UINT got = 0;
    ti->GetNames(fd->memid, names, 32, &got);
    // GetNames answers for the first function with the id; parameter names are not compared.
    std::string name = got ? Narrow(names[0]) : "?";
    for (UINT n = 0; n < got; ++n) SysFreeString(names[n]);
    char id[16];
    if (fd->memid < 0) snprintf(id, sizeof id, "%ld", static_cast<long>(fd->memid));
    else snprintf(id, sizeof id, "0x%08lX", static_cast<unsigned long>(fd->memid));
    const char* kind = fd->invkind == INVOKE_PROPERTYGET ? "get"
                       : fd->invkind == INVOKE_PROPERTYPUT ? "let"
                       : fd->invkind == INVOKE_PROPERTYPUTREF ? "set" : "func";
    std::string line = std::string((fd->wFuncFlags & (FUNCFLAG_FHIDDEN | FUNCFLAG_FRESTRICTED)) ? "~" : "") +
                       id + " " + kind + " " + name + "(";
    std::string result = "void";
    bool first = true;
    for (SHORT p = 0; p < fd->cParams; ++p) {
      const ELEMDESC& e = fd->lprgelemdescParam[p];
      USHORT flags = e.paramdesc.wParamFlags;
      if (flags & PARAMFLAG_FRETVAL) {
        std::string t = TypeName(ti, e.tdesc);
        result = t.substr(0, t.size() - 1);  // the retval's pointee
        continue;
      }
      if (!first) line += ", ";
      first = false;
      if (flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) line += "opt ";
      line += TypeName(ti, e.tdesc);
    }
    line += ") : " + result;
    rows.emplace_back(dispatchOnly ? static_cast<int>(i) : fd->oVft, line);
    ti->ReleaseFuncDesc(fd);
  }
  ti->ReleaseTypeAttr(attr);
  ti->Release();
  std::sort(rows.begin(), rows.end());
  // Members start after IUnknown's three and IDispatch's four.
  int slot = sizeof(void*) * 7;
  for (auto& r : rows) {
    if (r.first != slot && !dispatchOnly) out.push_back("!slot " + std::to_string(r.first / static_cast<int>(sizeof(void*))));
    out.push_back(r.second);
    slot = r.first + static_cast<int>(sizeof(void*));
  }
  return out;
}

GUID DefaultInterfaceOf(ITypeLib* lib, REFGUID clsid) {
  GUID result = GUID_NULL;
  ITypeInfo* ti = nullptr;
  if (FAILED(lib->GetTypeInfoOfGuid(clsid, &ti))) return result;
  TYPEATTR* attr = nullptr;
  ti->GetTypeAttr(&attr);
  for (UINT i = 0; i < attr->cImplTypes; ++i) {
    INT flags = 0;
    ti->GetImplTypeFlags(i, &flags);
    HREFTYPE h;
    ITypeInfo* itf = nullptr;
    if ((flags & IMPLTYPEFLAG_FDEFAULT) && !(flags & IMPLTYPEFLAG_FSOURCE) &&
        SUCCEEDED(ti->GetRefTypeOfImplType(i, &h)) && SUCCEEDED(ti->GetRefTypeInfo(h, &itf))) {
      TYPEATTR* ia = nullptr;
      itf->GetTypeAttr(&ia);
      result = ia->guid;
      itf->ReleaseTypeAttr(ia);
      itf->Release();
    }
  }
  ti->ReleaseTypeAttr(attr);
  ti->Release();
  return result;
}

std::vector<std::string> DescribeEnum(ITypeLib* lib, REFGUID enumId) {
  std::vector<std::string> out;
  ITypeInfo* ti = nullptr;
  if (FAILED(lib->GetTypeInfoOfGuid(enumId, &ti))) return out;
  TYPEATTR* attr = nullptr;
  ti->GetTypeAttr(&attr);
  for (UINT i = 0; i < attr->cVars; ++i) {
    VARDESC* vd = nullptr;
    if (FAILED(ti->GetVarDesc(i, &vd))) continue;
    BSTR name = nullptr;
    ti->GetDocumentation(vd->memid, &name, nullptr, nullptr, nullptr);
    VARIANT v;
    VariantInit(&v);
    VariantChangeType(&v, vd->lpvarValue, 0, VT_I4);
    out.push_back(Narrow(name) + "=" + std::to_string(v.lVal));
    SysFreeString(name);
    ti->ReleaseVarDesc(vd);
  }
  ti->ReleaseTypeAttr(attr);
  ti->Release();
  return out;
}

GUID GuidFromText(const std::wstring& text) {
  GUID g = GUID_NULL;
  if (FAILED(CLSIDFromString(text.c_str(), &g))) return GUID_NULL;
  return g;
}

std::wstring BesideTestProgram(const std::wstring& fileName) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1) + fileName;
}

}  // namespace testutil

// By-reference text arguments of the payment adapters.
#pragma once
#include <oaidl.h>

#include <string>

#include "com/ptr.h"

namespace payment {

// The text of a by-reference argument: a null pointer (an optional argument that an early-bound
// caller left out) stands for its default.
inline std::wstring TextArg(BSTR* p, const wchar_t* missing = L"") { return p ? com::FromBstr(*p) : missing; }

// Writes text back into a by-reference argument when the operation changed it.
inline void WriteBack(BSTR* p, const std::wstring& text) {
  if (!p || com::FromBstr(*p) == text) return;
  BSTR b = com::ToBstr(text);
  SysFreeString(*p);
  *p = b;
}

}  // namespace payment

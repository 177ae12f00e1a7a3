// IEnumVARIANT over a snapshot of items, for the NewEnum member of collections.
#pragma once
#include <oaidl.h>

#include <vector>

namespace com {

// A new enumerator over copies of the variants (the caller keeps its own). Returns it as IUnknown.
IUnknown* NewVariantEnumerator(const std::vector<VARIANT>& items);

// A new enumerator over dispatch pointers (each AddRef'd by the enumerator).
IUnknown* NewDispatchEnumerator(const std::vector<IDispatch*>& items);

}  // namespace com

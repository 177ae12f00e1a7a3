// The data of the claim-file classes' public variables. A class lists its variables once, as
// CLAIMFILE_<CLASS>_MEMBERS(TEXT, VALUE, OBJECT, COLLECTION), in interface order:
//   TEXT(Name)                          a text
//   VALUE(Type, ComType, Name, Initial) a value type (Boolean, integer, double, enum); ComType is
//                                       its Automation type
//   OBJECT(Impl, Itf, Name)             an object of one of this library's classes (or Nothing)
//   COLLECTION(Name)                    a general Collection, held as any Automation object
// The class declares the data with CLAIMFILE_MEMBER_DATA(list); its COM adapter declares the
// accessors from the same list (com/member_accessors.h).
#pragma once
#include <oaidl.h>

#include <string>

#include "com/ptr.h"

#define CLAIMFILE_TEXT_DATA(Name) std::wstring Name;
#define CLAIMFILE_VALUE_DATA(Type, ComType, Name, Initial) Type Name = Initial;
#define CLAIMFILE_OBJECT_DATA(Impl, Itf, Name) com::Ptr<Impl> Name;
#define CLAIMFILE_COLLECTION_DATA(Name) com::Ptr<IDispatch> Name;

#define CLAIMFILE_MEMBER_DATA(MEMBERS) \
  MEMBERS(CLAIMFILE_TEXT_DATA, CLAIMFILE_VALUE_DATA, CLAIMFILE_OBJECT_DATA, CLAIMFILE_COLLECTION_DATA)

// The names of a field list, as an array element each.
#define CLAIMFILE_FIELD_NAME(Name) L"" #Name,

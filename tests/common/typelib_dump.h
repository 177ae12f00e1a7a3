// Reads a type library back into text, one line per interface member in vtable order, so tests
// can compare class ids, interface ids, member order, dispatch ids and argument kinds.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace testutil {

// The type library embedded in a module file (nullptr when it cannot be loaded).
ITypeLib* LoadModuleTypeLib(const std::wstring& modulePath);

// The members of the interface with that id, in vtable order after IDispatch's seven, each as
//   "<dispid as 0x%08X or decimal when negative> <get|let|set|func> <name>(<params>) : <result>"
// where a parameter reads "[opt ]<type>[*]" and the result is the retval's type or "void".
// Hidden or restricted members are marked with a leading "~". A dispinterface that is no dual
// interface (an event interface) lists its members in declaration order.
std::vector<std::string> DescribeInterface(ITypeLib* lib, REFGUID iid);

// The default interface id of a coclass (GUID_NULL when the class is not in the library).
GUID DefaultInterfaceOf(ITypeLib* lib, REFGUID clsid);

// "name=value" for every member of an enum, in order.
std::vector<std::string> DescribeEnum(ITypeLib* lib, REFGUID enumId);

std::string GuidText(REFGUID g);

// Path of a file in the folder of the running test program.
std::wstring BesideTestProgram(const std::wstring& fileName);

// The GUID written as text in registry form ("{...}"); GUID_NULL when it is not one.
GUID GuidFromText(const std::wstring& text);

// A fixture holding the type library embedded in a DLL beside the test program.
class TypeLibraryTest : public ::testing::Test {
 protected:
  explicit TypeLibraryTest(const wchar_t* dll) : dll_(dll) {}
  void SetUp() override {
    lib = LoadModuleTypeLib(BesideTestProgram(dll_));
    ASSERT_NE(nullptr, lib);
  }
  void TearDown() override {
    if (lib) lib->Release();
  }
  ITypeLib* lib = nullptr;

 private:
  const wchar_t* dll_;
};

}  // namespace testutil

// Times the EDI document as the claim writer drives it: late-bound, by dispatch id, one segment
// by path at a time, for a number of claims (10,000 unless given), then the save. Loads
// edidoc.dll from its own folder without registration.
//   bench_edidoc [claims] [output file]
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

std::wstring Folder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

long g_calls = 0;

// One call by dispatch id; arguments in natural order; exits on failure.
VARIANT Call(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args) {
  std::vector<VARIANT> rev(args.rbegin(), args.rend());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS p{rev.data(), nullptr, static_cast<UINT>(rev.size()), 0};
  if (flags == DISPATCH_PROPERTYPUT) {
    p.rgdispidNamedArgs = &put;
    p.cNamedArgs = 1;
  }
  VARIANT r;
  VariantInit(&r);
  EXCEPINFO ex{};
  HRESULT hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &p, &r, &ex, nullptr);
  for (auto& a : args) VariantClear(&a);
  ++g_calls;
  if (FAILED(hr)) {
    std::fwprintf(stderr, L"bench_edidoc: call %ld failed: 0x%08lX %ls\n", static_cast<long>(id),
                  static_cast<unsigned long>(hr == DISP_E_EXCEPTION ? ex.scode : hr),
                  ex.bstrDescription ? ex.bstrDescription : L"");
    ExitProcess(1);
  }
  return r;
}

VARIANT Str(const std::wstring& s) {
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
  return v;
}
VARIANT I4(long n) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}

IDispatch* Object(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args) {
  VARIANT r = Call(d, id, flags, std::move(args));
  return r.pdispVal;
}

// Sets elements 1.. of the segment at the path (a component as "e.c").
void Segment(IDispatch* set, const std::wstring& path, std::vector<std::wstring> values) {
  IDispatch* seg = Object(set, 2, DISPATCH_METHOD, {Str(path)});
  for (size_t i = 0; i < values.size(); ++i)
    if (!values[i].empty()) Call(seg, 34, DISPATCH_PROPERTYPUT, {I4(static_cast<long>(i + 1)), Str(values[i])});
  seg->Release();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const long claims = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 10000;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring out = argc > 2 ? argv[2] : std::wstring(temp) + L"bench_edidoc.837";
  CoInitialize(nullptr);
  HMODULE dll = LoadLibraryW((Folder() + L"edidoc.dll").c_str());
  auto get = dll ? reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
                       reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")))
                 : nullptr;
  const CLSID clsid = {0x10038AC2, 0x5972, 0x4783, {0x81, 0x24, 0x8A, 0x65, 0x8B, 0xFA, 0xFA, 0x0F}};
  IClassFactory* factory = nullptr;
  IDispatch* doc = nullptr;
  if (!get || FAILED(get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
      FAILED(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&doc)))) {
    std::fwprintf(stderr, L"bench_edidoc: cannot load edidoc.dll beside the program\n");
    return 1;
  }
  LARGE_INTEGER t0, t1, t2;
  QueryPerformanceCounter(&t0);
  Call(doc, 29, DISPATCH_PROPERTYPUT, {I4(2)});
  Object(doc, 3, DISPATCH_METHOD, {Str(Folder() + L"837_4010.SEF"), I4(0)})->Release();
  IDispatch* ic = Object(doc, 1, DISPATCH_METHOD, {Str(L"X"), Str(L"004010A1")});
  IDispatch* group = Object(ic, 2, DISPATCH_METHOD, {Str(L"004010X098A1")});
  IDispatch* set = Object(group, 2, DISPATCH_METHOD, {Str(L"837")});
  Segment(set, L"BHT", {L"0019", L"00", L"000042", L"20070301", L"1000", L"CH"});
  Segment(set, L"NM1\\NM1", {L"41", L"2", L"CLINIC", L"", L"", L"", L"", L"46", L"12345"});
  Segment(set, L"NM1(2)\\NM1", {L"40", L"2", L"RECEIVER", L"", L"", L"", L"", L"46", L"431420764"});
  long segments = 3, hl = 0;
  for (long c = 0; c < claims; ++c) {
    const std::wstring a = hl == 0 ? L"HL" : L"HL(" + std::to_wstring(hl + 1) + L")";
    const std::wstring b = L"HL(" + std::to_wstring(hl + 2) + L")";
    const std::wstring parent = std::to_wstring(hl + 1);
    Segment(set, a + L"\\HL", {parent, L"", L"20", L"1"});
    Segment(set, a + L"\\NM1\\NM1", {L"85", L"2", L"CLINIC", L"", L"", L"", L"", L"24", L"123456789"});
    Segment(set, a + L"\\NM1\\N3", {L"1 MAIN ST"});
    Segment(set, a + L"\\NM1\\N4", {L"SALT LAKE CITY", L"UT", L"84101"});
    Segment(set, a + L"\\NM1\\REF", {L"1C", L"A12345"});
    Segment(set, b + L"\\HL", {std::to_wstring(hl + 2), parent, L"22", L"0"});
    Segment(set, b + L"\\SBR", {L"P", L"18", L"", L"", L"", L"", L"", L"", L"CI"});
    Segment(set, b + L"\\NM1\\NM1", {L"IL", L"1", L"DOE", L"JOHN", L"", L"", L"", L"MI", L"XYZ123"});
    Segment(set, b + L"\\NM1\\N3", {L"2 ELM ST"});
    Segment(set, b + L"\\NM1\\N4", {L"PROVO", L"UT", L"84601"});
    Segment(set, b + L"\\NM1\\DMG", {L"D8", L"19700101", L"M"});
    Segment(set, b + L"\\NM1(2)\\NM1", {L"PR", L"2", L"PAYER", L"", L"", L"", L"", L"PI", L"SX109"});
    Segment(set, b + L"\\CLM\\CLM", {L"PCN" + std::to_wstring(c), L"125.5"});
    Segment(set, b + L"\\CLM\\DTP", {L"431", L"D8", L"20070215"});
    IDispatch* hi = Object(set, 2, DISPATCH_METHOD, {Str(b + L"\\CLM\\HI")});
    Call(hi, 34, DISPATCH_PROPERTYPUT, {I4(1), I4(1), Str(L"BK")});
    Call(hi, 34, DISPATCH_PROPERTYPUT, {I4(1), I4(2), Str(L"7840")});
    hi->Release();
    Segment(set, b + L"\\CLM\\NM1\\NM1", {L"82", L"1", L"SMITH", L"ANN"});
    for (long lx = 1; lx <= 2; ++lx) {
      const std::wstring line = b + L"\\CLM\\LX(" + std::to_wstring(lx) + L")";
      Segment(set, line + L"\\LX", {std::to_wstring(lx)});
      Segment(set, line + L"\\SV1", {L"", L"40", L"UN", L"1"});
      Segment(set, line + L"\\DTP", {L"472", L"D8", L"20070215"});
    }
    segments += 23;
    hl += 2;
  }
  QueryPerformanceCounter(&t1);
  Call(doc, 10, DISPATCH_METHOD, {Str(out)});
  QueryPerformanceCounter(&t2);
  HANDLE h = CreateFileW(out.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size{};
  GetFileSizeEx(h, &size);
  CloseHandle(h);
  DeleteFileW(out.c_str());
  std::wprintf(L"claims: %ld\nsegments set: %ld\ncalls: %ld\nsetting: %.3f s (%.1f us a call)\nsave: %.3f s\n"
               L"file: %lld bytes\n",
               claims, segments, g_calls, Seconds(t0, t1), 1e6 * Seconds(t0, t1) / static_cast<double>(g_calls),
               Seconds(t1, t2), static_cast<long long>(size.QuadPart));
  set->Release();
  group->Release();
  ic->Release();
  doc->Release();
  factory->Release();
  return 0;
}

// Times EDIFile.Export as a compiled host sees it: the classes are created by class id from the
// registered sendarro7.dll and driven early-bound through the generated header. For each size
// (1,000 and 10,000 claims unless given) it builds a claim file (two providers, one or two
// policies and one to four lines per claim, the values a practice fills), exports it as NSF and
// as 837, then writes the same bytes again with no logic: read back, then written line by line
// (the 837 segment by segment) through the same file layer. It prints the process time
// (GetProcessTimes) and the elapsed time of each, the cost per claim, the growth from the first
// size to the last and the ratio to the plain write, and the memory: the working set the claim
// file took (per claim) and the process's peak working set. --no-export builds the files and
// gives their memory only; --nsf-only exports NSF only (the 837's counters end below 50,000
// claims); --read-back reads back one value of each claim, policy and line, as a host that
// checks what it filled does (OutFields(name).Value), while it builds the files. Any failed
// export ends it with status 1.
//   bench_export [--no-export | --nsf-only] [--read-back] [claims...]
#include <algorithm>
#include <windows.h>
#include <oleauto.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <new>
#include <string>
#include <vector>

#include "com/ptr.h"
#include "sendarro7.h"
#include "vb/files.h"

namespace {

struct Failed {
  std::wstring what;
};

void Check(HRESULT hr, const wchar_t* what) {
  if (FAILED(hr)) throw Failed{what};
}

// Process time (user + kernel) and elapsed time, in seconds.
struct Clock {
  double process, wall;
  static Clock Now() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
      return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return {seconds(kernel) + seconds(user), static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart)};
  }
  Clock operator-(const Clock& o) const { return {process - o.process, wall - o.wall}; }
};

// The working set and the peak working set of the process, in bytes.
struct Memory {
  double now, peak;
  static Memory Now() {
    PROCESS_MEMORY_COUNTERS m{};
    m.cb = sizeof m;
    GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m);
    return {static_cast<double>(m.WorkingSetSize), static_cast<double>(m.PeakWorkingSetSize)};
  }
};

// A write-only text property of the model: put_X(BSTR*).
template <class Itf>
using TextPut = HRESULT (STDMETHODCALLTYPE Itf::*)(BSTR*);

template <class Itf>
void Put(Itf* object, TextPut<Itf> put, const std::wstring& value) {
  BSTR text = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  const HRESULT hr = (object->*put)(&text);
  SysFreeString(text);
  Check(hr, L"a value put");
}

template <class Itf>
void Fill(Itf* object, std::initializer_list<std::pair<TextPut<Itf>, std::wstring>> values) {
  for (const auto& [put, value] : values) Put(object, put, value);
}

// A host reading back one value of an object, as it reads any: OutFields(name).Value.
template <class Itf>
void ReadBack(Itf* object, const wchar_t* name) {
  com::Ptr<_OutputFields> fields;
  Check(object->get_OutFields(fields.out()), L"OutFields");
  VARIANT key;
  key.vt = VT_BSTR;
  key.bstrVal = SysAllocString(name);
  com::Ptr<_OutputField> field;
  const HRESULT hr = fields->get_Item(&key, field.out());
  VariantClear(&key);
  Check(hr, L"OutFields.Item");
  BSTR value = nullptr;
  Check(field->get_Value(&value), L"OutputField.Value");
  SysFreeString(value);
}

void BuildClaim(_Claims* claims, long n, bool readBack) {
  com::Ptr<_Claim> claim;
  Check(claims->Add(claim.out()), L"Claims.Add");
  const std::wstring id = std::to_wstring(n + 1);
  Fill<_Claim>(claim.get(),
               {{&_Claim::put_PatControlNo, L"PCN" + id}, {&_Claim::put_PatLastName, L"Doe" + id},
                {&_Claim::put_PatFirstName, L"Jane"}, {&_Claim::put_PatDateOfBirth, L"4/2/1970"},
                {&_Claim::put_PatSex, L"F"}, {&_Claim::put_PatAddr1, L"2 Elm St"}, {&_Claim::put_PatCity, L"Provo"},
                {&_Claim::put_PatState, L"UT"}, {&_Claim::put_PatZip, L"84601"},
                {&_Claim::put_PatPhone, L"8015550100"}, {&_Claim::put_DiagnosisCode1, L"784.0"},
                {&_Claim::put_DiagnosisCode2, L"401.9"}, {&_Claim::put_ProvSignatureInd, L"Y"},
                {&_Claim::put_ProvSignatureDate, L"3/1/2007"}, {&_Claim::put_ProvAssignInd, L"A"},
                {&_Claim::put_ReleaseOfInfoInde, L"Y"}, {&_Claim::put_EmplRelatedInd, L"N"},
                {&_Claim::put_AccidentInd, L"N"}});
  if (readBack) ReadBack(claim.get(), L"PatControlNo");
  com::Ptr<_InsurancePolicies> policies;
  Check(claim->get_InsurancePolicies(policies.out()), L"InsurancePolicies");
  for (long p = 0; p < 1 + n % 2; ++p) {
    com::Ptr<_InsurancePolicy> policy;
    Check(policies->Add(policy.out()), L"InsurancePolicies.Add");
    using P = _InsurancePolicy;
    Fill<P>(policy.get(),
            {{&P::put_ClaimFilingInd, p == 0 ? L"CI" : L"MB"}, {&P::put_PayorName, p == 0 ? L"Payer One" : L"Payer Two"},
             {&P::put_NationalPayerId, p == 0 ? L"SX109" : L"00430"}, {&P::put_PatRelToInsured, L"18"},
             {&P::put_InsuredIdNo, L"XYZ" + id}, {&P::put_InsuredLastName, L"Doe" + id},
             {&P::put_InsuredFirstName, L"Jane"}, {&P::put_InsuredDateOfBirth, L"4/2/1970"},
             {&P::put_InsuredSex, L"F"}, {&P::put_InsuredAddr1, L"2 Elm St"}, {&P::put_InsuredCity, L"Provo"},
             {&P::put_InsuredState, L"UT"}, {&P::put_InsuredZip, L"84601"}, {&P::put_AssignOfBenefits, L"Y"},
             {&P::put_GroupNo, L"G100"}, {&P::put_PayorAddr1, L"PO Box 9"}, {&P::put_PayorCity, L"Salt Lake City"},
             {&P::put_PayorState, L"UT"}, {&P::put_PayorZip, L"84101"}, {&P::put_InsuranceTypeCode, L"C1"},
             {&P::put_SourceOfPay, p == 0 ? L"F" : L"C"}});
    BSTR cfi = SysAllocString(p == 0 ? L"CI" : L"MB");
    Check(policy->put_subcriberCFI(cfi), L"subcriberCFI");
    SysFreeString(cfi);
    if (readBack) ReadBack(policy.get(), L"PayorName");
  }
  com::Ptr<_ServiceLines> lines;
  Check(claim->get_ServiceLines(lines.out()), L"ServiceLines");
  const wchar_t* procedures[] = {L"99213", L"99214", L"36415", L"81002"};
  for (long l = 0; l < 1 + n % 4; ++l) {
    com::Ptr<_ServiceLine> line;
    Check(lines->Add(line.out()), L"ServiceLines.Add");
    using S = _ServiceLine;
    Fill<S>(line.get(), {{&S::put_SvcFromDate, L"3/1/2007"}, {&S::put_SvcToDate, L"3/1/2007"},
                         {&S::put_PlaceOfSvc, L"11"}, {&S::put_HCPCSProcedureCode, procedures[l]},
                         {&S::put_UnitsOfSvc, L"1"}, {&S::put_DiagCodePointer1, L"1"},
                         {&S::put_LineItemControlNo, id + std::to_wstring(l + 1)}});
    CY charges;
    charges.int64 = 125'5000 + 10'0000 * l;
    Check(line->put_LineCharges(&charges), L"LineCharges");
    if (readBack) ReadBack(line.get(), L"LineCharges");
  }
}

// An EDIFile holding one header of `claims` claims under two providers, or one provider for
// each 10,000 claims of a larger file: an NSF batch's total charges has nine digits, which a
// batch of 25,000 such claims would outgrow.
com::Ptr<_EDIFile> BuildFile(long claims, com::Ptr<_FileHeader>& header, bool readBack) {
  com::Ptr<_EDIFile> file;
  Check(CoCreateInstance(CLSID_EDIFile, nullptr, CLSCTX_INPROC_SERVER, IID__EDIFile,
                         reinterpret_cast<void**>(file.out())),
        L"CoCreateInstance(EDIFile): is sendarro7.dll registered?");
  BSTR key = SysAllocString(L"Main");
  Check(file->get_FileHeader(&key, header.out()), L"FileHeader");
  SysFreeString(key);
  using H = _FileHeader;
  Fill<H>(header.get(), {{&H::put_SubId, L"SUBID"}, {&H::put_SubType, L"RCV99"}, {&H::put_SubNo, L"42"},
                         {&H::put_SubName, L"Acme Billing"}, {&H::put_TestProdInd, L"T"}, {&H::put_receiverID, L"R99"},
                         {&H::put_ReceiverTypeCode, L"C"}});
  auto let = [&](HRESULT (STDMETHODCALLTYPE H::*put)(BSTR), const wchar_t* value) {
    BSTR text = SysAllocString(value);
    Check((header.get()->*put)(text), L"an envelope value");
    SysFreeString(text);
  };
  let(&H::put_intrchgSndrIDType, L"ZZ"), let(&H::put_intrchgRcvrIDType, L"ZZ"), let(&H::put_intrchgSndrID, L"SENDER1");
  let(&H::put_EDIContactName, L"Jane Roe"), let(&H::put_EDIContactType, L"TE"), let(&H::put_EDIContactNum, L"2125551234");
  let(&H::put_receiverName, L"Big Payer"), let(&H::put_receiverNum, L"R99");

  com::Ptr<_Batchs> batchs;
  Check(header->get_Batchs(batchs.out()), L"Batchs");
  std::vector<com::Ptr<_Claims>> providers;
  const long batches = std::max(2L, (claims + 9'999) / 10'000);
  for (long b = 1; b <= batches; ++b) {
    const std::wstring name = L"P" + std::to_wstring(b);
    const wchar_t* provider = name.c_str();
    com::Ptr<_Batch> batch;
    BSTR k = SysAllocString(provider);
    Check(batchs->Add(&k, batch.out()), L"Batchs.Add");
    SysFreeString(k);
    using B = _Batch;
    Fill<B>(batch.get(), {{&B::put_EMCProvId, provider}, {&B::put_BatchType, L"100"}, {&B::put_BatchNo, L"1"},
                          {&B::put_ProvTaxId, L"998877665"}, {&B::put_NationalProvId, L"1234567893"},
                          {&B::put_ProvLastName, L"Smith"}, {&B::put_ProvFirstName, L"John"},
                          {&B::put_ProvSpeciality, L"207Q00000X"}, {&B::put_ProvPAYTOAddr1, L"1 Main St"},
                          {&B::put_ProvPAYTOCity, L"Springfield"}, {&B::put_ProvPAYTOState, L"IL"},
                          {&B::put_ProvPAYTOZip, L"62701-1234"}});
    auto text = [&](HRESULT (STDMETHODCALLTYPE B::*put)(BSTR), const wchar_t* value) {
      BSTR t = SysAllocString(value);
      Check((batch.get()->*put)(t), L"a batch value");
      SysFreeString(t);
    };
    text(&B::put_EDINumber, L"E123"), text(&B::put_provPayToName, L"Smith Clinic");
    text(&B::put_provPayToIDType, L"XX"), text(&B::put_provPayToID, L"1234567893");
    text(&B::put_prov837PrimIDType, L"24"), text(&B::put_prov837PrimID, L"998877665");
    com::Ptr<_Claims> claimsOf;
    Check(batch->get_Claims(claimsOf.out()), L"Claims");
    providers.push_back(claimsOf);
  }
  for (long n = 0; n < claims; ++n) BuildClaim(providers[static_cast<size_t>(n % batches)].get(), n, readBack);
  return file;
}

// The bytes of a file ("" when it cannot be read).
std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a) && a.nFileSizeHigh == 0)
    bytes.reserve(a.nFileSizeLow);  // one block, not the doublings of a growing string
  if (FILE* f = _wfopen(path.c_str(), L"rb")) {
    char buf[65536];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
    std::fclose(f);
  }
  return bytes;
}

// The same bytes through the file layer the export writes with (buffered), one piece per Print:
// the pieces end at `separator` (kept, unless it is the line end that Print adds).
Clock PlainWrite(const std::string& bytes, const std::string& separator, const std::wstring& path) {
  std::vector<std::wstring> pieces;
  const bool lines = separator == "\r\n";
  for (size_t at = 0; at < bytes.size();) {
    size_t end = bytes.find(separator, at);
    end = end == std::string::npos ? bytes.size() : end + separator.size();
    pieces.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(end - (lines ? separator.size() : 0)));
    at = end;
  }
  const Clock start = Clock::Now();
  const short fn = vb::FreeFile();
  vb::OpenForOutput(fn, path, true);
  for (const auto& p : pieces) vb::Print(fn, p, lines);
  vb::Close(fn);
  return Clock::Now() - start;
}

struct Run {
  long claims;
  double modelBytes = 0, peakBytes = 0;
  Clock nsf, x837, nsfPlain, x837Plain;
  size_t nsfBytes, x837Bytes;
};

Run Measure(long claims, const std::wstring& folder, bool exports, bool x837, bool readBack) {
  Run r{claims};
  com::Ptr<_FileHeader> header;
  const Memory before = Memory::Now();
  com::Ptr<_EDIFile> file = BuildFile(claims, header, readBack);
  r.modelBytes = Memory::Now().now - before.now;
  if (!exports) {
    r.peakBytes = Memory::Now().peak;
    return r;
  }
  struct Format {
    OutputModeTypes mode;
    const wchar_t* name;
    Clock* export_;
    Clock* plain;
    size_t* bytes;
    std::string separator;
  } formats[] = {{OutputModeNSF, L"claims.nsf", &r.nsf, &r.nsfPlain, &r.nsfBytes, "\r\n"},
                 {OutputMode837, L"claims.837", &r.x837, &r.x837Plain, &r.x837Bytes, "~"}};
  for (Format& f : formats) {
    if (f.mode == OutputMode837 && !x837) continue;
    const std::wstring path = folder + f.name;
    Check(header->put_OutputMode(f.mode), L"OutputMode");
    BSTR name = SysAllocString(path.c_str());
    Check(file->put_OutputFileName(&name), L"OutputFileName");
    SysFreeString(name);
    const Clock start = Clock::Now();
    Check(file->Export(), L"Export");
    *f.export_ = Clock::Now() - start;
    VARIANT_BOOL valid = VARIANT_FALSE;
    Check(file->get_valid837(&valid), L"valid837");
    const std::string bytes = ReadAll(path);
    if (!valid || bytes.empty()) throw Failed{std::wstring(L"the export of ") + f.name + L" failed (valid837 False)"};
    *f.bytes = bytes.size();
    *f.plain = PlainWrite(bytes, f.separator, path + L".plain");
    if (ReadAll(path + L".plain") != bytes) throw Failed{L"the plain write differs"};
    DeleteFileW(path.c_str());
    DeleteFileW((path + L".plain").c_str());
    DeleteFileW((path.substr(0, path.size() - 3) + L"LOG").c_str());
  }
  r.peakBytes = Memory::Now().peak;
  return r;
}

void ReportMemory(const Run& r) {
  std::wprintf(L"  claim file: %.1f MB of working set, %.1f KB a claim; peak working set of the process %.1f MB\n",
               r.modelBytes / 1048576, r.modelBytes / 1024 / static_cast<double>(r.claims), r.peakBytes / 1048576);
  std::fflush(stdout);
}

void Report(const Run& r, bool x837) {
  // The process clock of Wine ticks in hundredths: a ratio of process times below a tenth is
  // given as "-", and the elapsed ratio stands beside it.
  auto ratio = [](double a, double b) {
    wchar_t text[16] = L"-";
    if (a >= 0.1 && b > 0) std::swprintf(text, 16, L"%.1f", a / b);
    return std::wstring(text);
  };
  auto line = [&](const wchar_t* what, const Clock& e, const Clock& p, size_t bytes) {
    std::wprintf(L"  %-4ls Export %7.3f s process (%7.3f s elapsed), %6.1f us/claim, %9lu bytes; "
                 L"plain write %6.3f s process (%6.3f s elapsed); Export / plain: %ls process, %.1f elapsed\n",
                 what, e.process, e.wall, 1e6 * e.process / static_cast<double>(r.claims),
                 static_cast<unsigned long>(bytes), p.process, p.wall, ratio(e.process, p.process).c_str(),
                 p.wall > 0 ? e.wall / p.wall : 0.0);
  };
  std::wprintf(L"%ld claims:\n", r.claims);
  line(L"NSF", r.nsf, r.nsfPlain, r.nsfBytes);
  if (x837) line(L"837", r.x837, r.x837Plain, r.x837Bytes);
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<long> sizes;
  bool exports = true, x837 = true, readBack = false;
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"--no-export") == 0)
      exports = false;
    else if (std::wcscmp(argv[i], L"--read-back") == 0)
      readBack = true;
    else if (std::wcscmp(argv[i], L"--nsf-only") == 0)
      x837 = false;
    else
      sizes.push_back(std::wcstol(argv[i], nullptr, 10));
  }
  if (sizes.empty()) sizes = {1000, 10000};
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  CoInitialize(nullptr);
  int status = 0;
  try {
    std::vector<Run> runs;
    for (long claims : sizes) {
      runs.push_back(Measure(claims, temp, exports, x837, readBack));
      if (exports) {
        Report(runs.back(), x837);
      } else {
        std::wprintf(L"%ld claims (no export%ls):\n", claims, readBack ? L", one value of each object read back" : L"");
      }
      ReportMemory(runs.back());
    }
    if (exports && runs.size() > 1) {
      const Run &a = runs.front(), &b = runs.back();
      const double scale = static_cast<double>(b.claims) / static_cast<double>(a.claims);
      std::wprintf(L"growth from %ld to %ld claims (x%.0f), elapsed time: NSF x%.1f", a.claims, b.claims, scale,
                   b.nsf.wall / a.nsf.wall);
      if (x837) std::wprintf(L", 837 x%.1f", b.x837.wall / a.x837.wall);
      std::wprintf(L"\n");
    }
  } catch (const Failed& f) {
    std::fwprintf(stderr, L"bench_export: %ls\n", f.what.c_str());
    status = 1;
  } catch (const std::bad_alloc&) {
    std::fwprintf(stderr, L"bench_export: out of memory (peak working set %.1f MB)\n", Memory::Now().peak / 1048576);
    status = 1;
  }
  CoUninitialize();
  return status;
}

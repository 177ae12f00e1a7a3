// Times the 837 writer: builds a file header of claims in C++ (10,000 unless given; one or two
// policies, one to four service lines each, the patient being the subscriber), writes it through
// Write837 and the EDI document, then writes the same bytes with one plain WriteFile, and prints
// the process time (user + kernel, GetProcessTimes) of each and the bytes. The EDI document is
// the registered one, else edidoc.dll beside the program; the guide is read from beside it.
//   bench_write837 [claims] [output file]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "model/batch.h"
#include "model/batchs.h"
#include "model/claim.h"
#include "model/claims.h"
#include "model/file_header.h"
#include "model/insurance_policies.h"
#include "model/model_support.h"
#include "model/service_lines.h"
#include "vb/present.h"
#include "x837/edi837.h"

namespace claimfile {
namespace {

// The process time used so far, in seconds.
double ProcessSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// The elapsed time so far, in seconds (for phases shorter than the process clock's tick).
double WallSeconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Boxes go to the error stream and are answered with their first button: a benchmark never
// waits for a person, and a box means the figures are not those of a clean write.
class PrintingPresenter : public vb::Presenter {
 public:
  long MessageBox(const std::wstring& prompt, long buttons, const std::wstring& title) override {
    std::fwprintf(stderr, L"bench_write837: box \"%ls\": %ls\n", title.c_str(), prompt.c_str());
    switch (buttons & 7) {
      case vb::vbAbortRetryIgnore: return vb::vbAbort;
      case vb::vbYesNoCancel: case vb::vbYesNo: return vb::vbYes;
      case vb::vbRetryCancel: return vb::vbRetry;
      default: return vb::vbOK;
    }
  }
  std::wstring InputBox(const std::wstring& prompt, const std::wstring&, const std::wstring& defaultText) override {
    std::fwprintf(stderr, L"bench_write837: input box: %ls\n", prompt.c_str());
    return defaultText;
  }
};

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\'));
}

void Set(const com::Ptr<OutputFields>& store, std::initializer_list<std::pair<const wchar_t*, std::wstring>> values) {
  for (const auto& [name, value] : values) StoreField(store, name, value);
}

com::Ptr<FileHeader> BuildHeader(long claims) {
  auto header = FileHeader::New();
  FileHeader& h = *header;
  Set(h.OutFields, {{L"SubId", L"SUBID"}, {L"SubType", L"RCV99"}, {L"SubNo", L"42"}, {L"TestProdInd", L"T"},
                    {L"SubName", L"Acme Billing"}});
  h.intrchgSndrIDType = h.intrchgRcvrIDType = L"ZZ";
  h.intrchgSndrID = L"SENDER1";
  h.EDIContactName = L"Jane Roe", h.EDIContactType = L"TE", h.EDIContactNum = L"212-555-1234";
  h.receiverName = L"Big Payer", h.receiverNum = L"R99";
  Batch& b = *h.Batchs->Add(L"P1");
  Set(b.OutFields, {{L"ProvLastName", L"Smith"}, {L"ProvFirstName", L"John"}, {L"ProvSpeciality", L"207Q00000X"},
                    {L"ProvPAYTOAddr1", L"1 Main St"}, {L"ProvPAYTOCity", L"Springfield"},
                    {L"ProvPAYTOState", L"IL"}, {L"ProvPAYTOZip", L"62701-1234"}});
  b.EDINumber = L"E123";
  b.provPayToName = L"Smith Clinic", b.provPayToIDType = L"XX", b.provPayToID = L"1234567893";
  b.prov837PrimIDType = L"24", b.prov837PrimID = L"998877665";
  const wchar_t* procedures[] = {L"99213", L"99214", L"36415", L"81002"};
  const wchar_t* modifiers[] = {L"", L"25", L"", L"QW"};
  for (long n = 0; n < claims; ++n) {
    Claim& c = *b.Claims->Add();
    const std::wstring id = std::to_wstring(n + 1);
    Set(c.OutFields, {{L"PatControlNo", L"PCN" + id}, {L"PatLastName", L"Doe" + id}, {L"PatFirstName", L"Jane"},
                      {L"PatDateOfBirth", L"4/2/1970"}, {L"PatSex", L"F"}, {L"PatAddr1", L"2 Elm St"},
                      {L"PatCity", L"Provo"}, {L"PatState", L"UT"}, {L"PatZip", L"84601"},
                      {L"DiagnosisCode1", L"784.0"}, {L"DiagnosisCode2", L"401.9"}, {L"ProvSignatureInd", L"Y"},
                      {L"ProvAssignInd", L"A"}, {L"ReleaseOfInfoInde", L"Y"}});
    const long policies = 1 + n % 2;
    for (long p = 0; p < policies; ++p) {
      auto policy = c.InsurancePolicies->Add();
      policy->subcriberCFI = p == 0 ? L"CI" : L"MB";
      Set(policy->OutFields,
          {{L"PayorName", p == 0 ? L"Payer One" : L"Payer Two"}, {L"PayorAddr1", L"PO Box 9"},
           {L"PayorCity", L"Salt Lake City"}, {L"PayorState", L"UT"}, {L"PayorZip", L"84101"},
           {L"NationalPayerId", p == 0 ? L"SX109" : L"00430"}, {L"PatRelToInsured", L"18"},
           {L"InsuredIdNo", L"XYZ" + id}, {L"InsuredLastName", L"Doe" + id}, {L"InsuredFirstName", L"Jane"},
           {L"InsuredDateOfBirth", L"4/2/1970"}, {L"InsuredSex", L"F"}, {L"InsuredAddr1", L"2 Elm St"},
           {L"InsuredCity", L"Provo"}, {L"InsuredState", L"UT"}, {L"InsuredZip", L"84601"},
           {L"AssignOfBenefits", L"Y"}, {L"GroupNo", L"G100"}, {L"InsuranceTypeCode", L"C1"}});
    }
    const long lines = 1 + n % 4;
    for (long l = 0; l < lines; ++l) {
      auto line = c.ServiceLines->Add();
      Set(line->OutFields, {{L"SvcFromDate", L"3/1/2007"}, {L"SvcToDate", L"3/1/2007"}, {L"PlaceOfSvc", L"11"},
                            {L"HCPCSProcedureCode", procedures[l]}, {L"HCPCSModifier1", modifiers[l]}, {L"UnitsOfSvc", L"1"},
                            {L"DiagCodePointer1", L"1"}, {L"LineItemControlNo", id + L"-" + std::to_wstring(l + 1)}});
      line->SetAmount(L"LineCharges", vb::Currency::FromRaw(125'5000 + 10'0000 * l));
    }
  }
  return header;
}

com::Ptr<IDispatch> Document() {
  const CLSID clsid = {0x10038AC2, 0x5972, 0x4783, {0x81, 0x24, 0x8A, 0x65, 0x8B, 0xFA, 0xFA, 0x0F}};
  com::Ptr<IDispatch> doc;
  if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                 reinterpret_cast<void**>(doc.out()))))
    return doc;
  HMODULE dll = LoadLibraryW((ExeFolder() + L"\\edidoc.dll").c_str());
  auto get = dll ? reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
                       reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")))
                 : nullptr;
  com::Ptr<IClassFactory> factory;
  if (get && SUCCEEDED(get(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.out()))))
    factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(doc.out()));
  return doc;
}

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size{};
  GetFileSizeEx(h, &size);
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(h);
  bytes.resize(read);
  return bytes;
}

}  // namespace
}  // namespace claimfile

int wmain(int argc, wchar_t** argv) {
  const long claims = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 10000;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring out = argc > 2 ? argv[2] : std::wstring(temp) + L"bench_write837.837";
  const std::wstring plain = out + L".plain";
  CoInitialize(nullptr);
  claimfile::PrintingPresenter presenter;
  vb::SetPresenter(&presenter);
  {
    com::Ptr<IDispatch> doc = claimfile::Document();
    if (!doc) {
      std::fwprintf(stderr, L"bench_write837: no EDI document (register edidoc.dll or put it beside the program)\n");
      return 1;
    }
    const std::wstring folder = claimfile::ExeFolder();
    claimfile::Edi837::InjectFolders(claimfile::Edi837::Folders{folder, temp, temp, temp, temp});
    claimfile::Edi837::StartExport();

    const double t0 = claimfile::ProcessSeconds();
    com::Ptr<claimfile::FileHeader> header = claimfile::BuildHeader(claims);
    const double t1 = claimfile::ProcessSeconds();
    const double w1 = claimfile::WallSeconds();
    const bool answer = claimfile::Edi837::Write837(out, *header, doc.get());
    const double t2 = claimfile::ProcessSeconds();
    const double w2 = claimfile::WallSeconds();
    const std::string bytes = claimfile::ReadAll(out);
    const double t3 = claimfile::ProcessSeconds(), w3 = claimfile::WallSeconds();
    HANDLE h = CreateFileW(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD wrote = 0;
    const BOOL written = h != INVALID_HANDLE_VALUE &&
                         WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    const double t4 = claimfile::ProcessSeconds(), w4 = claimfile::WallSeconds();

    std::wprintf(L"claims: %ld (answer %ls)\nbuilding the claims: %.3f s process time\n"
                 L"Write837: %.3f s process time (%.3f s elapsed), %lu bytes\n"
                 L"plain write: %.3f s process time (%.4f s elapsed), %lu bytes\n",
                 claims, answer ? L"True" : L"False", t1 - t0, t2 - t1, w2 - w1,
                 static_cast<unsigned long>(bytes.size()), t4 - t3, w4 - w3, static_cast<unsigned long>(wrote));
    if (t4 - t3 > 0) std::wprintf(L"Write837 / plain write: %.1f\n", (t2 - t1) / (t4 - t3));
    const std::wstring log = out.substr(0, out.size() - 3) + L"LOG";
    if (!answer) {  // the figures are not those of a clean write: say why
      const std::string text = claimfile::ReadAll(log);
      std::fprintf(stderr, "bench_write837: the log begins:\n%.600s\n", text.c_str());
    }
    DeleteFileW(out.c_str());
    DeleteFileW(plain.c_str());
    DeleteFileW(log.c_str());
    claimfile::Edi837::InjectFolders(std::nullopt);
    if (!written || bytes.empty()) return 1;
  }
  CoUninitialize();
  return 0;
}

// Write837: the set-up, the envelope, the loop over batches and claims, and the end.
#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <new>

#include "model/model_support.h"
#include "vb/convert.h"
#include "x837/conversions.h"
#include "x837/writer837.h"

namespace claimfile::Edi837 {

namespace {

const wchar_t kImplementation[] = L"004010X098A1";
const wchar_t kReceiverOfFlag[] = L"431420764";

// Digits of a clock value, zero-padded to width.
std::wstring Digits(unsigned value, int width) {
  wchar_t text[16];
  std::swprintf(text, sizeof text / sizeof text[0], L"%0*u", width, value);
  return text;
}

std::wstring Date6(const SYSTEMTIME& t) { return Digits(t.wYear % 100, 2) + Digits(t.wMonth, 2) + Digits(t.wDay, 2); }
std::wstring Date8(const SYSTEMTIME& t) { return Digits(t.wYear, 4) + Digits(t.wMonth, 2) + Digits(t.wDay, 2); }
std::wstring Time4(const SYSTEMTIME& t) { return Digits(t.wHour, 2) + Digits(t.wMinute, 2); }

// Whether a text can be a group's and a transaction set's control number: 1 to 9 digits.
bool IsControlNumber(const std::wstring& text) {
  return !text.empty() && text.size() <= 9 && text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

}  // namespace

std::wstring Cut(const std::wstring& s, size_t n) { return vb::UCase(s.size() <= n ? s : s.substr(0, n)); }

// ---- Clock and names ---------------------------------------------------------------------

SYSTEMTIME Now() {
  if (State().injectedNow) return *State().injectedNow;
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t;
}

void InjectClock(std::optional<SYSTEMTIME> now) { State().injectedNow = now; }

std::wstring ControlNumberAt(const SYSTEMTIME& t) {
  SYSTEMTIME day{};
  day.wYear = t.wYear;
  day.wMonth = t.wMonth;
  day.wDay = t.wDay;
  DATE serial = 0;
  if (!SystemTimeToVariantTime(&day, &serial)) vb::Raise(vb::errInvalidCall);
  long days = static_cast<long>(std::floor(serial)) - 38000;
  // ISA13 holds nine digits: from June 2031 the days would need five, so they count on modulo 10000.
  if (days >= 10000) days %= 10000;
  const long seconds = t.wHour * 3600L + t.wMinute * 60L + t.wSecond;
  return DecimalText(days) + DecimalText(seconds);
}

std::wstring GuidePath(const std::wstring& appFolder) { return InFolder(appFolder, L"837_4010.SEF"); }

// ---- Write837 --------------------------------------------------------------------------------

bool Write837(const std::wstring& outputFileName, FileHeader& header, IDispatch* document) {
  InitPaths();
  State().dateTexts.clear();  // the locale may have changed since the last export
  Writer837 writer(header, document);
  writer.ControlNumber = ControlNumberAt(Now());
  // From here every failure goes to the error handler.
  auto handle = [&](const vb::RuntimeError& e) {
    writer.Release();
    return HandleWriteError(e, writer.currentClaim());
  };
  try {
    writer.SetUp(outputFileName);
    writer.WriteEnvelope();
    writer.WriteBatches();
  } catch (const vb::RuntimeError& e) {
    return handle(e);
  } catch (const std::bad_alloc&) {
    return handle(vb::RuntimeError(vb::errOutOfMemory));
  }
  return writer.End(outputFileName);
}

// ---- Segments and elements -------------------------------------------------------------------

void Writer837::Segment(const std::wstring& path) { segment_ = set_.SegmentByPath(path); }

void Writer837::Segment(std::wstring_view prefix, std::wstring_view suffix) {
  std::wstring& path = buffers_.path;
  path.assign(prefix);
  path.append(suffix);
  segment_ = set_.SegmentByPath(path);
}

void Writer837::Put(long element, std::wstring_view value) { segment_.Set(element, value); }

void Writer837::Check(long element, const MissingText& message, long location1, long location2, long location3) {
  // The message is made only for a value that reads back empty.
  if (!segment_.IsEmpty(element)) return;
  std::wstring text = message.str();
  ReportMissing(text, std::wstring(), location1, location2, location3);
}

void Writer837::PutRows(std::initializer_list<ElementRow> rows) {
  for (const ElementRow& row : rows) {
    Put(row.element, row.value);
    if (!row.missing.empty()) Check(row.element, row.missing, row.location1, row.location2, row.location3);
  }
}

void Writer837::WriteSegment(const std::wstring& path, std::initializer_list<ElementRow> rows) {
  Segment(path);
  PutRows(rows);
}

void Writer837::WriteSegment(std::wstring_view prefix, std::wstring_view suffix,
                             std::initializer_list<ElementRow> rows) {
  Segment(prefix, suffix);
  PutRows(rows);
}

std::wstring Writer837::NameLoop() const { return HLPath + L"\\NM1(" + DecimalText(NM1Instance) + L")"; }

// ---- Set-up ------------------------------------------------------------------------------------

void Writer837::SetUp(const std::wstring& outputFileName) {
  SbrDMGAlways = ReadSetting(L"837Settings", L"SbrDMGAlways", L"", L"TM3.ini");
  TOSLoaded = LoadOverrideFile(TOSOverrides, L"TOS");
  CLM16Loaded = LoadOverrideFile(CLM16Overrides, L"CLM16");
  OverrideLines unused;
  UHINMode = LoadOverrideFile(unused, L"UHIN");
  ModuleState& s = State();
  s.CurrentPosition = L"A";
  s.ErrorLogPath = ErrorLogPathFor(outputFileName);
  StoreField(header_.OutFields, L"SubNo", vb::Format(StoreOf(header_.OutFields).ValueOf(L"SubNo"), L"000000"));
  guide_ = document_.LoadGuide(GuidePath(s.AppFolder));
  document_.SetSeparators(L"~", L"*", L":");
  interchange_ = document_.CreateInterchange(L"X", L"004010A1");
  group_ = interchange_.CreateGroup(kImplementation);
  set_ = group_.CreateTransactionSet(L"837");
}

// ---- Envelope: ISA, GS, ST, BHT, REF -----------------------------------------------------------

void Writer837::WriteEnvelope() {
  FileHeader& h = header_;
  OutputFields& fields = StoreOf(h.OutFields);
  auto field = [&](const wchar_t* name) -> const std::wstring& { return fields.ValueOf(name); };
  auto orMixed = [](const std::wstring& v) { return v.empty() ? std::wstring(L"FMIXED") : v; };
  using vb::UCase;

  segment_ = interchange_.Header();
  if (!h.ISA01.empty()) {
    PutRows({{1, UCase(h.ISA01)}, {2, UCase(h.ISA02)}, {3, UCase(h.ISA03)}, {4, UCase(h.ISA04)},
             {5, UCase(h.ISA05)}, {6, UCase(h.ISA06)}, {7, UCase(h.ISA07)}, {8, UCase(h.ISA08)}});
  } else {
    const std::wstring password = field(L"Password");
    Put(1, L"00");
    Put(3, password.empty() ? L"00" : L"01");
    if (!password.empty()) Put(4, password);
    PutRows({{5, h.intrchgSndrIDType},
             {6, h.intrchgSndrID, L"Missing Interchange Submitter ID", 18},
             {7, h.intrchgRcvrIDType},
             {8, orMixed(field(L"SubType"))}});
  }
  PutRows({{9, Date6(Now())}, {10, Time4(Now())}, {11, L"U"}, {12, L"00401"}, {13, ControlNumber},
           {14, h.ISA01.empty() ? std::wstring(L"0") : h.ISA14}, {15, field(L"TestProdInd")}, {16, L":"}});

  // The group's and the set's control number, 1 to 9 digits: an empty one (or blanks) is
  // logged, and so is one that is not such a number, with its text; the interchange's number
  // stands in, so the file still holds matching GS06/GE02 and ST02/SE02 of digits.
  std::wstring subNo = field(L"SubNo");
  if (!IsControlNumber(subNo)) {
    std::wstring message = L"Missing Submission Number";
    if (!vb::Trim(subNo).empty()) message += L" (\"" + subNo + L"\" is not a number of 1 to 9 digits)";
    ReportMissing(message, std::wstring(), 18);
    subNo = ControlNumber;
  }
  segment_ = group_.Header();
  const bool fromMembers = !h.GS02.empty();
  PutRows({{1, L"HC"},
           {2, fromMembers ? UCase(h.GS02) : field(L"SubId")},
           {3, orMixed(fromMembers ? UCase(h.GS03) : field(L"SubType"))},
           {4, Date8(Now())},
           {5, Time4(Now())},
           {6, subNo},
           {7, L"X"},
           {8, kImplementation}});
  ReceiverFlag = segment_.Get(3) == kReceiverOfFlag;

  segment_ = set_.Header();
  Put(2, subNo);

  State().CurrentPosition = L"BHT";
  WriteSegment(L"BHT", {{1, L"0019"}, {2, L"00"}, {3, subNo}, {4, Date8(Now())}, {5, Time4(Now())},
                        {6, L"CH"}});
  WriteSegment(L"REF", {{1, L"87"}, {2, kImplementation}});
}

// ---- Batches and claims ------------------------------------------------------------------------

void Writer837::WriteBatches() {
  FirstBatch = true;
  for (auto& batchItem : Held(header_.Batchs)) {
    Batch& batch = *batchItem;
    if (FirstBatch) {
      FirstBatch = false;
      WriteSubmitterAndReceiver(batch);
    }
    for (auto& claimItem : Held(batch.Claims)) {
      Claim& claim = *claimItem;
      claim_ = &claim;
      ++claimNumber_;
      WriteBillingProviderHL(batch);
      if (batch.usingBillingService) {
        WriteBillingService(batch);
        WritePayToUnderBillingService(batch, claim);
      } else {
        WriteBillingProvider(batch, claim);
      }
      WriteSubscriberLevel(batch, claim);
      WritePatientLevel(batch, claim);
      WriteClaimLevel(batch, claim);
      WriteOtherSubscriber(batch, claim);
      for (auto& line : Held(claim.ServiceLines)) WriteServiceLine(batch, claim, *line);
    }
  }
}

// ---- 16-bit counters ---------------------------------------------------------------------------

void Writer837::RaiseOverflow(const wchar_t* what) const {
  std::wstring text = L"Overflow: more than 32,767 " + std::wstring(what);
  if (claim_) {
    OutputFields& fields = *claim_->OutFields;
    text += L", reached at claim " + std::to_wstring(claimNumber_) + L" of the file (" +
            fields.ValueOf(L"PatLastName") + L", " + fields.ValueOf(L"PatFirstName") + L")";
  }
  throw vb::RuntimeError(vb::errOverflow, text + L". Split the claims into smaller files.");
}

short Writer837::Advance(short& counter, const wchar_t* what) {
  if (counter == 32767) RaiseOverflow(what);
  return ++counter;
}

short Writer837::Short(long count, const wchar_t* what) {
  if (count > 32767) RaiseOverflow(what);
  return static_cast<short>(count);
}

// ---- The end -----------------------------------------------------------------------------------

bool Writer837::End(const std::wstring& outputFileName) {
  ModuleState& s = State();
  bool result = true;
  if (s.ErrorLogOpen) {
    s.CurrentPosition = L"LOG";
    result = false;
    CloseErrorLog();  // ErrorLogOpen stays set: the rest of the export answers False too
  }
  s.CurrentPosition = L"SAVE";
  try {
    document_.Save(outputFileName);
  } catch (const vb::RuntimeError& e) {
    ShowErrorFound(e);
    result = false;
  } catch (const std::bad_alloc&) {
    ShowErrorFound(vb::RuntimeError(vb::errOutOfMemory));
    result = false;
  }
  Release();
  return result;
}

void Writer837::Release() {
  segment_.reset();
  set_.reset();
  group_.reset();
  interchange_.reset();
  guide_.reset();
}

}  // namespace claimfile::Edi837

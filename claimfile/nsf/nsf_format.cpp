#include "nsf/nsf_format.h"

#include <windows.h>
#include <oleauto.h>

#include "model/model_support.h"
#include "vb/convert.h"
#include "vb/currency.h"
#include "vb/error.h"
#include "x837/edi837.h"

namespace claimfile {

using nsf::RecordId;
using nsf::Source;

namespace {

thread_local NSFFormat::Clock tClock = nullptr;

DATE LocalNow() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  DATE now = 0;
  SystemTimeToVariantTime(&t, &now);
  return now;
}

// counter += 1, with the overflow error past the 32-bit maximum.
void Increment(long& counter) { counter = AddCount(counter, 1); }

std::wstring CountText(long count) { return vb::LongToText(count); }
std::wstring AmountText(vb::Currency amount) { return amount.ToText(); }

// An amount of a Currency field that does not read as a number would be printed as its letters,
// a record that looks good and is rejected by the payer: 13, naming the field, instead.
[[noreturn]] void RefuseAmount(std::wstring_view name, const std::wstring& v) {
  throw vb::RuntimeError(vb::errTypeMismatch, vb::StandardDescription(vb::errTypeMismatch) + L": " +
                                                  std::wstring(name) + L" \"" + v + L"\" is not an amount");
}

// What a computed field of a record holds, as a failure names it.
const wchar_t* ComputedName(Source source) {
  switch (source) {
    case Source::FileDate: return L"the file date";
    case Source::FileTime: return L"the file time";
    case Source::PolicySeq: return L"the policy's sequence number";
    case Source::LineSeq: return L"the line's sequence number";
    case Source::ClaimControlNo:
    case Source::CurPatControlNo: return L"the claim's PatControlNo";
    case Source::ClaimCA0Count: return L"the claim's CA0 count";
    case Source::ClaimDACount: return L"the claim's DA record count";
    case Source::ClaimEACount: return L"the claim's EA record count";
    case Source::ClaimFA0Count: return L"the claim's FA0 count";
    case Source::ClaimOtherCount1: return L"the claim's other record count";
    case Source::ClaimOtherCount2: return L"the claim's HA0 count";
    case Source::ClaimServiceLineCount: return L"the claim's ServiceLineCount";
    case Source::ClaimTotalCharges: return L"the claim's TotalCharges";
    case Source::ClaimTotalAllowedAmt: return L"the claim's TotalAllowedAmt";
    case Source::ClaimTotalPaidAmt: return L"the claim's TotalPaidAmt";
    case Source::BatchServiceLineCount: return L"the batch's ServiceLineCount";
    case Source::BatchRecordCountWithTrailer: return L"the batch's record count";
    case Source::BatchClaimCount: return L"the batch's ClaimCount";
    case Source::BatchTotalCharges: return L"the batch's TotalCharges";
    case Source::FileServiceLineCount: return L"the file header's ServiceLineCount";
    case Source::FileRecordCount: return L"the file's record count";
    case Source::FileClaimCount: return L"the file header's ClaimCount";
    case Source::FileBatchCount: return L"the file header's BatchCount";
    case Source::FileTotalCharges: return L"the file header's TotalCharges";
    case Source::FileTotalPaidAmt: return L"the file header's TotalPaidAmt";
    case Source::FileTotalAllowedAmt: return L"the file header's TotalAllowedAmt";
    case Source::Named:
    case Source::Literal: break;
  }
  return L"";
}

// The first field of the layout whose value cannot be printed into its zero-filled columns (too
// long, or refused by the conversion), as "field <name>" (for a computed value, what it holds
// and its columns) and its value; "" when every one prints. table is the record's: its rows are
// the layout's entries.
std::wstring FieldThatFails(OutputFields& store, const LayoutSlot& layout, const nsf::RecordLayout& table) {
  std::wstring found;
  size_t row = 0;
  layout.ForEachEntry([&](const LayoutView& d) {
    const size_t at = row++;
    if (!found.empty() || d.dataType == OutputFieldTypeText || d.dataType == OutputFieldTypeDate) return;
    const std::wstring& v = d.name.empty() ? d.value : store.ValueOf(d.name, d.hint, d.hintIn);
    if (v.empty() || (d.dataType == OutputFieldTypeCurrency && !vb::IsNumeric(v))) return;
    bool fits = true;
    try {
      const std::wstring printed = d.dataType == OutputFieldTypeNumeric ? v
                                   : d.dataType == OutputFieldTypeCurrency
                                       ? vb::LongToText((vb::Currency::FromText(v) * 100).ToLong())
                                       : vb::DoubleToText(vb::ToDouble(v) * 10);
      fits = static_cast<long>(printed.size()) <= d.toCol - d.fromCol + 1;
    } catch (const vb::RuntimeError&) {
      fits = false;
    }
    if (!fits) {
      if (!d.name.empty()) {
        found = L"field " + std::wstring(d.name);
      } else {
        const wchar_t* what = at < table.fields.size() ? ComputedName(table.fields[at].source) : L"";
        found = std::wstring(*what ? what : L"field") + L" at columns " + std::to_wstring(d.fromCol) + L"-" +
                std::to_wstring(d.toCol);
      }
      found += L" \"" + v + L"\"";
    }
  });
  return found;
}

// The failure of a line's amount read with the amount's name, the line (its LineItemControlNo, or
// its place in the claim when it has none) and the stored text appended to its description.
vb::RuntimeError OfLineAmount(const vb::RuntimeError& e, const wchar_t* name, ServiceLine& line, long position) {
  OutputFields& fields = StoreOf(line.OutFields);
  const std::wstring& controlNo = fields.ValueOf(L"LineItemControlNo");
  const std::wstring which = controlNo.empty() ? L"service line " + std::to_wstring(position)
                                               : L"the service line with LineItemControlNo \"" + controlNo + L"\"";
  const std::wstring why = e.number() == vb::errTypeMismatch ? L" is not an amount" : L"";
  return e.Appended(L": " + std::wstring(name) + L" \"" + fields.ValueOf(name) + L"\" of " + which + why);
}

// The failure with what the writer knows appended to its description, its number kept:
// " (record FA0, field LineItemControlNo "123...", claim C1 of Doe, Jane)".
vb::RuntimeError InContext(const vb::RuntimeError& e, const std::wstring& record, const std::wstring& field,
                           const Claim* claim) {
  std::wstring where = L"record " + record;
  if (!field.empty()) where += L", " + field;
  if (claim) where += L", " + Edi837::ClaimContext(claim);
  return e.Appended(L" (" + where + L")");
}

}  // namespace

NSFFormat::~NSFFormat() { CurFileHeader.reset(); }

void NSFFormat::SetClock(Clock clock) { tClock = clock; }

void NSFFormat::PrintMe(short iFn, FileHeader& objFH) {
  // Dates repeat through a file (service dates, birth dates): each is read once. Nothing here
  // runs a message loop, so the locale stays as it is while the records are written.
  vb::FormatMemo dates;
  CurFileHeader = com::Ptr<FileHeader>(&objFH);
  notes_ = {};
  curClaim_ = nullptr;
  FileNo = iFn;
  FileRecordCount = 0;
  for (auto& total : fileTotals_) total = Sum{};
  OutputFields& header = StoreOf(objFH.OutFields);
  PrintRecord(header, RecordId::AA0);
  for (auto& batch : Held(objFH.Batchs)) {
    BatchRecordCount = 0;
    for (auto& total : batchTotals_) total = Sum{};
    OutputFields& store = StoreOf(batch->OutFields);
    PrintRecord(store, RecordId::BA0);
    PrintRecord(store, RecordId::BA1);
    for (auto& claim : Held(batch->Claims)) WriteClaim(*claim);
    PrintRecord(store, RecordId::YA0, nullptr, &*batch);
    for (int k = 0; k < 3; ++k) AddSum(fileTotals_[k], batchTotals_[k]);
    FileRecordCount = AddCount(FileRecordCount, BatchRecordCount);
  }
  PrintRecord(header, RecordId::ZA0);
}

void NSFFormat::WriteClaim(Claim& claim) {
  ClaimCA0Count = ClaimDACount = ClaimEACount = ClaimFA0Count = ClaimOtherCount1 = ClaimOtherCount2 = 0;
  OutputFields& store = StoreOf(claim.OutFields);
  // Copied into the text the writer already holds (as Claim's PatControlNo reads it).
  CurPatControlNo.assign(store.ValueOf(L"PatControlNo", controlNoAt_, controlNoAt_));
  curClaim_ = &claim;
  for (auto& total : claimTotals_) total.reset();
  if (PrintRecord(store, RecordId::CA0)) Increment(ClaimCA0Count);

  PolicySeq = 0;
  for (auto& policy : Held(claim.InsurancePolicies)) {
    Increment(PolicySeq);
    OutputFields& values = StoreOf(policy->OutFields);
    if (PrintRecord(values, RecordId::DA0, &claim)) Increment(ClaimDACount);
    if (PrintRecord(values, RecordId::DA1, &claim)) Increment(ClaimDACount);
    if (PrintRecord(values, RecordId::DA2, &claim)) Increment(ClaimDACount);
  }

  if (PrintRecord(store, RecordId::EA0)) Increment(ClaimEACount);
  if (PrintRecord(store, RecordId::EA1)) Increment(ClaimEACount);

  LineSeq = 0;
  for (auto& line : Held(claim.ServiceLines)) {
    Increment(LineSeq);
    if (PrintRecord(StoreOf(line->OutFields), RecordId::FA0)) Increment(ClaimFA0Count);
  }

  // An exact comparison: a narrative of blanks still gets its HA0.
  if (!store.ValueOf(L"ExtraNarrative", narrativeAt_, narrativeAt_).empty() && PrintRecord(store, RecordId::HA0, &claim))
    Increment(ClaimOtherCount2);
  PrintRecord(store, RecordId::XA0, &claim);
  for (int k = 0; k < 3; ++k) {
    if (!claimTotals_[k]) {
      try {
        ClaimTotal(claim, k);
      } catch (const vb::RuntimeError&) {
        // kept in claimTotals_[k], raised where a trailer reads the total
      }
    }
    AddSum(batchTotals_[k], *claimTotals_[k]);
  }
  curClaim_ = nullptr;
}

DATE NSFFormat::CreationDate() {
  if (creationDate_ == 0) creationDate_ = tClock ? tClock() : LocalNow();
  return creationDate_;
}

bool NSFFormat::PrintRecord(OutputFields& modelFields, RecordId id, Claim* claim, Batch* batch) {
  const nsf::RecordLayout& table = nsf::LayoutTable(id);
  const LayoutPlan& plan = nsf::Plan(id);
  computed_.resize(plan.varying.size());
  try {
    for (size_t k = 0; k < plan.varying.size(); ++k) {
      const Source source = table.fields[plan.varying[k]].source;
      // The claim's control number, copied into the text the slot already holds.
      if (source == Source::CurPatControlNo || (source == Source::ClaimControlNo && claim == curClaim_))
        computed_[k].assign(CurPatControlNo);
      else
        computed_[k] = Computed(source, claim, batch);
    }
  } catch (const vb::RuntimeError& e) {
    throw InContext(e, table.name, L"", claim ? claim : curClaim_);
  }
  modelFields.OutDefns.Note(plan, notes_, computed_);
  try {
    Increment(BatchRecordCount);
    return modelFields.PrintRecord(FileNo, RefuseAmount);
  } catch (const vb::RuntimeError& e) {
    throw InContext(e, table.name, FieldThatFails(modelFields, modelFields.OutDefns, table), curClaim_);
  }
}

std::wstring NSFFormat::Computed(Source source, Claim* claim, Batch* batch) {
  FileHeader& header = Held(CurFileHeader);
  switch (source) {
    case Source::FileDate:
    case Source::FileTime: {
      VARIANT instant;
      VariantInit(&instant);
      instant.vt = VT_DATE;
      instant.date = CreationDate();
      return vb::Format(instant, std::wstring(source == Source::FileDate ? DateFormat() : TimeFormat()));
    }
    case Source::PolicySeq: return CountText(PolicySeq);
    case Source::LineSeq: return CountText(LineSeq);
    case Source::ClaimControlNo: return claim == curClaim_ ? CurPatControlNo : claim->PatControlNo();
    case Source::CurPatControlNo: return CurPatControlNo;
    case Source::ClaimCA0Count: return CountText(ClaimCA0Count);
    case Source::ClaimDACount: return CountText(ClaimDACount);
    case Source::ClaimEACount: return CountText(ClaimEACount);
    case Source::ClaimFA0Count: return CountText(ClaimFA0Count);
    case Source::ClaimOtherCount1: return CountText(ClaimOtherCount1);
    case Source::ClaimOtherCount2: return CountText(ClaimOtherCount2);
    case Source::ClaimServiceLineCount: return CountText(claim->ServiceLineCount());
    case Source::ClaimTotalCharges: return AmountText(ClaimTotal(*claim, 0));
    case Source::ClaimTotalAllowedAmt: return AmountText(ClaimTotal(*claim, 1));
    case Source::ClaimTotalPaidAmt: return AmountText(ClaimTotal(*claim, 2));
    case Source::BatchServiceLineCount: return CountText(batch->ServiceLineCount());
    case Source::BatchRecordCountWithTrailer: return CountText(AddCount(BatchRecordCount, 1));
    case Source::BatchClaimCount: return CountText(batch->ClaimCount());
    case Source::BatchTotalCharges: return AmountText(ValueOf(batchTotals_[0]));
    case Source::FileServiceLineCount: return CountText(header.ServiceLineCount());
    case Source::FileRecordCount: return CountText(FileRecordCount);
    case Source::FileClaimCount: return CountText(header.ClaimCount());
    case Source::FileBatchCount: return CountText(header.BatchCount());
    case Source::FileTotalCharges: return AmountText(ValueOf(fileTotals_[0]));
    case Source::FileTotalPaidAmt: return AmountText(ValueOf(fileTotals_[2]));
    case Source::FileTotalAllowedAmt: return AmountText(ValueOf(fileTotals_[1]));
    case Source::Named:
    case Source::Literal: break;
  }
  vb::Raise(vb::errInternal);
}

vb::Currency NSFFormat::ClaimTotal(Claim& claim, int which) {
  if (!claimTotals_[which]) {
    // As Claim's TotalCharges, TotalAllowedAmt and TotalPaidAmt, each stopping at its first failure.
    // A line's amount that does not read names itself, its line and its text.
    static constexpr vb::Currency (ServiceLine::*kAmounts[3])() const = {
        &ServiceLine::LineCharges, &ServiceLine::ApprovedAmt, &ServiceLine::PaidAmt};
    static constexpr const wchar_t* kNames[3] = {L"LineCharges", L"ApprovedAmt", L"PaidAmt"};
    Sum sums[3];
    long position = 0;
    for (auto& line : Held(claim.ServiceLines)) {
      ++position;
      for (int k = 0; k < 3; ++k) {
        if (sums[k].failed) continue;
        vb::Currency amount;
        try {
          amount = ((*line).*kAmounts[k])();
        } catch (const vb::RuntimeError& e) {
          sums[k].failed = std::make_exception_ptr(OfLineAmount(e, kNames[k], *line, position));
          continue;
        }
        try {
          sums[k].value += amount;
        } catch (const vb::RuntimeError&) {
          sums[k].failed = std::current_exception();
        }
      }
    }
    for (int k = 0; k < 3; ++k) claimTotals_[k] = sums[k];
  }
  return ValueOf(*claimTotals_[which]);
}

vb::Currency NSFFormat::ValueOf(const Sum& sum) {
  if (sum.failed) std::rethrow_exception(sum.failed);
  return sum.value;
}

void NSFFormat::AddSum(Sum& to, const Sum& from) {
  if (to.failed) return;
  if (from.failed) {
    to.failed = from.failed;
    return;
  }
  try {
    to.value += from.value;
  } catch (const vb::RuntimeError&) {
    to.failed = std::current_exception();
  }
}

}  // namespace claimfile

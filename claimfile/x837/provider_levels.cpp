// The submitter and receiver names (1000A, 1000B), and each claim's billing provider level
// (2000A) with its billing service, pay-to and billing provider name loops and their secondary ids.
#include <string>

#include "model/general_collection.h"
#include "model/model_support.h"
#include "vb/convert.h"
#include "x837/conversions.h"
#include "x837/writer837.h"

namespace claimfile::Edi837 {

namespace {

using vb::UCase;

std::wstring Left(const std::wstring& s, size_t n) { return s.substr(0, n); }
std::wstring DigitsOnly(const std::wstring& s) {
  std::wstring out;
  for (wchar_t c : s)
    if (c >= L'0' && c <= L'9') out += c;
  return out;
}

}  // namespace

long CountOf(const com::Ptr<IDispatch>& collection) { return collection ? CollectionCount(collection.get()) : 0; }

std::wstring TextAt(const com::Ptr<IDispatch>& collection, long k) {
  return k <= CountOf(collection) ? CollectionItemText(collection.get(), k) : std::wstring();
}

void PutPieces(const EdiSegment& segment, std::initializer_list<PieceRow> rows) {
  for (const PieceRow& row : rows)
    if (row.written) segment.Set(row.element, row.component, row.value);
}

bool ProviderChanged(Batch& batch) {
  const std::wstring payTo = UCase(batch.provPayToName);
  const std::wstring last = UCase(Field(batch.OutFields, L"ProvLastName"));
  const std::wstring first = UCase(Field(batch.OutFields, L"ProvFirstName"));
  bool changed = payTo != last + L" " + first && payTo != first + L" " + last;
  if (batch.provPayToIDType == L"XX")
    changed = changed || UCase(AlphaNumOnly(batch.provPayToID)) != UCase(AlphaNumOnly(batch.prov837PrimID));
  return changed;
}

// ---- 1000A, 1000B ------------------------------------------------------------------------------

void Writer837::WriteSubmitterAndReceiver(Batch& batch) {
  FileHeader& h = header_;
  State().CurrentPosition = L"1000A";
  Segment(L"NM1\\NM1");
  PutRows({{1, L"41"}, {2, L"2"}});
  if (batch.billServName.empty())
    PutRows({{3, Cut(Field(h.OutFields, L"SubName"), 35), L"Missing Submitter Name", 16}});
  else
    Put(3, Cut(batch.billServName, 35));
  PutRows({{8, L"46"}, {9, batch.EDINumber, L"Missing Submitter ID", 18}});

  // The contact number: an e-mail address as it is; a telephone number as its digits, the first
  // ten in PER04 and, for "TE", any further digits as the extension.
  const std::wstring& type = h.EDIContactType;
  const std::wstring digits = DigitsOnly(h.EDIContactNum);
  WriteSegment(L"NM1\\PER", {{1, L"IC"},
                             {2, Cut(h.EDIContactName, 60), L"Missing EDI Contact Name", 18},
                             {3, type, L"Missing EDI Contact Type", 18},
                             {4, type == L"EM" ? UCase(h.EDIContactNum) : Left(digits, 10),
                              L"Missing EDI Contact Number", 18}});
  if (type == L"TE" && digits.size() > 10) PutRows({{5, L"EX"}, {6, digits.substr(10)}});

  State().CurrentPosition = L"1000B";
  WriteSegment(L"NM1(2)\\NM1", {{1, L"40"},
                                {2, L"2"},
                                {3, UCase(h.receiverName), L"Missing Receiver Name", 18},
                                {8, L"46"},
                                {9, h.receiverNum, L"Missing Receiver ID", 18}});
}

// ---- 2000A -------------------------------------------------------------------------------------

void Writer837::WriteBillingProviderHL(Batch& batch) {
  const short before = HLCount;
  Advance(HLCount, kHLSegments);
  HLPath = before == 0 ? std::wstring(L"HL") : L"HL(" + DecimalText(HLCount) + L")";
  State().CurrentPosition = HLPath;
  WriteSegment(HLPath, L"\\HL", {{1, DecimalText(HLCount)}, {3, L"20"}, {4, L"1"}});
  NM1Instance = 0;
  ProviderChanged = Edi837::ProviderChanged(batch);
}

void Writer837::WriteProviderSpecialty(Batch& batch, const wchar_t* prv01) {
  const std::wstring& speciality = Field(batch.OutFields, L"ProvSpeciality");
  if (!speciality.empty()) {
    WriteSegment(HLPath, L"\\PRV", {{1, prv01}, {2, L"ZZ"}, {3, UCase(speciality)}});
  } else if (ReceiverFlag) {
    std::wstring message = L"Missing Provider Specialty (Taxonomy) Code for " + batch.provPayToName;
    ReportMissing(message, L"", 15);
  }
}

void Writer837::TakeUHINReceiver(Batch& batch) {
  if (!UHINMode) return;
  interchange_.Header().Set(8, AlphaNumOnly(batch.provPayToID));
  UHINMode = false;
}

// ---- Billing service and pay-to provider (a batch filed through a billing service) -------------

void Writer837::WriteBillingService(Batch& batch) {
  State().CurrentPosition = L"2000BS-" + DecimalText(HLCount);
  WriteProviderSpecialty(batch, L"PT");
  ++NM1Instance;
  WriteSegment(NameLoop(), L"\\NM1", {{1, L"85"},
                                       {2, L"2"},
                                       {3, Cut(batch.billServName, 35), L"Missing Billing Service Name", 17},
                                       {8, batch.billServIDType, L"Missing Billing Service ID Type", 17},
                                       {9, AlphaNumOnly(batch.billServID), L"Missing Billing Service ID", 17}});
  WriteSegment(NameLoop(), L"\\N3", {{1, Cut(batch.billServAddr1, 55), L"Missing Billing Service Address", 17},
                                      {2, Cut(batch.billServAddr2, 55)}});
  WriteSegment(NameLoop(), L"\\N4", {{1, Cut(batch.billServCity, 30), L"Missing Billing Service City", 17},
                                      {2, Cut(batch.billServState, 2), L"Missing Billing Service State", 17},
                                      {3, AlphaNumOnly(batch.billServZip), L"Missing Billing Service Zip Code", 17}});
}

void Writer837::WritePayToUnderBillingService(Batch& batch, Claim& claim) {
  const std::wstring& payTo = batch.provPayToName;
  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(batch.OutFields, name); };
  State().CurrentPosition = L"2000BS,PSI-" + DecimalText(HLCount);
  WriteSecondaryIds(SecondaryIdGroup::BillingService, batch, claim);
  ++NM1Instance;
  WriteSegment(NameLoop(), L"\\NM1", {{1, L"87"},
                                       {2, L"2"},
                                       {3, Cut(payTo, 35), L"Missing Pay-To Provider Name", 16, 14, 13},
                                       {8, batch.provPayToIDType},
                                       {9, AlphaNumOnly(batch.provPayToID)}});
  TakeUHINReceiver(batch);
  Check(9, {L"Missing Pay-To Provider ID for ", payTo}, 16, 13);
  WriteSegment(NameLoop(), L"\\N3",
               {{1, Cut(field(L"ProvPAYTOAddr1"), 55), {L"Missing Pay-To Provider Address for ", payTo}, 16, 14, 13},
                {2, Cut(field(L"ProvPAYTOAddr2"), 55)}});
  PayToAddress1 = segment_.Get(1);
  WriteSegment(NameLoop(), L"\\N4",
               {{1, Cut(field(L"ProvPAYTOCity"), 30), {L"Missing Pay-To Provider City for ", payTo}, 16, 14, 13},
                {2, Cut(field(L"ProvPAYTOState"), 2), {L"Missing Pay-To Provider State for ", payTo}, 16, 14, 13},
                {3, AlphaNumOnly(field(L"ProvPAYTOZip")), {L"Missing Pay-To Provider Zip Code for ", payTo}, 16, 14,
                 13}});
  State().CurrentPosition = L"2000PSI-" + DecimalText(HLCount);
  WriteSecondaryIds(SecondaryIdGroup::PayTo, batch, claim);
}

// ---- Billing provider (a batch without a billing service) --------------------------------------

void Writer837::WriteBillingProvider(Batch& batch, Claim& claim) {
  const std::wstring& payTo = batch.provPayToName;
  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(batch.OutFields, name); };
  State().CurrentPosition = L"2000NBS-" + DecimalText(HLCount);
  InsurancePolicy& policy = *Held(claim.InsurancePolicies).Item(1);
  const bool person = policy.insrSet2010AAToInd == L"Y";

  if (!claim.fileAsGroup || person) WriteProviderSpecialty(batch, L"BI");
  ++NM1Instance;
  Segment(NameLoop(), L"\\NM1");
  Put(1, L"85");
  if (person) {
    const std::wstring& last = field(L"ProvLastName");
    PutRows({{2, L"1"},
             {3, Cut(last, 35)},
             {4, Cut(field(L"ProvFirstName"), 25)},
             {5, Cut(field(L"ProvMI"), 1)},
             {8, batch.prov837PrimIDType, {L"Missing PayTo/BillTo Provider Tax ID Type for ", last}, 14},
             {9, AlphaNumOnly(batch.prov837PrimID), {L"Missing PayTo/BillTo Provider Tax ID for ", last}, 14}});
  } else {
    PutRows({{2, L"2"},
             {3, Cut(payTo, 35), L"Missing Pay-To Provider Name", 16, 14, 13},
             {8, batch.provPayToIDType, {L"Missing Pay-To Provider ID Type for ", payTo}, 16, 13},
             {9, AlphaNumOnly(batch.provPayToID)}});
  }
  TakeUHINReceiver(batch);
  Check(9, {L"Missing Pay-To Provider ID for ", payTo}, 16, 13);
  WriteSegment(NameLoop(), L"\\N3",
               {{1, Cut(field(L"ProvPAYTOAddr1"), 55), {L"Missing Pay-To Provider Address for ", payTo}, 16, 13},
                {2, Cut(field(L"ProvPAYTOAddr2"), 55)}});
  PayToAddress1 = segment_.Get(1);
  WriteSegment(NameLoop(), L"\\N4",
               {{1, Cut(field(L"ProvPAYTOCity"), 30), {L"Missing Pay-To Provider City for ", payTo}, 16, 13},
                {2, UCase(field(L"ProvPAYTOState")), {L"Missing Pay-To Provider State for ", payTo}, 16, 14, 13},
                {3, AlphaNumOnly(field(L"ProvPAYTOZip")), {L"Missing Pay-To Provider Zip Code for ", payTo}, 16, 14,
                 13}});
  WriteSecondaryIds(person ? SecondaryIdGroup::PersonBilling : SecondaryIdGroup::Billing, batch, claim);
}

// ---- Secondary identifiers ---------------------------------------------------------------------

void Writer837::WriteSecondaryIds(SecondaryIdGroup group, Batch& batch, Claim& claim) {
  InsurancePolicy& policy = *Held(claim.InsurancePolicies).Item(1);
  const std::wstring& payor = Field(policy.OutFields, L"PayorName");
  const std::wstring& medicaidNo = Field(policy.OutFields, L"MedicaidIdNo");
  const std::wstring provider =
      Field(batch.OutFields, L"ProvLastName") + L", " + Field(batch.OutFields, L"ProvFirstName");
  const std::wstring& payTo = batch.provPayToName;
  const long claimIds = CountOf(claim.prov837SecIDCol);

  // The three runs; each REF01 check names its own message and location (none: no check).
  struct Check01 {
    std::wstring message;
    long location;
  };
  auto ref = [&](long instance, const std::wstring& ref01, const Check01& check01, const std::wstring& ref02,
                 const std::wstring& missing02) {
    Segment(NameLoop() + (instance ? L"\\REF(" + DecimalText(instance) + L")" : std::wstring(L"\\REF")));
    PutRows({{1, ref01, check01.message, check01.location}, {2, ref02, missing02, missing02.empty() ? 0 : 10}});
  };
  auto runM = [&](long instance, const Check01& c, const std::wstring& missing02) {
    ref(instance, policy.medicaidIDNoType, c, Cut(medicaidNo, 30), missing02);
  };
  auto runI = [&](long firstInstance, const Check01& c) {
    const long count = CountOf(policy.insrSecProvIDs);
    for (long k = 1; k <= count; ++k) {
      const std::wstring item = CollectionItemText(policy.insrSecProvIDs.get(), k);
      ref(firstInstance + k - 1, GetDelimitedField(item, 2, L"|"), c, UCase(GetDelimitedField(item, 1, L"|")), L"");
    }
  };
  auto runP = [&](const Check01& c) {
    for (long k = 1; k <= claimIds; ++k)
      ref(k, TextAt(claim.prov837SecIDTypeCol, k), c, Cut(TextAt(claim.prov837SecIDCol, k), 30), L"");
  };

  const Check01 typeForProvider{L"Missing Pay-To Provider Secondary ID Type for " + provider + L" with " + payor, 14};
  const Check01 typeForPayTo{L"Missing Pay-To Provider Secondary ID Type for " + payTo + L" with " + payor, 10};
  const std::wstring idForPayTo = L"Missing Pay-To Provider Secondary ID for " + payTo;
  const bool idsPresent = claimIds >= 1 || !medicaidNo.empty();

  switch (group) {
    case SecondaryIdGroup::BillingService:
      if (!idsPresent) return;
      if (claim.fileAsGroup)
        runM(0, typeForProvider, L"");
      else
        runP(typeForProvider);
      return;
    case SecondaryIdGroup::PersonBilling:
      if (claimIds >= 1) runP({L"Missing Pay-To Provider Secondary ID Type for " + payTo, 14});
      return;
    case SecondaryIdGroup::PayTo:
    case SecondaryIdGroup::Billing:
      if (!idsPresent) return;
      if (claim.fileAsGroup) {
        runM(1, typeForPayTo, idForPayTo);
        runI(2, typeForPayTo);
      } else if (group == SecondaryIdGroup::PayTo) {
        runP(typeForProvider);
      } else {
        runP({L"Missing Bill-To Provider Secondary ID Type for " + provider + L" with " + payor, 14});
      }
      return;
  }
}

}  // namespace claimfile::Edi837

// The claim object model as C++ classes: construction, stored fields,
// typed members, the counts and Currency totals over a tree, the collections and their failures.
#include <windows.h>
#include <oleauto.h>

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/batch.h"
#include "model/batchs.h"
#include "model/claim.h"
#include "model/claims.h"
#include "model/file_header.h"
#include "model/general_collection.h"
#include "model/insurance_policies.h"
#include "model/insurance_policy.h"
#include "model/service_line.h"
#include "model/service_lines.h"
#include "test_util.h"
#include "vb/convert.h"

namespace claimfile {

namespace {

using vb::Currency;

Currency Cur(const wchar_t* text) { return Currency::FromText(text); }

std::vector<std::wstring> Names(OutputFields& s) {
  std::vector<std::wstring> out;
  for (auto& f : s) out.push_back(f->Name);
  return out;
}

bool AllEmpty(OutputFields& s) {
  for (auto& f : s)
    if (!f->Value.empty()) return false;
  return true;
}

// The run-time error number of a failed COM call (through IErrorInfo's HRESULT).
long NumberOf(HRESULT hr) {
  if (SUCCEEDED(hr)) return 0;
  return HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<long>(hr);
}

struct Text {
  BSTR b;
  explicit Text(const wchar_t* s) : b(SysAllocString(s)) {}
  ~Text() { SysFreeString(b); }
  BSTR* ref() { return &b; }
};

// A line with the given amounts (empty text: never set).
com::Ptr<ServiceLine> AddLine(Claim& claim, const wchar_t* charges, const wchar_t* paid = L"",
                              const wchar_t* approved = L"") {
  auto line = claim.ServiceLines->Add();
  if (*charges) line->SetAmount(L"LineCharges", Cur(charges));
  if (*paid) line->SetAmount(L"PaidAmt", Cur(paid));
  if (*approved) line->SetAmount(L"ApprovedAmt", Cur(approved));
  return line;
}

}  // namespace

// ---- FileHeader -----------------------------------------------------------------

TEST(FileHeaderModel, NewHeaderHoldsItsFieldsEmptyAndNoBatches) {
  auto h = FileHeader::New();
  ASSERT_TRUE(h->OutFields);
  EXPECT_EQ(28, h->OutFields->Count());
  EXPECT_TRUE(AllEmpty(*h->OutFields));
  EXPECT_EQ((std::vector<std::wstring>{
                L"SubId", L"SubType", L"SubNo", L"SubName", L"SubLName", L"SubFName", L"SubMName",
                L"SubAddr1", L"SubAddr2", L"SubCity", L"SubState", L"SubZip", L"SubRegion", L"SubContact",
                L"SubPhone", L"ReceiverId", L"ReceiverTypeCode", L"TestProdInd", L"Password",
                L"RetransmissionStatus", L"OriginalSubId", L"VendorAppCat", L"VendorSoftwareVer",
                L"VendorSoftwareUpdate", L"COBFileInd", L"ProcessFromDate", L"ProcessToDate",
                L"AcknowledgmentRequest"}),
            Names(*h->OutFields));
  ASSERT_TRUE(h->Batchs);
  EXPECT_EQ(0, h->BatchCount());
  EXPECT_EQ(0, h->ClaimCount());
  EXPECT_EQ(0, h->ServiceLineCount());
  EXPECT_EQ(Currency(), h->TotalCharges());
  EXPECT_EQ(Currency(), h->TotalPaidAmt());
  EXPECT_EQ(Currency(), h->TotalAllowedAmt());
  EXPECT_EQ(OutputModeNSF, h->OutputMode);
  EXPECT_EQ(L"", h->EDIContactName);
  EXPECT_EQ(L"", h->GS03);
}

TEST(FileHeaderModel, ReceiverIdIsWrittenThroughReceiverID) {
  auto h = FileHeader::New();
  Text t(L"RCV01");
  ASSERT_HRESULT_SUCCEEDED(h->put_receiverID(t.ref()));
  EXPECT_EQ(L"RCV01", h->OutFields->ValueOf(L"ReceiverId"));
  EXPECT_STREQ(L"RCV01", t.b);  // the argument is left as it was
  // The last write wins; the empty text is stored as empty; nothing is trimmed.
  Text spaced(L"  A  ");
  ASSERT_HRESULT_SUCCEEDED(h->put_SubName(spaced.ref()));
  EXPECT_EQ(L"  A  ", h->OutFields->ValueOf(L"SubName"));
  Text empty(L"");
  ASSERT_HRESULT_SUCCEEDED(h->put_SubName(empty.ref()));
  EXPECT_EQ(L"", h->OutFields->ValueOf(L"SubName"));
}

TEST(FileHeaderModel, PropertiesFailOnAStoreWithoutTheirFieldOrWithoutAStore) {
  auto h = FileHeader::New();
  h->OutFields->Remove(vb::CollectionIndex{true, 0, L"SubId"});
  Text t(L"x");
  EXPECT_EQ(static_cast<HRESULT>(0x80040001), h->put_SubId(t.ref()));
  h->OutFields = nullptr;
  EXPECT_EQ(91, NumberOf(h->put_SubName(t.ref())));
}

// ---- Batch ----------------------------------------------------------------------

TEST(BatchModel, NewBatch) {
  auto b = Batch::New();
  EXPECT_EQ(37, b->OutFields->Count());
  EXPECT_TRUE(AllEmpty(*b->OutFields));
  auto names = Names(*b->OutFields);
  EXPECT_EQ(L"EMCProvId", names.front());
  EXPECT_EQ(L"ProvSpeciality", names[31]);
  EXPECT_EQ(L"SpecialityLicenseNo", names[32]);
  EXPECT_EQ(L"ProvParticipateInd", names.back());
  EXPECT_EQ(0, b->ClaimCount());
  EXPECT_EQ(0, b->ServiceLineCount());
  EXPECT_EQ(Currency(), b->TotalCharges());
  EXPECT_EQ(0, CollectionCount(b->prov837SecIDCol.get()));
  EXPECT_EQ(0, CollectionCount(b->prov837SecIDTypeCol.get()));
  EXPECT_FALSE(b->usingBillingService);
  EXPECT_FALSE(b->fileAsGroup);
  EXPECT_EQ(0, b->prov837SameAsPayTo);
  EXPECT_EQ(L"", b->provPayToID);
}

TEST(BatchModel, SpecialityIsSpelledSo) {
  auto b = Batch::New();
  Text t(L"Family practice");
  ASSERT_HRESULT_SUCCEEDED(b->put_ProvSpeciality(t.ref()));
  EXPECT_EQ(L"Family practice", b->OutFields->ValueOf(L"ProvSpeciality"));
  EXPECT_VB_ERROR(5, b->OutFields->ValueOf(L"ProvSpecialty"));
}

// ---- Claim ----------------------------------------------------------------------

TEST(ClaimModel, NewClaim) {
  auto c = Claim::New();
  EXPECT_EQ(94, c->OutFields->Count());
  EXPECT_TRUE(AllEmpty(*c->OutFields));
  auto names = Names(*c->OutFields);
  EXPECT_EQ(L"PatControlNo", names[0]);
  EXPECT_EQ(L"ReleaseOfInfoInde", names[36]);
  EXPECT_EQ(L"ReferProvEntityType", names[51]);
  EXPECT_EQ(L"ExtraNarrative", names[93]);
  EXPECT_EQ(L"", c->PatControlNo());
  EXPECT_EQ(0, c->ServiceLineCount());
  EXPECT_EQ(Currency(), c->TotalCharges());
  EXPECT_EQ(Currency(), c->TotalDisalOtherChgs());
  EXPECT_EQ(0, c->InsurancePolicies->Count());
  for (auto* col : {&c->prov837SecIDCol, &c->prov837SecIDTypeCol, &c->prov837OtherInsSecIDCol,
                    &c->prov837OtherInsSecIDTypeCol})
    EXPECT_EQ(0, CollectionCount(col->get()));
  EXPECT_EQ(0.0, c->payerPaidAmount);
  EXPECT_EQ(0.0, c->patResponsAmount);
  EXPECT_FALSE(c->fileAsGroup);
  EXPECT_EQ(0, c->clmFreqTypeCode);
  EXPECT_EQ(L"", c->ReferProvSCode);
}

TEST(ClaimModel, PropertiesStoreUnderTheirOwnNames) {
  auto c = Claim::New();
  Text last(L"Smith");
  ASSERT_HRESULT_SUCCEEDED(c->put_PatLastName(last.ref()));
  EXPECT_EQ(L"Smith", c->OutFields->ValueOf(L"PatLastName"));
  EXPECT_EQ(L"Smith", c->OutFields->ValueOf(L"patlastname"));
  Text entity(L"1");
  ASSERT_HRESULT_SUCCEEDED(c->put_ReferProvEntityType(entity.ref()));
  EXPECT_EQ(L"1", c->OutFields->Item(52L)->Value);
  Text control(L"PCN-7");
  ASSERT_HRESULT_SUCCEEDED(c->put_PatControlNo(control.ref()));
  EXPECT_EQ(L"PCN-7", c->PatControlNo());
  BSTR got = nullptr;
  ASSERT_HRESULT_SUCCEEDED(c->get_PatControlNo(&got));
  EXPECT_STREQ(L"PCN-7", got);
  SysFreeString(got);
  // Without its field the PatControlNo get fails with the lookup's error.
  c->OutFields->Remove(vb::CollectionIndex{true, 0, L"PatControlNo"});
  EXPECT_VB_ERROR(5, c->PatControlNo());
}

TEST(ClaimModel, TotalsAddTheLinesAmounts) {
  auto c = Claim::New();
  auto a = AddLine(*c, L"12.50", L"10", L"11");
  AddLine(*c, L"7.25", L"", L"6.5");
  auto never = c->ServiceLines->Add();
  EXPECT_EQ(3, c->ServiceLineCount());
  EXPECT_EQ(Cur(L"19.75"), c->TotalCharges());
  EXPECT_EQ(Cur(L"10"), c->TotalPaidAmt());
  EXPECT_EQ(Cur(L"17.5"), c->TotalAllowedAmt());  // the lines' ApprovedAmt
  a->SetAmount(L"DisallowedCostCont", Cur(L"1.1"));
  never->SetAmount(L"DisallowedCostCont", Cur(L"2.2"));
  never->SetAmount(L"DisallowedOther", Cur(L"0.0001"));
  EXPECT_EQ(Cur(L"3.3"), c->TotalDisalCostContChgs());
  EXPECT_EQ(Cur(L"0.0001"), c->TotalDisalOtherChgs());
  // Removing a line shows in the next read.
  c->ServiceLines->Remove(1L);
  EXPECT_EQ(Cur(L"7.25"), c->TotalCharges());
  EXPECT_EQ(2, c->ServiceLineCount());
  // Another ServiceLines object put in its place: counts and totals follow it.
  auto other = ServiceLines::New();
  other->Add()->SetAmount(L"LineCharges", Cur(L"1"));
  ASSERT_HRESULT_SUCCEEDED(c->putref_ServiceLines(other.get()));
  EXPECT_EQ(1, c->ServiceLineCount());
  EXPECT_EQ(Cur(L"1"), c->TotalCharges());
}

TEST(ClaimModel, TotalFailures) {
  auto c = Claim::New();
  AddLine(*c, L"900000000000000");
  EXPECT_EQ(Cur(L"900000000000000"), c->TotalCharges());
  AddLine(*c, L"900000000000000");
  EXPECT_VB_ERROR(6, c->TotalCharges());
  CY out{};
  EXPECT_EQ(6, NumberOf(c->get_TotalCharges(&out)));
  // Below the range as well.
  auto d = Claim::New();
  AddLine(*d, L"-900000000000000");
  AddLine(*d, L"-900000000000000");
  EXPECT_VB_ERROR(6, d->TotalCharges());
  // A line whose amount does not read fails the total with its error.
  auto e = Claim::New();
  AddLine(*e, L"1");
  e->ServiceLines->Add()->OutFields->SetValue(L"LineCharges", L"abc");
  EXPECT_VB_ERROR(13, e->TotalCharges());
  // ServiceLines set to Nothing.
  ASSERT_HRESULT_SUCCEEDED(e->putref_ServiceLines(nullptr));
  EXPECT_VB_ERROR(91, e->TotalCharges());
  EXPECT_VB_ERROR(91, e->ServiceLineCount());
  long n = 0;
  EXPECT_EQ(91, NumberOf(e->get_ServiceLineCount(&n)));
}

TEST(ClaimModel, ObjectMembersTakeOnlyTheirOwnClassOrNothing) {
  auto c = Claim::New();
  auto b = Batch::New();
  EXPECT_EQ(13, NumberOf(c->putref_OutFields(reinterpret_cast<_OutputFields*>(static_cast<_Batch*>(b.get())))));
  EXPECT_TRUE(c->OutFields);
  // A Collection member takes any object the host sets, or Nothing.
  auto mine = NewGeneralCollection();
  ASSERT_HRESULT_SUCCEEDED(c->putref_prov837SecIDCol(mine.get()));
  EXPECT_EQ(mine.get(), c->prov837SecIDCol.get());
  ASSERT_HRESULT_SUCCEEDED(c->putref_prov837SecIDCol(nullptr));
  EXPECT_FALSE(c->prov837SecIDCol);
}

// ---- ServiceLine ----------------------------------------------------------------

TEST(ServiceLineModel, NewLine) {
  auto s = ServiceLine::New();
  EXPECT_EQ(63, s->OutFields->Count());
  EXPECT_TRUE(AllEmpty(*s->OutFields));
  auto names = Names(*s->OutFields);
  EXPECT_EQ(L"LineItemControlNo", names.front());
  EXPECT_EQ(L"ProformProvTaxType", names[53]);
  EXPECT_EQ(L"DiagCodePointer8", names.back());
  EXPECT_EQ(L"", s->EPSDTInd);
  EXPECT_EQ(L"", s->LineItemControlNo());
  EXPECT_EQ(Currency(), s->LineCharges());
  EXPECT_EQ(Currency(), s->PaidAmt());
  EXPECT_EQ(Currency(), s->ApprovedAmt());
  EXPECT_EQ(Currency(), s->DisallowedCostCont());
  EXPECT_EQ(Currency(), s->DisallowedOther());
}

TEST(ServiceLineModel, AmountPutStoresTheShortestText) {
  auto s = ServiceLine::New();
  struct Case {
    const wchar_t* amount;
    const wchar_t* text;
  } cases[] = {{L"125.50", L"125.5"}, {L"100", L"100"}, {L"0", L"0"}, {L"0.0001", L"0.0001"},
               {L"1234.5", L"1234.5"}, {L"-3.25", L"-3.25"}};
  for (const Case& c : cases) {
    CY cy = Cur(c.amount).cy();
    ASSERT_HRESULT_SUCCEEDED(s->put_LineCharges(&cy));
    EXPECT_EQ(c.text, s->OutFields->ValueOf(L"LineCharges")) << c.amount;
    CY back{};
    ASSERT_HRESULT_SUCCEEDED(s->get_LineCharges(&back));
    EXPECT_EQ(Cur(c.amount), Currency::FromCy(back)) << c.amount;
  }
  CY put = Cur(L"125.50").cy();
  ASSERT_HRESULT_SUCCEEDED(s->put_LineCharges(&put));
  EXPECT_EQ(L"125.5", s->OutFields->ValueOf(L"linecharges"));  // keys ignore case
  // Each amount has its own field.
  CY paid = Cur(L"100").cy();
  ASSERT_HRESULT_SUCCEEDED(s->put_PaidAmt(&paid));
  EXPECT_EQ(L"100", s->OutFields->ValueOf(L"PaidAmt"));
  EXPECT_EQ(Cur(L"100"), s->PaidAmt());
}

TEST(ServiceLineModel, AmountGetReadsTheStoredText) {
  auto s = ServiceLine::New();
  auto& f = *s->OutFields;
  f.SetValue(L"ApprovedAmt", L"7");
  EXPECT_EQ(Cur(L"7"), s->ApprovedAmt());
  f.SetValue(L"ApprovedAmt", L"125.5");
  EXPECT_EQ(Cur(L"125.5"), s->ApprovedAmt());
  f.SetValue(L"ApprovedAmt", L"007.50");
  EXPECT_EQ(Cur(L"7.5"), s->ApprovedAmt());
  f.SetValue(L"ApprovedAmt", L"");
  EXPECT_EQ(Currency(), s->ApprovedAmt());
  f.SetValue(L"ApprovedAmt", L"abc");
  EXPECT_VB_ERROR(13, s->ApprovedAmt());
  CY out{};
  EXPECT_EQ(13, NumberOf(s->get_ApprovedAmt(&out)));
  EXPECT_EQ(L"abc", f.ValueOf(L"ApprovedAmt"));  // the stored text is not changed
  f.SetValue(L"ApprovedAmt", L"99999999999999999");
  EXPECT_VB_ERROR(6, s->ApprovedAmt());
}

// The rule "0" & text is no number for a negative amount: read alone, such a text
// would make the amount get, and every total above it, fail with 13. The amount reads back.
TEST(ServiceLineModel, NegativeAmountsReadBackAsThemselves) {
  EXPECT_VB_ERROR(13, Currency::FromText(L"0-3.25"));  // the fault of the rule taken literally
  auto s = ServiceLine::New();
  s->SetAmount(L"LineCharges", Cur(L"-3.25"));
  EXPECT_EQ(L"-3.25", s->OutFields->ValueOf(L"LineCharges"));
  EXPECT_EQ(Cur(L"-3.25"), s->LineCharges());
  s->OutFields->SetValue(L"PaidAmt", L"-0.0001");
  EXPECT_EQ(Currency::FromRaw(-1), s->PaidAmt());
  s->OutFields->SetValue(L"PaidAmt", L"-abc");
  EXPECT_VB_ERROR(13, s->PaidAmt());
  s->OutFields->SetValue(L"PaidAmt", L"-99999999999999999");
  EXPECT_VB_ERROR(6, s->PaidAmt());
  s->OutFields->SetValue(L"PaidAmt", L"+4.5");
  EXPECT_EQ(Cur(L"4.5"), s->PaidAmt());
  // Only a sign lets the text be read alone: what "0" & text does not read stays 13.
  for (const wchar_t* text : {L" 12", L"(5)", L"&H10", L"$5", L"\t7", L" -3"}) {
    s->OutFields->SetValue(L"PaidAmt", text);
    EXPECT_VB_ERROR(13, s->PaidAmt()) << "amount text '" << vb::ToAnsi(text) << "'";
  }
  // A credit line takes its part in the claim's total.
  auto c = Claim::New();
  AddLine(*c, L"100");
  AddLine(*c, L"-3.25");
  EXPECT_EQ(Cur(L"96.75"), c->TotalCharges());
}

TEST(ServiceLineModel, TextFieldsAndFailures) {
  auto s = ServiceLine::New();
  Text t(L" 99213 ");
  ASSERT_HRESULT_SUCCEEDED(s->put_HCPCSProcedureCode(t.ref()));
  EXPECT_EQ(L" 99213 ", s->OutFields->ValueOf(L"HCPCSProcedureCode"));
  Text money(L"12.50");
  ASSERT_HRESULT_SUCCEEDED(s->put_PrimaryPaidAmount(money.ref()));
  EXPECT_EQ(L"12.50", s->OutFields->ValueOf(L"PrimaryPaidAmount"));
  Text control(L"L1");
  ASSERT_HRESULT_SUCCEEDED(s->put_LineItemControlNo(control.ref()));
  EXPECT_EQ(L"L1", s->LineItemControlNo());
  // A store without the field: the put fails with the store's error, the get with 5.
  s->OutFields->Remove(vb::CollectionIndex{true, 0, L"LineCharges"});
  CY cy = Cur(L"1").cy();
  EXPECT_EQ(static_cast<HRESULT>(0x80040001), s->put_LineCharges(&cy));
  EXPECT_EQ(5, NumberOf(s->get_LineCharges(&cy)));
  // No store at all: 91 for all but EPSDTInd.
  s->OutFields = nullptr;
  EXPECT_EQ(91, NumberOf(s->put_HCPCSProcedureCode(t.ref())));
  EXPECT_EQ(91, NumberOf(s->get_PaidAmt(&cy)));
  BSTR b = nullptr;
  EXPECT_EQ(91, NumberOf(s->get_LineItemControlNo(&b)));
  ASSERT_HRESULT_SUCCEEDED(s->put_EPSDTInd(t.b));
  EXPECT_EQ(L" 99213 ", s->EPSDTInd);
}

// ---- InsurancePolicy ------------------------------------------------------------

TEST(InsurancePolicyModel, NewPolicyAndItsFields) {
  auto p = InsurancePolicy::New();
  EXPECT_EQ(76, p->OutFields->Count());
  EXPECT_TRUE(AllEmpty(*p->OutFields));
  auto names = Names(*p->OutFields);
  EXPECT_EQ(L"ClaimFilingInd", names.front());
  EXPECT_EQ(L"InsCardEffectDate", names[45]);
  EXPECT_EQ(L"InsrCardTermDate", names[46]);
  EXPECT_EQ(L"EmployeeIdNo", names.back());
  EXPECT_FALSE(p->insrSecProvIDs);
  EXPECT_EQ(L"", p->subcriberCFI);
  EXPECT_EQ(L"", p->l2300CN104);
  Text amount(L"12.50");
  ASSERT_HRESULT_SUCCEEDED(p->put_ApprovedAmt(amount.ref()));
  EXPECT_EQ(L"12.50", p->OutFields->ValueOf(L"ApprovedAmt"));
  Text payor(L"Acme Health");
  ASSERT_HRESULT_SUCCEEDED(p->put_PayorName(payor.ref()));
  ASSERT_HRESULT_SUCCEEDED(p->put_PayorName(amount.ref()));
  EXPECT_EQ(L"12.50", p->OutFields->ValueOf(L"payorname"));
  // With no store, every field put fails with 91.
  p->OutFields = nullptr;
  EXPECT_EQ(91, NumberOf(p->put_PayorName(payor.ref())));
}

TEST(InsurancePolicyModel, PolicyAndLineAmountsAreApart) {
  auto c = Claim::New();
  auto p = c->InsurancePolicies->Add();
  auto s = c->ServiceLines->Add();
  Text t(L"5.00");
  ASSERT_HRESULT_SUCCEEDED(p->put_ApprovedAmt(t.ref()));
  EXPECT_EQ(L"", s->OutFields->ValueOf(L"ApprovedAmt"));
  s->SetAmount(L"ApprovedAmt", Cur(L"2"));
  EXPECT_EQ(L"5.00", p->OutFields->ValueOf(L"ApprovedAmt"));
  EXPECT_EQ(1, c->InsurancePolicies->Count());
}

TEST(InsurancePolicyModel, TheHostsProviderIdCollectionIsItsOwn) {
  auto p = InsurancePolicy::New();
  EXPECT_VB_ERROR(91, CollectionCount(p->insrSecProvIDs.get()));
  auto ids = NewGeneralCollection();
  ASSERT_HRESULT_SUCCEEDED(p->putref_insrSecProvIDs(ids.get()));
  com::ImplOf<GeneralCollection>(ids.get())->Add(L"1G|A123");
  EXPECT_EQ(1, CollectionCount(p->insrSecProvIDs.get()));
  EXPECT_EQ(L"1G|A123", CollectionItemText(p->insrSecProvIDs.get(), 1));
}

// ---- The model collections ----------------------------------------------

TEST(ModelCollections, UnkeyedPositionsFromOne) {
  auto claims = Claims::New();
  EXPECT_EQ(0, claims->Count());
  auto first = claims->Add();
  auto second = claims->Add();
  EXPECT_EQ(2, claims->Count());
  EXPECT_EQ(first.get(), claims->Item(1L).get());
  EXPECT_VB_ERROR(9, claims->Item(0L));
  EXPECT_VB_ERROR(9, claims->Item(3L));
  EXPECT_VB_ERROR(5, claims->Item(std::wstring(L"1")));
  EXPECT_VB_ERROR(5, claims->Remove(std::wstring(L"x")));
  // An item removed stays usable for whoever holds it; later items move up.
  claims->Remove(1L);
  EXPECT_EQ(second.get(), claims->Item(1L).get());
  Text t(L"Jones");
  ASSERT_HRESULT_SUCCEEDED(first->put_PatLastName(t.ref()));
  EXPECT_EQ(L"Jones", first->OutFields->ValueOf(L"PatLastName"));

  // Through COM: a Variant index, and the errors as HRESULTs.
  VARIANT index;
  index.vt = VT_I4;
  index.lVal = 2;
  _Claim* got = nullptr;
  EXPECT_EQ(9, NumberOf(claims->get_Item(&index, &got)));
  EXPECT_EQ(nullptr, got);
  index.lVal = 1;
  ASSERT_HRESULT_SUCCEEDED(claims->get_Item(&index, &got));
  EXPECT_EQ(static_cast<_Claim*>(second.get()), got);
  got->Release();
}

TEST(ModelCollections, EnumerationInOrder) {
  auto lines = ServiceLines::New();
  std::vector<ServiceLine*> added;
  for (int i = 0; i < 3; ++i) added.push_back(lines->Add().get());
  IUnknown* unk = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lines->get_NewEnum(&unk));
  com::Ptr<IEnumVARIANT> e;
  ASSERT_HRESULT_SUCCEEDED(unk->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(e.out())));
  unk->Release();
  std::vector<IDispatch*> seen;
  VARIANT v;
  ULONG n = 0;
  while (e->Next(1, &v, &n) == S_OK && n == 1) {
    EXPECT_EQ(VT_DISPATCH, v.vt);
    seen.push_back(v.pdispVal);
    VariantClear(&v);
  }
  ASSERT_EQ(3u, seen.size());
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(static_cast<IDispatch*>(static_cast<_ServiceLine*>(added[i])), seen[i]);
  // An empty collection yields nothing.
  auto none = InsurancePolicies::New();
  ASSERT_HRESULT_SUCCEEDED(none->get_NewEnum(&unk));
  ASSERT_HRESULT_SUCCEEDED(unk->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(e.out())));
  unk->Release();
  EXPECT_EQ(S_FALSE, e->Next(1, &v, &n));
}

TEST(ModelCollections, BatchsAreKeyedByProviderKey) {
  auto batchs = Batchs::New();
  EXPECT_FALSE(batchs->BRExists(L"P1"));
  auto p1 = batchs->Add(L"P1");
  EXPECT_TRUE(batchs->BRExists(L"p1"));
  EXPECT_EQ(p1.get(), batchs->Item(std::wstring(L"p1")).get());
  EXPECT_VB_ERROR(457, batchs->Add(L"p1"));
  EXPECT_EQ(1, batchs->Count());
  auto p0 = batchs->Add(L"A0");
  EXPECT_EQ(p1.get(), batchs->Item(1L).get());  // position 1 is the first added, whatever its key
  EXPECT_EQ(p0.get(), batchs->Item(2L).get());
  EXPECT_VB_ERROR(5, batchs->Item(std::wstring(L"P9")));
  EXPECT_VB_ERROR(9, batchs->Item(3L));

  // BRExists through COM leaves no error pending, whatever it finds.
  _Batchs* itf = batchs.get();
  Text missing(L"P9");
  VARIANT_BOOL found = VARIANT_TRUE;
  SetErrorInfo(0, nullptr);
  ASSERT_EQ(S_OK, itf->BRExists(missing.ref(), &found));
  EXPECT_EQ(VARIANT_FALSE, found);
  IErrorInfo* pending = nullptr;
  EXPECT_EQ(S_FALSE, GetErrorInfo(0, &pending));
  Text present(L"a0");
  ASSERT_EQ(S_OK, itf->BRExists(present.ref(), &found));
  EXPECT_EQ(VARIANT_TRUE, found);
  // Add through COM: a duplicate key is error 457.
  _Batch* b = nullptr;
  EXPECT_EQ(457, NumberOf(itf->Add(present.ref(), &b)));
  EXPECT_EQ(nullptr, b);
  batchs->Remove(std::wstring(L"A0"));
  EXPECT_FALSE(batchs->BRExists(L"A0"));
  ASSERT_HRESULT_SUCCEEDED(itf->Add(present.ref(), &b));
  b->Release();
  EXPECT_EQ(2, batchs->Count());
}

// ---- Counts and totals over a tree -----------------------------------------------------------

class ClaimTree : public ::testing::Test {
 protected:
  // Two batches: P1 with three claims (2, 0 and 1 lines), P2 with four claims (3, 1, 0, 0 lines).
  void SetUp() override {
    h = FileHeader::New();
    p1 = h->Batchs->Add(L"P1");
    p2 = h->Batchs->Add(L"P2");
    a = p1->Claims->Add();
    AddLine(*a, L"10", L"4", L"8");
    AddLine(*a, L"2.50", L"1", L"2");
    b = p1->Claims->Add();
    c = p1->Claims->Add();
    AddLine(*c, L"7.25");
    d = p2->Claims->Add();
    AddLine(*d, L"100", L"50", L"90");
    AddLine(*d, L"0.0001");
    AddLine(*d, L"-3.25", L"-3.25", L"-3.25");
    auto e = p2->Claims->Add();
    e->ServiceLines->Add();  // nothing set
    p2->Claims->Add();
    p2->Claims->Add();
  }
  com::Ptr<FileHeader> h;
  com::Ptr<Batch> p1, p2;
  com::Ptr<Claim> a, b, c, d;
};

TEST_F(ClaimTree, BatchCountsAndTotals) {
  EXPECT_EQ(3, p1->ClaimCount());
  EXPECT_EQ(3, p1->ServiceLineCount());
  EXPECT_EQ(Cur(L"19.75"), p1->TotalCharges());
  EXPECT_EQ(Cur(L"5"), p1->TotalPaidAmt());
  EXPECT_EQ(Cur(L"10"), p1->TotalAllowedAmt());
  EXPECT_EQ(4, p2->ClaimCount());
  EXPECT_EQ(4, p2->ServiceLineCount());
  EXPECT_EQ(Cur(L"96.7501"), p2->TotalCharges());
  EXPECT_EQ(Cur(L"46.75"), p2->TotalPaidAmt());
  EXPECT_EQ(Cur(L"86.75"), p2->TotalAllowedAmt());
}

TEST_F(ClaimTree, HeaderCountsAndTotals) {
  EXPECT_EQ(2, h->BatchCount());
  EXPECT_EQ(7, h->ClaimCount());
  EXPECT_EQ(7, h->ServiceLineCount());
  EXPECT_EQ(Cur(L"116.5001"), h->TotalCharges());
  EXPECT_EQ(Cur(L"51.75"), h->TotalPaidAmt());
  EXPECT_EQ(Cur(L"96.75"), h->TotalAllowedAmt());
  // Through COM, as the host and the writers read them.
  long n = 0;
  ASSERT_HRESULT_SUCCEEDED(h->get_ClaimCount(&n));
  EXPECT_EQ(7, n);
  CY total{};
  ASSERT_HRESULT_SUCCEEDED(h->get_TotalCharges(&total));
  EXPECT_EQ(Cur(L"116.5001"), Currency::FromCy(total));
}

TEST_F(ClaimTree, AChangeBelowABatchShowsInTheNextRead) {
  EXPECT_EQ(Cur(L"116.5001"), h->TotalCharges());
  // A line added to an empty claim of the first batch.
  AddLine(*b, L"5", L"5");
  EXPECT_EQ(8, h->ServiceLineCount());
  EXPECT_EQ(Cur(L"121.5001"), h->TotalCharges());
  EXPECT_EQ(Cur(L"56.75"), h->TotalPaidAmt());
  // A stored amount changed through the line's field store.
  c->ServiceLines->Item(1L)->OutFields->SetValue(L"LineCharges", L"10");
  EXPECT_EQ(Cur(L"124.2501"), h->TotalCharges());
  // A claim removed from a batch.
  p1->Claims->Remove(1L);
  EXPECT_EQ(6, h->ClaimCount());
  EXPECT_EQ(6, h->ServiceLineCount());
  EXPECT_EQ(Cur(L"111.7501"), h->TotalCharges());
  // A claim added to the second batch, a batch added to the header.
  AddLine(*p2->Claims->Add(), L"0.25");
  auto p3 = h->Batchs->Add(L"P3");
  AddLine(*p3->Claims->Add(), L"1");
  EXPECT_EQ(3, h->BatchCount());
  EXPECT_EQ(8, h->ClaimCount());
  EXPECT_EQ(Cur(L"113.0001"), h->TotalCharges());
}

TEST_F(ClaimTree, OverflowAtEachLevel) {
  // Each claim reads, but the batch's sum leaves the Currency range.
  AddLine(*b, L"500000000000000");
  EXPECT_EQ(Cur(L"500000000000000"), b->TotalCharges());
  AddLine(*c, L"500000000000000");
  EXPECT_VB_ERROR(6, p1->TotalCharges());
  EXPECT_VB_ERROR(6, h->TotalCharges());  // a failing batch fails the header's read
  CY out{};
  EXPECT_EQ(6, NumberOf(p1->get_TotalCharges(&out)));
  EXPECT_EQ(6, NumberOf(h->get_TotalCharges(&out)));
  // Each batch reads, but the header's sum leaves the range.
  c->ServiceLines->Remove(2L);
  AddLine(*d, L"500000000000000", L"500000000000000");
  b->ServiceLines->Item(1L)->SetAmount(L"PaidAmt", Cur(L"500000000000000"));
  EXPECT_NO_THROW(p1->TotalCharges());
  EXPECT_NO_THROW(p2->TotalCharges());
  EXPECT_VB_ERROR(6, h->TotalCharges());
  EXPECT_VB_ERROR(6, h->TotalPaidAmt());
  EXPECT_EQ(6, NumberOf(h->get_TotalPaidAmt(&out)));
  // The counts add in checked 32-bit arithmetic (2^31 lines cannot be built in a test).
  EXPECT_EQ(INT_MAX, AddCount(INT_MAX - 1, 1));
  EXPECT_VB_ERROR(6, AddCount(INT_MAX, 1));
  EXPECT_VB_ERROR(6, AddCount(1, INT_MAX));
}

TEST_F(ClaimTree, MembersSetToNothing) {
  ASSERT_HRESULT_SUCCEEDED(p2->putref_Claims(nullptr));
  EXPECT_VB_ERROR(91, p2->ClaimCount());
  EXPECT_VB_ERROR(91, p2->ServiceLineCount());
  EXPECT_VB_ERROR(91, p2->TotalAllowedAmt());
  EXPECT_VB_ERROR(91, h->ClaimCount());  // a failing batch fails the header's read
  EXPECT_VB_ERROR(91, h->TotalCharges());
  EXPECT_EQ(2, h->BatchCount());         // which reads no batch
  ASSERT_HRESULT_SUCCEEDED(h->putref_Batchs(nullptr));
  for (auto read : {&FileHeader::BatchCount, &FileHeader::ClaimCount, &FileHeader::ServiceLineCount})
    EXPECT_VB_ERROR(91, ((*h).*read)());
  EXPECT_VB_ERROR(91, h->TotalPaidAmt());
  long n = 0;
  EXPECT_EQ(91, NumberOf(h->get_BatchCount(&n)));
  // Another Batchs object in its place: the reads follow it.
  auto other = Batchs::New();
  AddLine(*other->Add(L"X")->Claims->Add(), L"2");
  ASSERT_HRESULT_SUCCEEDED(h->putref_Batchs(other.get()));
  EXPECT_EQ(1, h->BatchCount());
  EXPECT_EQ(Cur(L"2"), h->TotalCharges());
}

// ---- The general Collection of the Collection members ----------------------------------------

TEST(GeneralCollectionModel, AddItemRemoveAndKeys) {
  auto d = NewGeneralCollection();
  auto col = com::ImplOf<GeneralCollection>(d.get());
  ASSERT_TRUE(col);
  col->Add(L"1G", L"a");
  col->Add(L"0B");
  EXPECT_EQ(2, col->Count());
  EXPECT_EQ(L"1G", CollectionItemText(d.get(), 1));
  EXPECT_EQ(L"0B", CollectionItemText(d.get(), 2));
  EXPECT_VB_ERROR(457, col->Add(L"x", L"A"));
  EXPECT_VB_ERROR(9, CollectionItemText(d.get(), 3));
  vb::CollectionIndex byKey{true, 0, L"A"};
  EXPECT_EQ(VT_BSTR, col->Item(byKey).vt);
  col->Remove(byKey);
  EXPECT_EQ(1, CollectionCount(d.get()));
  EXPECT_EQ(L"0B", CollectionItemText(d.get(), 1));
  EXPECT_VB_ERROR(5, col->Remove(byKey));

  // Before and After, through the _Collection vtable as VBA's Collection has it.
  com::Ptr<VbaCollection> vba;
  ASSERT_HRESULT_SUCCEEDED(d->QueryInterface(IID_VbaCollection, reinterpret_cast<void**>(vba.out())));
  VARIANT item, key, before, after, missing;
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  item.vt = VT_BSTR;
  item.bstrVal = SysAllocString(L"first");
  before.vt = VT_I4;
  before.lVal = 1;
  ASSERT_HRESULT_SUCCEEDED(vba->Add(&item, &missing, &before, &missing));
  SysFreeString(item.bstrVal);
  item.bstrVal = SysAllocString(L"last");
  after.vt = VT_I4;
  after.lVal = 2;
  key.vt = VT_BSTR;
  key.bstrVal = SysAllocString(L"k");
  ASSERT_HRESULT_SUCCEEDED(vba->Add(&item, &key, &missing, &after));
  EXPECT_EQ(5, NumberOf(vba->Add(&item, &missing, &before, &after)));
  SysFreeString(item.bstrVal);
  SysFreeString(key.bstrVal);
  long n = 0;
  ASSERT_HRESULT_SUCCEEDED(vba->Count(&n));
  EXPECT_EQ(3, n);
  EXPECT_EQ(L"first", CollectionItemText(d.get(), 1));
  EXPECT_EQ(L"0B", CollectionItemText(d.get(), 2));
  EXPECT_EQ(L"last", CollectionItemText(d.get(), 3));
}

// Another object in a Collection member, known only by its IDispatch: here a wrapper that
// hides the C++ object behind a general collection, so the readers go late-bound.
class ForeignCollection : public IDispatch {
 public:
  explicit ForeignCollection(com::Ptr<IDispatch> inner) : inner_(std::move(inner)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch) return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return inner_->GetTypeInfoCount(n); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return inner_->GetTypeInfo(i, l, t); }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* ids) override {
    return inner_->GetIDsOfNames(r, n, c, l, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                   UINT* a) override {
    return inner_->Invoke(id, r, l, f, p, v, e, a);
  }

 private:
  com::Ptr<IDispatch> inner_;
  ULONG refs_ = 1;
};

TEST(GeneralCollectionModel, ReadersTakeAnyCollectionObject) {
  auto inner = NewGeneralCollection();
  com::ImplOf<GeneralCollection>(inner.get())->Add(L"1G|A123");
  com::ImplOf<GeneralCollection>(inner.get())->Add(L"EI|B456");
  ForeignCollection foreign(inner);
  EXPECT_FALSE(com::ImplOf<GeneralCollection>(&foreign));
  EXPECT_EQ(2, CollectionCount(&foreign));
  EXPECT_EQ(L"EI|B456", CollectionItemText(&foreign, 2));
  // A failure inside comes out as the run-time error it was.
  EXPECT_VB_ERROR(9, CollectionItemText(&foreign, 3));
  EXPECT_VB_ERROR(91, CollectionCount(nullptr));
  // The claim's 837 pairs are read the same way, whatever the host put in.
  auto c = Claim::New();
  ASSERT_HRESULT_SUCCEEDED(c->putref_prov837SecIDCol(&foreign));
  EXPECT_EQ(2, CollectionCount(c->prov837SecIDCol.get()));
  c->prov837SecIDCol = nullptr;
}

}  // namespace claimfile

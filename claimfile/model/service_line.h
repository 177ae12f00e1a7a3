// A service line of a claim: one billed procedure. Its values live in its field
// store as text; five amounts also have a Currency put and get.
#pragma once
#include <string>

#include "com/object.h"
#include "model/model_support.h"
#include "model/output_fields.h"
#include "sendarro7.h"
#include "vb/currency.h"

// The 63 stored fields in store order, each a text field or an amount with Currency access.
#define CLAIMFILE_SERVICE_LINE_FIELDS(FIELD, AMOUNT) \
  FIELD(LineItemControlNo) FIELD(SvcFromDate) FIELD(SvcToDate) FIELD(PlaceOfSvc) FIELD(TypeOfSvcCode) \
  FIELD(HCPCSProcedureCode) FIELD(HCPCSModifier1) FIELD(HCPCSModifier2) FIELD(HCPCSModifier3) \
  AMOUNT(LineCharges) FIELD(DiagCodePointer1) FIELD(DiagCodePointer2) FIELD(DiagCodePointer3) \
  FIELD(DiagCodePointer4) FIELD(UnitsOfSvc) FIELD(AnesthesiaOxygenMin) FIELD(EmergencyInd) \
  FIELD(COBInd) FIELD(HPSAInd) FIELD(RenderingProvNPI) FIELD(ReferringProvNPI) \
  FIELD(ReferringProvState) FIELD(PurSvcInd) AMOUNT(DisallowedCostCont) AMOUNT(DisallowedOther) \
  FIELD(ReviewByCodeInd) FIELD(MultiProcedureInd) FIELD(MammographyCertNo) FIELD(ClassFindings) \
  FIELD(PodiatrySvcCond) FIELD(CliaIdNo) FIELD(PrimaryPaidAmount) FIELD(HCPCSModifier4) \
  FIELD(ProviderSpecialty) FIELD(PodiatryTherapyInd) FIELD(PodiatryTherapyType) \
  FIELD(HospiceEmployedProvInd) FIELD(HGBHCGDate) FIELD(HGBResult) FIELD(HCTResult) \
  FIELD(PatientWeight) FIELD(EPODosage) FIELD(SerumCreatineDate) FIELD(CreatineResult) \
  FIELD(ObligatedAcceptAmt) FIELD(DrugDiscountAmt) FIELD(TypeOfUnitsInd) AMOUNT(ApprovedAmt) \
  AMOUNT(PaidAmt) FIELD(BeneLiabilityAmt) FIELD(BalanceBillLimitChg) FIELD(LimitChargePrcnt) \
  FIELD(PerformProvPhone) FIELD(ProformProvTaxType) FIELD(PerformProvTaxId) \
  FIELD(PerformProvAssignInd) FIELD(PretransplantIndicator) FIELD(ICD_10_PCS) \
  FIELD(UniversalProductCode) FIELD(DiagCodePointer5) FIELD(DiagCodePointer6) \
  FIELD(DiagCodePointer7) FIELD(DiagCodePointer8)

// The public variables, in interface order.
#define CLAIMFILE_SERVICE_LINE_MEMBERS(TEXT, VALUE, OBJECT, COLLECTION) \
  TEXT(EPSDTInd) OBJECT(OutputFields, _OutputFields, OutFields)

namespace claimfile {

class ServiceLine : public com::Object<ServiceLine, _ServiceLine> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__ServiceLine; }
  static com::Ptr<ServiceLine> New();

  // Makes the store with the 63 fields, all empty.
  ServiceLine();
  ~ServiceLine() override;

  // The amount get of a field: "0" followed by its stored text, read as Currency,
  // so an empty text reads 0. Where that is no number (a stored negative amount: "0-3.25"), the
  // stored text alone is read, so a negative amount reads back as itself. 13 for a text that is
  // no amount either way (letters), 6 beyond the Currency range.
  // at: where the field stands among the class's names (a hint; npos: unknown).
  vb::Currency Amount(std::wstring_view field, size_t at = static_cast<size_t>(-1)) const;
  // Where a field stands among the class's names (npos when it is none of them).
  static size_t FieldAt(std::wstring_view field);
  // The amount put: stores the amount's text (no group separator, no trailing zeros).
  void SetAmount(const std::wstring& field, vb::Currency amount);
  // The amount get of each amount field by its name: LineCharges(), PaidAmt() ...
#define CLAIMFILE_SERVICE_LINE_NO_READ(Name)
#define CLAIMFILE_SERVICE_LINE_AMOUNT_READ(Name) \
  vb::Currency Name() const {                    \
    static const size_t at = FieldAt(L"" #Name); \
    return Amount(L"" #Name, at);                \
  }
  CLAIMFILE_SERVICE_LINE_FIELDS(CLAIMFILE_SERVICE_LINE_NO_READ, CLAIMFILE_SERVICE_LINE_AMOUNT_READ)
#undef CLAIMFILE_SERVICE_LINE_NO_READ
#undef CLAIMFILE_SERVICE_LINE_AMOUNT_READ
  // The stored text of LineItemControlNo.
  std::wstring LineItemControlNo() const;

  CLAIMFILE_MEMBER_DATA(CLAIMFILE_SERVICE_LINE_MEMBERS)
};

}  // namespace claimfile

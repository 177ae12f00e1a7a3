// The NSF writer: one file header, with its batches, claims, policies and service lines, written
// as 320-column records to a file number the caller opened, in record order, with the counts,
// sequence numbers and totals that the trailers carry.
#pragma once
#include <oaidl.h>

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "com/object.h"
#include "model/file_header.h"
#include "nsf/layouts.h"
#include "sendarro7.h"

namespace claimfile {

class NSFFormat : public com::Object<NSFFormat, _NSFFormat> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__NSFFormat; }
  static com::Ptr<NSFFormat> New();

  // Class_Terminate: releases the file header.
  ~NSFFormat() override;

  // Writes objFH as NSF records to the open file number iFn: AA0, for each batch BA0, BA1, its
  // claims (CA0, DA0-DA2 per policy, EA0, EA1, FA0 per line, HA0 with a narrative, XA0) and
  // YA0, then ZA0. Nothing is caught: the first failure ends the writing and is raised.
  void PrintMe(short iFn, FileHeader& objFH);

  // The clock CreationDate reads on this thread (nullptr: the local time).
  using Clock = DATE (*)();
  static void SetClock(Clock clock);

 private:
  // The file's creation instant: the clock's time at the first read, kept for the object's life.
  DATE CreationDate();
  // Notes the record's layout in the store's OutDefns (its fixed part and the values computed
  // for this record), counts the record into the batch and prints it. An amount in a Currency
  // field that does not read as a number raises 13 before anything is written. claim and batch
  // are those the computed values are read from.
  bool PrintRecord(OutputFields& modelFields, nsf::RecordId id, Claim* claim = nullptr, Batch* batch = nullptr);

  std::wstring_view DateFormat() const { return nsf::kDateFormat; }
  std::wstring_view TimeFormat() const { return L"HHNNSS"; }

  std::wstring Computed(nsf::Source source, Claim* claim, Batch* batch);
  void WriteClaim(Claim& claim);
  // The claim's total of LineCharges (0), ApprovedAmt (1) or PaidAmt (2): the three are summed
  // in one walk of the lines, the first time one is asked for the claim; each raises what its
  // own sum raised.
  vb::Currency ClaimTotal(Claim& claim, int which);
  // Raises the sum's failure, or answers its value.
  struct Sum {
    vb::Currency value;
    std::exception_ptr failed;
  };
  static vb::Currency ValueOf(const Sum& sum);
  // to += from, as a model total adds its items: a failure of either (the first one) is kept,
  // and an overflow of the addition is one.
  static void AddSum(Sum& to, const Sum& from);

  com::Ptr<FileHeader> CurFileHeader;
  short FileNo = 0;
  DATE creationDate_ = 0;  // the zero date: not yet read
  std::wstring CurPatControlNo;
  // The claim whose records are being written (nullptr outside a claim), named in a failure.
  Claim* curClaim_ = nullptr;
  // 32-bit counters; an increment past the maximum raises 6.
  long LineSeq = 0;
  long ClaimCA0Count = 0, ClaimDACount = 0, ClaimEACount = 0, ClaimFA0Count = 0;
  long ClaimOtherCount1 = 0;  // no record kind is counted here
  long ClaimOtherCount2 = 0;  // the claim's HA0
  long BatchRecordCount = 0;
  long FileRecordCount = 0;
  long PolicySeq = 0;
  std::optional<Sum> claimTotals_[3];  // of the claim being written; empty until asked
  // The batch's and the file's totals (the three amounts as in ClaimTotal), carried up from the
  // claims' sums as each claim, then each batch, is written: what Batch's and FileHeader's
  // TotalCharges, TotalAllowedAmt and TotalPaidAmt answer (or raise), without a second walk.
  Sum batchTotals_[3];
  Sum fileTotals_[3];
  std::vector<std::wstring> computed_;  // the computed values of the record being written
  NoteTexts notes_;  // the texts of the notes left in the stores, anew for each file written
  // Where the claim store's PatControlNo and ExtraNarrative were last found, tried first.
  size_t controlNoAt_ = static_cast<size_t>(-1);
  size_t narrativeAt_ = static_cast<size_t>(-1);
};

}  // namespace claimfile

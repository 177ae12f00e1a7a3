// One run of Write837: the objects of the document, the state the loop writers share, and the
// writers of each part of the interchange. Internal to the module Edi837.
#pragma once
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "com/ptr.h"
#include "model/batch.h"
#include "model/claim.h"
#include "model/file_header.h"
#include "model/insurance_policy.h"
#include "x837/edi837.h"
#include "x837/edi_document.h"

namespace claimfile::Edi837 {

// The stored text of a field (5 for a field the store does not hold). The writer names its
// fields by literals: where a literal was last found among its class's names is the hint for its
// next read, which then compares one name instead of looking the key up. A stale or shared slot
// costs only the look-up.
inline const std::wstring& Field(const com::Ptr<OutputFields>& store, const wchar_t* name) {
  static std::atomic<size_t> hints[512];
  std::atomic<size_t>& hint = hints[reinterpret_cast<uintptr_t>(name) / sizeof(wchar_t) % 512];
  size_t at;
  // the name as it is, not a copy
  const std::wstring& value = StoreOf(store).ValueOf(std::wstring_view(name), hint.load(std::memory_order_relaxed), at);
  hint.store(at, std::memory_order_relaxed);
  return value;
}

// What HLCount counts, as an overflow names it.
inline constexpr wchar_t kHLSegments[] = L"HL segments in one interchange";

// The first n characters, in upper case.
std::wstring Cut(const std::wstring& s, size_t n);

// The message of a check: a text, or a text and the name it is about ({L"Missing ... for ",
// payTo}), put together only when the check fails. It refers to its texts where they are.
struct MissingText {
  MissingText() = default;
  MissingText(const wchar_t* text) : text(text) {}
  MissingText(const std::wstring& text) : text(text) {}
  MissingText(std::wstring_view text, std::wstring_view about) : text(text), about(about) {}
  bool empty() const { return text.empty() && about.empty(); }
  std::wstring str() const { return std::wstring(text).append(about); }
  std::wstring_view text, about;
};

// One element of a segment table: its number, its text, and the check made on it after it is
// set (no message: no check). Locations are screen codes for ReportMissing, 0 = none. A row
// lives only for the call it is written in, so it refers to its texts where they are.
struct ElementRow {
  long element;
  std::wstring_view value;
  MissingText missing;
  long location1 = 0, location2 = 0, location3 = 0;
};

// A Collection member a host may have left unset: Nothing counts no items.
long CountOf(const com::Ptr<IDispatch>& collection);
// Item k as text; an item past the end (a shorter parallel collection) is empty text.
std::wstring TextAt(const com::Ptr<IDispatch>& collection, long k);

// One element or component of a segment table (component 0: a simple element); a row not
// `written` is left unset.
struct PieceRow {
  long element, component;
  std::wstring_view value;
  bool written = true;
};
void PutPieces(const EdiSegment& segment, std::initializer_list<PieceRow> rows);

// The four variants of the provider secondary identifiers.
enum class SecondaryIdGroup { BillingService, PayTo, PersonBilling, Billing };

class Writer837 {
 public:
  Writer837(FileHeader& header, IDispatch* document)
      : header_(header), document_(com::Ptr<IDispatch>(document), &buffers_) {}

  // Everything from the error trap to the last service line; failures are raised.
  void SetUp(const std::wstring& outputFileName);
  void WriteEnvelope();
  void WriteBatches();
  // The end: the answer, then the save (a failed save shows its box and answers False).
  bool End(const std::wstring& outputFileName);
  // Releases the document's objects.
  void Release();

  // The claim being written (nullptr before the first one), for the error handler.
  const Claim* currentClaim() const { return claim_; }

  // A 16-bit counter advanced by one. Past 32767 it overflows (6), the description naming what
  // was counted (`what`, as in "HL segments in one interchange") and the claim it was reached at,
  // so that a user knows to split the file.
  short Advance(short& counter, const wchar_t* what);
  // A count held in 16 bits; above 32767 the overflow as above.
  short Short(long count, const wchar_t* what);

  // ---- State of the call shared by the loop writers -----------------------------------------
  std::wstring ControlNumber;
  std::wstring SbrDMGAlways;
  bool TOSLoaded = false, CLM16Loaded = false;
  OverrideLines TOSOverrides, CLM16Overrides;
  bool UHINMode = false;
  bool ReceiverFlag = false;
  bool FirstBatch = true;
  short HLCount = 0;
  std::wstring HLPath;
  short ParentHL = 0;
  short NM1Instance = 0;
  bool ProviderChanged = false;
  std::wstring PayToAddress1;
  short RefInstance = 0;
  short ClaimNM1Instance = 0;
  short DTPInstance = 0;
  short OtherPayerNM1Instance = 0;
  short LXCounter = 0;

 private:
  // ---- Segments and elements ---------------------------------------------------------------
  // Makes the segment of the path the current one.
  void Segment(const std::wstring& path);
  // The same for the path prefix & suffix, put together in the reused path buffer.
  void Segment(std::wstring_view prefix, std::wstring_view suffix);
  void Put(long element, std::wstring_view value);
  // Reads the element of the current segment back and reports it when empty.
  void Check(long element, const MissingText& message, long location1, long location2 = 0, long location3 = 0);
  // Sets the rows in order, each followed by its check.
  void PutRows(std::initializer_list<ElementRow> rows);
  // The segment of the path, made current, then its rows.
  void WriteSegment(const std::wstring& path, std::initializer_list<ElementRow> rows);
  void WriteSegment(std::wstring_view prefix, std::wstring_view suffix, std::initializer_list<ElementRow> rows);
  // The prefix of the current provider name loop: HLPath & "\NM1(" & NM1Instance & ")".
  std::wstring NameLoop() const;

  // ---- Parts of the interchange --------------------------------------------------------------
  void WriteSubmitterAndReceiver(Batch& batch);                  // 1000A, 1000B
  void WriteBillingProviderHL(Batch& batch);                     // 2000A HL and provider change
  void WriteProviderSpecialty(Batch& batch, const wchar_t* prv01);
  void WriteBillingService(Batch& batch);                        // 2010AA billing service
  void WritePayToUnderBillingService(Batch& batch, Claim& claim);  // 2010AB
  void WriteBillingProvider(Batch& batch, Claim& claim);         // 2010AA without a billing service
  // ISA08 := the pay-to id, once per file, while UHINMode is set.
  void TakeUHINReceiver(Batch& batch);
  void WriteSecondaryIds(SecondaryIdGroup group, Batch& batch, Claim& claim);

  // Later levels of each claim; each decides itself whether it writes anything.
  void WriteSubscriberLevel(Batch& batch, Claim& claim);      // 2000B, 2010BA, 2010BB
  void WritePatientLevel(Batch& batch, Claim& claim);         // 2000C, 2010CA
  void WriteClaimLevel(Batch& batch, Claim& claim);           // 2300, 2310A-E
  void WriteOtherSubscriber(Batch& batch, Claim& claim);      // 2320, 2330A-E
  void WriteServiceLine(Batch& batch, Claim& claim, ServiceLine& line);  // 2400

  FileHeader& header_;
  CallBuffers buffers_;  // before the objects that use them
  EdiDocument document_;
  EdiObject guide_;
  EdiInterchange interchange_;
  EdiGroup group_;
  EdiTransactionSet set_;
  EdiSegment segment_;
  const Claim* claim_ = nullptr;
  long claimNumber_ = 0;  // of claim_ in the file, from 1
  [[noreturn]] void RaiseOverflow(const wchar_t* what) const;

  // ---- Claim level: 2300 and 2310A-E -------------------------------------------------------
  void WriteClaimInformation(Claim& claim);                  // 2300
  void WriteReferringProvider(Claim& claim);                 // 2310A
  void WriteRenderingProvider(Batch& batch, Claim& claim);   // 2310B
  void WriteServiceFacility(Claim& claim);                   // 2310D
  void WriteSupervisingProvider(Claim& claim);               // 2310E
  // The prefix of the current claim provider loop: HLPath & "\CLM\NM1(" & ClaimNM1Instance & ")".
  std::wstring ClaimNameLoop() const;

  // ---- Service lines (2400) ------------------------------------------------------------------
  // HLCount of the claim whose lines are being written: a line under another count is the first
  // line of the next claim.
  short linesHL_ = 0;
};

}  // namespace claimfile::Edi837

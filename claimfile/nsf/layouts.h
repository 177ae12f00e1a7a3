// The fourteen record layouts of an NSF claim file, as data: one table per record, one row per
// field in ascending column order, each with its columns, its data type, where its value comes
// from (a value of the printing store by name, a literal, or a value the writer computes when the
// layout is built), whether it takes the date format, and its required flag.
#pragma once
#include <span>
#include <string>
#include <string_view>

#include "sendarro7.h"

namespace claimfile {
struct LayoutPlan;
}

namespace claimfile::nsf {

// Where a field's value comes from.
enum class Source : unsigned char {
  Named,    // the printing store's value under the row's name
  Literal,  // the row's text itself (a record id, a version, or nothing)
  // Computed by the writer when the layout is built:
  FileDate, FileTime,           // the creation instant, "YYYYMMDD" and "HHNNSS"
  PolicySeq, LineSeq,           // sequence numbers within the claim
  ClaimControlNo,               // the claim's PatControlNo, read when the layout is built
  CurPatControlNo,              // the writer's copy, taken at the start of the claim
  ClaimCA0Count, ClaimDACount, ClaimEACount, ClaimFA0Count, ClaimOtherCount1, ClaimOtherCount2,
  ClaimServiceLineCount, ClaimTotalCharges, ClaimTotalAllowedAmt, ClaimTotalPaidAmt,
  BatchServiceLineCount, BatchRecordCountWithTrailer, BatchClaimCount, BatchTotalCharges,
  FileServiceLineCount, FileRecordCount, FileClaimCount, FileBatchCount,
  FileTotalCharges, FileTotalPaidAmt, FileTotalAllowedAmt,
};

struct FieldSpec {
  long from, to;         // columns, 1 to 320, inclusive
  OutputFieldType type;
  Source source;
  const wchar_t* text;   // the name (Named) or the value (Literal); "" for a computed value
  bool dated;            // its Format is the writer's DateFormat ("YYYYMMDD")
  bool required;         // carried in the layout; nothing acts on it
};

enum class RecordId { AA0, BA0, BA1, CA0, DA0, DA1, DA2, EA0, EA1, FA0, HA0, XA0, YA0, ZA0 };

struct RecordLayout {
  RecordId id;
  const wchar_t* name;  // "AA0" ...
  std::span<const FieldSpec> fields;
};

// The table of one record; all fourteen in RecordId order.
const RecordLayout& LayoutTable(RecordId id);
std::span<const RecordLayout> LayoutTables();

// The Format of a dated entry.
inline constexpr std::wstring_view kDateFormat = L"YYYYMMDD";

// The fixed part of the record's layout, made once and kept for the process: one entry per row,
// in row order, as OutputFields.Add with all eight arguments (Row 0) makes it. A named entry has
// an empty value, a literal its text; a dated entry has kDateFormat as its Format. The computed
// rows are left empty and listed, in row order, as the plan's varying entries: each record
// printed through the plan gives their values (LayoutSlot::Note).
const LayoutPlan& Plan(RecordId id);

}  // namespace claimfile::nsf

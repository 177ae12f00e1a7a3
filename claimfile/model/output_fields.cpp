#include "model/output_fields.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "vb/convert.h"
#include "vb/currency.h"
#include "vb/files.h"
#include "vb/present.h"

namespace claimfile {

namespace {

// Mid$(line, start, length) = text: replaces at most length characters from start, never
// growing the line. A start outside the line, or a negative length, raises 5.
void MidAssign(std::wstring& line, long start, long length, std::wstring_view text) {
  if (start < 1 || start > static_cast<long>(line.size()) || length < 0) vb::Raise(vb::errInvalidCall);
  size_t room = line.size() - static_cast<size_t>(start) + 1;
  size_t n = std::min({text.size(), static_cast<size_t>(length), room});
  std::copy_n(text.data(), n, line.data() + (static_cast<size_t>(start) - 1));
}

// A line end or another control character (below 32, and 127) inside a value would break the
// fixed-width record: it is printed as a space.
constexpr wchar_t Printable(wchar_t c) { return c < L' ' || c == 0x7F ? L' ' : c; }

// The record line PrintRecord fills (spaces at first), kept as the bytes Print would write for it
// while all of it is ASCII (nearly always), as characters from the first character that is not.
class RecordLine {
 public:
  static constexpr long kWidth = OutputFields::kLineWidth;
  RecordLine() { std::fill_n(bytes_, kWidth, ' '); }

  // Mid$(line, start, length) = text, each character Printable. A start outside the line, or a
  // negative length, raises 5.
  void Put(long start, long length, std::wstring_view text) {
    if (start < 1 || start > kWidth || length < 0) vb::Raise(vb::errInvalidCall);
    const size_t at = static_cast<size_t>(start) - 1;
    const size_t n = std::min({text.size(), static_cast<size_t>(length), static_cast<size_t>(kWidth) - at});
    if (!wide_) {
      size_t i = 0;
      for (; i < n && text[i] < 0x80; ++i) bytes_[at + i] = static_cast<char>(Printable(text[i]));
      if (i == n) return;
      Widen();
    }
    for (size_t i = 0; i < n; ++i) chars_[at + i] = Printable(text[i]);
  }
  // Print #fn of the line (newline: ended by CR LF).
  void Print(short fn, bool newline) const {
    if (wide_)
      vb::Print(fn, std::wstring_view(chars_, kWidth), newline);
    else
      vb::PrintAscii(fn, std::string_view(bytes_, kWidth), newline);
  }

 private:
  void Widen() {
    std::copy_n(bytes_, kWidth, chars_);
    wide_ = true;
  }
  char bytes_[kWidth];
  wchar_t chars_[kWidth];
  bool wide_ = false;
};

// The text written over the right end of `width` zeros; 5 when it does not fit.
std::wstring RightInZeros(std::wstring_view text, long width) {
  if (width < 0) vb::Raise(vb::errInvalidCall);
  std::wstring zeros(static_cast<size_t>(width), L'0');
  MidAssign(zeros, width - static_cast<long>(text.size()) + 1, width, text);
  return zeros;
}

// line.Put(start, width, RightInZeros(text, width)), without a text in between where the field
// is no wider than a record line.
void PutInZeros(RecordLine& line, long start, long width, std::wstring_view text) {
  if (width < 0 || width > OutputFields::kLineWidth) {
    line.Put(start, width, RightInZeros(text, width));
    return;
  }
  // As RightInZeros: the text must fit, and an empty text starts past the zeros.
  if (text.empty() || text.size() > static_cast<size_t>(width)) vb::Raise(vb::errInvalidCall);
  wchar_t zeros[OutputFields::kLineWidth];
  const size_t pad = static_cast<size_t>(width) - text.size();
  std::fill_n(zeros, pad, L'0');
  std::copy_n(text.data(), text.size(), zeros + pad);
  line.Put(start, width, std::wstring_view(zeros, static_cast<size_t>(width)));
}

// The value of one layout member, formatted by its data type.
std::wstring FormatForRecord(OutputFieldType type, std::wstring_view format, long width, const std::wstring& v) {
  switch (type) {
    case OutputFieldTypeNumeric:
      return v.empty() ? v : RightInZeros(v, width);
    case OutputFieldTypeCurrency:  // an amount that reads is formatted by PrintRecord
      return v;
    case OutputFieldTypeFixedOne:
      return v.empty() ? v : RightInZeros(vb::DoubleToText(vb::ToDouble(v) * 10), width);
    default:
      return format.empty() ? v : vb::Format(v, std::wstring(format));
  }
}

// FormatForRecord's text of a FixedOne value of plain digits (nine at most, so the product is
// exact), written without the conversions into buf (at least 11 characters): the digits without
// leading zeros, then a zero. Empty when the value is anything else.
std::wstring_view PlainTenths(const std::wstring& v, wchar_t* buf) {
  if (v.empty() || v.size() > 9) return {};
  for (wchar_t c : v)
    if (c < L'0' || c > L'9') return {};
  const size_t first = v.find_first_not_of(L'0');
  buf[0] = L'0';
  if (first == std::wstring::npos) return std::wstring_view(buf, 1);  // 0 times ten is "0"
  const size_t n = v.size() - first;
  std::copy_n(v.data() + first, n, buf);
  buf[n] = L'0';
  return std::wstring_view(buf, n + 1);
}

// The text FormatForRecord gives a formatted value, as the thread's FormatMemo remembers it
// from an earlier record (nullptr: none remembered, or a type FormatForRecord reads itself).
const std::wstring* KnownFormat(OutputFieldType type, std::wstring_view format, const std::wstring& v) {
  if (format.empty() || type == OutputFieldTypeNumeric || type == OutputFieldTypeCurrency ||
      type == OutputFieldTypeFixedOne)
    return nullptr;
  vb::FormatMemo* memo = vb::FormatMemo::Current();
  return memo ? memo->Find(v, format) : nullptr;
}

// Whether Add would hold the entry: its columns in order, a Numeric or Date value that reads as
// one (Valid, without its message box).
bool Holds(const LayoutEntry& e) {
  if (e.toCol < e.fromCol) return false;
  if (e.value.empty()) return true;
  if (e.dataType == OutputFieldTypeNumeric) return vb::IsNumeric(e.value);
  if (e.dataType == OutputFieldTypeDate) return vb::IsDate(e.value);
  return true;
}

// The record line as PrintRecord fills it, with what PrintMember needs to go on.
struct RecordState {
  explicit RecordState(OutputFields::BadAmount badAmount) : badAmount(badAmount) {}
  RecordLine line;
  OutputFields::BadAmount badAmount;
  // With badAmount, an amount that does not read is raised before any other failure of the
  // record: a failure of an earlier field waits here until the rest of the amounts are seen.
  std::exception_ptr failed;
};

// Whether the member's columns start in the record line and do not end before they start.
bool StartsInLine(const LayoutView& d) {
  return d.fromCol >= 1 && d.fromCol <= OutputFields::kLineWidth && d.toCol >= d.fromCol - 1;
}

// Whether the member is a text without a format: its value is printed as it is.
bool IsPlainText(const LayoutView& d) {
  return (d.dataType == OutputFieldTypeText || d.dataType == OutputFieldTypeDate) && d.format.empty();
}

// Prints one member of the layout into the line, its value read from the store and formatted by
// its data type.
void PrintMember(OutputFields& store, RecordState& record, const LayoutView& d) {
  const OutputFields::BadAmount badAmount = record.badAmount;
  std::exception_ptr& failed = record.failed;
  RecordLine& line = record.line;
  const std::wstring* held = &d.value;
  if (!d.name.empty()) {
    try {
      held = &store.ValueOf(d.name, d.hint, d.hintIn);
    } catch (const vb::RuntimeError&) {
      // A missing amount is raised at once, as the amounts come first.
      if (!badAmount || d.dataType == OutputFieldTypeCurrency) throw;
      if (!failed) failed = std::current_exception();
      return;
    }
  }
  const std::wstring& v = *held;
  // An amount is parsed once, here; FromText raises what the text gives (6 beyond the range).
  vb::Currency amount;
  bool reads = false;
  // Blanks are an empty amount (hosts that copy fixed-width columns give them for none).
  if (d.dataType == OutputFieldTypeCurrency && v.find_first_not_of(L' ') != std::wstring::npos) {
    reads = vb::Currency::TryFromText(v, amount);
    if (!reads && !vb::IsNumeric(v)) {
      if (badAmount && !d.name.empty()) badAmount(d.name, v);
    } else if (!reads && !failed) {
      try {
        amount = vb::Currency::FromText(v);
        reads = true;
      } catch (const vb::RuntimeError&) {
        if (!badAmount) throw;
        failed = std::current_exception();
      }
    }
  }
  if (failed) return;
  try {
    const long width = OutputField::FieldLength(d.fromCol, d.toCol);
    wchar_t buf[11];
    const std::wstring_view tenths = d.dataType == OutputFieldTypeFixedOne ? PlainTenths(v, buf) : std::wstring_view();
    if (IsPlainText(d))
      line.Put(d.fromCol, width, v);
    else if (reads) {
      wchar_t digits[20];
      PutInZeros(line, d.fromCol, width, vb::DecimalDigits((amount * 100).ToLong(), digits));
    } else if (d.dataType == OutputFieldTypeNumeric && !v.empty())
      PutInZeros(line, d.fromCol, width, v);
    else if (!tenths.empty())
      PutInZeros(line, d.fromCol, width, tenths);
    else if (const std::wstring* known = KnownFormat(d.dataType, d.format, v))
      line.Put(d.fromCol, width, *known);
    else
      line.Put(d.fromCol, width, FormatForRecord(d.dataType, d.format, width, v));
  } catch (const vb::RuntimeError&) {
    if (!badAmount) throw;
    failed = std::current_exception();
  }
}

}  // namespace

void OutputFields::DoPrintSetValues() {
  std::wstring file = vb::InputBox(L"Enter new file", L"New File", L"C:\\SET.BAS");
  if (file.empty()) return;
  short fn = vb::FreeFile();
  vb::OpenForOutput(fn, file);
  try {
    for (auto& f : Items()) {
      const std::wstring& n = f->Name;
      vb::Print(fn, L"Public Property Let " + n + L"(" + n + L" As String)");
      vb::Print(fn, L"  OutFields.SetValue \"" + n + L"\", " + n);
      vb::Print(fn, L"End Property");
    }
  } catch (...) {
    vb::Close(fn);
    throw;
  }
  vb::Close(fn);
}

bool OutputFields::PrintMe(short iFn) { return PrintRecord(iFn, nullptr); }

bool OutputFields::PrintRecord(short iFn, BadAmount badAmount) {
  if (!OutDefns) vb::Raise(vb::errObjectNotSet);
  // A store without names of its own reads its values from its members: they are made before
  // the walk, so that a layout printed through itself walks members that stay where they are.
  if (!names_) PrepareItems();
  RecordState record(badAmount);
  // The values are read in nearly the order they are held: asked for together, the reads of a
  // store that has not been read for a while overlap instead of waiting one after the other.
  if (names_)
    for (const std::wstring& v : values_) __builtin_prefetch(&v);
  OutDefns.ForEachEntry([&](const LayoutView& d) {
    // Most members are read where the layout expects them, in columns that start in the line,
    // and are empty (which prints nothing, whatever the type) or texts without a format: their
    // value is copied as it is, unless a failure is held (neither is an amount).
    if (StartsInLine(d) && (d.name.empty() || (names_ && names_ == d.hintIn))) {
      const std::wstring& v = d.name.empty() ? d.value : HeldAt(d.hint);
      if (v.empty() || IsPlainText(d)) {
        if (!record.failed) record.line.Put(d.fromCol, d.toCol - d.fromCol + 1, v);
        return;
      }
    }
    PrintMember(*this, record, d);
  });
  if (record.failed) std::rethrow_exception(record.failed);
  record.line.Print(iFn, !OutDefns.LastLine());
  return true;
}

void OutputFields::SetValue(const std::wstring& name, const std::wstring& value) {
  if (!BRExists(name)) throw vb::RuntimeError(kMissingFieldError, L"", L"");
  ValueOf(name) = value;
}

bool OutputFields::BRExists(const std::wstring& name) const {
  if (names_) return names_->Find(name) != static_cast<size_t>(-1);
  return const_cast<OutputFields*>(this)->Items().Contains(name);
}

com::Ptr<OutputField> OutputFields::Add(const std::wstring& name, long row, long fromCol, long toCol,
                                        const std::wstring& value, OutputFieldType dataType,
                                        const std::wstring& format, bool required) {
  auto f = OutputField::New();
  f->Name = name;
  f->Row = row;
  f->FromCol = fromCol;
  f->ToCol = toCol;
  f->Value = value;
  f->DataType = dataType;
  f->Format = format;
  f->Required = required;
  if (f->Valid()) {
    if (name.empty())
      Items().Add(f);
    else
      Items().Add(f, name);
  }
  return f;
}

com::Ptr<OutputFields> OutputFields::NewLayout(std::vector<LayoutEntry> entries) {
  auto layout = New();
  layout->pending_ = std::move(entries);
  for (const LayoutEntry& e : layout->pending_)
    if (!Holds(e)) {
      layout->PrepareItems();
      break;
    }
  return layout;
}

struct NoteTexts::Blocks {
  static constexpr size_t kBlock = 1024;
  std::vector<std::unique_ptr<std::wstring[]>> texts;
  std::vector<std::unique_ptr<const std::wstring*[]>> places;
  // The unused end of the last block of each.
  std::wstring* nextText = nullptr;
  size_t textsLeft = 0;
  const std::wstring** nextPlace = nullptr;
  size_t placesLeft = 0;
  std::vector<const std::wstring*> previous;  // the places of the record added last
};

const std::wstring* const* NoteTexts::Add(std::span<const std::wstring> texts) {
  if (texts.empty()) return nullptr;
  if (!blocks_) blocks_ = std::make_shared<Blocks>();
  Blocks& b = *blocks_;
  if (b.placesLeft < texts.size()) {
    b.placesLeft = std::max(Blocks::kBlock, texts.size());
    b.places.push_back(std::make_unique<const std::wstring*[]>(b.placesLeft));
    b.nextPlace = b.places.back().get();
  }
  const std::wstring** places = b.nextPlace;
  for (size_t k = 0; k < texts.size(); ++k) {
    if (k < b.previous.size() && *b.previous[k] == texts[k]) {
      places[k] = b.previous[k];
      continue;
    }
    if (b.textsLeft == 0) {
      b.texts.push_back(std::make_unique<std::wstring[]>(Blocks::kBlock));
      b.nextText = b.texts.back().get();
      b.textsLeft = Blocks::kBlock;
    }
    *b.nextText = texts[k];
    places[k] = b.nextText++;
    --b.textsLeft;
  }
  b.nextPlace += texts.size();
  b.placesLeft -= texts.size();
  b.previous.assign(places, places + texts.size());
  return places;
}

LayoutSlot& LayoutSlot::operator=(com::Ptr<OutputFields> layout) noexcept {
  made_ = std::move(layout);
  plan_ = nullptr;
  texts_ = {};
  values_ = nullptr;
  return *this;
}

void LayoutSlot::Note(const LayoutPlan& plan, NoteTexts& texts, std::span<const std::wstring> values) {
  values_ = texts.Add(values);
  texts_ = texts;
  plan_ = &plan;
  made_.reset();
}

const com::Ptr<OutputFields>& LayoutSlot::Made() const {
  if (plan_) {
    std::vector<LayoutEntry> entries = plan_->entries;
    for (size_t k = 0; k < plan_->varying.size(); ++k) entries[plan_->varying[k]].value = *values_[k];
    made_ = OutputFields::NewLayout(std::move(entries));
    plan_ = nullptr;
    texts_ = {};
    values_ = nullptr;
  }
  return made_;
}

bool LayoutSlot::LastLine() const { return !plan_ && made_ && made_->LastLine; }

FieldNames::FieldNames(std::span<const wchar_t* const> names) : names_(names.begin(), names.end()) {
  folded_.reserve(names_.size());
  for (size_t at = 0; at < names_.size(); ++at) {
    folded_.push_back(vb::FoldKey(names_[at]));
    index_.emplace(folded_.back(), at);  // the names differ
  }
}

size_t FieldNames::Find(std::wstring_view key, size_t hint) const {
  // The hint names the key exactly nearly always (the record writers' tables and the model's
  // use the same spelling): that is checked before anything is folded.
  if (hint < names_.size()) {
    const wchar_t* name = names_[hint];
    size_t i = 0;
    while (i < key.size() && name[i] && name[i] == key[i]) ++i;
    if (i == key.size() && !name[i]) return hint;
  }
  return vb::FindFolded(key, [&](std::wstring_view folded) {
    if (hint < folded_.size() && folded == folded_[hint]) return hint;
    auto it = index_.find(folded);
    return it == index_.end() ? static_cast<size_t>(-1) : it->second;
  });
}

com::Ptr<OutputFields> OutputFields::NewStore(const FieldNames& names) {
  auto store = New();
  store->names_ = &names;
  store->values_.resize(names.size());
  return store;
}

com::Ptr<OutputField> OutputFields::Item(long position) {
  if (!names_) return Items().Item(position);
  if (position < 1 || position > Count()) vb::Raise(vb::errSubscript);
  return Member(static_cast<size_t>(position) - 1);
}

com::Ptr<OutputField> OutputFields::Item(const std::wstring& key) {
  if (!names_) return Items().Item(key);
  const size_t at = names_->Find(key);
  if (at == static_cast<size_t>(-1)) vb::Raise(vb::errInvalidCall);
  return Member(at);
}

namespace {

// Where the member made for position `at` stands in made (by position, ascending), or would stand.
template <class Made>
auto MadeSlot(Made& made, size_t at) {
  return std::lower_bound(made.begin(), made.end(), at, [](const auto& m, size_t a) { return m.first < a; });
}

}  // namespace

OutputField* OutputFields::MadeAt(size_t at) const {
  auto it = MadeSlot(made_, at);
  return it != made_.end() && it->first == at ? it->second.get() : nullptr;
}

com::Ptr<OutputField> OutputFields::Member(size_t at) {
  auto it = MadeSlot(made_, at);
  if (it != made_.end() && it->first == at) return it->second;
  // As Add by name made it, taking the value held so far; the text's room goes with it.
  auto f = OutputField::New();
  f->Name = names_->Name(at);
  f->Value = std::move(values_[at]);
  std::wstring().swap(values_[at]);
  made_.emplace(it, at, f);
  return f;
}

void OutputFields::PrepareItems() {
  if (names_) {
    // The members, as one Add per name made them, each taking the value held so far; those
    // already made are kept.
    const FieldNames& names = *names_;
    std::vector<std::wstring> values = std::move(values_);
    auto made = std::move(made_);
    names_ = nullptr;
    values_ = {};
    made_ = {};
    auto next = made.begin();
    for (size_t at = 0; at < names.size(); ++at) {
      com::Ptr<OutputField> f;
      if (next != made.end() && next->first == at) {
        f = std::move(next->second);
        ++next;
      } else {
        f = OutputField::New();
        f->Name = names.Name(at);
        f->Value = std::move(values[at]);
      }
      mCol.Add(f, names.Name(at));
    }
  }
  if (pending_.empty()) return;
  std::vector<LayoutEntry> entries = std::move(pending_);
  pending_.clear();
  for (const LayoutEntry& e : entries)
    Add(std::wstring(e.name), 0, e.fromCol, e.toCol, e.value, e.dataType, std::wstring(e.format), e.required);
}

}  // namespace claimfile

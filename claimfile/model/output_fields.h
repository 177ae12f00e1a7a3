// A field store: an ordered keyed collection of OutputField, and the fixed-column record
// printer that formats the store's values through a layout (a second store) into one line.
#pragma once
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "com/object.h"
#include "model/members.h"
#include "model/model_collection.h"
#include "model/output_field.h"
#include "sendarro7.h"
#include "vb/collection.h"

// The public variables: OutDefns, the layout PrintMe follows, and LastLine, read from the
// layout: no line end after the record. (OutDefns is held as a LayoutSlot, declared by hand.)
#define CLAIMFILE_OUTPUT_FIELDS_MEMBERS(TEXT, VALUE, OBJECT, COLLECTION) \
  OBJECT(OutputFields, _OutputFields, OutDefns) VALUE(bool, VARIANT_BOOL, LastLine, false)

namespace claimfile {

class OutputFields;
class FieldNames;

// One entry of a record layout, as Add takes it (its Row is 0). The name and the format are
// views of texts that outlive the layout (the tables of a record writer).
struct LayoutEntry {
  std::wstring_view name;  // empty: a literal, whose value is printed
  long fromCol, toCol;
  std::wstring value;
  OutputFieldType dataType;
  std::wstring_view format;
  bool required;
  // Where the name is expected in the printing store (its position less 1), to spare the look-up;
  // a wrong hint costs only the look-up.
  size_t hint = static_cast<size_t>(-1);
  // The names the hint was found among (nullptr: none): a store holding these very names reads
  // at the hint without comparing the key.
  const FieldNames* hintIn = nullptr;
};

// A member of a layout as the record printer reads it.
struct LayoutView {
  std::wstring_view name;
  long fromCol, toCol;
  const std::wstring& value;
  OutputFieldType dataType;
  std::wstring_view format;
  size_t hint;
  const FieldNames* hintIn = nullptr;
};

// The fixed part of a record layout, made once and kept: its entries in order, where those at
// the positions `varying` (ascending) take their values from each record printed through it.
struct LayoutPlan {
  std::vector<LayoutEntry> entries;
  std::vector<size_t> varying;
};

// The texts of the notes that a record writer leaves in the stores it prints through
// (LayoutSlot::Note). A handle: its copies share the texts, which are added record by record in
// blocks, never moved or changed, and freed with the last copy; so a note takes no allocation of
// its own. A record's text equal to the one at the same place in the record added before it (a
// claim's control number) is held once.
class NoteTexts {
 public:
  // Holds the texts of one record; answers their addresses, in order (nullptr for none).
  const std::wstring* const* Add(std::span<const std::wstring> texts);

 private:
  struct Blocks;
  std::shared_ptr<Blocks> blocks_;  // made by the first Add
};

// The OutDefns of a store: a layout store, Nothing, or the note a record writer left of the last
// record printed through the store (its plan and the record's varying values). The layout store
// of a note is made when something first asks for it, holding what a store built for that record
// would hold, and then kept: a writer keeps no layout store per record.
class LayoutSlot {
 public:
  LayoutSlot& operator=(com::Ptr<OutputFields> layout) noexcept;
  // Notes the record printed through plan, which outlives the slot: values holds one text per
  // varying entry of the plan, which the slot keeps in texts.
  void Note(const LayoutPlan& plan, NoteTexts& texts, std::span<const std::wstring> values);

  explicit operator bool() const noexcept { return made_ || plan_; }
  // The layout store (made from the note if need be).
  const com::Ptr<OutputFields>& Made() const;
  OutputFields* operator->() const { return Made().get(); }
  // The layout's LastLine, without making the store of a note (whose LastLine is False).
  bool LastLine() const;
  // Calls f(LayoutView) for every entry in order, without making the store of a note.
  template <class F>
  void ForEachEntry(F&& f) const;

 private:
  mutable com::Ptr<OutputFields> made_;
  mutable const LayoutPlan* plan_ = nullptr;
  // The note's values, one per varying entry of the plan, held in texts_.
  mutable NoteTexts texts_;
  mutable const std::wstring* const* values_ = nullptr;
};

// The names of a model class's store, in store order, with their folded keys: built once per
// class and shared by every store of that class.
class FieldNames {
 public:
  explicit FieldNames(std::span<const wchar_t* const> names);
  size_t size() const { return names_.size(); }
  const wchar_t* Name(size_t at) const { return names_[at]; }
  // The position of a key (without regard to case), npos when no name is that key; a hint
  // (the expected position) spares the look-up.
  size_t Find(std::wstring_view key, size_t hint = static_cast<size_t>(-1)) const;

 private:
  std::vector<const wchar_t*> names_;
  std::vector<std::wstring> folded_;
  std::unordered_map<std::wstring, size_t, vb::FoldedKeyHash, std::equal_to<>> index_;
};

// Count, Remove and enumeration come from ModelCollection. A store of a model class holds its
// values as texts beside the class's shared names: Item makes the one member it is asked for,
// and the members are all made (each holding its value from then on) when something first needs
// every one of them (enumeration, Remove, Add).
class OutputFields : public ModelCollection<OutputFields, _OutputFields, OutputField> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__OutputFields; }
  static com::Ptr<OutputFields> New();

  // The error a store raises for a field name it does not hold (no source, no description).
  static constexpr long kMissingFieldError = static_cast<long>(0x80040001);

  // Width of a printed record line.
  static constexpr long kLineWidth = 320;

  LayoutSlot OutDefns;
  bool LastLine = false;

  // Writes property source text for every member into a file asked for in an input box.
  // (Named apart from the interface's PrintSetValues, which takes the same (no) arguments.)
  void DoPrintSetValues();
  // Formats this store's values through OutDefns into one record line and writes it to the
  // open file iFn; a control character (below 32, and 127) is written as a space. Always true;
  // every failure is raised and then no line is written.
  bool PrintMe(short iFn);
  // What a record writer does with a Currency value that does not read as an amount (it raises);
  // nullptr: the value is printed as it is.
  using BadAmount = void (*)(std::wstring_view name, const std::wstring& value);
  // PrintMe, where badAmount is called for the first named amount of the layout that does not
  // read, before any other failure of the record is raised.
  bool PrintRecord(short iFn, BadAmount badAmount);
  // Sets the value of the member under that key; a missing key raises 0x80040001.
  void SetValue(const std::wstring& name, const std::wstring& value);
  // Whether the key is held; never raises.
  bool BRExists(const std::wstring& name) const;
  // Makes a member, checks it with Valid and stores it (under its name when it has one).
  // The new member is returned whether it was stored or not; 457 on a name already held.
  com::Ptr<OutputField> Add(const std::wstring& name, long row = 0, long fromCol = 0, long toCol = 0,
                            const std::wstring& value = L"", OutputFieldType dataType = OutputFieldTypeText,
                            const std::wstring& format = L"", bool required = false);

  // The value under a key (5 when the key is missing), as readers take it; hint and hintIn as
  // LayoutEntry's.
  std::wstring& ValueOf(std::wstring_view key, size_t hint = static_cast<size_t>(-1),
                        const FieldNames* hintIn = nullptr) {
    if (names_) {
      if (names_ == hintIn) return HeldAt(hint);
      const size_t at = names_->Find(key, hint);
      if (at == static_cast<size_t>(-1)) vb::Raise(vb::errInvalidCall);
      return HeldAt(at);
    }
    return Items().Item(key, hint)->Value;
  }
  // ValueOf, answering in `at` the key's position among the class's names (npos once the store
  // holds its members), for a reader to pass as the hint of its next read of that key.
  std::wstring& ValueOf(std::wstring_view key, size_t hint, size_t& at) {
    at = names_ ? names_->Find(key, hint) : static_cast<size_t>(-1);
    if (names_ && at != static_cast<size_t>(-1)) return HeldAt(at);
    return ValueOf(key, hint);
  }

  // Item: a number is a position from 1 (9 outside 1..Count), a text a key (5 when not held).
  // A store of a model class makes only the member asked for, which then holds that value; the
  // others stay texts.
  com::Ptr<OutputField> Item(const vb::CollectionIndex& index) {
    return index.isKey ? Item(index.key) : Item(index.position);
  }
  com::Ptr<OutputField> Item(long position);
  com::Ptr<OutputField> Item(const std::wstring& key);

  // A new store holding the names, each with an empty value, as one Add per name would.
  static com::Ptr<OutputFields> NewStore(const FieldNames& names);
  // The class's names while the store holds its values beside them (nullptr once it holds members).
  const FieldNames* Names() const { return names_; }
  // Count, without making the members.
  long Count() const { return names_ ? static_cast<long>(names_->size()) : const_cast<OutputFields*>(this)->Items().Count(); }

  // A new layout holding the entries in order, as one Add per entry would hold them; the names
  // must differ. Its OutputField members are made only when something first asks for the
  // store's members; PrintMe and ForEachEntry read the entries as they are. An entry that Add
  // would refuse (with its message box) makes them at once, through Add.
  static com::Ptr<OutputFields> NewLayout(std::vector<LayoutEntry> entries);

  // Calls f(LayoutView) for every member in order, without making the members of a new layout.
  template <class F>
  void ForEachEntry(F&& f) const {
    if (names_) const_cast<OutputFields*>(this)->PrepareItems();
    if (!pending_.empty()) {
      for (const LayoutEntry& e : pending_) f(LayoutView{e.name, e.fromCol, e.toCol, e.value, e.dataType, e.format, e.hint, e.hintIn});
      return;
    }
    for (auto& d : const_cast<OutputFields*>(this)->mCol)
      f(LayoutView{d->Name, d->FromCol, d->ToCol, d->Value, d->DataType, d->Format, static_cast<size_t>(-1)});
  }

 private:
  friend class ModelCollection<OutputFields, _OutputFields, OutputField>;
  // Makes the members of a new layout (ModelCollection asks before every use of the members).
  void PrepareItems();

  // The value at a position among the class's names: the text held there, or the Value of the
  // member made for it.
  std::wstring& HeldAt(size_t at) {
    if (!made_.empty())
      if (OutputField* member = MadeAt(at)) return member->Value;
    return values_[at];
  }
  OutputField* MadeAt(size_t at) const;
  // The member of the name at that position, made (taking its value) the first time it is asked for.
  com::Ptr<OutputField> Member(size_t at);

  std::vector<LayoutEntry> pending_;
  // While names_ is set, the values of a model store, one per name; the members are not made,
  // except those in made_ (by position, ascending), which hold their values themselves.
  const FieldNames* names_ = nullptr;
  std::vector<std::wstring> values_;
  std::vector<std::pair<size_t, com::Ptr<OutputField>>> made_;
};

template <class F>
void LayoutSlot::ForEachEntry(F&& f) const {
  if (!plan_) {
    if (made_) made_->ForEachEntry(f);
    return;
  }
  size_t k = 0;
  const std::vector<LayoutEntry>& entries = plan_->entries;
  for (size_t at = 0; at < entries.size(); ++at) {
    const LayoutEntry& e = entries[at];
    const bool varies = k < plan_->varying.size() && plan_->varying[k] == at;
    const std::wstring& v = varies ? *values_[k++] : e.value;
    f(LayoutView{e.name, e.fromCol, e.toCol, v, e.dataType, e.format, e.hint, e.hintIn});
  }
}

}  // namespace claimfile

// The EDI document: a guide, one interchange with one functional group and one transaction set,
// whose segments are found by path and hold their element values until the document is saved.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "com/events.h"
#include "com/object.h"
#include "edidoc.h"
#include "errors.h"
#include "guide_file.h"

namespace edi {

struct Separators {
  wchar_t segment = L'~';
  wchar_t element = L'*';
  wchar_t composite = L':';
};

class Segment;

// The element values of every segment of a document in three flat arrays: a record per segment,
// a row of slots per segment that holds a value (one slot per simple element or component, see
// SegmentDef::slots), and one character store the slots point into. A segment object exists only
// while a caller holds one (see Segment).
class SegmentStore {
 public:
  using Index = unsigned;

  // A new segment of that definition, holding nothing.
  Index Add(const SegmentDef& def);
  const SegmentDef& def(Index s) const { return *records_[s].def; }

  // The text of an element (from 1), or of a component (from 1) of a composite element; a
  // component of 0 means the element itself, which for a composite is its first component.
  // Unset reads "". Raises 12303 for a number the dictionary does not have.
  std::wstring_view Element(Index s, long element, long component) const;
  // Sets it. Raises 12303 as above, 12378 when the text holds a separator (except ISA16 set to
  // the composite separator), 12304 when it is longer than a fixed width.
  void SetElement(Index s, long element, long component, std::wstring_view text, const Separators& sep);
  bool Empty(Index s) const;
  // Appends the segment as written, without its terminator: the id, then the elements joined by
  // the element separator, the components of a composite by the composite separator, trailing
  // empty elements and components dropped. A segment with fixed widths has all its elements,
  // each padded with blanks to its width (the 13th, the control number, with zeros on the left).
  void Render(Index s, const Separators& sep, std::wstring& out) const;

  // The segment object of a record while one is held, else nullptr (kept by Segment).
  Segment*& view(Index s) { return records_[s].view; }

 private:
  static constexpr unsigned kNoRow = ~0u;
  struct Record {
    const SegmentDef* def;
    unsigned row;   // first slot of its row; kNoRow until a value is set
    Segment* view;  // not owned
  };
  struct Slot {
    unsigned offset = 0, length = 0;  // in chars_
  };
  // The slot of an element and component; raises 12303.
  size_t SlotOf(Index s, long element, long component) const;
  std::wstring_view TextOf(const Slot& slot) const { return {chars_.data() + slot.offset, slot.length}; }

  std::vector<Record> records_;
  std::vector<Slot> slots_;
  std::wstring chars_;
};

// What a document shares with its parts: the separators in force, every guide loaded (the
// segments keep pointers into them) and the values of all segments.
struct DocumentState {
  Separators separators;
  std::vector<std::shared_ptr<const GuideFile>> guides;
  SegmentStore segments;
};

// A segment as a caller sees it: a view of its record in the document's store, made when it is
// handed out and gone when the last caller releases it. While one is held, the same record hands
// out the same object.
class Segment : public com::Object<Segment, IEdiSegment> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID_IEdiSegment; }
  // The object of the record: the one held, else a new one.
  static com::Ptr<Segment> Of(const std::shared_ptr<DocumentState>& state, SegmentStore::Index record);
  Segment(std::shared_ptr<DocumentState> state, SegmentStore::Index record);
  ~Segment() override;

  const std::wstring& id() const { return def().id; }
  const SegmentDef& def() const { return state_->segments.def(record_); }
  // See SegmentStore.
  std::wstring Element(long element, long component = 0) const {
    return std::wstring(state_->segments.Element(record_, element, component));
  }
  void SetElement(long element, long component, std::wstring_view text) {
    state_->segments.SetElement(record_, element, component, text, state_->separators);
  }
  bool Empty() const { return state_->segments.Empty(record_); }
  std::wstring Render(const Separators& sep) const {
    std::wstring out;
    state_->segments.Render(record_, sep, out);
    return out;
  }

 protected:
  std::shared_ptr<DocumentState> state_;
  SegmentStore::Index record_;
};

// An instance of a loop of the guide's tree: for each entry of its definition, the instances of
// that segment (records of the store) or loop, by index.
struct LoopNode {
  explicit LoopNode(const LoopDef& d) : def(&d), entries(d.children.size()) {}
  struct Entry {
    std::vector<SegmentStore::Index> segments;
    std::vector<std::unique_ptr<LoopNode>> loops;
  };
  const LoopDef* def;
  std::vector<Entry> entries;
};

class TransactionSet : public com::Object<TransactionSet, IEdiTransactionSet> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID_IEdiTransactionSet; }
  static com::Ptr<TransactionSet> New(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide,
                                      const std::wstring& id);
  TransactionSet(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide, const std::wstring& id);

  // The segment of a path (see the IDL); the loops and the segment are made as they are first
  // named. Raises 12301 and 12302.
  com::Ptr<Segment> SegmentByPath(const std::wstring& path);
  const com::Ptr<Segment>& st() const { return st_; }
  // The body's segments that hold a value (records of the store), in the guide's order and
  // instance order.
  std::vector<SegmentStore::Index> BodySegments() const;

 private:
  std::shared_ptr<DocumentState> state_;
  std::shared_ptr<const GuideFile> guide_;
  com::Ptr<Segment> st_;
  LoopNode root_;
};

class Group : public com::Object<Group, IEdiGroup> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID_IEdiGroup; }
  static com::Ptr<Group> New(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide,
                             const std::wstring& version);
  Group(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide, const std::wstring& version);

  // The group's transaction set, replacing an earlier one. Raises 12306 when the guide's tree
  // is of another transaction set.
  com::Ptr<TransactionSet> CreateTransactionSet(const std::wstring& id);
  const com::Ptr<Segment>& gs() const { return gs_; }
  const com::Ptr<TransactionSet>& set() const { return set_; }

 private:
  std::shared_ptr<DocumentState> state_;
  std::shared_ptr<const GuideFile> guide_;
  com::Ptr<Segment> gs_;
  com::Ptr<TransactionSet> set_;
};

class Interchange : public com::Object<Interchange, IEdiInterchange> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID_IEdiInterchange; }
  static com::Ptr<Interchange> New(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide);
  Interchange(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide);

  com::Ptr<Group> CreateGroup(const std::wstring& version);
  const com::Ptr<Segment>& isa() const { return isa_; }
  const com::Ptr<Group>& group() const { return group_; }

 private:
  std::shared_ptr<DocumentState> state_;
  std::shared_ptr<const GuideFile> guide_;
  com::Ptr<Segment> isa_;
  com::Ptr<Group> group_;
};

class Guide : public com::Object<Guide, IEdiGuide> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID_IEdiGuide; }
  static com::Ptr<Guide> New(std::shared_ptr<const GuideFile> file);
  explicit Guide(std::shared_ptr<const GuideFile> file) : file_(std::move(file)) {}
  const GuideFile& file() const { return *file_; }

 private:
  std::shared_ptr<const GuideFile> file_;
};

// A file written to a temporary file in the folder of its path, then renamed over the path by
// Commit. Raises 12320 when any step fails; until Commit an earlier file stays as it was, and a
// file not committed leaves no temporary file behind.
class ReplacingFile {
 public:
  explicit ReplacingFile(const std::wstring& path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  void Write(const char* bytes, size_t count);
  void Commit();

 private:
  [[noreturn]] void Fail(const wchar_t* what, unsigned long code);
  std::wstring path_, full_;
  wchar_t temp_[MAX_PATH * 2];
  void* handle_;
};

// Writes the whole interchange (see Document::Save) to the file, converted to the ANSI code page
// a buffer at a time; the number of its segments is known before (see InterchangeSegments).
void WriteInterchange(const Interchange& interchange, const std::vector<SegmentStore::Index>& body,
                      const SegmentStore& store, const Separators& sep, ReplacingFile& file);
// The number of segments of the interchange of that body, ISA to IEA.
inline long InterchangeSegments(const std::vector<SegmentStore::Index>& body) {
  return static_cast<long>(body.size()) + 6;
}

class Document : public com::Object<Document, IEdiDocument> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID_IEdiDocument; }
  static com::Ptr<Document> New();
  Document();

  // Dispatch ids of the events.
  enum : DISPID { eventProgressStart = 1, eventProgressComplete = 2 };

  com::Ptr<Guide> LoadGuide(const std::wstring& path);
  // Raises 12306 when no guide was loaded.
  com::Ptr<Interchange> CreateInterchange(const std::wstring& standard, const std::wstring& version);
  // Writes the interchange (raises 12306 when there is no transaction set yet), raising
  // ProgressStart before and ProgressComplete after, also when the save fails.
  void Save(const std::wstring& fileName);

  std::wstring separator(wchar_t Separators::*which) const { return std::wstring(1, state_->separators.*which); }
  // Raises 12305 unless the text is one character.
  void SetSeparator(wchar_t Separators::*which, const std::wstring& text);
  long Option29 = 0;  // stored, no effect

  com::EventSource& events() { return events_; }

 protected:
  void* OtherInterface(REFIID riid) noexcept override {
    return events_.Interface(riid);
  }

 private:
  std::shared_ptr<DocumentState> state_;
  com::Ptr<Interchange> interchange_;
  com::EventSource events_;
};

}  // namespace edi

// The EDI document: a guide, one interchange with one functional group and one transaction set,
// whose segments are found by path and hold their element values until the document is saved.
#pragma once
#include <memory>
#include <string>
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

// What a document shares with its parts: the separators in force and every guide loaded (the
// segments keep pointers into them).
struct DocumentState {
  Separators separators;
  std::vector<std::shared_ptr<const GuideFile>> guides;
};

class Segment : public com::Object<Segment, IEdiSegment> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID_IEdiSegment; }
  static com::Ptr<Segment> New(std::shared_ptr<DocumentState> state, const SegmentDef& def);
  Segment(std::shared_ptr<DocumentState> state, const SegmentDef& def) : state_(std::move(state)), def_(&def) {}

  const std::wstring& id() const { return def_->id; }
  const SegmentDef& def() const { return *def_; }
  // The text of an element (from 1), or of a component (from 1) of a composite element; a
  // component of 0 means the element itself, which for a composite is its first component.
  // Unset reads "". Raises 12303 for a number the dictionary does not have.
  std::wstring Element(long element, long component = 0) const;
  // Sets it. Raises 12303 as above, 12378 when the text holds a separator (except ISA16 set to
  // the composite separator), 12304 when it is longer than a fixed width.
  void SetElement(long element, long component, std::wstring text);
  bool Empty() const;
  // The segment as written, without its terminator: the id, then the elements joined by the
  // element separator, the components of a composite by the composite separator, trailing empty
  // elements and components dropped. A segment with fixed widths has all its elements, each
  // padded with blanks to its width (the 13th, the control number, with zeros on the left).
  std::wstring Render(const Separators& sep) const;

 private:
  std::pair<size_t, size_t> Slot(long element, long component) const;

  std::shared_ptr<DocumentState> state_;
  const SegmentDef* def_;
  std::vector<std::vector<std::wstring>> values_;  // [element - 1][component - 1]
};

// An instance of a loop of the guide's tree: for each entry of its definition, the instances of
// that segment or loop, by index.
struct LoopNode {
  explicit LoopNode(const LoopDef& d) : def(&d), entries(d.children.size()) {}
  struct Entry {
    std::vector<com::Ptr<Segment>> segments;
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
  // The body's segments that hold a value, in the guide's order and instance order.
  std::vector<const Segment*> BodySegments() const;

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

// The whole interchange as written (see Document::Save), and the number of its segments.
std::wstring RenderInterchange(const Interchange& interchange, const Separators& sep, long* segmentCount);
// Writes the bytes to a temporary file in the folder of `path`, then renames it over `path`.
// Raises 12320 and leaves an earlier file as it was when that fails.
void WriteFileReplacing(const std::wstring& path, const std::string& bytes);

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

#include "document.h"

#include <string_view>

#include "vb/convert.h"
#include "vb/error.h"

namespace edi {

namespace {

[[noreturn]] void Fail(long number, const std::wstring& text) { throw vb::RuntimeError(number, text); }

std::wstring ElementName(const std::wstring& id, long element) {
  std::wstring n = std::to_wstring(element);
  return id + (n.size() < 2 ? L"0" : L"") + n;
}

// "NAME" or "NAME(n)": the instance (1 when none), the name going to `name` (a buffer the caller
// reuses, so that a path is read without a copy of each piece).
size_t ParsePiece(std::wstring_view piece, const std::wstring& path, std::wstring& name) {
  const size_t open = piece.find(L'(');
  if (open == std::wstring_view::npos) {
    name.assign(piece);
    return 1;
  }
  const std::wstring_view digits = piece.substr(open + 1, piece.size() - open - 2);
  bool ok = piece.back() == L')' && !digits.empty() && digits.size() <= 9;
  size_t n = 0;
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') ok = false;
    else n = n * 10 + static_cast<size_t>(c - L'0');
  }
  if (!ok || n == 0)
    Fail(errPathInstance, L"Path \"" + path + L"\": \"" + std::wstring(piece) + L"\" has no instance number from 1");
  name.assign(piece.substr(0, open));
  return n;
}

// The instance `n` (from 1) of a list: the existing one, or a new one made by make() when it is
// the next; raises 12302 when instance n-1 does not exist.
template <class List, class Make>
auto& InstanceOf(List& list, size_t n, const std::wstring& name, const std::wstring& path, Make make) {
  if (n > list.size() + 1)
    Fail(errPathInstance, L"Path \"" + path + L"\": instance " + std::to_wstring(n) + L" of \"" + name +
                              L"\" before instance " + std::to_wstring(n - 1));
  if (n == list.size() + 1) list.push_back(make());
  return list[n - 1];
}

void CollectSegments(const LoopNode& node, const SegmentStore& store, std::vector<SegmentStore::Index>& out) {
  for (size_t i = 0; i < node.entries.size(); ++i) {
    for (SegmentStore::Index s : node.entries[i].segments)
      if (!store.Empty(s)) out.push_back(s);
    for (const auto& l : node.entries[i].loops) CollectSegments(*l, store, out);
  }
}

VARIANT LongArgument(long n) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}

com::Ptr<Segment> HeaderSegment(const std::shared_ptr<DocumentState>& state, const GuideFile& guide,
                                const wchar_t* id) {
  return Segment::Of(state, state->segments.Add(*guide.Segment(id)));
}

}  // namespace

// ---- SegmentStore --------------------------------------------------------------------------

SegmentStore::Index SegmentStore::Add(const SegmentDef& def) {
  records_.push_back(Record{&def, kNoRow, nullptr});
  return static_cast<Index>(records_.size() - 1);
}

size_t SegmentStore::SlotOf(Index s, long element, long component) const {
  const SegmentDef& d = def(s);
  if (element < 1 || element > d.highest)
    Fail(errElementNumber, L"Segment " + d.id + L" has no element " + std::to_wstring(element));
  const int components = d.ComponentsOf(static_cast<int>(element));
  const long most = components ? components : 1;
  if (component < 0 || component > most)
    Fail(errElementNumber, L"Element " + ElementName(d.id, element) + L" has no component " + std::to_wstring(component));
  return static_cast<size_t>(d.slotOf[static_cast<size_t>(element - 1)]) +
         static_cast<size_t>(component ? component - 1 : 0);
}

std::wstring_view SegmentStore::Element(Index s, long element, long component) const {
  const size_t slot = SlotOf(s, element, component);
  const Record& r = records_[s];
  if (r.row == kNoRow) return {};
  return TextOf(slots_[r.row + slot]);
}

void SegmentStore::SetElement(Index s, long element, long component, std::wstring_view text, const Separators& sep) {
  const size_t slot = SlotOf(s, element, component);
  const SegmentDef& d = def(s);
  const bool isaComposite = d.id == L"ISA" && element == 16 && text.size() == 1 && text[0] == sep.composite;
  const wchar_t separators[] = {sep.segment, sep.element, sep.composite};
  if (!isaComposite && text.find_first_of(separators, 0, 3) != std::wstring_view::npos)
    Fail(errSeparatorInValue, L"The value \"" + std::wstring(text) + L"\" of " + ElementName(d.id, element) +
                                  L" holds a separator character");
  const size_t e = static_cast<size_t>(element - 1);
  if (!d.widths.empty() && text.size() > static_cast<size_t>(d.widths[e]))
    Fail(errIsaWidth, L"The value \"" + std::wstring(text) + L"\" of " + ElementName(d.id, element) +
                          L" is longer than its " + std::to_wstring(d.widths[e]) + L" characters");
  Record& r = records_[s];
  if (r.row == kNoRow) {
    if (text.empty()) return;  // an unset value reads "" already
    r.row = static_cast<unsigned>(slots_.size());
    slots_.resize(slots_.size() + static_cast<size_t>(d.slots));
  }
  Slot& target = slots_[r.row + slot];
  if (text.size() <= target.length) {  // a value no longer than the one it replaces takes its place
    text.copy(chars_.data() + target.offset, text.size());
  } else {
    target.offset = static_cast<unsigned>(chars_.size());
    chars_.append(text);
  }
  target.length = static_cast<unsigned>(text.size());
}

bool SegmentStore::Empty(Index s) const {
  const Record& r = records_[s];
  if (r.row == kNoRow) return true;
  for (size_t i = 0; i < static_cast<size_t>(r.def->slots); ++i)
    if (slots_[r.row + i].length) return false;
  return true;
}

void SegmentStore::Render(Index s, const Separators& sep, std::wstring& out) const {
  const Record& r = records_[s];
  const SegmentDef& d = *r.def;
  auto text = [&](size_t slot) { return r.row == kNoRow ? std::wstring_view() : TextOf(slots_[r.row + slot]); };
  // The slots of element e (from 0) end where those of the next begin.
  auto endOf = [&](size_t e) {
    return static_cast<size_t>(e + 1 < d.slotOf.size() ? d.slotOf[e + 1] : d.slots);
  };
  out += d.id;
  if (!d.widths.empty()) {
    const wchar_t composite[] = {sep.composite};
    for (size_t e = 0; e < d.widths.size(); ++e) {
      std::wstring_view v = text(static_cast<size_t>(d.slotOf[e]));
      if (e == 15 && v.empty()) v = std::wstring_view(composite, 1);
      const size_t width = static_cast<size_t>(d.widths[e]);
      out += sep.element;
      if (e == 12) out.append(width - v.size(), L'0');
      out += v;
      if (e != 12) out.append(width - v.size(), L' ');
    }
    return;
  }
  if (r.row == kNoRow) return;
  // The elements up to the last that holds something; of each, the components up to the last.
  size_t elements = d.slotOf.size();
  auto holds = [&](size_t e) {
    for (size_t k = static_cast<size_t>(d.slotOf[e]); k < endOf(e); ++k)
      if (!text(k).empty()) return true;
    return false;
  };
  while (elements > 0 && !holds(elements - 1)) --elements;
  for (size_t e = 0; e < elements; ++e) {
    const size_t first = static_cast<size_t>(d.slotOf[e]);
    size_t end = endOf(e);
    while (end > first && text(end - 1).empty()) --end;
    out += sep.element;
    for (size_t k = first; k < end; ++k) {
      if (k > first) out += sep.composite;
      out += text(k);
    }
  }
}

// ---- Segment -------------------------------------------------------------------------------

Segment::Segment(std::shared_ptr<DocumentState> state, SegmentStore::Index record)
    : state_(std::move(state)), record_(record) {
  state_->segments.view(record_) = this;
}

Segment::~Segment() {
  Segment*& held = state_->segments.view(record_);
  if (held == this) held = nullptr;
}

// ---- TransactionSet, Group, Interchange ---------------------------------------------------

TransactionSet::TransactionSet(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide,
                               const std::wstring& id)
    : state_(std::move(state)), guide_(std::move(guide)), root_(guide_->Tree()) {
  st_ = HeaderSegment(state_, *guide_, L"ST");
  st_->SetElement(1, 0, id);
}

com::Ptr<Segment> TransactionSet::SegmentByPath(const std::wstring& path) {
  LoopNode* node = &root_;
  size_t start = 0;
  std::wstring name;
  for (;;) {
    const size_t end = path.find(L'\\', start);
    const bool last = end == std::wstring::npos;
    const std::wstring_view piece(path.data() + start, (last ? path.size() : end) - start);
    const size_t n = ParsePiece(piece, path, name);
    const auto& index = last ? node->def->segments : node->def->loops;
    auto it = index.find(name);
    if (it == index.end())
      Fail(errPathName, L"Path \"" + path + L"\": no " + (last ? L"segment" : L"loop") + L" \"" + name + L"\" in " +
                            (node == &root_ ? L"the transaction set" : L"loop " + node->def->id));
    LoopNode::Entry& entry = node->entries[it->second];
    const LoopDef::Child& child = node->def->children[it->second];
    if (last)
      return Segment::Of(state_, InstanceOf(entry.segments, n, name, path,
                                            [&] { return state_->segments.Add(*child.segment); }));
    node = InstanceOf(entry.loops, n, name, path, [&] { return std::make_unique<LoopNode>(*child.loop); }).get();
    start = end + 1;
  }
}

std::vector<SegmentStore::Index> TransactionSet::BodySegments() const {
  std::vector<SegmentStore::Index> out;
  CollectSegments(root_, state_->segments, out);
  return out;
}

Group::Group(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide, const std::wstring& version)
    : state_(std::move(state)), guide_(std::move(guide)) {
  gs_ = HeaderSegment(state_, *guide_, L"GS");
  if (!version.empty()) gs_->SetElement(8, 0, version);
}

com::Ptr<TransactionSet> Group::CreateTransactionSet(const std::wstring& id) {
  if (id != guide_->transactionSetId())
    Fail(errOrder, L"The guide " + guide_->path() + L" describes transaction set " + guide_->transactionSetId() +
                       L", not " + id);
  set_ = TransactionSet::New(state_, guide_, id);
  return set_;
}

Interchange::Interchange(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide)
    : state_(std::move(state)), guide_(std::move(guide)) {
  isa_ = HeaderSegment(state_, *guide_, L"ISA");
}

com::Ptr<Group> Interchange::CreateGroup(const std::wstring& version) {
  group_ = Group::New(state_, guide_, version);
  return group_;
}

// ---- Document ------------------------------------------------------------------------------

Document::Document()
    : state_(std::make_shared<DocumentState>()),
      events_(static_cast<IEdiDocument*>(this), DIID_EdiDocumentEvents) {}

com::Ptr<Guide> Document::LoadGuide(const std::wstring& path) {
  auto file = GuideFile::Load(path);
  state_->guides.push_back(file);
  return Guide::New(file);
}

com::Ptr<Interchange> Document::CreateInterchange(const std::wstring&, const std::wstring&) {
  if (state_->guides.empty()) Fail(errOrder, L"No guide is loaded");
  interchange_ = Interchange::New(state_, state_->guides.back());
  return interchange_;
}

void Document::SetSeparator(wchar_t Separators::*which, const std::wstring& text) {
  if (text.size() != 1) Fail(errSeparatorLength, L"A separator is one character, not \"" + text + L"\"");
  state_->separators.*which = text[0];
}

void Document::Save(const std::wstring& fileName) {
  if (!interchange_ || !interchange_->group() || !interchange_->group()->set())
    Fail(errOrder, L"There is no transaction set to save");
  const std::vector<SegmentStore::Index> body = interchange_->group()->set()->BodySegments();
  const long count = InterchangeSegments(body);
  com::Ptr<Document> keep(this);  // a sink may release the document
  com::Ptr<Interchange> interchange = interchange_;  // and the document its interchange
  events_.Fire(eventProgressStart, {LongArgument(count)});
  try {
    ReplacingFile file(fileName);
    WriteInterchange(*interchange, body, state_->segments, state_->separators, file);
    file.Commit();
  } catch (...) {
    events_.Fire(eventProgressComplete, {LongArgument(0)});
    throw;
  }
  events_.Fire(eventProgressComplete, {LongArgument(count)});
}

}  // namespace edi

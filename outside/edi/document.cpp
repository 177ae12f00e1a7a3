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

void CollectSegments(const LoopNode& node, std::vector<const Segment*>& out) {
  for (size_t i = 0; i < node.entries.size(); ++i) {
    for (const auto& s : node.entries[i].segments)
      if (!s->Empty()) out.push_back(s.get());
    for (const auto& l : node.entries[i].loops) CollectSegments(*l, out);
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
  return Segment::New(state, *guide.Segment(id));
}

}  // namespace

// ---- Segment -------------------------------------------------------------------------------

std::pair<size_t, size_t> Segment::Slot(long element, long component) const {
  if (element < 1 || element > def_->highest)
    Fail(errElementNumber, L"Segment " + id() + L" has no element " + std::to_wstring(element));
  const int components = def_->ComponentsOf(static_cast<int>(element));
  const long most = components ? components : 1;
  if (component < 0 || component > most)
    Fail(errElementNumber, L"Element " + ElementName(id(), element) + L" has no component " + std::to_wstring(component));
  return {static_cast<size_t>(element - 1), static_cast<size_t>(component ? component - 1 : 0)};
}

std::wstring Segment::Element(long element, long component) const {
  auto [e, c] = Slot(element, component);
  if (e >= values_.size() || c >= values_[e].size()) return L"";
  return values_[e][c];
}

void Segment::SetElement(long element, long component, std::wstring text) {
  auto [e, c] = Slot(element, component);
  const Separators& sep = state_->separators;
  const bool isaComposite = id() == L"ISA" && element == 16 && text.size() == 1 && text[0] == sep.composite;
  const wchar_t separators[] = {sep.segment, sep.element, sep.composite, L'\0'};
  if (!isaComposite && text.find_first_of(separators, 0, 3) != std::wstring::npos)
    Fail(errSeparatorInValue, L"The value \"" + text + L"\" of " + ElementName(id(), element) +
                                  L" holds a separator character");
  if (!def_->widths.empty() && text.size() > static_cast<size_t>(def_->widths[e]))
    Fail(errIsaWidth, L"The value \"" + text + L"\" of " + ElementName(id(), element) + L" is longer than its " +
                          std::to_wstring(def_->widths[e]) + L" characters");
  if (values_.size() <= e) values_.resize(e + 1);
  if (values_[e].size() <= c) values_[e].resize(c + 1);
  values_[e][c] = std::move(text);
}

bool Segment::Empty() const {
  for (const auto& element : values_)
    for (const auto& component : element)
      if (!component.empty()) return false;
  return true;
}

std::wstring Segment::Render(const Separators& sep) const {
  std::wstring out = id();
  if (!def_->widths.empty()) {
    for (size_t e = 0; e < def_->widths.size(); ++e) {
      std::wstring v = e < values_.size() && !values_[e].empty() ? values_[e][0] : L"";
      if (e == 15 && v.empty()) v = std::wstring(1, sep.composite);
      const size_t width = static_cast<size_t>(def_->widths[e]);
      if (e == 12) v.insert(0, width - v.size(), L'0');
      else v.append(width - v.size(), L' ');
      out += sep.element;
      out += v;
    }
    return out;
  }
  std::vector<std::wstring> elements;
  for (const auto& components : values_) {
    size_t last = components.size();
    while (last > 0 && components[last - 1].empty()) --last;
    std::wstring text;
    for (size_t c = 0; c < last; ++c) {
      if (c) text += sep.composite;
      text += components[c];
    }
    elements.push_back(std::move(text));
  }
  while (!elements.empty() && elements.back().empty()) elements.pop_back();
  for (const auto& text : elements) {
    out += sep.element;
    out += text;
  }
  return out;
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
      return InstanceOf(entry.segments, n, name, path, [&] { return Segment::New(state_, *child.segment); });
    node = InstanceOf(entry.loops, n, name, path, [&] { return std::make_unique<LoopNode>(*child.loop); }).get();
    start = end + 1;
  }
}

std::vector<const Segment*> TransactionSet::BodySegments() const {
  std::vector<const Segment*> out;
  CollectSegments(root_, out);
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
  long count = 0;
  const std::wstring text = RenderInterchange(*interchange_, state_->separators, &count);
  com::Ptr<Document> keep(this);  // a sink may release the document
  events_.Fire(eventProgressStart, {LongArgument(count)});
  try {
    WriteFileReplacing(fileName, vb::ToAnsi(text));
  } catch (...) {
    events_.Fire(eventProgressComplete, {LongArgument(0)});
    throw;
  }
  events_.Fire(eventProgressComplete, {LongArgument(count)});
}

}  // namespace edi

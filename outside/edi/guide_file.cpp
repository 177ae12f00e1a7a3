#include "guide_file.h"

#include <windows.h>

#include <sstream>

#include "errors.h"
#include "vb/convert.h"
#include "vb/error.h"

namespace edi {

namespace {

const wchar_t kFirstLine[] = L"EDIDOC GUIDE 1";

bool IsId(const std::wstring& s) {
  if (s.size() < 2 || s.size() > 3) return false;
  for (wchar_t c : s)
    if (!((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'))) return false;
  return s[0] >= L'A' && s[0] <= L'Z';
}

// A whole number from 1 to `max`; 0 when the text is not one.
int Number(const std::wstring& s, int max) {
  if (s.empty() || s.size() > 4) return 0;
  int n = 0;
  for (wchar_t c : s) {
    if (c < L'0' || c > L'9') return 0;
    n = n * 10 + (c - L'0');
  }
  return n <= max ? n : 0;
}

std::vector<std::wstring> Words(const std::wstring& line) {
  std::wistringstream in(line);
  std::vector<std::wstring> words;
  for (std::wstring w; in >> w;) words.push_back(w);
  return words;
}

}  // namespace

const SegmentDef* GuideFile::Segment(const std::wstring& id) const {
  auto it = dictionary_.find(id);
  return it == dictionary_.end() ? nullptr : it->second.get();
}

std::shared_ptr<const GuideFile> GuideFile::Load(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    throw vb::RuntimeError(errGuideRead, L"Guide file " + path + L" cannot be read: " + vb::Win32ErrorText(code));
  }
  std::string bytes;
  char buf[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(h, buf, sizeof buf, &got, nullptr)) && got > 0) bytes.append(buf, got);
  const DWORD code = GetLastError();
  CloseHandle(h);
  if (!ok) throw vb::RuntimeError(errGuideRead, L"Guide file " + path + L" cannot be read: " + vb::Win32ErrorText(code));
  return Parse(bytes, path);
}

std::shared_ptr<const GuideFile> GuideFile::Parse(const std::string& text, const std::wstring& path) {
  auto guide = std::make_shared<GuideFile>();
  guide->path_ = path;
  const std::wstring all = vb::FromAnsi(text);

  int lineNo = 0;
  auto fail = [&](const std::wstring& what) {
    throw vb::RuntimeError(errGuideLine, L"Guide file " + path + L", line " + std::to_wstring(lineNo) + L": " + what);
  };

  std::vector<LoopDef*> open;  // the tree's loops being read, innermost last
  bool treeSeen = false, treeClosed = false;
  size_t pos = 0;
  while (pos <= all.size()) {
    size_t end = all.find(L'\n', pos);
    if (end == std::wstring::npos) end = all.size();
    std::wstring line = all.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (lineNo == 1) {
      if (line != kFirstLine)
        throw vb::RuntimeError(errGuideNotOurs, L"File " + path + L" is not a guide file of this component (line 1)");
      continue;
    }
    const std::vector<std::wstring> w = Words(line);
    if (w.empty() || w[0][0] == L'#') continue;
    const std::wstring& kw = w[0];

    if (kw == L"SEGMENT") {
      if (treeSeen) fail(L"SEGMENT after TREE");
      if (w.size() < 3 || !IsId(w[1])) fail(L"SEGMENT needs a segment id and its highest element number");
      auto def = std::make_unique<SegmentDef>();
      def->id = w[1];
      def->highest = Number(w[2], 99);
      if (!def->highest) fail(L"highest element number of " + w[1] + L" is not 1 to 99: " + w[2]);
      for (size_t i = 3; i < w.size();) {
        if (w[i] == L"COMPOSITE") {
          if (i + 2 >= w.size()) fail(L"COMPOSITE needs an element number and a component count");
          int element = Number(w[i + 1], def->highest), count = Number(w[i + 2], 99);
          if (!element || count < 2) fail(L"bad COMPOSITE " + w[i + 1] + L" " + w[i + 2] + L" of " + w[1]);
          def->composites[element] = count;
          i += 3;
        } else if (w[i] == L"WIDTHS") {
          if (w.size() - i - 1 != static_cast<size_t>(def->highest))
            fail(L"WIDTHS of " + w[1] + L" needs one width for each of its " + w[2] + L" elements");
          for (size_t k = i + 1; k < w.size(); ++k) {
            int width = Number(w[k], 999);
            if (!width) fail(L"bad width " + w[k] + L" of " + w[1]);
            def->widths.push_back(width);
          }
          i = w.size();
        } else {
          fail(L"unknown word " + w[i]);
        }
      }
      def->LayOutSlots();
      if (!guide->dictionary_.emplace(def->id, std::move(def)).second) fail(L"segment " + w[1] + L" defined twice");
    } else if (kw == L"TREE") {
      if (treeSeen) fail(L"a second TREE");
      if (w.size() != 2) fail(L"TREE needs the transaction set id");
      treeSeen = true;
      guide->setId_ = w[1];
      guide->tree_.id = w[1];
      open.push_back(&guide->tree_);
    } else if (kw == L"SEG" || kw == L"LOOP") {
      if (open.empty()) fail(kw + L" outside the tree");
      if (w.size() < 2 || w.size() > 3) fail(kw + L" needs an id and at most a repeat count");
      if (w.size() == 3 && w[2] != L">1" && !Number(w[2], 9999)) fail(L"bad repeat count " + w[2]);
      const SegmentDef* def = guide->Segment(w[1]);
      if (!def) fail(L"segment " + w[1] + L" is not in the dictionary");
      LoopDef& parent = *open.back();
      if (parent.segments.count(w[1]) || parent.loops.count(w[1]))
        fail(w[1] + L" appears twice in loop " + parent.id);
      if (&parent != &guide->tree_ && parent.children.empty() && (kw != L"SEG" || w[1] != parent.id))
        fail(L"loop " + parent.id + L" must begin with its segment " + parent.id);
      LoopDef::Child child;
      if (kw == L"SEG") {
        child.segment = def;
        parent.segments[w[1]] = parent.children.size();
        parent.children.push_back(std::move(child));
      } else {
        child.loop = std::make_unique<LoopDef>();
        child.loop->id = w[1];
        LoopDef* sub = child.loop.get();
        parent.loops[w[1]] = parent.children.size();
        parent.children.push_back(std::move(child));
        open.push_back(sub);
      }
    } else if (kw == L"END") {
      if (open.empty()) fail(L"END without LOOP or TREE");
      if (open.back() != &guide->tree_ && open.back()->children.empty()) fail(L"empty loop " + open.back()->id);
      open.pop_back();
      if (open.empty()) treeClosed = true;
    } else {
      fail(L"unknown statement " + kw);
    }
    if (treeClosed && kw != L"END") fail(L"statement after the tree");
  }
  if (!treeSeen) fail(L"no TREE");
  if (!treeClosed) fail(L"the tree is not closed by END");
  for (const wchar_t* id : {L"ISA", L"GS", L"ST", L"SE", L"GE", L"IEA"})
    if (!guide->Segment(id)) fail(std::wstring(L"segment ") + id + L" is not in the dictionary");
  const SegmentDef* isa = guide->Segment(L"ISA");
  if (isa->highest != 16 || isa->widths.empty()) fail(L"ISA needs 16 elements with their WIDTHS");
  return guide;
}

}  // namespace edi

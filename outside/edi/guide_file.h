// The guide file: which segments exist (their highest element number, their composite elements
// and, for the ISA, the fixed widths) and the tree of loops and segments of a transaction set in
// the order they are written.
//
// The file is text in the ANSI code page, one statement a line; blank lines and lines starting
// with "#" are ignored:
//   EDIDOC GUIDE 1                                 the first line, exactly
//   SEGMENT <id> <highest> [COMPOSITE <element> <components>]... [WIDTHS <w1> ... <w-highest>]
//   TREE <transaction set id>                      opens the tree (after the dictionary)
//   SEG <id> [<repeat>]                            a segment of the current loop
//   LOOP <id> [<repeat>]                           opens a loop; its first entry is SEG <id>
//   END                                            closes the innermost loop, at last the tree
// A repeat count (a number or ">1") is information only. Within one loop each segment id and
// each loop id appears once, and no id is both. ISA (with WIDTHS), GS, ST, SE, GE and IEA must be
// in the dictionary.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace edi {

struct SegmentDef {
  std::wstring id;
  int highest = 0;
  std::map<int, int> composites;  // element number -> number of components
  std::vector<int> widths;        // fixed width of each element (ISA), else empty
  // Where a segment's values sit in its row of slots, one slot for each simple element and each
  // component: slotOf[element - 1] is the slot of the element (of its first component); `slots`
  // is the row's length. Set by LayOutSlots once the definition is complete.
  std::vector<int> slotOf;
  int slots = 0;

  void LayOutSlots() {
    slotOf.assign(static_cast<size_t>(highest), 0);
    slots = 0;
    for (int e = 1; e <= highest; ++e) {
      slotOf[static_cast<size_t>(e - 1)] = slots;
      const int components = ComponentsOf(e);
      slots += components ? components : 1;
    }
  }

  // The components of an element: 0 for a simple element.
  int ComponentsOf(int element) const {
    auto it = composites.find(element);
    return it == composites.end() ? 0 : it->second;
  }
};

struct LoopDef {
  struct Child {
    const SegmentDef* segment = nullptr;  // a segment, or
    std::unique_ptr<LoopDef> loop;        // a loop
  };
  std::wstring id;
  std::vector<Child> children;  // in output order
  std::unordered_map<std::wstring, size_t> segments, loops;  // id -> index in children
};

class GuideFile {
 public:
  // Reads and checks a guide file. Raises 12310 when it cannot be read, 12311 when its first
  // line is not this format's, 12312 for a malformed line (the description names path and line).
  static std::shared_ptr<const GuideFile> Load(const std::wstring& path);
  // The same over text already read; `path` only names it in errors.
  static std::shared_ptr<const GuideFile> Parse(const std::string& text, const std::wstring& path);

  const std::wstring& path() const { return path_; }
  const std::wstring& transactionSetId() const { return setId_; }
  // The definition of a segment of the dictionary; nullptr when it has none of that id.
  const SegmentDef* Segment(const std::wstring& id) const;
  // The transaction set's body (between ST and SE).
  const LoopDef& Tree() const { return tree_; }

 private:
  std::wstring path_;
  std::wstring setId_;
  std::map<std::wstring, std::unique_ptr<SegmentDef>> dictionary_;
  LoopDef tree_;
};

}  // namespace edi

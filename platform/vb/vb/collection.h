// The run time's general ordered collection: insertion order, positions from 1,
// optional text keys compared without regard to case.
#pragma once
#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "vb/error.h"

namespace vb {

// Case-folded form of a key (locale rules of the user locale, as the run time compares text keys).
std::wstring FoldKey(const std::wstring& key);

// Looks up a key in an index of folded keys without making a text of it where it is short ASCII
// (what nearly every key is); find(folded) is called with the folded key as a view.
template <class Find>
auto FindFolded(std::wstring_view key, Find&& find) {
  wchar_t buf[64];
  bool ascii = key.size() <= 64;
  for (size_t i = 0; ascii && i < key.size(); ++i) {
    const wchar_t c = key[i];
    ascii = c < 0x80;
    buf[i] = c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
  }
  if (ascii) return find(std::wstring_view(buf, key.size()));
  const std::wstring folded = FoldKey(std::wstring(key));
  return find(std::wstring_view(folded));
}

// Hashing of folded keys that takes a view as well as a text.
struct FoldedKeyHash {
  using is_transparent = void;
  size_t operator()(std::wstring_view key) const noexcept { return std::hash<std::wstring_view>{}(key); }
};

// What a VARIANT index argument of Item/Remove names: a position or a key.
// Text is a key; numbers and Booleans are positions (rounded half to even); Empty is position 0;
// Null raises 94; objects, arrays and anything else raise 13. By-reference variants are followed.
struct CollectionIndex {
  bool isKey = false;
  long position = 0;
  std::wstring key;
  static CollectionIndex From(const VARIANT& index);
};

template <class T>
class Collection {
 public:
  // Adds at the end, or before or after the item that the index names (not both: 5). A key
  // already present (without regard to case) raises 457 and adds nothing; an index naming no
  // item raises 5 or 9 as Item does.
  void Add(T item, const std::optional<std::wstring>& key = std::nullopt,
           const std::optional<CollectionIndex>& before = std::nullopt,
           const std::optional<CollectionIndex>& after = std::nullopt) {
    if (before && after) Raise(errInvalidCall);
    std::wstring folded;
    if (key) {
      folded = FoldKey(*key);
      if (index_.count(folded)) Raise(errDuplicateKey);
    }
    size_t at = before ? Slot(*before) : after ? Slot(*after) + 1 : items_.size();
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), Entry{std::move(item), key.has_value(), folded});
    if (at + 1 != items_.size())  // not at the end: the later items move up one place
      for (auto& kv : index_)
        if (kv.second >= at) ++kv.second;
    if (key) index_.emplace(std::move(folded), at);
  }

  long Count() const { return static_cast<long>(items_.size()); }

  // Position from 1; outside 1..Count raises 9.
  T& Item(long position) { return items_[Slot(position)].item; }
  // Missing key raises 5.
  T& Item(std::wstring_view key) { return items_[Slot(key)].item; }
  // The same, where the caller expects the item at position hint + 1: that item is taken when its
  // key is the key (without regard to case), which spares the look-up.
  T& Item(std::wstring_view key, size_t hint) {
    if (hint < items_.size() && items_[hint].hasKey &&
        FindFolded(key, [&](std::wstring_view folded) { return folded == items_[hint].folded; }))
      return items_[hint].item;
    return Item(key);
  }
  T& Item(const CollectionIndex& index) { return items_[Slot(index)].item; }
  T& Item(const VARIANT& index) { return Item(CollectionIndex::From(index)); }

  bool Contains(const std::wstring& key) const { return index_.count(FoldKey(key)) != 0; }

  void Remove(long position) { Erase(Slot(position)); }
  void Remove(const std::wstring& key) { Erase(Slot(key)); }
  void Remove(const CollectionIndex& index) { Erase(Slot(index)); }
  void Remove(const VARIANT& index) { Remove(CollectionIndex::From(index)); }

  // Iteration in insertion order, over the items.
  class iterator {
   public:
    using Base = typename std::vector<typename Collection::Entry>::iterator;
    explicit iterator(Base b) : b_(b) {}
    T& operator*() const { return b_->item; }
    T* operator->() const { return &b_->item; }
    iterator& operator++() { ++b_; return *this; }
    bool operator!=(const iterator& o) const { return b_ != o.b_; }
    bool operator==(const iterator& o) const { return b_ == o.b_; }
   private:
    Base b_;
  };
  iterator begin() { return iterator(items_.begin()); }
  iterator end() { return iterator(items_.end()); }

 private:
  struct Entry {
    T item;
    bool hasKey;
    std::wstring folded;
  };

  size_t Slot(long position) const {
    if (position < 1 || position > Count()) Raise(errSubscript);
    return static_cast<size_t>(position - 1);
  }
  size_t Slot(std::wstring_view key) const {
    auto it = FindFolded(key, [&](std::wstring_view folded) { return index_.find(folded); });
    if (it == index_.end()) Raise(errInvalidCall);
    return it->second;
  }
  size_t Slot(const CollectionIndex& index) const {
    return index.isKey ? Slot(index.key) : Slot(index.position);
  }
  void Erase(size_t slot) {
    if (items_[slot].hasKey) index_.erase(items_[slot].folded);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(slot));
    for (auto& kv : index_)
      if (kv.second > slot) --kv.second;
  }

  std::vector<Entry> items_;
  std::unordered_map<std::wstring, size_t, FoldedKeyHash, std::equal_to<>> index_;
};

}  // namespace vb

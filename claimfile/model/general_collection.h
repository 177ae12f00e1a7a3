// The run time's general Collection as an Automation object, for
// the Collection members of Batch and Claim: items in insertion order from position 1, optional
// text keys compared without regard to case, Add(Item, [Key], [Before], [After]), Item (default
// member), Count, Remove and enumeration.
//
// It keeps the vtable and dispatch ids of VBA's _Collection {A4C46780-499F-101B-BB78-00AA00383CBB}
// and answers that interface id, so a host compiled against VBA's Collection can hold it. Its
// IDispatch is its own (the VBA type library is not part of this library's), by the names Item,
// Add, Count, Remove and _NewEnum. The class is not registered: the model objects create it.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com/object.h"
#include "com/ptr.h"
#include "vb/collection.h"

namespace claimfile {

// VBA's _Collection interface, in vtable order; dispatch ids 0, 1, 2, 3 and -4.
struct VbaCollection : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE Item(VARIANT* index, VARIANT* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE Add(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) = 0;
  virtual HRESULT STDMETHODCALLTYPE Count(long* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE Remove(VARIANT* index) = 0;
  virtual HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** result) = 0;
};

}  // namespace claimfile

__CRT_UUID_DECL(claimfile::VbaCollection, 0xA4C46780, 0x499F, 0x101B, 0xBB, 0x78, 0x00, 0xAA, 0x00, 0x38, 0x3C, 0xBB)

namespace claimfile {

// {A4C46780-499F-101B-BB78-00AA00383CBB}
extern const IID IID_VbaCollection;

// The collection itself; its COM methods are GeneralCollectionCom's (claimfile/com).
class GeneralCollection : public com::Object<GeneralCollection, VbaCollection> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID_VbaCollection; }
  // A new, empty collection.
  static com::Ptr<GeneralCollection> New();

  // Adds a copy of the value (references followed) at the end, or before or after the item that
  // the index names (not both: 5). A key already present raises 457; a missing key 5, a position
  // outside 1..Count 9.
  void Add(const VARIANT& item, const std::optional<std::wstring>& key = std::nullopt,
           const std::optional<vb::CollectionIndex>& before = std::nullopt,
           const std::optional<vb::CollectionIndex>& after = std::nullopt);
  void Add(const std::wstring& text, const std::optional<std::wstring>& key = std::nullopt);
  long Count() const { return items_.Count(); }
  // The item (5 for a missing key, 9 for a position outside 1..Count).
  const VARIANT& Item(const vb::CollectionIndex& index);
  void Remove(const vb::CollectionIndex& index);
  // A new enumerator over copies of the items, in order.
  com::Ptr<IUnknown> NewEnum();

 protected:
  GeneralCollection() = default;

 private:
  vb::Collection<std::unique_ptr<com::Variant>> items_;
};

// A new, empty general collection, as the model objects hold it.
com::Ptr<IDispatch> NewGeneralCollection();

// Readers of a Collection member, whatever object the host put there: this library's own
// collection directly, any other through late-bound Count and Item. Nothing raises 91.
long CollectionCount(IDispatch* collection);
// The item at a position from 1, into out (cleared first).
void CollectionItem(IDispatch* collection, long position, VARIANT* out);
// The item at a position from 1 as text (CStr); an item without a text form raises 13.
std::wstring CollectionItemText(IDispatch* collection, long position);

}  // namespace claimfile

// A field store: an ordered keyed collection of OutputField, and the fixed-column record
// printer that formats the store's values through a layout (a second store) into one line.
#pragma once
#include <string>

#include "com/object.h"
#include "model/model_collection.h"
#include "model/output_field.h"
#include "sendarro7.h"
#include "vb/collection.h"

namespace claimfile {

// Item, Count, Remove and enumeration come from ModelCollection.
class OutputFields : public ModelCollection<OutputFields, _OutputFields, OutputField, _OutputField> {
 public:
  static const CLSID& ClassId() { return CLSID_OutputFields; }
  static bool AnswersInterface(REFIID iid) { return iid == IID__OutputFields; }

  // The error a store raises for a field name it does not hold (no source, no description).
  static constexpr long kMissingFieldError = static_cast<long>(0x80040001);

  // Width of a printed record line.
  static constexpr long kLineWidth = 320;

  com::Ptr<OutputFields> OutDefns;  // the layout PrintMe follows
  bool LastLine = false;            // read from the layout: no line end after the record

  // Writes property source text for every member into a file asked for in an input box.
  // (The COM method PrintSetValues has the same signature, hence the name.)
  void DoPrintSetValues();
  // Formats this store's values through OutDefns into one record line and writes it to the
  // open file iFn. Always true; every failure is raised and then no line is written.
  bool PrintMe(short iFn);
  // Sets the value of the member under that key; a missing key raises 0x80040001.
  void SetValue(const std::wstring& name, const std::wstring& value);
  // Whether the key is held; never raises.
  bool BRExists(const std::wstring& name) const;
  // Makes a member, checks it with Valid and stores it (under its name when it has one).
  // The new member is returned whether it was stored or not; 457 on a name already held.
  com::Ptr<OutputField> Add(const std::wstring& name, long row = 0, long fromCol = 0, long toCol = 0,
                            const std::wstring& value = L"", OutputFieldType dataType = OutputFieldTypeText,
                            const std::wstring& format = L"", bool required = false);

  // The value under a key (5 when the key is missing), as readers take it.
  const std::wstring& ValueOf(const std::wstring& key) { return mCol.Item(key)->Value; }

  // _OutputFields
  HRESULT STDMETHODCALLTYPE get_OutDefns(_OutputFields** out) override;
  HRESULT STDMETHODCALLTYPE reservedOutDefns() override;
  HRESULT STDMETHODCALLTYPE putref_OutDefns(_OutputFields* v) override;
  HRESULT STDMETHODCALLTYPE get_LastLine(VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE put_LastLine(VARIANT_BOOL v) override;
  HRESULT STDMETHODCALLTYPE PrintSetValues() override;
  HRESULT STDMETHODCALLTYPE PrintMe(short* iFn, VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE SetValue(BSTR* name, BSTR* value, VARIANT* out) override;
  HRESULT STDMETHODCALLTYPE BRExists(BSTR* name, VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE Add(BSTR* name, long* row, long* fromCol, long* toCol, BSTR* value,
                                OutputFieldType* dataType, BSTR* format, VARIANT_BOOL* required,
                                _OutputField** out) override;
};

}  // namespace claimfile

// One named text value of a field store, with the columns it takes in a fixed-column record.
#pragma once
#include <string>

#include "com/object.h"
#include "sendarro7.h"

namespace claimfile {

class OutputField : public com::Object<OutputField, _OutputField> {
 public:
  static const CLSID& ClassId() { return CLSID_OutputField; }
  static bool AnswersInterface(REFIID iid) { return iid == IID__OutputField; }

  std::wstring Name;
  long Row = 0;
  long FromCol = 0;
  long ToCol = 0;
  std::wstring Value;
  OutputFieldType DataType = OutputFieldTypeText;
  bool Required = false;
  std::wstring Format;

  // Checks the columns, then a Numeric or Date value; shows what is wrong in a message box.
  bool Valid();
  // ToCol - FromCol + 1; 6 on overflow.
  long FieldLength() const;
  bool DataWillFit() const;

  // _OutputField
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE put_Name(BSTR v) override;
  HRESULT STDMETHODCALLTYPE get_Row(long* out) override;
  HRESULT STDMETHODCALLTYPE put_Row(long v) override;
  HRESULT STDMETHODCALLTYPE get_FromCol(long* out) override;
  HRESULT STDMETHODCALLTYPE put_FromCol(long v) override;
  HRESULT STDMETHODCALLTYPE get_ToCol(long* out) override;
  HRESULT STDMETHODCALLTYPE put_ToCol(long v) override;
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE put_Value(BSTR v) override;
  HRESULT STDMETHODCALLTYPE get_DataType(OutputFieldType* out) override;
  HRESULT STDMETHODCALLTYPE put_DataType(OutputFieldType v) override;
  HRESULT STDMETHODCALLTYPE get_Required(VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE put_Required(VARIANT_BOOL v) override;
  HRESULT STDMETHODCALLTYPE get_Format(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE put_Format(BSTR v) override;
  HRESULT STDMETHODCALLTYPE Valid(VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE get_FieldLength(long* out) override;
  HRESULT STDMETHODCALLTYPE DataWillFit(VARIANT_BOOL* out) override;
};

}  // namespace claimfile

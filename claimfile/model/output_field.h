// One named text value of a field store, with the columns it takes in a fixed-column record.
#pragma once
#include <string>

#include "com/object.h"
#include "model/members.h"
#include "sendarro7.h"

// The public variables, in interface order.
#define CLAIMFILE_OUTPUT_FIELD_MEMBERS(TEXT, VALUE, OBJECT, COLLECTION)                         \
  TEXT(Name) VALUE(long, long, Row, 0) VALUE(long, long, FromCol, 0) VALUE(long, long, ToCol, 0)  \
  TEXT(Value) VALUE(OutputFieldType, OutputFieldType, DataType, OutputFieldTypeText)            \
  VALUE(bool, VARIANT_BOOL, Required, false) TEXT(Format)

namespace claimfile {

class OutputField : public com::Object<OutputField, _OutputField> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__OutputField; }
  static com::Ptr<OutputField> New();

  CLAIMFILE_MEMBER_DATA(CLAIMFILE_OUTPUT_FIELD_MEMBERS)

  // Checks the columns, then a Numeric or Date value; shows what is wrong in a message box.
  bool Valid();
  // ToCol - FromCol + 1; 6 on overflow.
  long FieldLength() const { return FieldLength(FromCol, ToCol); }
  static long FieldLength(long fromCol, long toCol);
  bool DataWillFit() const;
};

}  // namespace claimfile

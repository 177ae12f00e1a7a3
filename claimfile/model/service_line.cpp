#include "model/service_line.h"

namespace claimfile {

namespace {

const wchar_t* const kStoreOrder[] = {
#define CLAIMFILE_NAME_OF(Name) CLAIMFILE_FIELD_NAME(Name)
    CLAIMFILE_SERVICE_LINE_FIELDS(CLAIMFILE_NAME_OF, CLAIMFILE_NAME_OF)
#undef CLAIMFILE_NAME_OF
};
static_assert(sizeof kStoreOrder / sizeof kStoreOrder[0] == 63);

}  // namespace

ServiceLine::ServiceLine() : OutFields(NewFieldStore(kStoreOrder)) {}

ServiceLine::~ServiceLine() { OutFields.reset(); }

// An amount is read as the text "0" followed by the stored text. That rule alone fails
// with 13 on every negative amount: the put of -3.25 stores "-3.25", and "0-3.25" is not a
// number, so a line with a negative amount (a credit or an adjustment that a practice enters)
// would make every total of its claim, batch and file header fail. Where "0" & text is not a
// number, the stored text is therefore read alone: a put amount reads back as itself, an empty
// text still reads 0, and a text that is no amount either way (letters) still fails with 13.
vb::Currency ServiceLine::Amount(const std::wstring& field) const {
  const std::wstring& text = FieldText(OutFields, field);
  try {
    return vb::Currency::FromText(L"0" + text);
  } catch (const vb::RuntimeError& e) {
    if (e.number() != vb::errTypeMismatch) throw;
  }
  return vb::Currency::FromText(text);
}

void ServiceLine::SetAmount(const std::wstring& field, vb::Currency amount) {
  StoreField(OutFields, field, amount.ToText());
}

std::wstring ServiceLine::LineItemControlNo() const { return FieldText(OutFields, L"LineItemControlNo"); }

}  // namespace claimfile

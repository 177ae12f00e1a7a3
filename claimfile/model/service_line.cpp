#include "model/service_line.h"

namespace claimfile {

namespace {

const wchar_t* const kStoreOrder[] = {
#define CLAIMFILE_NAME_OF(Name) CLAIMFILE_FIELD_NAME(Name)
    CLAIMFILE_SERVICE_LINE_FIELDS(CLAIMFILE_NAME_OF, CLAIMFILE_NAME_OF)
#undef CLAIMFILE_NAME_OF
};
static_assert(sizeof kStoreOrder / sizeof kStoreOrder[0] == 63);

// The store's names, shared by every object of the class.
const FieldNames& StoreNames() {
  static const FieldNames names(kStoreOrder);
  return names;
}

}  // namespace

ServiceLine::ServiceLine() : OutFields(NewFieldStore(StoreNames())) {}

ServiceLine::~ServiceLine() { OutFields.reset(); }

// An amount is read as the text "0" followed by the stored text. That rule alone fails
// with 13 on every negative amount: the put of -3.25 stores "-3.25", and "0-3.25" is not a
// number, so a line with a negative amount (a credit or an adjustment that a practice enters)
// would make every total of its claim, batch and file header fail. A stored text that starts
// with a sign is therefore read alone: a put amount reads back as itself. Every other text keeps
// the rule: empty reads 0, and what "0" does not turn into a number (letters, a leading blank,
// brackets, "&H10", "$5") fails with 13.
size_t ServiceLine::FieldAt(std::wstring_view field) { return StoreNames().Find(field); }

vb::Currency ServiceLine::Amount(std::wstring_view field, size_t at) const {
  const std::wstring& text = StoreOf(OutFields).ValueOf(field, at);
  const bool signed_ = !text.empty() && (text.front() == L'-' || text.front() == L'+');
  // A zero before a leading digit changes nothing that is read: the text is read as it is.
  if (signed_ || (!text.empty() && text.front() >= L'0' && text.front() <= L'9')) return vb::Currency::FromText(text);
  return vb::Currency::FromText(L"0" + text);
}

void ServiceLine::SetAmount(const std::wstring& field, vb::Currency amount) {
  StoreField(OutFields, field, amount.ToText());
}

std::wstring ServiceLine::LineItemControlNo() const { return FieldText(OutFields, L"LineItemControlNo"); }

}  // namespace claimfile

// The gateway's reply: its text loaded into an MSXML 3.0 document, its elements read by tag name,
// and the five reply parsers that build a status object from it.
#pragma once
#include <msxml2.h>

#include <optional>
#include <string>

#include "com/ptr.h"
#include "status.h"

namespace payment {

class ReplyDocument {
 public:
  // Creates a DOMDocument30 (error 429 when it cannot be created) and loads the text into it,
  // without validation, external resources or DTDs (a text with a document type declaration is not
  // loaded). A text that does not load leaves the document without elements.
  static ReplyDocument Load(const std::wstring& text);

  // The text of the first element with that tag name (exactly, in document order, at any depth);
  // nullopt when there is none.
  std::optional<std::wstring> ElementText(const wchar_t* tag) const;

 private:
  com::Ptr<IXMLDOMDocument> doc_;
};

// Reply numbers in plain decimal text (en-US rules, whatever the user's locale): 0 for a missing
// element, text that is not a number, or a number that does not fit.
short ReplyInteger(const std::optional<std::wstring>& text);
vb::Currency ReplyCurrency(const std::optional<std::wstring>& text);
long ReplyLong(const std::optional<std::wstring>& text);

com::Ptr<ACHCreditStatus> ParseACHCreditReply(const ReplyDocument& reply);
com::Ptr<ACHDebitStatus> ParseACHDebitReply(const ReplyDocument& reply);
com::Ptr<BankCardCreditStatus> ParseBankCardCreditReply(const ReplyDocument& reply);
com::Ptr<BankCardDebitStatus> ParseBankCardDebitReply(const ReplyDocument& reply);
com::Ptr<BankCardSettleStatus> ParseBankCardSettleReply(const ReplyDocument& reply);

}  // namespace payment

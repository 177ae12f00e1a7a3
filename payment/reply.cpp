#include "reply.h"

#include <oleauto.h>

#include <string>

#include "vb/error.h"

namespace payment {

namespace {

// MinGW's msxml2.h declares these ids but defines none.
const CLSID kDOMDocument30 = {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};
const IID kIXMLDOMDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIXMLDOMDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

const LCID kReplyLocale = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

// Whether the text declares a document type: a "<!DOCTYPE" in its prolog, before the root element,
// after nothing but a byte-order mark, blanks, the XML declaration, comments and processing
// instructions. The same characters in the content (in a CDATA section, say) declare nothing.
bool DeclaresDocumentType(const std::wstring& text) {
  size_t at = !text.empty() && text[0] == 0xFEFF ? 1 : 0;
  for (;;) {
    at = text.find_first_not_of(L" \t\r\n", at);
    if (at == std::wstring::npos) return false;
    if (text.compare(at, 9, L"<!DOCTYPE") == 0) return true;
    const wchar_t* end = text.compare(at, 4, L"<!--") == 0 ? L"-->" : text.compare(at, 2, L"<?") == 0 ? L"?>" : nullptr;
    if (!end) return false;  // the root element, or text that does not load
    at = text.find(end, at + 2);
    if (at == std::wstring::npos) return false;
    at += std::char_traits<wchar_t>::length(end);
  }
}

// The reply's text of an element, or the empty text when it has none.
std::wstring Text(const ReplyDocument& reply, const wchar_t* tag) { return reply.ElementText(tag).value_or(L""); }

}  // namespace

ReplyDocument ReplyDocument::Load(const std::wstring& text) {
  ReplyDocument reply;
  if (FAILED(CoCreateInstance(kDOMDocument30, nullptr, CLSCTX_INPROC_SERVER, kIXMLDOMDocument,
                              reinterpret_cast<void**>(reply.doc_.out()))))
    vb::Raise(vb::errCantCreateObject);
  IXMLDOMDocument* doc = reply.doc_.get();
  doc->put_async(VARIANT_FALSE);
  doc->put_validateOnParse(VARIANT_FALSE);
  doc->put_resolveExternals(VARIANT_FALSE);
  com::Ptr<IXMLDOMDocument2> doc2;
  if (SUCCEEDED(doc->QueryInterface(kIXMLDOMDocument2, reinterpret_cast<void**>(doc2.out())))) {
    vb::Bstr name;
    name.b = com::ToBstr(L"ProhibitDTD");
    VARIANT on;
    on.vt = VT_BOOL;
    on.boolVal = VARIANT_TRUE;
    doc2->setProperty(name.b, on);  // a version that does not know it keeps its own rule
  }
  // A document type declaration fails the load, as ProhibitDTD has it, also where the library
  // ignores that property (Wine's msxml3 expands internal entities): it is refused before the
  // parser sees it, and a document that has one all the same is emptied.
  if (DeclaresDocumentType(text)) return reply;
  vb::Bstr xml;
  xml.b = com::ToBstr(text);
  VARIANT_BOOL loaded = VARIANT_FALSE;
  doc->loadXML(xml.b, &loaded);  // a reply that does not load leaves an empty document
  com::Ptr<IXMLDOMDocumentType> doctype;
  if (loaded && doc->get_doctype(doctype.out()) == S_OK && doctype) {
    vb::Bstr nothing;
    nothing.b = com::ToBstr(L"");
    doc->loadXML(nothing.b, &loaded);
  }
  return reply;
}

std::optional<std::wstring> ReplyDocument::ElementText(const wchar_t* tag) const {
  vb::Bstr name;
  name.b = com::ToBstr(tag);
  com::Ptr<IXMLDOMNodeList> list;
  if (doc_->getElementsByTagName(name.b, list.out()) != S_OK || !list) return std::nullopt;
  // An empty list answers S_FALSE and no node.
  com::Ptr<IXMLDOMNode> node;
  if (list->get_item(0, node.out()) != S_OK || !node) return std::nullopt;
  vb::Bstr value;
  if (FAILED(node->get_text(&value.b))) return std::nullopt;
  return value.str();
}

short ReplyInteger(const std::optional<std::wstring>& text) {
  SHORT v = 0;
  return text && SUCCEEDED(VarI2FromStr(const_cast<OLECHAR*>(text->c_str()), kReplyLocale, LOCALE_NOUSEROVERRIDE, &v))
             ? v
             : 0;
}

vb::Currency ReplyCurrency(const std::optional<std::wstring>& text) {
  CY v{};
  return text && SUCCEEDED(VarCyFromStr(const_cast<OLECHAR*>(text->c_str()), kReplyLocale, LOCALE_NOUSEROVERRIDE, &v))
             ? vb::Currency::FromCy(v)
             : vb::Currency();
}

long ReplyLong(const std::optional<std::wstring>& text) {
  LONG v = 0;
  return text && SUCCEEDED(VarI4FromStr(const_cast<OLECHAR*>(text->c_str()), kReplyLocale, LOCALE_NOUSEROVERRIDE, &v))
             ? v
             : 0;
}

namespace {

// The elements every parser reads.
struct CommonReply {
  vb::Currency amount;
  std::wstring posted, refId, settled, status, message;
  explicit CommonReply(const ReplyDocument& reply)
      : amount(ReplyCurrency(reply.ElementText(L"Amount"))),
        posted(Text(reply, L"PostedDate")),
        refId(Text(reply, L"RefID")),
        settled(Text(reply, L"SettledDate")),
        status(Text(reply, L"Status")),
        message(Text(reply, L"Message")) {}
};

}  // namespace

com::Ptr<ACHCreditStatus> ParseACHCreditReply(const ReplyDocument& reply) {
  const CommonReply r(reply);
  auto s = ACHCreditStatus::New();
  // The class has no TransID: the reply's TransID is its CreditID.
  s->FillStatus(ReplyInteger(reply.ElementText(L"Success")), r.amount, ReplyLong(reply.ElementText(L"TransID")),
                r.posted, r.refId, r.status, r.settled, r.message);
  return s;
}

com::Ptr<ACHDebitStatus> ParseACHDebitReply(const ReplyDocument& reply) {
  const CommonReply r(reply);
  auto s = ACHDebitStatus::New();
  s->FillStatus(ReplyInteger(reply.ElementText(L"Success")), r.amount, r.posted, r.refId, r.status, r.settled,
                ReplyLong(reply.ElementText(L"TransID")), r.message);
  return s;
}

com::Ptr<BankCardCreditStatus> ParseBankCardCreditReply(const ReplyDocument& reply) {
  const CommonReply r(reply);
  auto s = BankCardCreditStatus::New();
  s->FillStatus(r.amount, ReplyLong(reply.ElementText(L"CreditID")), r.posted, r.refId, r.status, r.settled,
                ReplyLong(reply.ElementText(L"TransID")), r.message);
  return s;
}

com::Ptr<BankCardDebitStatus> ParseBankCardDebitReply(const ReplyDocument& reply) {
  const CommonReply r(reply);
  auto s = BankCardDebitStatus::New();
  s->FillStatus(r.amount, Text(reply, L"AuthCode"), Text(reply, L"AVSCode"), r.posted, r.refId, r.status, r.settled,
                ReplyLong(reply.ElementText(L"TransID")), r.message, Text(reply, L"CVV2Code"));
  return s;
}

com::Ptr<BankCardSettleStatus> ParseBankCardSettleReply(const ReplyDocument& reply) {
  const CommonReply r(reply);
  auto s = BankCardSettleStatus::New();
  s->CreateStatus(r.amount, Text(reply, L"AuthCode"), Text(reply, L"AVSCode"), r.posted, r.refId, r.status, r.settled,
                  ReplyLong(reply.ElementText(L"TransID")), r.message);
  return s;
}

}  // namespace payment

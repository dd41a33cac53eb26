#include "brennock/lists/vendor.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/text.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

const Vendor& AsVendor(const qcBase& record) { return static_cast<const Vendor&>(record); }

bool Over(std::string_view value, size_t limit) { return Utf8Length(value) > limit; }

// Notes go into a modify request only from qbXML 3.0 on.
constexpr double kModifyNotesVersion = 3.0;

}  // namespace

const RecordBindings& Vendor::Bindings() {
  using T = codecs::Text;
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet | kSkipEmpty;
  constexpr uint16_t kRet = kInRet | kSkipEmpty;
  BRENNOCK_BINDINGS(
      qcBase, ModHeadRows(), NameRow("Name", kInAdd | kInMod | kInRet), ActiveRow(kInAdd | kInRet),
      std::array{
          Bind<&Vendor::companyName_, T>("CompanyName", kAll),
          Bind<&Vendor::salutation_, T>("Salutation", kAll),
          Bind<&Vendor::firstName_, T>("FirstName", kAll),
          Bind<&Vendor::middleName_, T>("MiddleName", kAll),
          Bind<&Vendor::lastName_, T>("LastName", kAll), Bind<&Vendor::suffix_, T>("Suffix", kRet),
          AddressRow("VendorAddress", kInAdd | kInMod | kInRet),
          Bind<&Vendor::phone_, T>("Phone", kAll), Bind<&Vendor::mobile_, T>("Mobile", kRet),
          Bind<&Vendor::pager_, T>("Pager", kRet), Bind<&Vendor::altPhone_, T>("AltPhone", kAll),
          Bind<&Vendor::fax_, T>("Fax", kAll), Bind<&Vendor::email_, T>("Email", kAll),
          Bind<&Vendor::contact_, T>("Contact", kAll),
          Bind<&Vendor::altContact_, T>("AltContact", kAll),
          Bind<&Vendor::nameOnCheck_, T>("NameOnCheck", kAll),
          Bind<&Vendor::accountNumber_, T>("AccountNumber", kAll)},
      std::array<Binding<qcBase>, 1>{
          {{"Notes", kInAdd | kInMod | kInRet,
            [](qcBase& r, const FieldElement& x) { T::Read(static_cast<Vendor&>(r).notes_, x); },
            &WriteNotes, nullptr, qbxml::ValueType::kText}}},
      std::array{Bind<&Vendor::vendorType_, codecs::Ref>("VendorTypeRef", kAll),
                 Bind<&Vendor::terms_, codecs::Ref>("TermsRef", kAll),
                 Binding<qcBase>{"CreditLimit", kInAdd | kInMod | kInRet,
                                 [](qcBase& r, const FieldElement& x) {
                                   codecs::Amount::Read(static_cast<Vendor&>(r).creditLimit_, x);
                                 },
                                 &WriteCreditLimit, nullptr, qbxml::ValueType::kAmount},
                 Bind<&Vendor::taxId_, T>("VendorTaxIdent", kAll),
                 Binding<qcBase>{"IsVendorEligibleFor1099", kInAdd | kInMod | kInRet,
                                 [](qcBase& r, const FieldElement& x) {
                                   codecs::Bool::Read(static_cast<Vendor&>(r).eligibleFor1099_, x);
                                 },
                                 &Write1099, nullptr, qbxml::ValueType::kBool},
                 Bind<&Vendor::balance_, codecs::Amount>("Balance", kInRet),
                 Binding<qcBase>{"OpenBalance", kInAdd, nullptr, &WriteOpenBalance, nullptr,
                                 qbxml::ValueType::kAmount},
                 Binding<qcBase>{"OpenBalanceDate", kInAdd, nullptr,
                                 [](const qcBase& r, RequestWriter& b, std::string_view name,
                                    uint16_t f, BodyForm form) {
                                   if (AsVendor(r).openBalance_ != Currency())
                                     codecs::Date::Write(AsVendor(r).openBalanceDate_, b, name, f,
                                                         form);
                                 },
                                 nullptr, qbxml::ValueType::kDate},
                 DataExtRow()},
      UserDataRow());
}

// A modify writes the appended text after the notes.
void Vendor::WriteNotes(const qcBase& record, RequestWriter& builder, std::string_view element,
                        uint16_t flags, BodyForm form) {
  const Vendor& self = AsVendor(record);
  if (form != BodyForm::kMod) {
    if (!self.notes_.empty()) builder.CreateElement(element, self.notes_);
    return;
  }
  // Emptied notes go out empty, for QuickBooks to clear them.
  std::string notes = self.notes_ + self.appendNotes_;
  if (!notes.empty() || (flags & kChanged) != 0)
    builder.CreateElement(element, notes, kModifyNotesVersion);
}

// Only US editions know 1099 vendors.
void Vendor::Write1099(const qcBase& record, RequestWriter& builder, std::string_view element,
                       uint16_t flags, BodyForm form) {
  if (form != BodyForm::kRet && Session().nonUSEdition) return;
  codecs::Bool::Write(AsVendor(record).eligibleFor1099_, builder, element, flags, form);
}

void Vendor::WriteCreditLimit(const qcBase& record, RequestWriter& builder,
                              std::string_view element, uint16_t flags, BodyForm form) {
  Currency limit = AsVendor(record).creditLimit_;
  // A limit the client set to zero is written, so QuickBooks takes it.
  if (form != BodyForm::kRet && !(Currency() < limit) &&
      !(form == BodyForm::kMod && (flags & kChanged) != 0))
    return;
  codecs::Amount::Write(limit, builder, element, flags, form);
}

void Vendor::WriteOpenBalance(const qcBase& record, RequestWriter& builder,
                              std::string_view element, uint16_t flags, BodyForm form) {
  Currency balance = AsVendor(record).openBalance_;
  if (balance != Currency()) codecs::Amount::Write(balance, builder, element, flags, form);
}

void Vendor::SetVendorType(const std::string& value) {
  CheckModify(false);
  vendorType_.SetFullName(value);
  MarkChanged("VendorTypeRef");
}

void Vendor::SetTerms(const std::string& value) {
  CheckModify(false);
  terms_.SetFullName(value);
  MarkChanged("TermsRef");
}

void Vendor::Copy(const Vendor& From) {
  CopyEntity(From);
  SetCompanyName(From.companyName_);
  SetFax(From.fax_);
  SetContact(From.contact_);
  SetAltContact(From.altContact_);
  SetNameOnCheck(From.nameOnCheck_);
  SetNotes(From.notes_);
  SetAppendNotes(From.appendNotes_);
  SetVendorType(From.VendorType());
  SetTerms(From.Terms());
  SetCreditLimit(From.creditLimit_);
  SetTaxId(From.taxId_);
  SetEligibleFor1099(From.eligibleFor1099_);
  SetBalance(From.balance_);
  SetOpeningBalance(From.openBalance_);
  SetOpeningBalanceDate(From.openBalanceDate_);
}

std::shared_ptr<Vendor> Vendor::Clone() const {
  auto clone = std::make_shared<Vendor>();
  clone->Copy(*this);
  return clone;
}

void Vendor::CheckRules(qcErrors& errors) {
  if (name_.empty()) AddTableError(errors, errNameNull, "Name");
  if (Over(name_, 41)) AddTableError(errors, errNameTooLong, "Name");
  if (Over(companyName_, 41)) AddTableError(errors, errVendorCompanyNameTooLong, "Company Name");
  if (Over(salutation_, 15)) AddTableError(errors, errSalutationTooLong, "Salutation");
  if (Over(firstName_, 25)) AddTableError(errors, errFirstLastNameTooLong, "First Name");
  if (Over(middleName_, 5)) AddTableError(errors, errMiddleNameTooLong, "Middle Name");
  if (Over(lastName_, 25)) AddTableError(errors, errFirstLastNameTooLong, "Last Name");
  Address()->CheckLengths(errors, "Address");
  if (Over(phone_, 21)) AddTableError(errors, errPhoneTooLong, "Phone");
  if (Over(altPhone_, 21)) AddTableError(errors, errPhoneTooLong, "Alt Phone");
  if (Over(fax_, 21)) AddTableError(errors, errPhoneTooLong, "Fax");
  if (Over(email_, 99)) AddTableError(errors, errEmailTooLong, "Email");
  if (Over(contact_, 41)) AddTableError(errors, errContactTooLong, "Contact");
  if (Over(altContact_, 41)) AddTableError(errors, errContactTooLong, "Alt Contact");
  if (Over(nameOnCheck_, 41)) AddTableError(errors, errNameOnCheckTooLong, "Name On Check");
  if (Over(accountNumber_, 99))
    AddTableError(errors, errCustomerAccountNumberTooLong, "Account Number");
  if (Over(vendorType_.FullNameView(), 159))
    AddTableError(errors, errVendorTypeFullNameTooLong, "Vendor Type: Full Name");
  if (Over(terms_.FullNameView(), 31))
    AddTableError(errors, errTermsRefFullNameTooLong, "TermsRef: Full Name");
  if (Over(taxId_, 15)) AddTableError(errors, errVendorTaxIdTooLong, "Tax ID");
  if (Over(notes_, 4095)) AddTableError(errors, errVendorNotesTooLong, "Notes");
  // The message names the address too, but only the tax ID is required.
  if (eligibleFor1099_ && taxId_.empty())
    AddTableError(errors, errEligibleFor1099Incomplete, "Eligible For 1099");
}

int32_t Vendor::GetBillsAndCredits(const std::string& APAccount) {
  ClearErrorList();
  xmlBldr builder;
  builder.NewClear();
  builder.OpenAggregate("BillToPayQueryRq", "requestID", "1");
  builder.OpenAggregateOnly("PayeeEntityRef");
  builder.CreateElement("FullName", FullName());
  builder.EndAggregate("PayeeEntityRef");
  if (!APAccount.empty()) {
    builder.OpenAggregateOnly("APAccountRef");
    builder.CreateElement("FullName", APAccount);
    builder.EndAggregate("APAccountRef");
  }
  builder.EndAggregate("BillToPayQueryRq");
  std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
  auto bills = std::make_shared<txnLinkedTransactions>();
  auto credits = std::make_shared<txnLinkedTransactions>();
  if (builder.ErrNumber() != 0) {
    ErrorList()->Add(builder.ErrNumber(), "", builder.ErrMsg());
  } else {
    XmlNode rs = response->documentElement().childNodes().item(0).childNodes().item(0);
    ElementTree tree;
    for (XmlNode ret : rs.childNodes()) {
      if (ret.nodeType() != NODE_ELEMENT) continue;
      for (XmlNode entry : ret.childNodes()) {
        if (entry.nodeType() != NODE_ELEMENT) continue;
        tree.Assign(entry);
        auto link = std::make_shared<txnLinkedTransaction>();
        link->FromDom(tree.Root());
        (entry.baseName() == "BillToPay" ? bills : credits)->Append(std::move(link));
      }
    }
  }
  openBills_ = std::move(bills);
  openCredits_ = std::move(credits);
  // A fresh payment is prepared for what is open now.
  paymentAPAccount_ = APAccount;
  payment_.reset();
  return builder.ErrNumber();
}

std::shared_ptr<txnLinkedTransactions> Vendor::OpenBills() const {
  if (!openBills_) RaiseTableError(errBillsAndCreditsNotLoaded);
  return openBills_;
}

std::shared_ptr<txnLinkedTransactions> Vendor::OpenCredits() const {
  if (!openCredits_) RaiseTableError(errBillsAndCreditsNotLoaded);
  return openCredits_;
}

std::shared_ptr<Vendor> Vendors::Add(const std::string& Name, bool IsActive) {
  std::shared_ptr<Vendor> record = NewMember();
  Fill(*record, Name, IsActive);
  FileNew(record);
  return record;
}

}  // namespace brennock

#include "brennock/lists/customer.h"

#include <array>

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/util/text.h"

namespace brennock {
namespace {

using C = Customer;

const Customer& AsCustomer(const qcBase& record) { return static_cast<const Customer&>(record); }

// Which tax references a session's edition and qbXML version take: the US sales tax code and
// item, or (UK and Australia from 3.0, other editions from 2.0) the tax code.
bool UsTaxReferences() { return !Session().nonUSEdition; }
// IsUsingCustomerTaxCode: other editions from qbXML 3.0.
bool CustomerTaxCodeFlag() {
  return Session().nonUSEdition && SessionQbxmlVersion() >= Currency(3);
}
bool TaxCodeReference() {
  const SessionState& session = Session();
  if (!session.nonUSEdition) return false;
  Currency since = session.ukEdition || session.australianEdition ? Currency(3) : Currency(2);
  return SessionQbxmlVersion() >= since;
}

void RequireEdition(bool us) {
  if (!Session().nonUSEdition == us) return;
  RaiseError(errEditionOnly, "brennock", std::string(us ? kMsgUSOnly : kMsgNonUSOnly));
}

bool HasOpeningBalance(const Customer& c) { return c.OpeningBalance() != Currency(); }

// A part of the customer the client changed since QuickBooks sent it.
template <class Part>
bool Pending(const Part* part) {
  return part != nullptr && part->ObjectState() != qoObjectStateClean;
}

}  // namespace

void Customer::BeforeRead() {
  keptBillTo_.Clear();
  keptShipTo_.Clear();
  if (billTo_) billTo_->Reset();
  if (shipTo_) shipTo_->Reset();
  if (creditCard_) creditCard_->Reset();
}

Customer::Rare& Customer::MutableRare() {
  if (!rare_) rare_ = std::make_unique<Rare>();
  return *rare_;
}

const std::shared_ptr<Address>& Customer::ReadAddressOf(bool bill) const {
  return Address::MadeFromKept(bill ? billTo_ : shipTo_, bill ? keptBillTo_ : keptShipTo_);
}

std::shared_ptr<Address> Customer::BillTo() {
  if (!ReadAddressOf(true)) billTo_ = MakeSlabShared<Address>();
  return billTo_;
}

std::shared_ptr<Address> Customer::ShipTo() {
  if (!ReadAddressOf(false)) shipTo_ = MakeSlabShared<Address>();
  return shipTo_;
}

std::shared_ptr<CreditCard> Customer::CreditCard() {
  if (!creditCard_) creditCard_ = std::make_shared<brennock::CreditCard>();
  return creditCard_;
}

Customer::AddressBlocks& Customer::Blocks() {
  if (!addressBlocks_) addressBlocks_ = std::make_shared<AddressBlocks>();
  return *addressBlocks_;
}

// Handed out as addresses that keep the pair alive.
std::shared_ptr<Address> Customer::BillAddressBlock() {
  Address* bill = &Blocks().bill;
  return std::shared_ptr<Address>(addressBlocks_, bill);
}

std::shared_ptr<Address> Customer::ShipAddressBlock() {
  Address* ship = &Blocks().ship;
  return std::shared_ptr<Address>(addressBlocks_, ship);
}

void Customer::ReadAddressBlock(qcBase& record, const FieldElement& element) {
  AddressBlocks& blocks = static_cast<Customer&>(record).Blocks();
  (element.baseName() == "BillAddressBlock" ? blocks.bill : blocks.ship).FromDom(element);
}

// Only the query-result form has the blocks.
void Customer::WriteAddressBlock(const qcBase& record, RequestWriter& builder,
                                 std::string_view element, uint16_t, BodyForm form) {
  const std::shared_ptr<AddressBlocks>& blocks = AsCustomer(record).addressBlocks_;
  if (form != BodyForm::kRet || !blocks) return;
  const Address& block = element == "BillAddressBlock" ? blocks->bill : blocks->ship;
  if (block.IsEmpty()) return;
  builder.OpenAggregateOnly(element);
  block.WriteElements(builder);
  builder.EndAggregate(element);
}

void Customer::ReadAddress(qcBase& record, const FieldElement& element) {
  Customer& self = static_cast<Customer&>(record);
  const bool bill = element.baseName() == "BillAddress";
  Address::ReadOrKeep(bill ? self.billTo_ : self.shipTo_,
                      bill ? self.keptBillTo_ : self.keptShipTo_, element);
}

// In requests an address goes out once changed, every line written; in the query-result form as
// it stands.
void Customer::WriteAddress(const qcBase& record, RequestWriter& builder, std::string_view element,
                            uint16_t, BodyForm form) {
  const Customer& self = AsCustomer(record);
  // A kept address is as QuickBooks sent it: only the query-result form writes it.
  const bool bill = element == "BillAddress";
  const std::shared_ptr<Address>& address = form == BodyForm::kRet ? self.ReadAddressOf(bill)
                                            : bill                 ? self.billTo_
                                                                   : self.shipTo_;
  if (!address) return;
  if (form == BodyForm::kRet) {
    if (address->IsEmpty()) return;
    builder.OpenAggregateOnly(element);
    address->WriteElements(builder);
    builder.EndAggregate(element);
    return;
  }
  if (address->ObjectState() == qoObjectStateClean) return;
  builder.OpenAggregateOnly(element);
  address->WriteRecordElements(builder, false);
  builder.EndAggregate(element);
}

const RecordBindings& Customer::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  constexpr uint16_t kAddText = kInAdd | kInRet | kSkipEmpty;
  using T = codecs::Text;
  using R = codecs::Ref;
  constexpr auto kHierarchy = HierarchyRows();
  constexpr auto kWithMod = [](Binding<qcBase> row) {
    row.flags |= kInMod;
    return row;
  };
  BRENNOCK_BINDINGS(
      qcBase, ModHeadRows(),
      std::array{kWithMod(kHierarchy[0]), kHierarchy[1], kWithMod(kHierarchy[2]), kHierarchy[3],
                 kHierarchy[4]},
      std::array<Binding<qcBase>, 18>{{
          Bind<&C::companyName_, T>("CompanyName", kText),
          BindRare<&C::rare_, &C::Rare::salutation, T>("Salutation", kText),
          Bind<&C::firstName_, T>("FirstName", kText),
          BindRare<&C::rare_, &C::Rare::middleName, T>("MiddleName", kText),
          Bind<&C::lastName_, T>("LastName", kText),
          BindRare<&C::rare_, &C::Rare::suffix, T>("Suffix", kAddText),
          {"BillAddress", kAll | kModAlways, &ReadAddress, &WriteAddress, nullptr,
           qbxml::ValueType::kAggregate,
           [](const qcBase& r) { return Pending(AsCustomer(r).billTo_.get()); }},
          {"BillAddressBlock", kInRet, &ReadAddressBlock, &WriteAddressBlock},
          {"ShipAddress", kAll | kModAlways, &ReadAddress, &WriteAddress, nullptr,
           qbxml::ValueType::kAggregate,
           [](const qcBase& r) { return Pending(AsCustomer(r).shipTo_.get()); }},
          {"ShipAddressBlock", kInRet, &ReadAddressBlock, &WriteAddressBlock},
          BindRare<&C::rare_, &C::Rare::printAs, T>("PrintAs", kInRet | kSkipEmpty),
          Bind<&C::phone_, T>("Phone", kText),
          BindRare<&C::rare_, &C::Rare::mobile, T>("Mobile", kAddText),
          BindRare<&C::rare_, &C::Rare::pager, T>("Pager", kAddText),
          BindRare<&C::rare_, &C::Rare::altPhone, T>("AltPhone", kText),
          BindRare<&C::rare_, &C::Rare::fax, T>("Fax", kText),
          Bind<&C::email_, T>("Email", kText),
          Bind<&C::contact_, T>("Contact", kText),
      }},
      std::array<Binding<qcBase>, 14>{{
          BindRare<&C::rare_, &C::Rare::altContact, T>("AltContact", kText),
          Bind<&C::customerType_, R>("CustomerTypeRef", kAll),
          Bind<&C::terms_, R>("TermsRef", kAll),
          Bind<&C::salesRep_, R>("SalesRepRef", kAll),
          Bind<&C::balance_, codecs::Amount>("Balance", kInRet),
          Bind<&C::totalBalance_, codecs::Amount>("TotalBalance", kInRet),
          // The opening balance goes out with its date, and only when there is one.
          {"OpenBalance", kInAdd,
           [](qcBase& r, const FieldElement& x) {
             codecs::Amount::Read(static_cast<Customer&>(r).openingBalance_, x);
           },
           [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
             if (HasOpeningBalance(AsCustomer(r)))
               codecs::Amount::Write(AsCustomer(r).openingBalance_, b, name, f, form);
           },
           nullptr, qbxml::ValueType::kAmount},
          {"OpenBalanceDate", kInAdd,
           [](qcBase& r, const FieldElement& x) {
             codecs::Date::Read(static_cast<Customer&>(r).openingBalanceDate_, x);
           },
           [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
             if (HasOpeningBalance(AsCustomer(r)))
               codecs::Date::Write(AsCustomer(r).openingBalanceDate_, b, name, f, form);
           },
           nullptr, qbxml::ValueType::kDate},
          SessionGated<&C::salesTaxCode_, R, &UsTaxReferences>("SalesTaxCodeRef", kAll),
          SessionGated<&C::salesTaxItem_, R, &UsTaxReferences>("ItemSalesTaxRef", kAll),
          // Other editions' tax code: not in the US schema.
          SessionGated<&C::cdnTaxCode_, R, &TaxCodeReference>("TaxCodeRef", kAll | kNotInSchema),
          BindRare<&C::rare_, &C::Rare::resaleNumber, T>("ResaleNumber", kText),
          BindRare<&C::rare_, &C::Rare::accountNumber, T>("AccountNumber", kText),
          // Written while the limit is enabled; a limit read from QuickBooks enables it.
          {"CreditLimit", kAll,
           [](qcBase& r, const FieldElement& x) {
             Customer& self = static_cast<Customer&>(r);
             codecs::Amount::Read(self.creditLimit_, x);
             self.creditLimitEnabled_ = true;
           },
           [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
             if (AsCustomer(r).creditLimitEnabled_)
               codecs::Amount::Write(AsCustomer(r).creditLimit_, b, name, f, form);
           },
           nullptr, qbxml::ValueType::kAmount},
      }},
      std::array<Binding<qcBase>, 13>{{
          Bind<&C::paymentMethod_, R>("PreferredPaymentMethodRef", kAll),
          {"CreditCardInfo", kAll | kModAlways,
           [](qcBase& r, const FieldElement& x) {
             static_cast<Customer&>(r).CreditCard()->FromDom(x);
           },
           [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm form) {
             const auto& card = AsCustomer(r).creditCard_;
             if (!card || card->IsEmpty()) return;
             if (form == BodyForm::kMod && card->ObjectState() == qoObjectStateClean) return;
             b.OpenAggregateOnly(name);
             card->WriteElements(b);
             b.EndAggregate(name);
           },
           nullptr, qbxml::ValueType::kAggregate,
           [](const qcBase& r) { return Pending(AsCustomer(r).creditCard_.get()); }},
          Bind<&C::jobStatus_, codecs::EnumTag<qoeJobStatus>>("JobStatus", kAll | kSkipEmpty),
          Bind<&C::jobStartDate_, codecs::Date>("JobStartDate", kAll),
          Bind<&C::jobProjectedEndDate_, codecs::Date>("JobProjectedEndDate", kAll),
          Bind<&C::jobEndDate_, codecs::Date>("JobEndDate", kAll),
          BindRare<&C::rare_, &C::Rare::jobDesc, T>("JobDesc", kText),
          Bind<&C::jobType_, R>("JobTypeRef", kAll),
          BindRare<&C::rare_, &C::Rare::notes, T>("Notes", kText),
          Bind<&C::isStatementWithParent_, codecs::Bool>("IsStatementWithParent", kInAdd | kInRet),
          Bind<&C::deliveryMethod_, codecs::EnumTag<qoeDeliveryMethod>>(
              "DeliveryMethod", kInAdd | kInRet | kSkipEmpty),
          // Other editions from qbXML 3.0: not in the US schema.
          SessionGated<&C::isUsingCustomerTaxCode_, codecs::Bool, &CustomerTaxCodeFlag>(
              "IsUsingCustomerTaxCode", kAll | kNotInSchema),
          Bind<&C::priceLevel_, R>("PriceLevelRef", kAll),
      }},
      std::array{ReadOnly(Bind<&C::currency_, R>("CurrencyRef", kInRet)), DataExtRow()},
      UserDataRow());
}

void Customer::SetSalesTaxCode(const std::string& value) {
  RequireEdition(true);
  ChangeRef(salesTaxCode_, value, "SalesTaxCodeRef");
}

void Customer::SetSalesTaxItem(const std::string& value) {
  RequireEdition(true);
  ChangeRef(salesTaxItem_, value, "ItemSalesTaxRef");
}

void Customer::SetCDNTaxCode(const std::string& value) {
  RequireEdition(false);
  ChangeRef(cdnTaxCode_, value, "TaxCodeRef");
}

void Customer::SetIsUsingCustomerTaxCode(bool value) {
  RequireEdition(false);
  Change(isUsingCustomerTaxCode_, value, "IsUsingCustomerTaxCode");
}

void Customer::SetCreditLimit(Currency value) {
  Change(creditLimit_, value, "CreditLimit");
  creditLimitEnabled_ = true;
}

void Customer::Copy(const Customer& from) {
  if (this == &from) return;
  CheckModify(false);
  for (const Binding<qcBase>& row : Bindings().Rows()) {
    if ((row.flags & kInMod) != 0) MarkChanged(row.element);
  }
  companyName_ = from.companyName_;
  firstName_ = from.firstName_;
  lastName_ = from.lastName_;
  phone_ = from.phone_;
  email_ = from.email_;
  contact_ = from.contact_;
  static const Rare kNone;
  const Rare& source = from.rare_ ? *from.rare_ : kNone;
  Rare* rare = from.rare_ ? &MutableRare() : rare_.get();
  if (rare != nullptr) {
    rare->salutation = source.salutation;
    rare->middleName = source.middleName;
    rare->altPhone = source.altPhone;
    rare->fax = source.fax;
    rare->altContact = source.altContact;
    rare->resaleNumber = source.resaleNumber;
    rare->accountNumber = source.accountNumber;
    rare->jobDesc = source.jobDesc;
    rare->notes = source.notes;
  }
  for (auto ref :
       {&C::customerType_, &C::terms_, &C::salesRep_, &C::salesTaxCode_, &C::salesTaxItem_,
        &C::paymentMethod_, &C::jobType_, &C::priceLevel_, &C::cdnTaxCode_}) {
    (this->*ref).SetFullName((from.*ref).FullName());
  }
  creditLimitEnabled_ = from.creditLimitEnabled_;
  creditLimit_ = from.creditLimit_;
  jobStatus_ = from.jobStatus_;
  jobStartDate_ = from.jobStartDate_;
  jobProjectedEndDate_ = from.jobProjectedEndDate_;
  jobEndDate_ = from.jobEndDate_;
  isUsingCustomerTaxCode_ = from.isUsingCustomerTaxCode_;
  if (ObjectState() == qoObjectStateNew) {
    if (rare != nullptr) {
      rare->suffix = source.suffix;
      rare->mobile = source.mobile;
      rare->pager = source.pager;
    }
    openingBalance_ = from.openingBalance_;
    openingBalanceDate_ = from.openingBalanceDate_;
    isStatementWithParent_ = from.isStatementWithParent_;
    deliveryMethod_ = from.deliveryMethod_;
  }
  if (from.ReadAddressOf(true)) BillTo()->CopyAddress(*from.billTo_);
  if (from.ReadAddressOf(false)) ShipTo()->CopyAddress(*from.shipTo_);
  if (from.creditCard_) {
    *CreditCard() = *from.creditCard_;
    creditCard_->SetCardNumber(from.creditCard_->CardNumber());  // Dirty: sent with the copy
  }
}

std::shared_ptr<Customer> Customer::Clone() const {
  auto copy = std::make_shared<Customer>();
  copy->SetName(name_);
  copy->Copy(*this);
  return copy;
}

void Customer::CheckRules(qcErrors& errors) {
  struct Rule {
    const std::string& (C::*field)() const noexcept;
    size_t limit;
    ErrorCode error;
    std::string_view label;
  };
  if (name_.empty()) {
    AddTableError(errors, errNameNull, "Name");
  } else if (Utf8Length(name_) > 41) {
    AddTableError(errors, errCompanyNameTooLong, "Name");
  }
  CheckParent(errors);
  static constexpr Rule kNames[] = {
      {&C::CompanyName, 41, errCompanyNameTooLong, "Company Name"},
      {&C::Salutation, 15, errSalutationTooLong, "Salutation"},
      {&C::FirstName, 25, errFirstLastNameTooLong, "First Name"},
      {&C::MiddleName, 5, errMiddleNameTooLong, "Middle Name"},
      {&C::LastName, 25, errFirstLastNameTooLong, "Last Name"},
      {&C::Phone, 21, errPhoneTooLong, "Phone"},
  };
  static constexpr Rule kContacts[] = {
      {&C::AltPhone, 21, errPhoneTooLong, "Alt Phone"},
      {&C::Email, 99, errEmailTooLong, "Email"},
      {&C::Contact, 41, errCompanyNameTooLong, "Contact"},
      {&C::AltContact, 41, errCompanyNameTooLong, "Alt Contact"},
      {&C::ResaleNumber, 15, errResaleNumberTooLong, "Resale Number"},
      {&C::AccountNumber, 99, errCustomerAccountNumberTooLong, "Account Number"},
      {&C::JobDescription, 99, errJobDescTooLong, "Job Description"},
      {&C::Notes, 4095, errVendorNotesTooLong, "Notes"},
      {&C::Fax, 21, errPhoneTooLong, "Fax"},
  };
  auto check = [&](const Rule& rule) {
    if (Utf8Length((this->*rule.field)()) > rule.limit)
      AddTableError(errors, rule.error, rule.label);
  };
  for (const Rule& rule : kNames) check(rule);
  // An address's own errors, under "Bill To <field>" or "Ship To <field>".
  for (auto [address, label] : {std::pair{ReadAddressOf(true).get(), "Bill To "},
                                std::pair{ReadAddressOf(false).get(), "Ship To "}}) {
    if (!address || address->Validate()) continue;
    for (const auto& error : *address->Errors()) {
      errors.Add(error->Number(), Concat({label, error->Field()}), error->Description());
    }
  }
  for (const Rule& rule : kContacts) check(rule);
}

}  // namespace brennock

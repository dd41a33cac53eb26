// The invoice pattern every sales transaction follows: customer, terms and tax setters, totals
// kept up to date from the lines, the relay of the lines' events, validation, and the rows the
// sales kinds share.
#include "brennock/internal/transactions/sales_txn_core.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/transaction_defaults.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/session/session_checks.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/session/version_check.h"
#include "brennock/internal/transactions/line_item_facts.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/items/item_protocol.h"
#include "brennock/lists/account.h"
#include "brennock/lists/customer.h"
#include "brennock/lists/terms.h"

namespace brennock {
namespace {

SalesTxnCore& Sales(qcBase& record) { return static_cast<SalesTxnCore&>(record); }
const SalesTxnCore& Sales(const qcBase& record) { return static_cast<const SalesTxnCore&>(record); }

bool NonUS() { return Session().nonUSEdition; }
bool UKOrAustralia() { return Session().ukEdition || Session().australianEdition; }

// A sale's two addresses, made together: one allocation for both, each handed out on its own.
struct AddressPair {
  Address bill, ship;
};

}  // namespace

SalesTxnCore::SalesTxnCore(const RecordKind& kind) : LinedTxnCore(kind) {
  // A sale read from a response makes its addresses only when they are asked for.
  if (RecordsFromResponse::Active()) return;
  MakeAddresses();
  TakeDefaults();
}

void SalesTxnCore::MakeAddresses() const {
  auto pair = MakeSlabShared<AddressPair>();
  billTo_ = std::shared_ptr<Address>(pair, &pair->bill);
  shipTo_ = std::shared_ptr<Address>(pair, &pair->ship);
}

const std::shared_ptr<Address>& SalesTxnCore::AddressOf(bool bill) const {
  if (!billTo_) MakeAddresses();
  const std::shared_ptr<Address>& address = bill ? billTo_ : shipTo_;
  DeferredElement& kept = bill ? keptBillTo_ : keptShipTo_;
  // Kept only while the address was not made, or emptied since: nothing to clear.
  if (!kept.Empty()) address->FromKeptEmpty(kept);
  return address;
}

SalesTxnCore::~SalesTxnCore() = default;

void SalesTxnCore::TakeDefaults() {
  const Date today = Date::Today();
  txnDate_ = dueDate_ = shipDate_ = today;
  const TransactionDefaults defaults = CurrentTransactionDefaults();
  fob_ = defaults.fob;
  shipMethod_.SetFullName(defaults.shipMethod);
  isToBePrinted_ = defaults.markedToBePrinted;
  // Through their setters, as a client would choose them; a default the company file no longer
  // has is kept as named rather than refused.
  if (!defaults.taxableSalesTaxCode.empty() && !NonUS()) {
    try {
      SetSalesTaxCode(defaults.taxableSalesTaxCode);
    } catch (const AutomationError&) {
      salesTaxCode_.SetFullName(defaults.taxableSalesTaxCode);
    }
  }
  if (!defaults.itemSalesTax.empty()) {
    try {
      SetSalesTaxItem(defaults.itemSalesTax);
    } catch (const AutomationError&) {
      salesTaxItem_.SetFullName(defaults.itemSalesTax);
    }
  }
  ClearChanges();
}

// ---- setters with rules -------------------------------------------------------------------------

void SalesTxnCore::SetCustomer(const std::string& value) {
  std::shared_ptr<brennock::Customer> customer;
  if (!value.empty()) {
    customer =
        std::dynamic_pointer_cast<brennock::Customer>(ResolveListObject(qoListCustomers, value));
    if (!customer) RaiseFromClass(ClassName(), errInvalidCustomer);
  }
  ChangeRef(customer_, value, "CustomerRef");
  if (!customer) return;
  if (!customer->Terms().empty()) SetTerms(customer->Terms());
  if (NonUS()) {
    ChangeRef(cdnTaxCode_, customer->CDNTaxCode(), "CustomerTaxCodeRef");
  } else {
    // A customer without a code of its own leaves the company's default in place: QuickBooks
    // taxes its sales by that code too.
    if (!customer->SalesTaxCode().empty()) SetSalesTaxCode(customer->SalesTaxCode());
    if (!customer->SalesTaxItem().empty()) SetSalesTaxItem(customer->SalesTaxItem());
  }
  AddressOf(true)->CopyAddress(*customer->BillTo());
  AddressOf(false)->CopyAddress(*customer->ShipTo());
  RecalculateTotals();
}

void SalesTxnCore::SetARAccount(const std::string& value) {
  auto account = std::dynamic_pointer_cast<Account>(ResolveListObject(qoListAccounts, value));
  if (!account) RaiseFromClass(ClassName(), errInvalidTxnAccount);
  if (account->AccountType() != qbAccountsReceivable) RaiseFromClass(ClassName(), errNeedARAccount);
  ChangeRef(arAccount_, value, "ARAccountRef");
}

void SalesTxnCore::SetTerms(const std::string& value) {
  if (value.empty()) return;  // an empty name changes nothing
  if (!ResolveListObject(qoListTerms, value)) RaiseFromClass(ClassName(), errTermsNotFound);
  ChangeRef(terms_, value, "TermsRef");
  RecalculateTerms();
}

void SalesTxnCore::SetSalesTaxCode(const std::string& value) {
  RequireUSEdition();
  if (!value.empty() && !SalesTaxCodeExists(value))
    RaiseFromClass(ClassName(), errSalesTaxCodeNotFound);
  ChangeRef(salesTaxCode_, value, "CustomerSalesTaxCodeRef");
  taxableCustomer_ = !value.empty() && SalesTaxCodeIsTaxable(value);
  itemLines_->SetCustomerTaxCode(value);
  RecalculateTotals();
}

void SalesTxnCore::SetCDNCustomerTaxCode(const std::string& value) {
  RequireNonUSEdition();
  if (!value.empty() && !ResolveListObject(qoListTaxCodes, value))
    RaiseFromClass(ClassName(), errSalesTaxCodeNotFound);
  ChangeRef(cdnTaxCode_, value, "CustomerTaxCodeRef");
  RecalculateTotals();
}

bool SalesTxnCore::LinesCarryTaxItem(const std::string& taxItem) const {
  auto carries = [&taxItem](const txnItemLine& line) {
    const qbEnumItemType type = line.ItemTypeCode();
    if (type == qbItemSalesTax) return line.Item() == taxItem;
    if (type == qbItemSalesTaxGroup) {
      std::shared_ptr<qcItemTax> group = ItemTax(line.ItemObject());
      return group && group->ContainsTax(taxItem);
    }
    return false;
  };
  for (const auto& line : *itemLines_) {
    if (carries(*line)) return true;
    if (!line->IsGroup()) continue;
    for (const auto& member : *line->GroupLines())
      if (carries(*member)) return true;
  }
  return false;
}

void SalesTxnCore::SetSalesTaxItem(const std::string& value) {
  std::shared_ptr<qcItemTax> tax;
  if (!value.empty()) {
    tax = ItemTax(FindItem(value));
    if (!tax) RaiseFromClass(ClassName(), errSalesTaxCodeNotFound);
    if (LinesCarryTaxItem(value)) RaiseFromClass(ClassName(), errTaxItemInLines);
  }
  ChangeRef(salesTaxItem_, value, "ItemSalesTaxRef");
  salesTaxPercentage_ = tax ? tax->TaxRate() : Currency();
  RecalculateTotals();
}

void SalesTxnCore::SetTax1TotalTotal(Currency value) {
  RequireNonUSEdition();
  Change(tax1Total_, value, "Tax1Total");
  tax1Set_ = true;
}

void SalesTxnCore::SetTax2TotalTotal(Currency value) {
  RequireNonUSEdition();
  Change(tax2Total_, value, "Tax2Total");
  tax2Set_ = true;
}

void SalesTxnCore::SetIsToBeEmailed(bool value) {
  RequireQbxmlVersion(6);
  Change(isToBeEmailed_, value, "IsToBeEmailed");
}

void SalesTxnCore::SetOther(const std::string& value) {
  RequireQbxmlVersion(6);
  Change(other_, value, "Other");
}

void SalesTxnCore::SetClass(const std::string& value) { ChangeRef(class_, value, "ClassRef"); }

void SalesTxnCore::SetTemplate(const std::string& value) {
  ChangeRef(template_, value, "TemplateRef");
}

void SalesTxnCore::SetSalesRep(const std::string& value) {
  ChangeRef(salesRep_, value, "SalesRepRef");
}

void SalesTxnCore::SetShipMethod(const std::string& value) {
  ChangeRef(shipMethod_, value, "ShipMethodRef");
}

void SalesTxnCore::SetCustomerMessage(const std::string& value) {
  ChangeRef(customerMsg_, value, "CustomerMsgRef");
}

void SalesTxnCore::SetAmountIncludesVAT(bool value) {
  Change(amountIncludesVAT_, value,
         SessionQbxmlVersion() < Currency(6) ? "AmountIncludesVAT" : "IsTaxIncluded");
}

// ---- totals
// ---------------------------------------------------------------------------------------

void SalesTxnCore::RecalculateTerms() {
  auto term = std::dynamic_pointer_cast<qcTerm>(ResolveListObject(qoListTerms, terms_.FullName()));
  if (!term) return;
  dueDate_ = term->CalculateDueDate(txnDate_);
  suggestedDiscountDate_ = term->CalculateDiscountDate(txnDate_);
  suggestedDiscountAmount_ =
      Currency(term->DiscountPercent().ToDouble() * subtotal_.ToDouble() / 100);
}

void SalesTxnCore::RecalculateTotals() {
  subtotal_ = itemLines_->Total();
  std::shared_ptr<qcItemTax> tax;
  if (!salesTaxItem_.IsEmpty() && taxableCustomer_)
    tax = ItemTax(FindItem(salesTaxItem_.FullName()));
  salesTaxTotal_ = tax ? tax->CalculateTax(itemLines_->TaxableTotal()) : Currency();
  if (!terms_.IsEmpty()) {
    auto term =
        std::dynamic_pointer_cast<qcTerm>(ResolveListObject(qoListTerms, terms_.FullName()));
    if (term)
      suggestedDiscountAmount_ =
          Currency(subtotal_.ToDouble() * term->DiscountPercent().ToDouble() / 100);
  }
  balanceRemaining_ = subtotal_ - appliedAmount_;
  AfterTotals();
}

Currency SalesTxnCore::TaxedTotal() const noexcept {
  const int64_t tax = salesTaxTotal_.Scaled();
  const int64_t cents = (tax < 0 ? -tax + 50 : tax + 50) / 100 * 100;
  return subtotal_ + Currency::FromScaled(tax < 0 ? -cents : cents);
}

void SalesTxnCore::OnLineEvent(qoEnumEventTypes id, std::string& param) {
  switch (id) {
    case qoEventAmountChange:
      RecalculateTotals();
      break;
    case qoEventItemTaxCodeQuery: {
      if (salesTaxItem_.IsEmpty()) break;
      std::shared_ptr<qcItemTax> header = ItemTax(FindItem(salesTaxItem_.FullName()));
      if (header && header->ContainsTax(param)) {
        param.clear();
        RaiseFromClass(ClassName(), errTaxItemInHeader);
      }
      break;
    }
    case qoEventWarning:
      LinedTxnCore::OnLineEvent(id, param);
      break;
    case qoEventNoQuantity:
      if (OnNoQuantity) {
        if (std::shared_ptr<qcItem> item = FindItem(param)) OnNoQuantity(item);
      }
      break;
  }
}

// ---- validation
// -----------------------------------------------------------------------------------

void SalesTxnCore::CheckSalesRules(qcErrors& errors, bool requireARAccount, bool requireCustomer,
                                   bool linksCount) {
  if (requireARAccount && !arAccount_.IsEmpty()) {
    auto account = std::dynamic_pointer_cast<Account>(
        ResolveListObject(qoListAccounts, arAccount_.FullName()));
    if (!account) {
      AddTableError(errors, errInvalidAccount, "ARAccount");
    } else if (account->AccountType() != qbAccountsReceivable) {
      AddTableError(errors, errNeedARAccount, "ARAccount");
    }
  }
  if (requireCustomer && customer_.FullNameView().empty() && customer_.ListIDView().empty())
    AddTableError(errors, errInvalidCustomer, "Customer");
  CheckItemLines(errors);
  RequireLines(errors, linksCount);
}

void SalesTxnCore::BeforeRead() {
  LinedTxnCore::BeforeRead();
  keptBillTo_.Clear();
  keptShipTo_.Clear();
  if (billTo_) {
    billTo_->Reset();
    shipTo_->Reset();
  }
}

// ---- rows ---------------------------------------------------------------------------------------

void SalesTxnCore::ReadAddress(qcBase& record, const FieldElement& element) {
  SalesTxnCore& self = Sales(record);
  const bool bill = element.baseName() == "BillAddress";
  // Kept as read until asked for, unless the addresses are made already (or the element is not a
  // plain aggregate).
  if (!self.billTo_ && (bill ? self.keptBillTo_ : self.keptShipTo_).Keep(element)) return;
  (bill ? self.keptBillTo_ : self.keptShipTo_).Clear();
  self.AddressOf(bill)->FromDom(element);
}

// QuickBooks answers the printed form too; it fills the address only when the structured one is
// absent (a block's lines are the address's lines).
void SalesTxnCore::ReadAddressBlock(qcBase& record, const FieldElement& element) {
  SalesTxnCore& self = Sales(record);
  Address& address = *self.AddressOf(element.baseName() == "BillAddressBlock");
  if (!address.IsEmpty()) return;
  address.FromDom(element);
}

void SalesTxnCore::WriteAddress(const qcBase& record, RequestWriter& builder,
                                std::string_view element, uint16_t, BodyForm form) {
  const SalesTxnCore& self = Sales(record);
  const Address& address = *self.AddressOf(element == "BillAddress");
  if (form == BodyForm::kRet ||
      (form == BodyForm::kAdd && address.ObjectState() == qoObjectStateClean)) {
    if (address.IsEmpty()) return;
    builder.OpenAggregateOnly(element);
    address.WriteElements(builder);
    builder.EndAggregate(element);
    return;
  }
  // A changed address goes out with every line, the emptied ones empty; a new transaction leaves
  // out one that holds nothing.
  if (address.ObjectState() == qoObjectStateClean) return;
  if (form == BodyForm::kAdd && address.IsEmpty()) return;
  builder.OpenAggregateOnly(element);
  address.WriteRecordElements(builder, false);
  builder.EndAggregate(element);
}

bool SalesTxnCore::AddressPending(const qcBase& record) {
  // A kept address is as QuickBooks sent it.
  const SalesTxnCore& self = Sales(record);
  return self.billTo_ && (self.billTo_->ObjectState() != qoObjectStateClean ||
                          self.shipTo_->ObjectState() != qoObjectStateClean);
}

void SalesTxnCore::ReadSalesTaxItem(qcBase& record, const FieldElement& element) {
  codecs::Ref::Read(Sales(record).salesTaxItem_, element);
}

void SalesTxnCore::WriteSalesTaxItem(const qcBase& record, RequestWriter& builder,
                                     std::string_view element, uint16_t flags, BodyForm form) {
  const SalesTxnCore& self = Sales(record);
  if (form != BodyForm::kRet && (NonUS() || CurrentTransactionDefaults().itemSalesTax.empty()))
    return;
  if (!self.salesTaxItem_.IsEmpty())
    codecs::Ref::Write(self.salesTaxItem_, builder, element, flags, form);
}

void SalesTxnCore::ReadCdnTaxCode(qcBase& record, const FieldElement& element) {
  codecs::Ref::Read(Sales(record).cdnTaxCode_, element);
}

void SalesTxnCore::WriteCdnTaxCode(const qcBase& record, RequestWriter& builder,
                                   std::string_view element, uint16_t flags, BodyForm form) {
  if (NonUS()) codecs::Ref::Write(Sales(record).cdnTaxCode_, builder, element, flags, form);
}

void SalesTxnCore::ReadSalesTaxCode(qcBase& record, const FieldElement& element) {
  SalesTxnCore& self = Sales(record);
  codecs::Ref::Read(self.salesTaxCode_, element);
  self.itemLines_->SetCustomerTaxCode(self.salesTaxCode_.FullName());
}

void SalesTxnCore::WriteSalesTaxCode(const qcBase& record, RequestWriter& builder,
                                     std::string_view element, uint16_t flags, BodyForm form) {
  if (form == BodyForm::kRet || !NonUS())
    codecs::Ref::Write(Sales(record).salesTaxCode_, builder, element, flags, form);
}

void SalesTxnCore::ReadTax1(qcBase& record, const FieldElement& element) {
  codecs::Amount::Read(Sales(record).tax1Total_, element);
}

void SalesTxnCore::ReadTax2(qcBase& record, const FieldElement& element) {
  codecs::Amount::Read(Sales(record).tax2Total_, element);
}

void SalesTxnCore::WriteTaxTotal(const qcBase& record, RequestWriter& builder,
                                 std::string_view element, uint16_t flags, BodyForm form) {
  const SalesTxnCore& self = Sales(record);
  const bool first = element == "Tax1Total";
  if (!NonUS() || !(first ? self.tax1Set_ : self.tax2Set_)) return;
  codecs::Amount::Write(first ? self.tax1Total_ : self.tax2Total_, builder, element, flags, form);
}

void SalesTxnCore::ReadVAT(qcBase& record, const FieldElement& element) {
  codecs::Bool::Read(Sales(record).amountIncludesVAT_, element);
}

void SalesTxnCore::WriteVAT(const qcBase& record, RequestWriter& builder, std::string_view element,
                            uint16_t flags, BodyForm form) {
  if (!UKOrAustralia()) return;
  const bool before6 = SessionQbxmlVersion() < Currency(6);
  if ((element == "AmountIncludesVAT") != before6) return;
  codecs::Bit::Write(Sales(record).amountIncludesVAT_, builder, element, flags, form);
}

}  // namespace brennock

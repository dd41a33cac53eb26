#include "brennock/transactions/statement_charge.h"

#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/transactions/line_item_facts.h"
#include "brennock/items/item_protocol.h"
#include "brennock/lists/account.h"
#include "brennock/transactions/txn_references.h"

namespace brennock {
namespace {

using C = StatementCharge;

void ReadLinkedTxn(qcBase& record, const FieldElement& element);

}  // namespace

StatementCharge::StatementCharge()
    : TxnRecordCore(RegisteredKind<kObjectType>()),
      linkedTxns_(std::make_shared<txnLinkedTransactions>()) {
  txnDate_ = Date::Today();
}

// The rows of ChargeAdd, ChargeMod and ChargeRet, in the schema's order.
const RecordBindings& StatementCharge::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  constexpr uint16_t kSet = kAll | kSkipEmpty;
  using R = codecs::Ref;
  using A = codecs::Amount;
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 18>{{
          Bind<&C::customer_, R>("CustomerRef", kAll),
          TxnDateRow(),
          RefNumberRow(),
          Bind<&C::item_, R>("ItemRef", kAll),
          Bind<&C::quantity_, codecs::Single>("Quantity", kSet),
          Bind<&C::rate_, codecs::Price>("Rate", kSet),
          Bind<&C::amount_, A>("Amount", kSet),
          Bind<&C::balanceRemaining_, A>("BalanceRemaining", kInRet),
          Bind<&C::description_, codecs::Text>("Desc", kText),
          Bind<&C::arAccount_, R>("ARAccountRef", kAll),
          Bind<&C::class_, R>("ClassRef", kAll),
          Bind<&C::billedDate_, codecs::Date>("BilledDate", kAll),
          Bind<&C::dueDate_, codecs::Date>("DueDate", kAll),
          Bind<&C::overrideItemAccount_, R>("OverrideItemAccountRef", kInAdd | kInMod),
          ReadOnly(Bind<&C::isPaid_, codecs::Bool>("IsPaid", kInRet)),
          Binding<qcBase>{"LinkedTxn", kInRet, &ReadLinkedTxn, nullptr},
          DataExtRow(),
          UserDataRow()[0],
      }});
}

namespace {

void ReadLinkedTxn(qcBase& record, const FieldElement& element) {
  auto link = std::make_shared<txnLinkedTransaction>();
  link->FromDom(element);
  RecordAs<StatementCharge>(record).LinkedTxns()->Append(std::move(link));
}

}  // namespace

void StatementCharge::BeforeRead() {
  TxnRecordCore::BeforeRead();
  linkedTxns_->Reset();
}

void StatementCharge::SetCustomer(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListCustomers, value))
    RaiseFromClass(Kind().className, errInvalidCustomer);
  ChangeRef(customer_, value, "CustomerRef");
}

void StatementCharge::SetItem(const std::string& value) {
  std::shared_ptr<qcItem> item;
  if (!value.empty()) {
    item = FindItem(value);
    if (!item) RaiseFromClass(Kind().className, errInvalidItem);
    switch (item->ItemType()) {
      case qbItemSubtotal:
      case qbItemDiscount:
      case qbItemPayment:
      case qbItemSalesTax:
      case qbItemSalesTaxGroup:
        RaiseFromClass(Kind().className, errUnsupportedItemType);
      default:
        break;
    }
  }
  ChangeRef(item_, value, "ItemRef");
  if (!item) return;
  if (description_.empty()) SetDescription(item->SalesDescription());
  if (rate_ == Currency() && !item->SalesCostIsPercent()) SetRate(Currency(item->SalesCost()));
}

void StatementCharge::SetQuantity(float value) {
  Change(quantity_, value, "Quantity");
  Recompute();
}

void StatementCharge::SetRate(Currency value) {
  Change(rate_, value, "Rate");
  Recompute();
}

void StatementCharge::Recompute() {
  if (quantity_ == 0 || rate_ == Currency()) return;
  Change(amount_, Currency(static_cast<double>(quantity_) * rate_.ToDouble()), "Amount");
}

void StatementCharge::SetARAccount(const std::string& value) {
  std::shared_ptr<Account> account = RequireTxnAccount(Kind().className, value);
  if (account && account->AccountType() != qbAccountsReceivable)
    RaiseFromClass(Kind().className, errNeedARAccount);
  ChangeRef(arAccount_, value, "ARAccountRef");
}

void StatementCharge::SetClass(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListClasses, value))
    RaiseFromClass(Kind().className, errClassNotFound);
  ChangeRef(class_, value, "ClassRef");
}

// A charge is a customer's.
void StatementCharge::CheckRules(qcErrors& errors) {
  if (customer_.IsEmpty()) AddTableError(errors, errInvalidCustomer, "Customer");
}

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<StatementCharge> StatementCharges::Add(
    const std::string& ARAccount, const std::string& Customer, const std::string& RefNumber,
    const std::string& Item, const std::string& Description, Currency Rate, Currency Amount,
    float Quantity, Date TxnDate, Date BilledDate, Date DueDate, Currency BalanceRemaining,
    const std::string& Class) {
  std::shared_ptr<StatementCharge> charge = NewMember();
  if (!ARAccount.empty()) charge->SetARAccount(ARAccount);
  if (!Customer.empty()) charge->SetCustomer(Customer);
  if (!RefNumber.empty()) charge->SetRefNumber(RefNumber);
  if (!Description.empty()) charge->SetDescription(Description);
  if (!Item.empty()) charge->SetItem(Item);
  if (Rate != Currency()) charge->SetRate(Rate);
  if (Quantity != 0) charge->SetQuantity(Quantity);
  if (Amount != Currency()) charge->SetAmount(Amount);
  if (!TxnDate.IsNull()) charge->SetTxnDate(TxnDate);
  if (!BilledDate.IsNull()) charge->SetBilledDate(BilledDate);
  if (!DueDate.IsNull()) charge->SetDueDate(DueDate);
  if (BalanceRemaining != Currency()) charge->SetBalanceRemaining(BalanceRemaining);
  if (!Class.empty()) charge->SetClass(Class);
  FileAdded(charge);
  return charge;
}

}  // namespace brennock

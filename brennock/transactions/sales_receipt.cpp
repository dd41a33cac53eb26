#include "brennock/transactions/sales_receipt.h"

#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/session_gates.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/transactions/txn_references.h"

namespace brennock {
namespace {

using S = SalesReceipt;

}  // namespace

SalesReceipt::SalesReceipt() : SalesTxnCore(RegisteredKind<kObjectType>()) {}

// The rows of SalesReceiptAdd and SalesReceiptRet, in the schema's order.
const RecordBindings& SalesReceipt::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kRequests = kInAdd | kInMod;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  using T = codecs::Text;
  using R = codecs::Ref;
  using A = codecs::Amount;
  using B = codecs::Bit;
  constexpr auto kLines = LineRows("SalesReceiptLineRet", "SalesReceiptLineGroupRet");
  constexpr auto kTaxCodes = CustomerTaxCodeRows();
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 17>{{
          Bind<&S::customer_, R>("CustomerRef", kAll),
          Bind<&S::class_, R>("ClassRef", kAll),
          SessionGated<&S::template_, R, &SessionFromQbxml<3>>("TemplateRef", kRequests),
          TxnDateRow(),
          RefNumberRow(),
          AddressRow("BillAddress"),
          AddressBlockRow("BillAddressBlock"),
          AddressRow("ShipAddress"),
          AddressBlockRow("ShipAddressBlock"),
          Bind<&S::isPending_, B>("IsPending", kAll),
          Bind<&S::checkNumber_, T>("CheckNumber", kText),
          Bind<&S::paymentMethod_, R>("PaymentMethodRef", kAll),
          Bind<&S::dueDate_, codecs::Date>("DueDate", kAll),
          Bind<&S::salesRep_, R>("SalesRepRef", kAll),
          Bind<&S::shipDate_, codecs::Date>("ShipDate", kAll),
          Bind<&S::shipMethod_, R>("ShipMethodRef", kAll),
          Bind<&S::fob_, T>("FOB", kRequests | kSkipEmpty),
      }},
      std::array<Binding<qcBase>, 15>{{
          Bind<&S::subtotal_, A>("Subtotal", kInRet),
          ItemSalesTaxRow(),
          Bind<&S::salesTaxPercentage_, A>("SalesTaxPercentage", kInRet),
          Bind<&S::salesTaxTotal_, A>("SalesTaxTotal", kInRet),
          Bind<&S::total_, A>("TotalAmount", kInRet),
          ReadOnly(Bind<&S::exchangeRate_, codecs::Single>("ExchangeRate", kInRet)),
          Bind<&S::memo_, T>("Memo", kText),
          Bind<&S::customerMsg_, R>("CustomerMsgRef", kAll),
          Bind<&S::isToBePrinted_, B>("IsToBePrinted", kAll),
          SessionGated<&S::isToBeEmailed_, B, &SessionFromQbxml<6>>("IsToBeEmailed", kAll),
          kTaxCodes[0],
          kTaxCodes[1],
          Bind<&S::depositToAccount_, R>("DepositToAccountRef", kAll),
          SessionGated<&S::other_, T, &SessionFromQbxml<6>>("Other", kRequests | kSkipEmpty),
          kLines[0],
      }},
      std::array{kLines[1]}, OtherEditionTaxRows(), std::array{DataExtRow()}, UserDataRow());
}

void SalesReceipt::SetPaymentMethod(const std::string& value) {
  RequirePaymentMethod(Kind().className, value);
  ChangeRef(paymentMethod_, value, "PaymentMethodRef");
}

void SalesReceipt::SetDepositToAccount(const std::string& value) {
  RequireTxnAccount(Kind().className, value);
  ChangeRef(depositToAccount_, value, "DepositToAccountRef");
}

// A cash sale names no customer necessarily and takes no links.
void SalesReceipt::CheckRules(qcErrors& errors) { CheckSalesRules(errors, false, false, false); }

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<SalesReceipt> SalesReceipts::Add(
    const std::string& Customer, const std::string& CheckNumber, const std::string& RefNumber,
    Date TxnDate, const std::string& DepositToAccount, const std::string& PaymentMethod,
    const std::string& BillAddressLine1, const std::string& BillAddressLine2,
    const std::string& BillAddressLine3, const std::string& BillAddressCity,
    const std::string& BillAddressState, const std::string& BillAddressPostalCode,
    const std::string& BillAddressCountry, const std::string& ShipAddressLine1,
    const std::string& ShipAddressLine2, const std::string& ShipAddressLine3,
    const std::string& ShipAddressCity, const std::string& ShipAddressState,
    const std::string& ShipAddressPostalCode, const std::string& ShipAddressCountry,
    const std::string& Class, const std::string& CustomerMessage, Date DueDate,
    const std::string& FOB, std::optional<bool> IsPending, std::optional<bool> IsToBePrinted,
    const std::string& Memo, const std::string& SalesRep, Date ShipDate,
    const std::string& ShipMethod) {
  std::shared_ptr<SalesReceipt> receipt = NewMember();
  if (!Customer.empty()) receipt->SetCustomer(Customer);
  if (!CheckNumber.empty()) receipt->SetCheckNumber(CheckNumber);
  if (!RefNumber.empty()) receipt->SetRefNumber(RefNumber);
  if (!TxnDate.IsNull()) receipt->SetTxnDate(TxnDate);
  if (!DepositToAccount.empty()) receipt->SetDepositToAccount(DepositToAccount);
  if (!PaymentMethod.empty()) receipt->SetPaymentMethod(PaymentMethod);
  SalesTxnCore::FillAddress(*receipt->BillTo(), BillAddressLine1, BillAddressLine2,
                            BillAddressLine3, BillAddressCity, BillAddressState,
                            BillAddressPostalCode, BillAddressCountry);
  SalesTxnCore::FillAddress(*receipt->ShipTo(), ShipAddressLine1, ShipAddressLine2,
                            ShipAddressLine3, ShipAddressCity, ShipAddressState,
                            ShipAddressPostalCode, ShipAddressCountry);
  if (!Class.empty()) receipt->SetClass(Class);
  if (!CustomerMessage.empty()) receipt->SetCustomerMessage(CustomerMessage);
  if (!DueDate.IsNull()) receipt->SetDueDate(DueDate);
  if (!FOB.empty()) receipt->SetFOB(FOB);
  if (IsPending) receipt->SetIsPending(*IsPending);
  if (IsToBePrinted) receipt->SetIsToBePrinted(*IsToBePrinted);
  if (!Memo.empty()) receipt->SetMemo(Memo);
  if (!SalesRep.empty()) receipt->SetSalesRep(SalesRep);
  if (!ShipDate.IsNull()) receipt->SetShipDate(ShipDate);
  if (!ShipMethod.empty()) receipt->SetShipMethod(ShipMethod);
  FileAdded(receipt);
  return receipt;
}

}  // namespace brennock

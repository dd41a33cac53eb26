#include "brennock/transactions/credit_memo.h"

#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/session_gates.h"
#include "brennock/internal/session/session_state.h"

namespace brennock {
namespace {

using M = CreditMemo;

}  // namespace

CreditMemo::CreditMemo() : SalesTxnCore(RegisteredKind<kObjectType>()) {}

// The rows of CreditMemoAdd, CreditMemoMod and CreditMemoRet, in the schema's order.
const RecordBindings& CreditMemo::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kRequests = kInAdd | kInMod;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  using T = codecs::Text;
  using R = codecs::Ref;
  using A = codecs::Amount;
  using B = codecs::Bit;
  constexpr auto kLines = LineRows("CreditMemoLineRet", "CreditMemoLineGroupRet");
  constexpr auto kTaxCodes = CustomerTaxCodeRows();
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 18>{{
          Bind<&M::customer_, R>("CustomerRef", kAll),
          Bind<&M::class_, R>("ClassRef", kAll),
          Bind<&M::arAccount_, R>("ARAccountRef", kAll),
          SessionGated<&M::template_, R, &SessionFromQbxml<3>>("TemplateRef", kRequests),
          TxnDateRow(),
          RefNumberRow(),
          AddressRow("BillAddress"),
          AddressBlockRow("BillAddressBlock"),
          AddressRow("ShipAddress"),
          AddressBlockRow("ShipAddressBlock"),
          Bind<&M::isPending_, B>("IsPending", kAll),
          Bind<&M::poNumber_, T>("PONumber", kText),
          Bind<&M::terms_, R>("TermsRef", kAll),
          Bind<&M::dueDate_, codecs::Date>("DueDate", kAll),
          Bind<&M::salesRep_, R>("SalesRepRef", kAll),
          Bind<&M::fob_, T>("FOB", kRequests | kSkipEmpty),
          Bind<&M::shipDate_, codecs::Date>("ShipDate", kAll),
          Bind<&M::shipMethod_, R>("ShipMethodRef", kAll),
      }},
      std::array<Binding<qcBase>, 17>{{
          Bind<&M::subtotal_, A>("Subtotal", kInRet),
          ItemSalesTaxRow(),
          Bind<&M::salesTaxPercentage_, A>("SalesTaxPercentage", kInRet),
          Bind<&M::salesTaxTotal_, A>("SalesTaxTotal", kInRet),
          Bind<&M::total_, A>("TotalAmount", kInRet),
          Bind<&M::creditRemaining_, A>("CreditRemaining", kInRet),
          ReadOnly(Bind<&M::exchangeRate_, codecs::Single>("ExchangeRate", kInRet)),
          Bind<&M::memo_, T>("Memo", kText),
          Bind<&M::customerMsg_, R>("CustomerMsgRef", kAll),
          Bind<&M::isToBePrinted_, B>("IsToBePrinted", kAll),
          SessionGated<&M::isToBeEmailed_, B, &SessionFromQbxml<6>>("IsToBeEmailed", kAll),
          kTaxCodes[0],
          kTaxCodes[1],
          SessionGated<&M::other_, T, &SessionFromQbxml<6>>("Other", kRequests | kSkipEmpty),
          LinkedTxnRow(),
          kLines[0],
          kLines[1],
      }},
      OtherEditionTaxRows(), std::array{DataExtRow()}, UserDataRow());
}

// A credit memo needs its customer and a receivable account (when named); links do not stand
// for lines.
void CreditMemo::CheckRules(qcErrors& errors) { CheckSalesRules(errors, true, true, false); }

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<CreditMemo> CreditMemos::Add(
    const std::string& Customer, const std::string& RefNumber, Date TxnDate,
    const std::string& ARAccount, const std::string& BillAddressLine1,
    const std::string& BillAddressLine2, const std::string& BillAddressLine3,
    const std::string& BillAddressCity, const std::string& BillAddressState,
    const std::string& BillAddressPostalCode, const std::string& BillAddressCountry,
    const std::string& ShipAddressLine1, const std::string& ShipAddressLine2,
    const std::string& ShipAddressLine3, const std::string& ShipAddressCity,
    const std::string& ShipAddressState, const std::string& ShipAddressPostalCode,
    const std::string& ShipAddressCountry, const std::string& Class,
    const std::string& CustomerMessage, Date DueDate, const std::string& FOB,
    std::optional<bool> IsPending, std::optional<bool> IsToBePrinted, const std::string& Memo,
    const std::string& PONumber, const std::string& SalesRep, Date ShipDate,
    const std::string& ShipMethod) {
  std::shared_ptr<CreditMemo> memo = NewMember();
  if (!Customer.empty()) memo->SetCustomer(Customer);
  if (!RefNumber.empty()) memo->SetRefNumber(RefNumber);
  if (!TxnDate.IsNull()) memo->SetTxnDate(TxnDate);
  if (!ARAccount.empty()) memo->SetARAccount(ARAccount);
  SalesTxnCore::FillAddress(*memo->BillTo(), BillAddressLine1, BillAddressLine2, BillAddressLine3,
                            BillAddressCity, BillAddressState, BillAddressPostalCode,
                            BillAddressCountry);
  SalesTxnCore::FillAddress(*memo->ShipTo(), ShipAddressLine1, ShipAddressLine2, ShipAddressLine3,
                            ShipAddressCity, ShipAddressState, ShipAddressPostalCode,
                            ShipAddressCountry);
  if (!Class.empty()) memo->SetClass(Class);
  if (!CustomerMessage.empty()) memo->SetCustomerMessage(CustomerMessage);
  if (!DueDate.IsNull()) memo->SetDueDate(DueDate);
  if (!FOB.empty()) memo->SetFOB(FOB);
  if (IsPending) memo->SetIsPending(*IsPending);
  if (IsToBePrinted) memo->SetIsToBePrinted(*IsToBePrinted);
  if (!Memo.empty()) memo->SetMemo(Memo);
  if (!PONumber.empty()) memo->SetPONumber(PONumber);
  if (!SalesRep.empty()) memo->SetSalesRep(SalesRep);
  if (!ShipDate.IsNull()) memo->SetShipDate(ShipDate);
  if (!ShipMethod.empty()) memo->SetShipMethod(ShipMethod);
  FileAdded(memo);
  return memo;
}

}  // namespace brennock

#include "brennock/transactions/sales_order.h"

#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/session_gates.h"
#include "brennock/internal/session/numbering_session.h"
#include "brennock/internal/session/session_state.h"

namespace brennock {
namespace {

using O = SalesOrder;

}  // namespace

SalesOrder::SalesOrder() : SalesTxnCore(RegisteredKind<kObjectType>()) {}

// The rows of SalesOrderAdd, SalesOrderMod and SalesOrderRet, in the schema's order. A sales
// order carries no tax totals of other editions.
const RecordBindings& SalesOrder::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kRequests = kInAdd | kInMod;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  using T = codecs::Text;
  using R = codecs::Ref;
  using A = codecs::Amount;
  using B = codecs::Bit;
  constexpr auto kLines = LineRows("SalesOrderLineRet", "SalesOrderLineGroupRet");
  constexpr auto kTaxCodes = CustomerTaxCodeRows();
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 16>{{
          Bind<&O::customer_, R>("CustomerRef", kAll),
          Bind<&O::class_, R>("ClassRef", kAll),
          SessionGated<&O::template_, R, &SessionFromQbxml<3>>("TemplateRef", kRequests),
          TxnDateRow(),
          RefNumberRow(),
          AddressRow("BillAddress"),
          AddressBlockRow("BillAddressBlock"),
          AddressRow("ShipAddress"),
          AddressBlockRow("ShipAddressBlock"),
          Bind<&O::poNumber_, T>("PONumber", kText),
          Bind<&O::terms_, R>("TermsRef", kAll),
          Bind<&O::dueDate_, codecs::Date>("DueDate", kAll),
          Bind<&O::salesRep_, R>("SalesRepRef", kAll),
          Bind<&O::fob_, T>("FOB", kRequests | kSkipEmpty),
          Bind<&O::shipDate_, codecs::Date>("ShipDate", kAll),
          Bind<&O::shipMethod_, R>("ShipMethodRef", kAll),
      }},
      std::array<Binding<qcBase>, 18>{{
          Bind<&O::subtotal_, A>("Subtotal", kInRet),
          ItemSalesTaxRow(),
          Bind<&O::salesTaxPercentage_, A>("SalesTaxPercentage", kInRet),
          Bind<&O::salesTaxTotal_, A>("SalesTaxTotal", kInRet),
          Bind<&O::total_, A>("TotalAmount", kInRet),
          Bind<&O::isManuallyClosed_, B>("IsManuallyClosed", kAll),
          ReadOnly(Bind<&O::isFullyInvoiced_, codecs::Bool>("IsFullyInvoiced", kInRet)),
          Bind<&O::memo_, T>("Memo", kText),
          Bind<&O::customerMsg_, R>("CustomerMsgRef", kAll),
          Bind<&O::isToBePrinted_, B>("IsToBePrinted", kAll),
          SessionGated<&O::isToBeEmailed_, B, &SessionFromQbxml<6>>("IsToBeEmailed", kAll),
          kTaxCodes[0],
          kTaxCodes[1],
          SessionGated<&O::other_, T, &SessionFromQbxml<6>>("Other", kRequests | kSkipEmpty),
          LinkedTxnRow(),
          kLines[0],
          kLines[1],
          DataExtRow(),
      }},
      UserDataRow());
}

// A sales order needs its customer; links do not stand for lines.
void SalesOrder::CheckRules(qcErrors& errors) { CheckSalesRules(errors, false, true, false); }

// ---- the collection -----------------------------------------------------------------------------

void SalesOrders::SetAutoGenerateSONumbers(bool value) {
  if (value && SessionQbxmlVersion() <= Currency::FromScaled(21000)) return;
  if (value && !autoNumbers_) OpenNumberingSession();
  autoNumbers_ = value;
}

std::shared_ptr<SalesOrder> SalesOrders::Add(
    const std::string& Customer, const std::string& RefNumber, Date TxnDate,
    const std::string& BillAddressLine1, const std::string& BillAddressLine2,
    const std::string& BillAddressLine3, const std::string& BillAddressCity,
    const std::string& BillAddressState, const std::string& BillAddressPostalCode,
    const std::string& BillAddressCountry, const std::string& ShipAddressLine1,
    const std::string& ShipAddressLine2, const std::string& ShipAddressLine3,
    const std::string& ShipAddressCity, const std::string& ShipAddressState,
    const std::string& ShipAddressPostalCode, const std::string& ShipAddressCountry,
    const std::string& Class, const std::string& CustomerMessage, Date DueDate,
    const std::string& FOB, std::optional<bool> IsToBePrinted, const std::string& Memo,
    const std::string& PONumber, const std::string& SalesRep, Date ShipDate,
    const std::string& ShipMethod) {
  std::shared_ptr<SalesOrder> order = NewMember();
  if (!Customer.empty()) order->SetCustomer(Customer);
  if (!RefNumber.empty()) order->SetRefNumber(RefNumber);
  if (!TxnDate.IsNull()) order->SetTxnDate(TxnDate);
  SalesTxnCore::FillAddress(*order->BillTo(), BillAddressLine1, BillAddressLine2, BillAddressLine3,
                            BillAddressCity, BillAddressState, BillAddressPostalCode,
                            BillAddressCountry);
  SalesTxnCore::FillAddress(*order->ShipTo(), ShipAddressLine1, ShipAddressLine2, ShipAddressLine3,
                            ShipAddressCity, ShipAddressState, ShipAddressPostalCode,
                            ShipAddressCountry);
  if (!Class.empty()) order->SetClass(Class);
  if (!CustomerMessage.empty()) order->SetCustomerMessage(CustomerMessage);
  if (!DueDate.IsNull()) order->SetDueDate(DueDate);
  if (!FOB.empty()) order->SetFOB(FOB);
  if (IsToBePrinted) order->SetIsToBePrinted(*IsToBePrinted);
  if (!Memo.empty()) order->SetMemo(Memo);
  if (!PONumber.empty()) order->SetPONumber(PONumber);
  if (!SalesRep.empty()) order->SetSalesRep(SalesRep);
  if (!ShipDate.IsNull()) order->SetShipDate(ShipDate);
  if (!ShipMethod.empty()) order->SetShipMethod(ShipMethod);
  FileAdded(order);
  return order;
}

}  // namespace brennock

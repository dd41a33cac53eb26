#include "brennock/transactions/estimate.h"

#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/session_gates.h"
#include "brennock/internal/session/session_state.h"

namespace brennock {
namespace {

using E = Estimate;

}  // namespace

Estimate::Estimate() : SalesTxnCore(RegisteredKind<kObjectType>()) {}

// The rows of EstimateAdd, EstimateMod and EstimateRet, in the schema's order. An estimate ships
// nothing: it has no ship date or method.
const RecordBindings& Estimate::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kRequests = kInAdd | kInMod;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  using T = codecs::Text;
  using R = codecs::Ref;
  using A = codecs::Amount;
  using B = codecs::Bit;
  constexpr auto kLines = LineRows("EstimateLineRet", "EstimateLineGroupRet");
  constexpr auto kTaxCodes = CustomerTaxCodeRows();
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 15>{{
          Bind<&E::customer_, R>("CustomerRef", kAll),
          Bind<&E::class_, R>("ClassRef", kAll),
          SessionGated<&E::template_, R, &SessionFromQbxml<3>>("TemplateRef", kRequests),
          TxnDateRow(),
          RefNumberRow(),
          AddressRow("BillAddress"),
          AddressBlockRow("BillAddressBlock"),
          AddressRow("ShipAddress"),
          AddressBlockRow("ShipAddressBlock"),
          Bind<&E::isActive_, B>("IsActive", kAll),
          Bind<&E::poNumber_, T>("PONumber", kText),
          Bind<&E::terms_, R>("TermsRef", kAll),
          Bind<&E::dueDate_, codecs::Date>("DueDate", kAll),
          Bind<&E::salesRep_, R>("SalesRepRef", kAll),
          Bind<&E::fob_, T>("FOB", kRequests | kSkipEmpty),
      }},
      std::array<Binding<qcBase>, 18>{{
          Bind<&E::subtotal_, A>("Subtotal", kInRet),
          ItemSalesTaxRow(),
          Bind<&E::salesTaxPercentage_, A>("SalesTaxPercentage", kInRet),
          Bind<&E::salesTaxTotal_, A>("SalesTaxTotal", kInRet),
          Bind<&E::total_, A>("TotalAmount", kInRet),
          ReadOnly(Bind<&E::currency_, R>("CurrencyRef", kInRet)),
          ReadOnly(Bind<&E::exchangeRate_, codecs::Single>("ExchangeRate", kInRet)),
          ReadOnly(Bind<&E::totalInHomeCurrency_, A>("TotalAmountInHomeCurrency", kInRet)),
          Bind<&E::memo_, T>("Memo", kText),
          Bind<&E::customerMsg_, R>("CustomerMsgRef", kAll),
          SessionGated<&E::isToBeEmailed_, B, &SessionFromQbxml<6>>("IsToBeEmailed", kAll),
          kTaxCodes[0],
          kTaxCodes[1],
          SessionGated<&E::other_, T, &SessionFromQbxml<6>>("Other", kRequests | kSkipEmpty),
          LinkedTxnRow(),
          kLines[0],
          kLines[1],
          DataExtRow(),
      }},
      OtherEditionTaxRows(), UserDataRow());
}

// An estimate needs its customer; links do not stand for lines.
void Estimate::CheckRules(qcErrors& errors) { CheckSalesRules(errors, false, true, false); }

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<Estimate> Estimates::Add(
    const std::string& Customer, const std::string& RefNumber, Date TxnDate,
    const std::string& BillAddressLine1, const std::string& BillAddressLine2,
    const std::string& BillAddressLine3, const std::string& BillAddressCity,
    const std::string& BillAddressState, const std::string& BillAddressPostalCode,
    const std::string& BillAddressCountry, const std::string& Class,
    const std::string& CustomerMessage, Date DueDate, const std::string& FOB,
    std::optional<bool> IsToBePrinted, const std::string& Memo, const std::string& PONumber,
    const std::string& SalesRep) {
  std::shared_ptr<Estimate> estimate = NewMember();
  if (!Customer.empty()) estimate->SetCustomer(Customer);
  if (!RefNumber.empty()) estimate->SetRefNumber(RefNumber);
  if (!TxnDate.IsNull()) estimate->SetTxnDate(TxnDate);
  SalesTxnCore::FillAddress(*estimate->BillTo(), BillAddressLine1, BillAddressLine2,
                            BillAddressLine3, BillAddressCity, BillAddressState,
                            BillAddressPostalCode, BillAddressCountry);
  if (!Class.empty()) estimate->SetClass(Class);
  if (!CustomerMessage.empty()) estimate->SetCustomerMessage(CustomerMessage);
  if (!DueDate.IsNull()) estimate->SetDueDate(DueDate);
  if (!FOB.empty()) estimate->SetFOB(FOB);
  if (IsToBePrinted) estimate->SetIsToBePrinted(*IsToBePrinted);
  if (!Memo.empty()) estimate->SetMemo(Memo);
  if (!PONumber.empty()) estimate->SetPONumber(PONumber);
  if (!SalesRep.empty()) estimate->SetSalesRep(SalesRep);
  FileAdded(estimate);
  return estimate;
}

}  // namespace brennock

#include "brennock/transactions/invoice.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/session_gates.h"
#include "brennock/internal/model/transaction_defaults.h"
#include "brennock/internal/session/numbering_session.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/lists/account.h"
#include "brennock/lists/customer.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

using I = Invoice;

}  // namespace

Invoice::Invoice() : SalesTxnCore(RegisteredKind<kObjectType>()) {}

// The rows of InvoiceAdd, InvoiceMod and InvoiceRet, in the schema's order; each is written in
// the forms it is flagged for, under its own condition.
const RecordBindings& Invoice::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kRequests = kInAdd | kInMod;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  using T = codecs::Text;
  using R = codecs::Ref;
  using A = codecs::Amount;
  using B = codecs::Bit;
  constexpr auto kLines = LineRows("InvoiceLineRet", "InvoiceLineGroupRet");
  constexpr auto kTaxCodes = CustomerTaxCodeRows();
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 16>{{
          Bind<&I::customer_, R>("CustomerRef", kAll),
          Bind<&I::class_, R>("ClassRef", kAll),
          Bind<&I::arAccount_, R>("ARAccountRef", kAll),
          SessionGated<&I::template_, R, &SessionFromQbxml<3>>("TemplateRef", kRequests),
          TxnDateRow(),
          RefNumberRow(),
          AddressRow("BillAddress"),
          AddressBlockRow("BillAddressBlock"),
          AddressRow("ShipAddress"),
          AddressBlockRow("ShipAddressBlock"),
          Bind<&I::isPending_, B>("IsPending", kAll),
          Bind<&I::isFinanceCharge_, B>("IsFinanceCharge", kInRet),
          Bind<&I::poNumber_, T>("PONumber", kText),
          Bind<&I::terms_, R>("TermsRef", kAll),
          Bind<&I::dueDate_, codecs::Date>("DueDate", kAll),
          Bind<&I::salesRep_, R>("SalesRepRef", kAll),
      }},
      std::array<Binding<qcBase>, 16>{{
          Bind<&I::fob_, T>("FOB", kRequests | kSkipEmpty),
          Bind<&I::shipDate_, codecs::Date>("ShipDate", kAll),
          Bind<&I::shipMethod_, R>("ShipMethodRef", kAll),
          Bind<&I::subtotal_, A>("Subtotal", kInRet),
          ItemSalesTaxRow(),
          Bind<&I::salesTaxPercentage_, A>("SalesTaxPercentage", kInRet),
          Bind<&I::salesTaxTotal_, A>("SalesTaxTotal", kInRet),
          Bind<&I::appliedAmount_, A>("AppliedAmount", kInRet),
          Bind<&I::balanceRemaining_, A>("BalanceRemaining", kInRet),
          ReadOnly(Bind<&I::exchangeRate_, codecs::Single>("ExchangeRate", kInRet)),
          Bind<&I::memo_, T>("Memo", kText),
          ReadOnly(Bind<&I::isPaid_, codecs::Bool>("IsPaid", kInRet)),
          Bind<&I::customerMsg_, R>("CustomerMsgRef", kAll),
          Bind<&I::isToBePrinted_, B>("IsToBePrinted", kAll),
          SessionGated<&I::isToBeEmailed_, B, &SessionFromQbxml<6>>("IsToBeEmailed", kAll),
          kTaxCodes[0],
      }},
      std::array<Binding<qcBase>, 8>{{
          kTaxCodes[1],
          Bind<&I::suggestedDiscountAmount_, A>("SuggestedDiscountAmount", kInRet),
          Bind<&I::suggestedDiscountDate_, codecs::Date>("SuggestedDiscountDate", kInRet),
          SessionGated<&I::other_, T, &SessionFromQbxml<6>>("Other", kRequests | kSkipEmpty),
          LinkToTxnRow(),
          LinkedTxnRow(),
          kLines[0],
          kLines[1],
      }},
      OtherEditionTaxRows(), std::array{DataExtRow()}, UserDataRow());
}

void Invoice::CheckRules(qcErrors& errors) { CheckSalesRules(errors, true, true, true); }

int32_t Invoice::SaveAsqBill(const std::string& FilePath) {
  xmlBldr builder;
  builder.IOClear();
  if (auto term = ResolveListObject(qoListTerms, Terms())) builder.InsertQueryRs(*term, 1);
  WriteCompanyVendorRecord(builder, 2);
  builder.InsertQueryRs(*this, 3);
  return builder.SaveToFile(FilePath);
}

// ---- the collection
// -------------------------------------------------------------------------------

void Invoices::SetAutoGenerateInvoiceNumbers(bool value) {
  if (value && SessionQbxmlVersion() <= Currency::FromScaled(21000)) return;
  if (value && !autoNumbers_) OpenNumberingSession();
  autoNumbers_ = value;
}

std::shared_ptr<Invoice> Invoices::Add(
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
  std::shared_ptr<Invoice> invoice = NewMember();
  auto set = [](const std::string& value, auto&& setter) {
    if (!value.empty()) setter(value);
  };
  set(ARAccount, [&](const std::string& v) { invoice->SetARAccount(v); });
  set(Customer, [&](const std::string& v) { invoice->SetCustomer(v); });
  set(RefNumber, [&](const std::string& v) { invoice->SetRefNumber(v); });
  if (!TxnDate.IsNull()) invoice->SetTxnDate(TxnDate);
  Address& bill = *invoice->BillTo();
  set(BillAddressLine1, [&](const std::string& v) { bill.SetLine1(v); });
  set(BillAddressLine2, [&](const std::string& v) { bill.SetLine2(v); });
  set(BillAddressLine3, [&](const std::string& v) { bill.SetLine3(v); });
  set(BillAddressCity, [&](const std::string& v) { bill.SetCity(v); });
  set(BillAddressState, [&](const std::string& v) { bill.SetState(v); });
  set(BillAddressPostalCode, [&](const std::string& v) { bill.SetPostalCode(v); });
  set(BillAddressCountry, [&](const std::string& v) { bill.SetCountry(v); });
  Address& ship = *invoice->ShipTo();
  set(ShipAddressLine1, [&](const std::string& v) { ship.SetLine1(v); });
  set(ShipAddressLine2, [&](const std::string& v) { ship.SetLine2(v); });
  set(ShipAddressLine3, [&](const std::string& v) { ship.SetLine3(v); });
  set(ShipAddressCity, [&](const std::string& v) { ship.SetCity(v); });
  set(ShipAddressState, [&](const std::string& v) { ship.SetState(v); });
  set(ShipAddressPostalCode, [&](const std::string& v) { ship.SetPostalCode(v); });
  set(ShipAddressCountry, [&](const std::string& v) { ship.SetCountry(v); });
  set(Class, [&](const std::string& v) { invoice->SetClass(v); });
  set(CustomerMessage, [&](const std::string& v) { invoice->SetCustomerMessage(v); });
  if (!DueDate.IsNull()) invoice->SetDueDate(DueDate);
  set(FOB, [&](const std::string& v) { invoice->SetFOB(v); });
  if (IsPending) invoice->SetIsPending(*IsPending);
  if (IsToBePrinted) invoice->SetIsToBePrinted(*IsToBePrinted);
  set(Memo, [&](const std::string& v) { invoice->SetMemo(v); });
  set(PONumber, [&](const std::string& v) { invoice->SetPONumber(v); });
  set(SalesRep, [&](const std::string& v) { invoice->SetSalesRep(v); });
  if (!ShipDate.IsNull()) invoice->SetShipDate(ShipDate);
  set(ShipMethod, [&](const std::string& v) { invoice->SetShipMethod(v); });
  FileAdded(invoice);
  return invoice;
}

void Invoices::GetMe(const std::shared_ptr<Invoice>& invoice) {
  if (invoice) Reread(*invoice);
}

}  // namespace brennock

#include "brennock/company/brennock_globals.h"

#include <limits>

#include "brennock/company/company.h"
#include "brennock/enums/qc_enum.h"
#include "brennock/internal/session/session_checks.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/items/items.h"
#include "brennock/lists/account.h"
#include "brennock/lists/customer.h"
#include "brennock/lists/hierarchical_lists.h"
#include "brennock/lists/named_lists.h"
#include "brennock/lists/payroll_items.h"
#include "brennock/lists/price_level.h"
#include "brennock/lists/sales_rep.h"
#include "brennock/lists/tax_codes.h"
#include "brennock/lists/template.h"
#include "brennock/lists/terms.h"
#include "brennock/lists/to_do.h"
#include "brennock/session/app_data_folder.h"
#include "brennock/transactions/assembly_build.h"
#include "brennock/transactions/bill.h"
#include "brennock/transactions/bill_payment.h"
#include "brennock/transactions/card_txn.h"
#include "brennock/transactions/check.h"
#include "brennock/transactions/credit_memo.h"
#include "brennock/transactions/deposit.h"
#include "brennock/transactions/estimate.h"
#include "brennock/transactions/inventory_adjustment.h"
#include "brennock/transactions/invoice.h"
#include "brennock/transactions/journal_entry.h"
#include "brennock/transactions/purchase_order.h"
#include "brennock/transactions/receive_payment.h"
#include "brennock/transactions/sales_order.h"
#include "brennock/transactions/sales_receipt.h"
#include "brennock/transactions/sales_tax_payment_check.h"
#include "brennock/transactions/statement_charge.h"
#include "brennock/transactions/time_tracking.h"
#include "brennock/transactions/undeposited_fund.h"
#include "brennock/transactions/vendor_credit.h"

namespace brennock {
namespace {

// The entry with that code in the table, or nullptr; nothing on the way raises.
const qcEnumValue* EntryByCode(int32_t code, qoEnumerationType enumeration) {
  if (code < std::numeric_limits<int16_t>::min() || code > std::numeric_limits<int16_t>::max()) {
    return nullptr;
  }
  QCEnum* table = ThreadEnumerations()->Find(enumeration);
  return table != nullptr ? table->FindByCode(static_cast<int16_t>(code)) : nullptr;
}

}  // namespace

std::shared_ptr<QBConnection> GlobalQBConnection() {
  // Created inside the initialiser, after the session state it uses, so the thread destroys it
  // first.
  thread_local std::shared_ptr<QBConnection> connection = std::make_shared<QBConnection>();
  return connection;
}

std::string BrennockGlobals::EStr(int32_t Code, qoEnumerationType Enumeration) const {
  const qcEnumValue* entry = EntryByCode(Code, Enumeration);
  return entry != nullptr ? entry->Description() : std::string();
}

int32_t BrennockGlobals::eVal(const std::string& Description, qoEnumerationType Enumeration) const {
  QCEnum* table = ThreadEnumerations()->Find(Enumeration);
  if (table == nullptr || !table->ItemExists(Description)) return 0;
  return table->Item(Description)->Code();
}

std::string BrennockGlobals::EXMLStr(int32_t Code, qoEnumerationType Enumeration) const {
  const qcEnumValue* entry = EntryByCode(Code, Enumeration);
  return entry != nullptr ? entry->XMLTag() : std::string();
}

std::shared_ptr<Enumerations> BrennockGlobals::QBEnumerations() const {
  return ThreadEnumerations();
}

std::shared_ptr<brennock::QBConnection> BrennockGlobals::QBConnection() const {
  return GlobalQBConnection();
}

int32_t BrennockGlobals::QBConnect(const std::string& AppID, const std::string& AppName,
                                   qbEnumFileOpenMode ConnectionType,
                                   const std::string& QBWFilePath) {
  return GlobalQBConnection()->Connect(AppID, AppName, ConnectionType, QBWFilePath);
}

std::shared_ptr<brennock::UIExtensionSubscriptions> BrennockGlobals::UIExtensionSubscriptions()
    const {
  return GlobalQBConnection()->UIExtensionSubscriptions();
}

std::shared_ptr<brennock::UISubscriptions> BrennockGlobals::UISubscriptions() const {
  return GlobalQBConnection()->UISubscriptions();
}

Variant BrennockGlobals::GetDataPath() const {
  std::string folder = CommonAppDataFolder();
  if (folder.empty()) return {};
  return Variant(std::move(folder));
}

std::shared_ptr<Company> BrennockGlobals::Company() const {
  RequireOpenSession();
  return Session().company;
}

// Each collection accessor: the session check, then the company's collection of that name.
#define BRENNOCK_GLOBAL_COLLECTION(Name)                          \
  std::shared_ptr<brennock::Name> BrennockGlobals::Name() const { \
    std::shared_ptr<brennock::Company> company = this->Company(); \
    return company ? company->Name() : nullptr;                   \
  }
BRENNOCK_GLOBAL_COLLECTION(SalesTaxCodes)
BRENNOCK_GLOBAL_COLLECTION(PaymentMethods)
BRENNOCK_GLOBAL_COLLECTION(Classes)
BRENNOCK_GLOBAL_COLLECTION(CustomerTypes)
BRENNOCK_GLOBAL_COLLECTION(SalesReps)
BRENNOCK_GLOBAL_COLLECTION(Customers)
BRENNOCK_GLOBAL_COLLECTION(CustomerMessages)
BRENNOCK_GLOBAL_COLLECTION(ToDoList)
BRENNOCK_GLOBAL_COLLECTION(ShipMethods)
BRENNOCK_GLOBAL_COLLECTION(JobTypes)
BRENNOCK_GLOBAL_COLLECTION(VendorTypes)
BRENNOCK_GLOBAL_COLLECTION(PayrollItemWages)
BRENNOCK_GLOBAL_COLLECTION(PayrollItemNonWages)
BRENNOCK_GLOBAL_COLLECTION(PriceLevels)
BRENNOCK_GLOBAL_COLLECTION(Vendors)
BRENNOCK_GLOBAL_COLLECTION(OtherNames)
BRENNOCK_GLOBAL_COLLECTION(Employees)
BRENNOCK_GLOBAL_COLLECTION(Entities)
BRENNOCK_GLOBAL_COLLECTION(Accounts)
BRENNOCK_GLOBAL_COLLECTION(Terms)
BRENNOCK_GLOBAL_COLLECTION(Items)
BRENNOCK_GLOBAL_COLLECTION(Templates)
BRENNOCK_GLOBAL_COLLECTION(Invoices)
BRENNOCK_GLOBAL_COLLECTION(SalesReceipts)
BRENNOCK_GLOBAL_COLLECTION(CreditMemos)
BRENNOCK_GLOBAL_COLLECTION(Estimates)
BRENNOCK_GLOBAL_COLLECTION(SalesOrders)
BRENNOCK_GLOBAL_COLLECTION(StatementCharges)
BRENNOCK_GLOBAL_COLLECTION(ReceivePayments)
BRENNOCK_GLOBAL_COLLECTION(Deposits)
BRENNOCK_GLOBAL_COLLECTION(BillPayments)
BRENNOCK_GLOBAL_COLLECTION(JournalEntries)
BRENNOCK_GLOBAL_COLLECTION(UndepositedFunds)
BRENNOCK_GLOBAL_COLLECTION(SalesTaxPaymentChecks)
BRENNOCK_GLOBAL_COLLECTION(TimeTrackings)
BRENNOCK_GLOBAL_COLLECTION(InventoryAdjustments)
BRENNOCK_GLOBAL_COLLECTION(AssemblyBuilds)
BRENNOCK_GLOBAL_COLLECTION(Bills)
BRENNOCK_GLOBAL_COLLECTION(Checks)
BRENNOCK_GLOBAL_COLLECTION(VendorCredits)
BRENNOCK_GLOBAL_COLLECTION(ItemReceipts)
BRENNOCK_GLOBAL_COLLECTION(PurchaseOrders)
BRENNOCK_GLOBAL_COLLECTION(CreditCardCharges)
BRENNOCK_GLOBAL_COLLECTION(CreditCardCredits)
#undef BRENNOCK_GLOBAL_COLLECTION

std::shared_ptr<TaxCodes> BrennockGlobals::TaxCodes() const {
  RequireOpenSession();
  RequireNonUSEdition();
  const std::shared_ptr<brennock::Company>& company = Session().company;
  return company ? company->TaxCodes() : nullptr;
}

}  // namespace brennock

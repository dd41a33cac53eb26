// A record read from an element (FromDom): the first byte chooses the kind, the rest is the
// element's text. Whatever loads reads without a crash (a malformed value may raise the
// conversion's error); what a list record then writes in its query-result form reads back into a
// fresh record that writes the same.
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>

#include "brennock/company/company.h"
#include "brennock/company/preferences.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/items/item_priced.h"
#include "brennock/internal/items/item_stock.h"
#include "brennock/items/item_kinds.h"
#include "brennock/lists/account.h"
#include "brennock/lists/currency_type.h"
#include "brennock/lists/customer.h"
#include "brennock/lists/employee.h"
#include "brennock/lists/hierarchical_lists.h"
#include "brennock/lists/named_lists.h"
#include "brennock/lists/other_name.h"
#include "brennock/lists/payroll_items.h"
#include "brennock/lists/price_level.h"
#include "brennock/lists/sales_rep.h"
#include "brennock/lists/tax_codes.h"
#include "brennock/lists/terms.h"
#include "brennock/lists/to_do.h"
#include "brennock/lists/vendor.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"
#include "fuzz/fuzz_support.h"

namespace brennock::fuzz {
namespace {

using Factory = std::shared_ptr<ListRecordCore> (*)();

template <class Record>
std::shared_ptr<ListRecordCore> Make() {
  return std::make_shared<Record>();
}

constexpr Factory kKinds[] = {
    Make<ShipMethod>,
    Make<PaymentMethod>,
    Make<CustomerMessage>,
    Make<Class>,
    Make<CustomerType>,
    Make<JobType>,
    Make<VendorType>,
    Make<SalesRep>,
    Make<ToDo>,
    Make<PriceLevel>,
    Make<SalesTaxCode>,
    Make<TaxCode>,
    Make<CurrencyType>,
    Make<PayrollItemWage>,
    Make<PayrollItemNonWage>,
    Make<Customer>,
    Make<Vendor>,
    Make<Employee>,
    Make<OtherName>,
    Make<Account>,
    Make<StandardTerm>,
    Make<DateDrivenTerm>,
    nullptr,  // the company
    nullptr,  // its preferences
    Make<ItemService>,
    Make<ItemInventory>,
    Make<ItemNonInventory>,
    Make<ItemOtherCharge>,
    Make<ItemSubtotal>,
    Make<ItemGroup>,
    Make<ItemDiscount>,
    Make<ItemPayment>,
    Make<ItemSalesTax>,
    Make<ItemSalesTaxGroup>,
    Make<ItemAssembly>,
    Make<ItemFixedAsset>,
};
constexpr size_t kCompanyKind = 22;
constexpr size_t kKindCount = std::size(kKinds);

// Reads the element into the record; false when it refused a value with an automation error.
bool Reads(ListRecordCore& record, const XmlNode& element) {
  try {
    record.FromDom(element);
    return true;
  } catch (const AutomationError&) {  // a bad value or enumeration text is refused, not a crash
    return false;
  }
}

std::string QueryForm(ListRecordCore& record) {
  xmlBldr builder;
  record.XMLQueryRs(builder);
  return builder.GetXML();
}

void ReadListRecord(Factory make, const XmlNode& element) {
  std::shared_ptr<ListRecordCore> record = make();
  if (!Reads(*record, element)) return;
  const std::string written = "<Ret>" + QueryForm(*record) + "</Ret>";
  XmlDocument again;
  // Text the record took may hold characters XML cannot carry; that is QuickBooks' to refuse.
  if (!again.loadXML(written)) return;
  std::shared_ptr<ListRecordCore> copy = make();
  Require(Reads(*copy, again.documentElement()), "the query form does not read back", written);
  const std::string rewritten = "<Ret>" + QueryForm(*copy) + "</Ret>";
  Require(rewritten == written, "the query form changes when read back",
          written + "\n---\n" + rewritten);
}

}  // namespace
}  // namespace brennock::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brennock;
  if (size == 0) return 0;
  fuzz::CannedSession();
  const size_t kind = data[0] % fuzz::kKindCount;
  XmlDocument document;
  if (!document.loadXML(std::string(reinterpret_cast<const char*>(data) + 1, size - 1))) return 0;
  XmlNode element = document.documentElement();
  if (fuzz::kKinds[kind] != nullptr) {
    fuzz::ReadListRecord(fuzz::kKinds[kind], element);
    return 0;
  }
  try {
    if (kind == fuzz::kCompanyKind) {
      Company company;
      company.FromDom(element);
    } else {
      Preferences preferences;
      preferences.FromDom(element);
    }
  } catch (const AutomationError&) {  // refused, as above
  }
  return 0;
}

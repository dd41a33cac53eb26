#include "brennock/company/preferences.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

using namespace ModConvertDtypes;
namespace {

template <class Enum>
Enum EnumFromTag(const XmlNode& element, qoEnumerationType table) {
  return static_cast<Enum>(EnumTextToCode(element.text(), table));
}

}  // namespace

Preferences::Preferences()
    : financeChargeAccount_(std::make_shared<qcListObjectRef>(qoListAccounts, std::string())),
      defaultDiscountAccount_(std::make_shared<qcListObjectRef>(qoListAccounts, std::string())),
      defaultShipMethod_(std::make_shared<qcListObjectRef>(qoListShipMethods, std::string())),
      defaultItemSalesTax_(std::make_shared<qcListObjectRef>(qoListItems, std::string())),
      defaultTaxableSalesTaxCode_(
          std::make_shared<qcListObjectRef>(qoListSalesTaxCodes, std::string())),
      defaultNonTaxableSalesTaxCode_(
          std::make_shared<qcListObjectRef>(qoListSalesTaxCodes, std::string())) {}

void Preferences::FromDom(const XmlNode& preferencesRet) { ReadAggregate(preferencesRet); }

void Preferences::ReadAggregate(const XmlNode& aggregate) {
  for (const XmlNode& child : aggregate.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    std::string name = child.baseName();
    if (!ReadElement(name, child)) ReadAggregate(child);
  }
}

bool Preferences::ReadElement(const std::string& name, const XmlNode& element) {
  // The boolean preferences by element name, sorted once for the binary search.
  using BoolMember = bool Preferences::*;
  using BoolEntry = std::pair<std::string_view, BoolMember>;
  static const std::array<BoolEntry, 16> kSorted = [] {
    std::array<BoolEntry, 16> table = {{
        {"IsAssessingForOverdueCharges", &Preferences::isAssessingForOverdueCharges_},
        {"IsAssigningJournalEntryNumbers", &Preferences::isAssigningJournalNumbers_},
        {"IsAutoApplyingPayments", &Preferences::isAutoApplyingPayments_},
        {"IsAutomaticLoginAllowed", &Preferences::isAutomaticLoginAllowed_},
        {"IsAutomaticallyUsingDiscounts", &Preferences::isAutomaticallyUsingDiscounts_},
        {"IsMarkedToBePrinted", &Preferences::isMarkedToBePrinted_},
        {"IsPersonalDataAccessAllowed", &Preferences::isSensitiveDataAccessAllowed_},
        {"IsPrintingItemsWithZeroAmounts", &Preferences::isPrintingItemsWithZeroAmounts_},
        {"IsRequiringAccounts", &Preferences::isRequiringAccounts_},
        {"IsTrackingReimbursedExpensesAsIncome",
         &Preferences::isTrackingReimbursedExpensesAsIncome_},
        {"IsUsingAccountNumbers", &Preferences::isUsingAccountNumbers_},
        {"IsUsingAuditTrail", &Preferences::isUsingAuditTrail_},
        {"IsUsingClassTracking", &Preferences::isUsingClassTracking_},
        {"IsUsingEstimates", &Preferences::isUsingEstimates_},
        {"IsUsingInventory", &Preferences::isUsingInventory_},
        {"IsUsingProgressInvoicing", &Preferences::isUsingProgressInvoicing_},
    }};
    std::sort(table.begin(), table.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return table;
  }();
  auto found =
      std::lower_bound(kSorted.begin(), kSorted.end(), std::string_view(name),
                       [](const auto& entry, std::string_view key) { return entry.first < key; });
  if (found != kSorted.end() && found->first == name) {
    this->*(found->second) = TextToBool(element.text());
    return true;
  }

  if (name == "ClosingDate") {
    closingDate_ = TextToDate(element.text());
  } else if (name == "AnnualInterestRate") {
    annualInterestRate_ = TextToCurrency(element.text());
  } else if (name == "MinFinanceCharge") {
    minimumFinanceCharge_ = TextToCurrency(element.text());
  } else if (name == "GracePeriod") {
    gracePeriod_ = TextToInt16(element.text());
  } else if (name == "FinanceChargeAccountRef") {
    financeChargeAccount_->FromDom(element);
  } else if (name == "CalculateChargesFrom") {
    calculateChargesFrom_ =
        EnumFromTag<qoEnumCalculateChargesFrom>(element, qoeCalculateChargesFrom);
  } else if (name == "DaysBillsAreDue") {
    daysBillsAreDue_ = TextToInt16(element.text());
  } else if (name == "DefaultDiscountAccountRef") {
    defaultDiscountAccount_->FromDom(element);
  } else if (name == "AgingReportBasis") {
    agingReportBasis_ = EnumFromTag<qoEnumAgingReportBasis>(element, qoeAgingReportBasis);
  } else if (name == "SummaryReportBasis") {
    summaryReportBasis_ = EnumFromTag<qoEnumSummaryReportBasis>(element, qoeSummaryReportBasis);
  } else if (name == "DefaultShipMethodRef") {
    defaultShipMethod_->FromDom(element);
  } else if (name == "DefaultFOB") {
    defaultFOB_ = element.text();
  } else if (name == "DefaultMarkup") {
    defaultMarkup_ = TextToCurrency(element.text());
  } else if (name == "DefaultItemSalesTaxRef") {
    defaultItemSalesTax_->FromDom(element);
  } else if (name == "PaySalesTax") {
    paySalesTax_ = EnumFromTag<qoEnumPaySalesTax>(element, qoePaySalesTax);
  } else if (name == "DefaultTaxableSalesTaxCodeRef") {
    defaultTaxableSalesTaxCode_->FromDom(element);
  } else if (name == "DefaultNonTaxableSalesTaxCodeRef") {
    defaultNonTaxableSalesTaxCode_->FromDom(element);
  } else if (name == "FirstDayOfWeek") {
    firstDayOfWeek_ = EnumFromTag<qoEnumDayOfWeek>(element, qoeDayOfWeek);
    timeTrackingEnabled_ = true;
  } else if (name == "AutomaticLoginUserName") {
    automaticLoginUserName_ = element.text();
  } else if (name == "HomeCurrencyRef") {
    // The full name is the reference's second child (after ListID).
    homeCurrency_ = element.childNodes().item(1).text();
  } else if (name == "IsUsingMulticurrency" || name == "IsUsingUnitsOfMeasure" ||
             name == "IsUsingForeignPricesOnItems" || name == "ForeignCurrencyRef") {
    // Recognised; the object model has no property for them.
  } else {
    return !element.hasChildNodes() || element.childNodes().item(0).nodeType() != NODE_ELEMENT;
  }
  return true;
}

}  // namespace brennock

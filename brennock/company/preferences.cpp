#include "brennock/company/preferences.h"

#include <array>
#include <string_view>

#include "brennock/enums/enumeration_type.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

using P = Preferences;

// A preference aggregate of PreferencesRet (or of one of them): its children go through the same
// table.
template <const BindingTable<Preferences>& (*Table)()>
constexpr Binding<Preferences> Nested(std::string_view element) {
  return {element, kInRet, [](Preferences& preferences, const FieldElement& aggregate) {
            Table().Read(preferences, aggregate);
          }};
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

// The preferences object is never written back: the rows only read. A first day of the week is
// read only where time tracking is on; the home currency is kept by its full name.
const BindingTable<Preferences>& Preferences::Bindings() {
  using B = codecs::Bool;
  using Ref = codecs::Shared<codecs::Ref>;
  constexpr uint16_t kR = kInRet;
  BRENNOCK_BINDINGS(
      P,
      std::array{Nested<&P::Bindings>("AccountingPreferences"),
                 Bind<&P::isUsingAccountNumbers_, B, P>("IsUsingAccountNumbers", kR),
                 Bind<&P::isRequiringAccounts_, B, P>("IsRequiringAccounts", kR),
                 Bind<&P::isUsingClassTracking_, B, P>("IsUsingClassTracking", kR),
                 Bind<&P::isUsingAuditTrail_, B, P>("IsUsingAuditTrail", kR),
                 Bind<&P::isAssigningJournalNumbers_, B, P>("IsAssigningJournalEntryNumbers", kR),
                 Bind<&P::closingDate_, codecs::Date, P>("ClosingDate", kR)},
      std::array{Nested<&P::Bindings>("FinanceChargePreferences"),
                 Bind<&P::annualInterestRate_, codecs::Amount, P>("AnnualInterestRate", kR),
                 Bind<&P::minimumFinanceCharge_, codecs::Amount, P>("MinFinanceCharge", kR),
                 Bind<&P::gracePeriod_, codecs::Int16, P>("GracePeriod", kR),
                 Bind<&P::financeChargeAccount_, Ref, P>("FinanceChargeAccountRef", kR),
                 Bind<&P::isAssessingForOverdueCharges_, B, P>("IsAssessingForOverdueCharges", kR),
                 Bind<&P::calculateChargesFrom_, codecs::EnumTag<qoeCalculateChargesFrom>, P>(
                     "CalculateChargesFrom", kR),
                 Bind<&P::isMarkedToBePrinted_, B, P>("IsMarkedToBePrinted", kR)},
      std::array{
          Nested<&P::Bindings>("JobsAndEstimatesPreferences"),
          Bind<&P::isUsingEstimates_, B, P>("IsUsingEstimates", kR),
          Bind<&P::isUsingProgressInvoicing_, B, P>("IsUsingProgressInvoicing", kR),
          Bind<&P::isPrintingItemsWithZeroAmounts_, B, P>("IsPrintingItemsWithZeroAmounts", kR),
          Nested<&P::Bindings>("MultiCurrencyPreferences"),
          Binding<P>{"HomeCurrencyRef", kR,
                     [](P& preferences, const FieldElement& ref) {
                       for (FieldElement child : ref.Children())
                         if (child.baseName() == "FullName")
                           preferences.homeCurrency_ = child.text();
                     }},
          Nested<&P::Bindings>("PurchasesAndVendorsPreferences"),
          Bind<&P::isUsingInventory_, B, P>("IsUsingInventory", kR),
          Bind<&P::daysBillsAreDue_, codecs::Int16, P>("DaysBillsAreDue", kR),
          Bind<&P::isAutomaticallyUsingDiscounts_, B, P>("IsAutomaticallyUsingDiscounts", kR),
          Bind<&P::defaultDiscountAccount_, Ref, P>("DefaultDiscountAccountRef", kR)},
      std::array{Nested<&P::Bindings>("ReportsPreferences"),
                 Bind<&P::agingReportBasis_, codecs::EnumTag<qoeAgingReportBasis>, P>(
                     "AgingReportBasis", kR),
                 Bind<&P::summaryReportBasis_, codecs::EnumTag<qoeSummaryReportBasis>, P>(
                     "SummaryReportBasis", kR),
                 Nested<&P::Bindings>("SalesAndCustomersPreferences"),
                 Bind<&P::defaultShipMethod_, Ref, P>("DefaultShipMethodRef", kR),
                 Bind<&P::defaultFOB_, codecs::Text, P>("DefaultFOB", kR),
                 Bind<&P::defaultMarkup_, codecs::Amount, P>("DefaultMarkup", kR),
                 Bind<&P::isTrackingReimbursedExpensesAsIncome_, B, P>(
                     "IsTrackingReimbursedExpensesAsIncome", kR),
                 Bind<&P::isAutoApplyingPayments_, B, P>("IsAutoApplyingPayments", kR)},
      std::array{
          Nested<&P::Bindings>("SalesTaxPreferences"),
          Bind<&P::defaultItemSalesTax_, Ref, P>("DefaultItemSalesTaxRef", kR),
          Bind<&P::paySalesTax_, codecs::EnumTag<qoePaySalesTax>, P>("PaySalesTax", kR),
          Bind<&P::defaultTaxableSalesTaxCode_, Ref, P>("DefaultTaxableSalesTaxCodeRef", kR),
          Bind<&P::defaultNonTaxableSalesTaxCode_, Ref, P>("DefaultNonTaxableSalesTaxCodeRef", kR),
          Nested<&P::Bindings>("TimeTrackingPreferences"),
          Binding<P>{"FirstDayOfWeek", kR,
                     [](P& preferences, const FieldElement& element) {
                       codecs::EnumTag<qoeDayOfWeek>::Read(preferences.firstDayOfWeek_, element);
                       preferences.timeTrackingEnabled_ = true;
                     }},
          Nested<&P::Bindings>("CurrentAppAccessRights"),
          Bind<&P::isAutomaticLoginAllowed_, B, P>("IsAutomaticLoginAllowed", kR),
          Bind<&P::automaticLoginUserName_, codecs::Text, P>("AutomaticLoginUserName", kR),
          Bind<&P::isSensitiveDataAccessAllowed_, B, P>("IsPersonalDataAccessAllowed", kR)});
}

void Preferences::FromDom(const XmlNode& preferencesRet) {
  ReadFields<Preferences>(*this, preferencesRet, Bindings().Readers());
}

}  // namespace brennock

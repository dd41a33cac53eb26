#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/enums/company_enums.h"
#include "brennock/enums/object_enums.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"
#include "brennock/values/variant.h"

namespace brennock {

class XmlNode;
template <class Owner>
class BindingTable;

// A read-only snapshot of the company preferences, refilled only by the preferences query a
// connection sends when it opens. Account, ship method and sales tax references are kept as list
// references so that clients can reach the records; their properties give the full names.
class Preferences {
 public:
  Preferences();

  qoEnumObjectState ObjectState() const noexcept { return objectState_; }
  const Variant& UserData() const noexcept { return userData_; }
  void SetUserData(Variant value) { userData_ = std::move(value); }

  bool IsUsingAccountNumbers() const noexcept { return isUsingAccountNumbers_; }
  bool IsRequiringAccounts() const noexcept { return isRequiringAccounts_; }
  bool IsUsingClassTracking() const noexcept { return isUsingClassTracking_; }
  bool IsUsingAuditTrail() const noexcept { return isUsingAuditTrail_; }
  bool IsAssigningJournalNumbers() const noexcept { return isAssigningJournalNumbers_; }
  Date ClosingDate() const noexcept { return closingDate_; }
  Currency AnnualInterestRate() const noexcept { return annualInterestRate_; }
  Currency MinimumFinanceCharge() const noexcept { return minimumFinanceCharge_; }
  int16_t GracePeriod() const noexcept { return gracePeriod_; }
  std::string FinanceChargeAccount() const { return financeChargeAccount_->FullName(); }
  bool IsAssessingForOverdueCharges() const noexcept { return isAssessingForOverdueCharges_; }
  qoEnumCalculateChargesFrom CalculateChargesFrom() const noexcept { return calculateChargesFrom_; }
  bool IsMarkedToBePrinted() const noexcept { return isMarkedToBePrinted_; }
  bool IsUsingEstimates() const noexcept { return isUsingEstimates_; }
  bool IsUsingProgressInvoicing() const noexcept { return isUsingProgressInvoicing_; }
  bool IsPrintingItemsWithZeroAmounts() const noexcept { return isPrintingItemsWithZeroAmounts_; }
  bool IsUsingInventory() const noexcept { return isUsingInventory_; }
  int16_t DaysBillsAreDue() const noexcept { return daysBillsAreDue_; }
  bool IsAutomaticallyUsingDiscounts() const noexcept { return isAutomaticallyUsingDiscounts_; }
  std::string DefaultDiscountAccount() const { return defaultDiscountAccount_->FullName(); }
  qoEnumAgingReportBasis AgingReportBasis() const noexcept { return agingReportBasis_; }
  qoEnumSummaryReportBasis SummaryReportBasis() const noexcept { return summaryReportBasis_; }
  std::string DefaultShipMethod() const { return defaultShipMethod_->FullName(); }
  const std::string& DefaultFOB() const noexcept { return defaultFOB_; }
  Currency DefaultMarkup() const noexcept { return defaultMarkup_; }
  bool IsTrackingReimbursedExpensesAsIncome() const noexcept {
    return isTrackingReimbursedExpensesAsIncome_;
  }
  bool IsAutoApplyingPayments() const noexcept { return isAutoApplyingPayments_; }
  std::string DefaultItemSalesTax() const { return defaultItemSalesTax_->FullName(); }
  qoEnumPaySalesTax PaySalesTax() const noexcept { return paySalesTax_; }
  std::string DefaultTaxableSalesTaxCode() const { return defaultTaxableSalesTaxCode_->FullName(); }
  std::string DefaultNonTaxableSalesTaxCode() const {
    return defaultNonTaxableSalesTaxCode_->FullName();
  }
  qoEnumDayOfWeek FirstDayOfWeek() const noexcept { return firstDayOfWeek_; }
  // True once a time-tracking preference (FirstDayOfWeek) was read.
  bool TimeTrackingEnabled() const noexcept { return timeTrackingEnabled_; }
  bool IsAutomaticLoginAllowed() const noexcept { return isAutomaticLoginAllowed_; }
  const std::string& AutomaticLoginUserName() const noexcept { return automaticLoginUserName_; }
  bool IsSensitiveDataAccessAllowed() const noexcept { return isSensitiveDataAccessAllowed_; }
  const std::string& HomeCurrency() const noexcept { return homeCurrency_; }

  // The references behind the string properties.
  std::shared_ptr<qcListObjectRef> FinanceChargeAccountRef() const { return financeChargeAccount_; }
  std::shared_ptr<qcListObjectRef> DefaultDiscountAccountRef() const {
    return defaultDiscountAccount_;
  }
  std::shared_ptr<qcListObjectRef> DefaultShipMethodRef() const { return defaultShipMethod_; }
  std::shared_ptr<qcListObjectRef> DefaultItemSalesTaxRef() const { return defaultItemSalesTax_; }
  std::shared_ptr<qcListObjectRef> DefaultTaxableSalesTaxCodeRef() const {
    return defaultTaxableSalesTaxCode_;
  }
  std::shared_ptr<qcListObjectRef> DefaultNonTaxableSalesTaxCodeRef() const {
    return defaultNonTaxableSalesTaxCode_;
  }

  // Library-internal: fills the values from the preference aggregates of a PreferencesRet, in one
  // pass. Unknown elements are skipped; a malformed value raises the conversion's error.
  void FromDom(const XmlNode& preferencesRet);

  // The preference values and the aggregates that hold them, in one table: the names of the
  // values are unique across the aggregates, so each aggregate is read through the same table.
  static const BindingTable<Preferences>& Bindings();

 private:
  qoEnumObjectState objectState_ = qoObjectStateClean;
  Variant userData_;
  bool isUsingAccountNumbers_ = false;
  bool isRequiringAccounts_ = false;
  bool isUsingClassTracking_ = false;
  bool isUsingAuditTrail_ = false;
  bool isAssigningJournalNumbers_ = false;
  bool isAssessingForOverdueCharges_ = false;
  bool isMarkedToBePrinted_ = false;
  bool isUsingEstimates_ = false;
  bool isUsingProgressInvoicing_ = false;
  bool isPrintingItemsWithZeroAmounts_ = false;
  bool isUsingInventory_ = false;
  bool isAutomaticallyUsingDiscounts_ = false;
  bool isTrackingReimbursedExpensesAsIncome_ = false;
  bool isAutoApplyingPayments_ = false;
  bool timeTrackingEnabled_ = false;
  bool isAutomaticLoginAllowed_ = false;
  bool isSensitiveDataAccessAllowed_ = false;
  int16_t gracePeriod_ = 0;
  int16_t daysBillsAreDue_ = 0;
  Date closingDate_;
  Currency annualInterestRate_;
  Currency minimumFinanceCharge_;
  Currency defaultMarkup_;
  qoEnumCalculateChargesFrom calculateChargesFrom_ = static_cast<qoEnumCalculateChargesFrom>(0);
  qoEnumAgingReportBasis agingReportBasis_ = static_cast<qoEnumAgingReportBasis>(0);
  qoEnumSummaryReportBasis summaryReportBasis_ = static_cast<qoEnumSummaryReportBasis>(0);
  qoEnumPaySalesTax paySalesTax_ = static_cast<qoEnumPaySalesTax>(0);
  qoEnumDayOfWeek firstDayOfWeek_ = static_cast<qoEnumDayOfWeek>(0);
  std::string defaultFOB_;
  std::string automaticLoginUserName_;
  std::string homeCurrency_;
  std::shared_ptr<qcListObjectRef> financeChargeAccount_;
  std::shared_ptr<qcListObjectRef> defaultDiscountAccount_;
  std::shared_ptr<qcListObjectRef> defaultShipMethod_;
  std::shared_ptr<qcListObjectRef> defaultItemSalesTax_;
  std::shared_ptr<qcListObjectRef> defaultTaxableSalesTaxCode_;
  std::shared_ptr<qcListObjectRef> defaultNonTaxableSalesTaxCode_;
};

}  // namespace brennock

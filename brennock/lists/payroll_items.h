#pragma once

#include <memory>
#include <optional>
#include <string>

#include "brennock/enums/list_enums.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/typed_list_collection.h"

namespace brennock {

// A payroll item that pays wages (hourly, salary, bonus, commission) into an expense account.
class PayrollItemWage final : public ListRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypePayrollItemWage;
  PayrollItemWage() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  // 0 until set or read.
  qbEnumWageType WageType() const noexcept { return wageType_; }
  // Full name of the expense account.
  std::string ExpenseAccount() const { return expenseAccount_.FullName(); }
  // Add-only: on a saved record each raises 1002 and keeps the old value.
  void SetWageType(qbEnumWageType value) { Assign(wageType_, value, true); }
  void SetExpenseAccount(const std::string& value);

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& /*errors*/) override {}  // none

 private:
  qcListObjectRef expenseAccount_{qoListAccounts, {}};
  qbEnumWageType wageType_ = static_cast<qbEnumWageType>(0);
};

class PayrollItemWages final : public TypedListCollection<PayrollItemWage> {
 public:
  // Master collection only (else 1021).
  std::shared_ptr<PayrollItemWage> Add(const std::string& Name,
                                       const std::string& ExpenseAccount = {},
                                       std::optional<qbEnumWageType> WageType = std::nullopt) {
    return AddMember(Name, true, {}, [&](PayrollItemWage& r) {
      r.SetExpenseAccount(ExpenseAccount);
      if (WageType) r.SetWageType(*WageType);
    });
  }
};

// A payroll item other than wages (an addition, deduction, company contribution, tax or direct
// deposit). Read only: QuickBooks offers no way to add one.
class PayrollItemNonWage final : public ListRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypePayrollItemNonWage;
  PayrollItemNonWage() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  // The qbXML text as received ("Deduction", "CompanyContribution").
  const std::string& NonWageType() const noexcept { return nonWageType_; }
  std::string ExpenseAccount() const { return expenseAccount_.FullName(); }
  std::string LiabilityAccount() const { return liabilityAccount_.FullName(); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& /*errors*/) override {}  // none

 private:
  std::string nonWageType_;
  qcListObjectRef expenseAccount_{qoListAccounts, {}};
  qcListObjectRef liabilityAccount_{qoListAccounts, {}};
};

// Queries only.
class PayrollItemNonWages final : public TypedListCollection<PayrollItemNonWage> {};

}  // namespace brennock

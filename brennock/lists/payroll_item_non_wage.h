#pragma once

#include <string>

#include "brennock/model/list_record_core.h"
#include "brennock/model/typed_list_collection.h"

namespace brennock {

// A payroll item other than wages (an addition, deduction, company contribution, tax or direct
// deposit). Read only: QuickBooks offers no way to add one.
class PayrollItemNonWage final : public ListRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypePayrollItemNonWage;
  PayrollItemNonWage() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  using ListRecordCore::EditSequence;
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

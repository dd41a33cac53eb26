#include "brennock/lists/payroll_item_wage.h"

#include "brennock/enums/enumeration_type.h"

namespace brennock {

const RecordBindings& PayrollItemWage::Bindings() {
  constexpr uint16_t kBoth = kInAdd | kInRet;
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), NameRow(), ActiveRow(kBoth | kWordsInRequests),
      std::array{Bind<&PayrollItemWage::wageType_, codecs::EnumTag<qoeWageType>>(
                     "WageType", kBoth | kSkipEmpty),
                 Bind<&PayrollItemWage::expenseAccount_, codecs::Ref>("ExpenseAccountRef", kBoth)},
      UserDataRow());
}

void PayrollItemWage::SetExpenseAccount(const std::string& value) {
  CheckModify(true);
  expenseAccount_.SetFullName(value);
}

}  // namespace brennock

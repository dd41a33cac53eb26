// The payroll items: wages, and the others QuickBooks keeps itself.
#include "brennock/lists/payroll_items.h"

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

const RecordBindings& PayrollItemNonWage::Bindings() {
  using Item = PayrollItemNonWage;
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), NameRow("Name", kInRet), ActiveRow(kInRet),
      std::array{Bind<&Item::nonWageType_, codecs::Text>("NonWageType", kInRet | kSkipEmpty),
                 Bind<&Item::expenseAccount_, codecs::Ref>("ExpenseAccountRef", kInRet),
                 Bind<&Item::liabilityAccount_, codecs::Ref>("LiabilityAccountRef", kInRet)},
      UserDataRow());
}

}  // namespace brennock

#include "brennock/lists/payroll_item_non_wage.h"

namespace brennock {

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

// Every binding row of the transaction records against the qbXML catalogue: the element exists
// in the aggregate of each form it is written in and rows keep the schema's order. Line
// aggregates (named by the form) and rows outside the schema are left out.
#include <gtest/gtest.h>

#include <string>

#include "brennock/lists/linked_transactions.h"
#include "brennock/qbxml/catalogue.h"
#include "brennock/registry/record_registry.h"
#include "brennock/transactions/deposit_line.h"
#include "brennock/transactions/sales_tax_payment_check.h"
#include "brennock/transactions/txn_applied_to.h"

namespace brennock::testing {
namespace {

template <class Owner>
int CheckForm(std::span<const Binding<Owner>> rows, BodyForm form, const std::string& aggregate) {
  const qbxml::Aggregate* shape = qbxml::FindAggregate(aggregate);
  int checked = 0;
  long last = -1;
  for (const Binding<Owner>& row : rows) {
    if (!row.In(form) || (row.write == nullptr && form != BodyForm::kRet)) continue;
    if ((row.flags & kNotInSchema) != 0) continue;
    if ((row.flags & kLines) != 0 && form != BodyForm::kRet) continue;
    SCOPED_TRACE(aggregate + "/" + std::string(row.element));
    if (shape == nullptr) {
      ADD_FAILURE() << "the catalogue has no " << aggregate;
      return checked;
    }
    const qbxml::Element* element = qbxml::FindElement(*shape, row.element);
    if (element == nullptr) {
      ADD_FAILURE() << "not an element of " << aggregate;
      continue;
    }
    long position = element - shape->elements.data();
    EXPECT_GT(position, last) << "out of schema order";
    last = position;
    ++checked;
  }
  return checked;
}

TEST(TxnBindings, EveryRowOfEveryTransactionStandsInTheCatalogue) {
  int kinds = 0;
  for (const RecordKind& kind : TransactionRegistry()) {
    ASSERT_NE(kind.bindings, nullptr) << kind.className;
    ++kinds;
    const std::string stem(kind.stem);
    SCOPED_TRACE(stem);
    auto rows = kind.bindings().Rows();
    EXPECT_GT(CheckForm(rows, BodyForm::kRet, stem + "Ret"), 3);
    if (kind.Has(kCanAdd)) {
      EXPECT_GT(CheckForm(rows, BodyForm::kAdd, stem + "Add"), 0);
    }
    if (kind.Has(kCanModify)) {
      EXPECT_GT(CheckForm(rows, BodyForm::kMod, stem + "Mod"), 2);
    }
    EXPECT_EQ(FindRecordKindByObject(kind.objectType), &kind);
  }
  EXPECT_GE(kinds, 10);
}

TEST(TxnBindings, LinesOfPaymentsDepositsAndChecksStandInTheCatalogue) {
  EXPECT_EQ(CheckForm(txnAppliedTo::Bindings().Rows(), BodyForm::kRet, "AppliedToTxnRet"), 8);
  EXPECT_EQ(CheckForm(DepositLine::Bindings().Rows(), BodyForm::kRet, "DepositLineRet"), 11);
  EXPECT_EQ(CheckForm(DepositLine::Bindings().Rows(), BodyForm::kAdd, "DepositLineAdd"), 6);
  EXPECT_EQ(CheckForm(DepositLine::Bindings().Rows(), BodyForm::kMod, "DepositLineMod"), 6);
  EXPECT_EQ(CheckForm(salesTaxCheckLine::Bindings().Rows(), BodyForm::kRet,
                      "SalesTaxPaymentCheckLineRet"),
            3);
}

}  // namespace
}  // namespace brennock::testing

// The transaction records' binding rows against the qbXML catalogue: the header rows of every
// registered kind, and the item-line rows of every kind of owner, in each form they are written in.
#include <gtest/gtest.h>

#include <string>

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/transactions/bill_payment.h"
#include "brennock/transactions/deposit_line.h"
#include "brennock/transactions/inv_adj_line.h"
#include "brennock/transactions/journal_entry_line.h"
#include "brennock/transactions/sales_tax_payment_check.h"
#include "brennock/transactions/txn_applied_to.h"
#include "brennock/transactions/txn_expense_line.h"
#include "brennock/transactions/txn_item_line.h"
#include "tests/support/binding_check.h"

namespace brennock::testing {
namespace {

// The forms a kind is written in: the record form always, Add and Mod where QuickBooks takes them.
TEST(TxnBindings, EveryHeaderRowOfEveryTransactionStandsInTheCatalogue) {
  int kinds = 0;
  for (const RecordKind& kind : TransactionRegistry()) {
    ASSERT_NE(kind.bindings, nullptr) << kind.className;
    ++kinds;
    const std::string stem(kind.stem), name(kind.className);
    auto rows = kind.bindings().Rows();
    EXPECT_GT(CheckForm(rows, BodyForm::kRet, stem + "Ret", name), 3);
    if (kind.Has(kCanAdd)) {
      EXPECT_GT(CheckForm(rows, BodyForm::kAdd, stem + "Add", name), 0);
    }
    if (kind.Has(kCanModify)) {
      EXPECT_GT(CheckForm(rows, BodyForm::kMod, stem + "Mod", name), 2);
    }
    EXPECT_EQ(FindRecordKindByObject(kind.objectType), &kind);
  }
  EXPECT_GE(kinds, 10);
}

TEST(TxnBindings, LinesOfPaymentsDepositsAndChecksStandInTheCatalogue) {
  EXPECT_EQ(CheckForm(txnAppliedTo::Bindings().Rows(), BodyForm::kRet, "AppliedToTxnRet", "a"), 8);
  EXPECT_EQ(CheckForm(DepositLine::Bindings().Rows(), BodyForm::kRet, "DepositLineRet", "d"), 11);
  EXPECT_EQ(CheckForm(DepositLine::Bindings().Rows(), BodyForm::kAdd, "DepositLineAdd", "d"), 6);
  EXPECT_EQ(CheckForm(DepositLine::Bindings().Rows(), BodyForm::kMod, "DepositLineMod", "d"), 6);
  EXPECT_EQ(CheckForm(salesTaxCheckLine::Bindings().Rows(), BodyForm::kRet,
                      "SalesTaxPaymentCheckLineRet", "s"),
            3);
  EXPECT_EQ(
      CheckForm(invAdjLine::Bindings().Rows(), BodyForm::kRet, "InventoryAdjustmentLineRet", "i"),
      4);
  EXPECT_EQ(
      CheckForm(invAdjLine::Bindings().Rows(), BodyForm::kAdd, "InventoryAdjustmentLineAdd", "i"),
      1);
}

// Time entries, adjustments and builds: every form QuickBooks takes of them, row by row.
TEST(TxnBindings, TimeAdjustmentAndBuildRowsStandInTheCatalogue) {
  const struct {
    qoEnumListObjectType type;
    int add, mod, ret;  // rows checked per form; -1: not written in that form
  } kinds[] = {{qoObjectTypeTimeTracking, 9, 11, 15},
               {qoObjectTypeInventoryAdjustment, 7, -1, 13},
               {qoObjectTypeBuildAssembly, 5, -1, 15}};
  for (const auto& k : kinds) {
    const RecordKind* kind = FindRecordKindByObject(k.type);
    ASSERT_NE(kind, nullptr);
    SCOPED_TRACE(kind->className);
    const std::string stem(kind->stem);
    auto rows = kind->bindings().Rows();
    EXPECT_EQ(CheckForm(rows, BodyForm::kAdd, stem + "Add", stem), k.add);
    if (k.mod >= 0) {
      EXPECT_EQ(CheckForm(rows, BodyForm::kMod, stem + "Mod", stem), k.mod);
    }
    EXPECT_EQ(kind->Has(kCanModify), k.mod >= 0);
    EXPECT_EQ(CheckForm(rows, BodyForm::kRet, stem + "Ret", stem), k.ret);
  }
}

// The expense line's rows: TaxCodeRef belongs to other editions' schemas and is left out.
TEST(TxnBindings, ExpenseLineRowsStandInTheCatalogue) {
  auto rows = txnExpenseLine::Bindings().Rows();
  EXPECT_EQ(CheckForm(rows, BodyForm::kAdd, "ExpenseLineAdd", "expense"), 6);
  EXPECT_EQ(CheckForm(rows, BodyForm::kMod, "ExpenseLineMod", "expense"), 7);
  EXPECT_EQ(CheckForm(rows, BodyForm::kRet, "ExpenseLineRet", "expense"), 7);
}

// Journal lines are read from both line aggregates; a bill payment's rows are those of a payment
// by check, save the card account, which stands in the card payment's record form.
TEST(TxnBindings, JournalLinesAndTheCardPaymentsAccountStandInTheCatalogue) {
  for (const char* line : {"JournalDebitLine", "JournalCreditLine"})
    EXPECT_EQ(CheckForm(JournalEntryLine::Bindings().Rows(), BodyForm::kRet, line, "j"), 7);
  const qbxml::Aggregate* card = qbxml::FindAggregate("BillPaymentCreditCardRet");
  ASSERT_NE(card, nullptr);
  int outside = 0;
  for (const auto& row : BillPayment::Bindings().Rows()) {
    if ((row.flags & kNotInSchema) == 0 || row.element == "UserData") continue;
    EXPECT_NE(qbxml::FindElement(*card, row.element), nullptr) << row.element;
    ++outside;
  }
  EXPECT_EQ(outside, 1);
  EXPECT_EQ(CheckForm(txnAppliedTo::Bindings().Rows(), BodyForm::kRet, "AppliedToTxnRet", "a"), 8);
}

// Each owner's line rows against its line aggregates (the group form too).
TEST(TxnBindings, ItemLineRowsOfEveryOwnerStandInTheCatalogue) {
  const struct {
    qoEnumListObjectType owner;
    const char* line;   // the owner's line aggregate without its form
    const char* group;  // its group line aggregate
    int addRows;        // rows the add form checks
  } owners[] = {
      {qoObjectTypeInvoice, "InvoiceLine", "InvoiceLineGroup", 13},
      {qoObjectTypeSalesReceipt, "SalesReceiptLine", "SalesReceiptLineGroup", 12},
      {qoObjectTypeCreditMemo, "CreditMemoLine", "CreditMemoLineGroup", 12},
      {qoObjectTypeSalesOrder, "SalesOrderLine", "SalesOrderLineGroup", 11},
      {qoObjectTypeEstimate, "EstimateLine", "EstimateLineGroup", 12},
      {qoObjectTypePurchaseOrder, "PurchaseOrderLine", "PurchaseOrderLineGroup", 10},
      {qoObjectTypeBill, "ItemLine", "ItemGroupLine", 9},
      {qoObjectTypeCheck, "ItemLine", "ItemGroupLine", 9},
      {qoObjectTypeCreditCardCharge, "ItemLine", "ItemGroupLine", 9},
      {qoObjectTypeCreditCardCredit, "ItemLine", "ItemGroupLine", 9},
      {qoObjectTypeItemReceipt, "ItemLine", "ItemGroupLine", 9},
      {qoObjectTypeVendorCredit, "ItemLine", "ItemGroupLine", 9},
  };
  for (const auto& o : owners) {
    const std::string line = o.line, group = o.group;
    SCOPED_TRACE(line);
    auto rows = txnItemLine::WriteBindings(o.owner, false).Rows();
    EXPECT_EQ(CheckForm(rows, BodyForm::kAdd, line + "Add", line), o.addRows);
    CheckForm(rows, BodyForm::kMod, line + "Mod", line);
    auto groupRows = txnItemLine::WriteBindings(o.owner, true).Rows();
    EXPECT_GE(CheckForm(groupRows, BodyForm::kAdd, group + "Add", group), 1);
    CheckForm(groupRows, BodyForm::kMod, group + "Mod", group);
  }
}

// Every element a line reads appears in some owner's line aggregate: a misspelt name would read
// nothing and lose the value without a sound.
TEST(TxnBindings, EveryElementALineReadsIsALineElement) {
  const char* aggregates[] = {"InvoiceLineRet",
                              "SalesReceiptLineRet",
                              "CreditMemoLineRet",
                              "SalesOrderLineRet",
                              "EstimateLineRet",
                              "PurchaseOrderLineRet",
                              "ItemLineRet",
                              "InvoiceLineGroupRet",
                              "ItemGroupLineRet",
                              "PurchaseOrderLineGroupRet",
                              "SalesReceiptLineGroupRet",
                              "CreditMemoLineGroupRet",
                              "EstimateLineGroupRet",
                              "SalesOrderLineGroupRet"};
  for (const auto& row : txnItemLine::ReadBindings().Rows()) {
    if ((row.flags & kNotInSchema) != 0) continue;
    bool found = false;
    for (const char* name : aggregates) {
      const qbxml::Aggregate* shape = qbxml::FindAggregate(name);
      ASSERT_NE(shape, nullptr) << name;
      found = found || qbxml::FindElement(*shape, row.element) != nullptr;
    }
    EXPECT_TRUE(found) << row.element;
  }
}

}  // namespace
}  // namespace brennock::testing

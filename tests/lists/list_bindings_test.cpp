// Every binding row of the library's lists against the qbXML catalogue.
#include <gtest/gtest.h>

#include <string>

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/items/item_blocks.h"
#include "brennock/lists/address.h"
#include "brennock/lists/linked_transactions.h"
#include "brennock/lists/price_level.h"
#include "tests/support/binding_check.h"

namespace brennock::testing {
namespace {

TEST(ListBindings, EveryRowOfEveryRecordStandsInTheCatalogue) {
  int kinds = 0, rows = 0;
  for (const RecordKind& kind : ListRegistry()) {
    if (kind.bindings == nullptr) continue;
    ++kinds;
    // Tax codes belong to editions whose schema is not published: every row of their own is
    // marked as outside it, and only the shared head is left to compare.
    if (kind.stem == "TaxCodes") continue;
    rows +=
        CheckAllForms(kind.bindings().Rows(), std::string(kind.stem), std::string(kind.className));
  }
  EXPECT_EQ(kinds, 35);
  EXPECT_GT(rows, 300);
}

TEST(ListBindings, AggregatesOfRecordsStandInTheCatalogue) {
  EXPECT_EQ(CheckForm(Address::Bindings().Rows(), BodyForm::kAdd, "Address", "Address"), 10);
  EXPECT_EQ(CheckForm(levelPerItem::Bindings().Rows(), BodyForm::kRet, "PriceLevelPerItemRet",
                      "levelPerItem"),
            3);
  // A bill to pay and a credit to apply are read through the same rows.
  EXPECT_EQ(CheckForm(txnLinkedTransaction::Bindings().Rows(), BodyForm::kRet, "BillToPay",
                      "txnLinkedTransaction"),
            7);
  // An item's price blocks: the add form in the block, the modify form in its Mod aggregate.
  EXPECT_EQ(CheckForm(itemSalesOrPurchase::Bindings().Rows(), BodyForm::kAdd, "SalesOrPurchase",
                      "itemSalesOrPurchase"),
            4);
  EXPECT_EQ(CheckForm(itemSalesOrPurchase::Bindings().Rows(), BodyForm::kMod, "SalesOrPurchaseMod",
                      "itemSalesOrPurchase"),
            3);
  EXPECT_EQ(CheckForm(itemSalesAndPurchase::Bindings().Rows(), BodyForm::kAdd, "SalesAndPurchase",
                      "itemSalesAndPurchase"),
            7);
  EXPECT_EQ(CheckForm(itemSalesAndPurchase::Bindings().Rows(), BodyForm::kMod,
                      "SalesAndPurchaseMod", "itemSalesAndPurchase"),
            5);
}

TEST(ListBindings, RegistryNamesAreUniqueAndKnownToTheCatalogue) {
  for (const RecordKind& kind : ListRegistry()) {
    SCOPED_TRACE(std::string(kind.stem));
    EXPECT_EQ(FindListKindByStem(kind.stem), &kind);
    EXPECT_EQ(FindListKindByCommand(kind.command), &kind);
    EXPECT_EQ(FindRecordKindByObject(kind.objectType), &kind);
    if (!kind.Has(kMixed) && kind.stem != "TaxCodes") {
      EXPECT_NE(qbxml::FindAggregate(std::string(kind.stem) + "Ret"), nullptr);
      EXPECT_EQ(qbxml::FindAggregate(std::string(kind.stem) + "Add") != nullptr, kind.Has(kCanAdd));
    }
  }
}

}  // namespace
}  // namespace brennock::testing

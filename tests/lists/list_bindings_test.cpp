// Every binding row of the library's records against the qbXML catalogue: the element exists in
// the aggregate of each form it is written in, rows keep the schema's order, and the row's codec
// reads the catalogue's kind of value.
#include <gtest/gtest.h>

#include <string>

#include "brennock/items/item_blocks.h"
#include "brennock/lists/address.h"
#include "brennock/lists/linked_transactions.h"
#include "brennock/registry/record_registry.h"
#include "brennock/lists/price_level.h"
#include "brennock/qbxml/catalogue.h"

namespace brennock::testing {
namespace {

using qbxml::ValueType;

// The catalogue's types a codec's values may stand for.
bool Compatible(ValueType codec, ValueType schema) {
  switch (codec) {
    case ValueType::kText:  // names, IDs and enumeration texts are read as they stand
      return schema == ValueType::kText || schema == ValueType::kId || schema == ValueType::kEnum;
    case ValueType::kFloat:
      return schema == ValueType::kFloat || schema == ValueType::kPercent ||
             schema == ValueType::kQuantity || schema == ValueType::kPrice;
    case ValueType::kAmount:
      return schema == ValueType::kAmount || schema == ValueType::kPrice;
    case ValueType::kAggregate:  // a row of its own: no codec to compare
      return true;
    default:
      return codec == schema;
  }
}

// Checks the rows of one form against one aggregate; returns how many rows were checked.
template <class Owner>
int CheckForm(std::span<const Binding<Owner>> rows, BodyForm form, const std::string& aggregate,
              const std::string& context) {
  const qbxml::Aggregate* shape = qbxml::FindAggregate(aggregate);
  int checked = 0;
  long last = -1;
  for (const Binding<Owner>& row : rows) {
    if (!row.In(form) || (row.flags & kNotInSchema) != 0) continue;
    SCOPED_TRACE(context + " " + aggregate + "/" + std::string(row.element));
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
    EXPECT_TRUE(Compatible(row.type, element->type))
        << "codec type " << static_cast<int>(row.type) << " against "
        << static_cast<int>(element->type);
    ++checked;
  }
  return checked;
}

template <class Owner>
int CheckAllForms(std::span<const Binding<Owner>> rows, const std::string& stem,
                  const std::string& context) {
  return CheckForm(rows, BodyForm::kAdd, stem + "Add", context) +
         CheckForm(rows, BodyForm::kMod, stem + "Mod", context) +
         CheckForm(rows, BodyForm::kRet, stem + "Ret", context);
}

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

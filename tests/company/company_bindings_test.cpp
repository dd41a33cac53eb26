// The rows of the company, its preferences and the data-extension records against the qbXML
// catalogue: each element written in a form stands in that form's aggregate, in schema order.
#include <gtest/gtest.h>

#include <string>

#include "brennock/company/company.h"
#include "brennock/company/data_extension_definitions.h"
#include "brennock/company/preferences.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/model/data_extension.h"

namespace brennock::testing {
namespace {

// Positions of the rows of one form in an aggregate; fails on an element the aggregate lacks or
// a row out of order. Returns how many rows were checked.
template <class Owner>
int CheckOrder(const BindingTable<Owner>& table, BodyForm form, const std::string& aggregate) {
  const qbxml::Aggregate* shape = qbxml::FindAggregate(aggregate);
  if (shape == nullptr) {
    ADD_FAILURE() << "the catalogue has no " << aggregate;
    return 0;
  }
  int checked = 0;
  long last = -1;
  for (const Binding<Owner>& row : table.Rows()) {
    if (!row.In(form) || (row.flags & kNotInSchema) != 0) continue;
    const qbxml::Element* element = qbxml::FindElement(*shape, row.element);
    if (element == nullptr) {
      ADD_FAILURE() << row.element << " is not an element of " << aggregate;
      continue;
    }
    long position = element - shape->elements.data();
    EXPECT_GT(position, last) << aggregate << "/" << row.element << " is out of schema order";
    last = position;
    ++checked;
  }
  return checked;
}

TEST(CompanyBindings, RowsStandInTheCatalogueInSchemaOrder) {
  EXPECT_GT(CheckOrder(Company::Bindings(), BodyForm::kRet, "CompanyRet"), 10);
  EXPECT_GT(CheckOrder(Company::VendorRetBindings(), BodyForm::kRet, "VendorRet"), 3);
  EXPECT_GT(CheckOrder(DataExtension::Bindings(), BodyForm::kAdd, "DataExtAdd"), 3);
  EXPECT_GT(CheckOrder(DataExtension::Bindings(), BodyForm::kMod, "DataExtMod"), 3);
  EXPECT_GT(CheckOrder(DataExtensionDefinition::Bindings(), BodyForm::kAdd, "DataExtDefAdd"), 2);
  EXPECT_GT(CheckOrder(DataExtensionDefinition::Bindings(), BodyForm::kMod, "DataExtDefMod"), 2);
}

// Preference values sit in nested aggregates; each must be a child of one of PreferencesRet's.
TEST(CompanyBindings, EveryPreferenceRowIsAPreferenceOfQuickBooks) {
  const qbxml::Aggregate* preferences = qbxml::FindAggregate("PreferencesRet");
  ASSERT_NE(preferences, nullptr);
  int rows = 0;
  for (const Binding<Preferences>& row : Preferences::Bindings().Rows()) {
    if ((row.flags & kNotInSchema) != 0) continue;
    bool found = qbxml::FindElement(*preferences, row.element) != nullptr;
    for (const qbxml::Element& child : preferences->elements) {
      const qbxml::Aggregate* nested = qbxml::Nested(child);
      if (!found && nested != nullptr) found = qbxml::FindElement(*nested, row.element) != nullptr;
    }
    EXPECT_TRUE(found) << row.element;
    ++rows;
  }
  EXPECT_GT(rows, 30);
}

}  // namespace
}  // namespace brennock::testing

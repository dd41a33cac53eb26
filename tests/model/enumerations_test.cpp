#include "brennock/enums/enumerations.h"

#include <gtest/gtest.h>

#include <thread>

#include "brennock/enums/enum_types.h"
#include "brennock/errors/automation_error.h"
#include "brennock/model/lists_registry.h"

namespace brennock {
namespace {

std::shared_ptr<QCEnum> Table(qoEnumerationType type) { return ThreadEnumerations()->Item(type); }

// Runs f, which must raise, and returns the error.
template <typename F>
AutomationError Raised(F&& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e;
  }
  ADD_FAILURE() << "no AutomationError raised";
  return AutomationError(0, "", "");
}

TEST(EnumerationTables, EveryTableHasItsEntryCount) {
  // Entry counts by qoEnumerationType, as the tables are defined (0: filled later or never).
  const int32_t expected[] = {
      3,  69, 25, 6, 4, 12, 16, 3, 0, 12, 5,  0,  0,  8,  3,  4,  2,  4,  9,
      3,  3,  2,  3, 2, 2,  2,  3, 7, 24, 89, 94, 25, 23, 4,  3,  13, 3,  3,
      28, 8,  3,  3, 7, 36, 3,  3, 3, 3,  3,  5,  17, 5,  65, 14, 6,  35,
  };
  auto registry = ThreadEnumerations();
  ASSERT_EQ(registry->Count(), 56);
  for (int32_t type = 1; type <= 56; ++type) {
    EXPECT_EQ(registry->Item(type)->Count(), expected[type - 1]) << "table " << type;
  }
}

TEST(EnumerationTables, RegisteredUnderTheirKeys) {
  auto registry = ThreadEnumerations();
  EXPECT_EQ(registry->Item("ObjectType"), registry->Item(qoeObjectType));
  EXPECT_EQ(registry->Item("FirstDayOfWeek"), registry->Item(qoeDayOfWeek));
  EXPECT_EQ(registry->Item("TxnType"), registry->Item(qoeLinkedTxnType));
  EXPECT_EQ(registry->Item("Txn Types"), registry->Item(qoeTxnType));
  EXPECT_EQ(registry->Item("Payroll Items Non-Wage"), registry->Item(qoePayrollItemNonWage));
  EXPECT_EQ(registry->Item("Field Names"), registry->Item(qoeFieldNames));
  EXPECT_EQ(Raised([&] { registry->Item(57); }).Number(), 9);
  EXPECT_EQ(Raised([&] { registry->Item("Nothing"); }).Number(), 5);
}

TEST(EnumerationTables, ObjectTypesGiveElementStems) {
  auto types = Table(qoeObjectType);
  EXPECT_EQ(types->ItemByCode(qoObjectTypeClass)->CollectionKey(), "Class");
  auto billPayment = types->ItemByCode(qoObjectTypeBillPayment);
  EXPECT_EQ(billPayment->Description(), "BillPayment");
  EXPECT_EQ(billPayment->XMLTag(), "BillPaymentCheck");
  EXPECT_EQ(EnumCodeToXmlText(qoeObjectType, 42), "BillPaymentCheck");
  EXPECT_EQ(EnumCodeToXmlText(qoeObjectType, 3), "ItemService");
  // Customer (14) is listed before Class (13).
  EXPECT_EQ(types->Item(13)->Code(), 14);
  EXPECT_EQ(types->Item(14)->Code(), 13);
  EXPECT_EQ(types->ItemByCode(qoObjectTypeItemAssembly)->Description(), "ItemInventoryAssembly");
  EXPECT_EQ(types->ItemByCode(qoObjectTypeUISubscription)->Description(), "UIEventSubscription");
}

TEST(EnumerationTables, SkippedAndOutOfOrderCodesKeepTheirCodes) {
  auto lists = Table(qoeListType);
  EXPECT_EQ(lists->Item(12)->Code(), 13);  // code 12 is skipped
  EXPECT_EQ(lists->Item(24)->Code(), qoListTaxCodes);
  EXPECT_EQ(lists->Item(25)->Description(), "Currencies");
  EXPECT_FALSE(lists->FindByCode(12));
  EXPECT_EQ(lists->ItemByCode(qoListClasses)->CollectionKey(), "Class");

  auto fields = Table(qoeFieldNames);
  EXPECT_EQ(fields->ItemByCode(100)->Description(), "Company Name");
  EXPECT_FALSE(fields->FindByCode(101));
  EXPECT_EQ(fields->Item(35)->Code(), 203);

  auto tables = Table(qoeDataBaseTableName);
  EXPECT_EQ(tables->ItemByCode(64)->XMLTag(), "DataExtDef");
  EXPECT_EQ(tables->ItemByCode(43)->Description(), "Deposit");  // differs from ObjectType 43

  EXPECT_EQ(Table(qoeJobStatus)->ItemByCode(0)->Description(), "None");
  EXPECT_EQ(Table(qoeDeliveryMethod)->Item(1)->Code(), 0);
  EXPECT_EQ(Table(qoeDeliveryMethod)->Item(1)->Description(), "");
  // Odd spellings are kept: clients and saved files depend on them.
  EXPECT_EQ(Table(qoeReportPostingStatusFilter)->ItemByCode(2)->CollectionKey(), "NonPosting");
  EXPECT_EQ(Table(qoeReportGroup)->ItemByCode(2)->Description(), "Customers & Recievables");
  EXPECT_EQ(EnumCodeToText(qoeWarnings, qoWarningJournalEntryDebitCreditError),
            "This JournalEntryLine is out of order. All DebitLines must come first, followed by "
            "all CreditLines.");
}

TEST(EnumerationTables, KeysIgnoreBlanksAndLetterCase) {
  auto lists = Table(qoeListType);
  auto byWords = lists->Item("Sales Tax Code");
  EXPECT_EQ(byWords, lists->Item("SalesTaxCode"));
  EXPECT_EQ(byWords, lists->Item("salestaxcode"));
  EXPECT_EQ(byWords->Code(), qoListSalesTaxCodes);
  EXPECT_TRUE(lists->ItemExists("Payroll Item Non Wage"));
  EXPECT_FALSE(lists->ItemExists("Sales Tax"));  // no raise
  EXPECT_FALSE(lists->ItemExists(26));
}

TEST(EnumerationTables, UnknownCodeRaisesUnknownCode) {
  auto e = Raised([] { Table(qoeAccountType)->ItemByCode(17); });
  EXPECT_EQ(e.Number(), static_cast<int32_t>(0x800403EB));
  EXPECT_EQ(e.Source(), "Brennock: TypeCodes");
  EXPECT_EQ(e.Description(), "Unknown Code");
  // The tables left empty at start-up fail the same way.
  EXPECT_EQ(Raised([] { Table(qoeTaxForm)->ItemByCode(1); }).Number(), vbObjectError + 1003);
  EXPECT_EQ(Raised([] { EnumCodeToText(qoeField, 1); }).Description(), "Unknown Code");
  EXPECT_EQ(EnumCodeToXmlText(qoeMatchType, 9), "");
}

TEST(EnumerationLookups, CodeToTextAndQbxmlText) {
  EXPECT_EQ(EnumCodeToText(qoeActiveStatus, qbStatusActive), "ActiveOnly");
  EXPECT_EQ(EnumCodeToText(qoeActiveStatus, qbStatusAny), "All");
  EXPECT_EQ(EnumCodeToXmlText(qoeMatchType, qbMatchStartsWith), "StartsWith");
  EXPECT_EQ(EnumCodeToXmlText(qoeWageType, qbWageTypeHourlyRegular), "HourlyRegular");
  EXPECT_EQ(EnumCodeToXmlText(qoeOperator, qbOperatorGreaterThanEqual), "GreaterThanEqual");
  EXPECT_EQ(EnumCodeToText(qoeDateMacro, qbDateMacroThisFiscalYearToDate),
            "This Fiscal Year To Date");
  EXPECT_EQ(EnumCodeToXmlText(qoeMonth, 9), "September");
}

TEST(EnumerationLookups, TextToCodeMatchesTagOrKeyExactly) {
  EXPECT_EQ(EnumTextToCode("SalesDesc", qoeFieldNames), 3);
  EXPECT_EQ(EnumTextToCode("FullName", qoeFieldNames), 1);
  // The result is the position, not the code.
  EXPECT_EQ(EnumTextToCode("CompanyName", qoeFieldNames), 15);
  EXPECT_EQ(EnumTextToCode("AgeFromTransactionDate", qoeAgingReportBasis), 2);

  auto e = Raised([] { EnumTextToCode("Sales Description", qoeFieldNames); });
  EXPECT_EQ(e.Number(), static_cast<int32_t>(0x800403F0));
  EXPECT_EQ(e.Source(), "Brennock");
  EXPECT_EQ(e.Description(), "An invalid enumeration string was supplied.");
  // A tagged entry is found by its tag only; comparison is case-sensitive.
  EXPECT_EQ(Raised([] { EnumTextToCode("SalesDescription", qoeFieldNames); }).Number(),
            vbObjectError + 1008);
  EXPECT_EQ(Raised([] { EnumTextToCode("salesdesc", qoeFieldNames); }).Number(),
            vbObjectError + 1008);
}

TEST(EnumerationTables, UnregisteredTables) {
  auto terms = TermsKindTable();
  ASSERT_EQ(terms->Count(), 3);
  EXPECT_EQ(terms->ItemByCode(qbTerms)->Description(), "Terms");
  EXPECT_EQ(terms->ItemByCode(qbDateDrivenTerms)->CollectionKey(), "DateDrivenTerms");
  auto done = DoneStatusTable();
  ASSERT_EQ(done->Count(), 3);
  EXPECT_EQ(done->ItemByCode(3)->XMLTag(), "");
  EXPECT_EQ(done->ItemByCode(3)->CollectionKey(), "NotDoneOnly");
  EXPECT_EQ(TermsKindTable(), terms);  // one per thread
}

TEST(EnumerationTables, BuildingAgainDuplicatesNothing) {
  Enumerations registry;
  BuildEnumerationTables(registry);
  auto objectTypes = registry.Item(qoeObjectType);
  BuildEnumerationTables(registry);
  EXPECT_EQ(registry.Count(), 56);
  EXPECT_EQ(registry.Item(qoeObjectType), objectTypes);
  EXPECT_EQ(objectTypes->Count(), 69);
  EXPECT_EQ(registry.Item(qoeReport)->Count(), 89);

  auto first = ThreadEnumerations();
  BuildEnumerationTables(*first);
  EXPECT_EQ(ThreadEnumerations(), first);
  EXPECT_EQ(first->Count(), 56);
  EXPECT_EQ(first->Item(qoeReportField)->Count(), 94);
}

TEST(EnumerationTables, EachThreadHasItsOwnTables) {
  auto mine = ThreadEnumerations();
  std::shared_ptr<Enumerations> theirs;
  int32_t theirMonths = 0;
  std::thread other([&] {
    theirs = ThreadEnumerations();
    theirs->Item(qoeMonth)->Add(13, "Thirteenth");
    theirMonths = theirs->Item(qoeMonth)->Count();
  });
  other.join();
  EXPECT_NE(theirs, mine);
  EXPECT_EQ(theirMonths, 13);
  EXPECT_EQ(mine->Item(qoeMonth)->Count(), 12);
}

TEST(QCEnumTable, BehavesAsAKeyedCollection) {
  QCEnum table;
  auto added = table.Add(5, "Sales Tax Code", "TaxCode");
  table.Add(2, "Other");
  EXPECT_EQ(added->CollectionKey(), "SalesTaxCode");
  EXPECT_EQ(table.Item(1), added);
  // Keys are unique once blanks and letter case are ignored.
  auto dup = Raised([&] { table.Add(7, "salestax code"); });
  EXPECT_EQ(dup.Number(), 457);
  EXPECT_EQ(dup.Source(), "QCEnum");
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(Raised([&] { table.Item(0); }).Number(), 9);
  EXPECT_EQ(Raised([&] { table.Item(3); }).Description(), "Subscript out of range");
  EXPECT_EQ(Raised([&] { table.Item("Missing"); }).Number(), 5);
  std::vector<int16_t> codes;
  for (const auto& entry : table) codes.push_back(entry->Code());
  EXPECT_EQ(codes, (std::vector<int16_t>{5, 2}));
  EXPECT_EQ(table.PositionOfXmlText("TaxCode"), 1);
  EXPECT_EQ(table.PositionOfXmlText("SalesTaxCode"), 0);
}

TEST(ListsRegistry, RaisesCollectionErrors) {
  Lists lists;
  EXPECT_EQ(lists.Count(), 0);
  EXPECT_EQ(Raised([&] { lists.Item(1); }).Number(), 9);
  auto e = Raised([&] { lists.Item("Class"); });
  EXPECT_EQ(e.Number(), 5);
  EXPECT_EQ(e.Source(), "Lists");
  EXPECT_EQ(Raised([&] { lists.AddObject(nullptr, "Class"); }).Number(), 5);
}

}  // namespace
}  // namespace brennock

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "brennock/brennock.h"

namespace brennock {
namespace {

// Runs `raise` and returns what it threw.
template <typename F>
AutomationError Caught(F&& raise) {
  try {
    raise();
  } catch (const AutomationError& e) {
    return e;
  }
  ADD_FAILURE() << "nothing was raised";
  return AutomationError(0, "", "");
}

TEST(QcError, NumberRoundTripsSignedValues) {
  qcError entry;
  EXPECT_EQ(entry.Number(), 0);
  for (int32_t n : {static_cast<int32_t>(0x800403F3), INT32_MIN, INT32_MAX, 0, 3100}) {
    entry.SetNumber(n);
    EXPECT_EQ(entry.Number(), n);
  }
  EXPECT_EQ(qcError(qErrorValidateFailed, "F", "D").Number(), -2147220493);
}

TEST(QcError, CollectionKeyIsKey) {
  qcError entry(1, "Name", "text", "k1");
  EXPECT_EQ(entry.CollectionKey(), "k1");
  entry.SetKey("k2");
  EXPECT_EQ(entry.Key(), "k2");
  EXPECT_EQ(entry.CollectionKey(), "k2");
}

TEST(QcErrors, AddKeepsDuplicatesInOrder) {
  qcErrors errors;
  auto first = errors.Add(5, "Name", "same");
  auto second = errors.Add(5, "Name", "same");
  ASSERT_EQ(errors.Count(), 2);
  EXPECT_NE(first, second);
  EXPECT_EQ(errors.Item(1), first);
  EXPECT_EQ(errors.Item(2), second);
  EXPECT_EQ(first->Key(), "");
  std::vector<std::shared_ptr<qcError>> seen(errors.begin(), errors.end());
  EXPECT_EQ(seen, (std::vector<std::shared_ptr<qcError>>{first, second}));
  errors.Clear();
  EXPECT_EQ(errors.Count(), 0);
  EXPECT_EQ(errors.begin(), errors.end());
}

TEST(QcErrors, AddObjectKeysByCollectionKeyIgnoringCase) {
  qcErrors errors;
  errors.Add(1, "", "unkeyed");
  EXPECT_EQ(errors.AddObject(std::make_shared<qcError>(2, "F", "a", "Alpha")), 2);
  EXPECT_EQ(errors.Item("ALPHA")->Description(), "a");
  auto clash = Caught([&] { errors.AddObject(std::make_shared<qcError>(3, "F", "b", "alpha")); });
  EXPECT_EQ(clash.Number(), 457);
  EXPECT_EQ(clash.Description(),
            "This key is already associated with an element of this collection");
  EXPECT_EQ(errors.Count(), 2);
  // An unkeyed entry added after the index exists is still reachable by position only.
  errors.Add(4, "", "late");
  EXPECT_EQ(errors.Item(3)->Number(), 4);
  EXPECT_EQ(Caught([&] { errors.Item(""); }).Number(), 5);
}

TEST(QcErrors, BadPositionOrKeyRaisesCollectionErrors) {
  qcErrors errors;
  errors.Add(1, "", "x");
  for (int32_t index : {0, -1, 2}) {
    auto e = Caught([&] { errors.Item(index); });
    EXPECT_EQ(e.Number(), 9);
    EXPECT_EQ(e.Description(), "Subscript out of range");
    EXPECT_EQ(e.Source(), "qcErrors");
  }
  auto e = Caught([&] { errors.Item("missing"); });
  EXPECT_EQ(e.Number(), 5);
  EXPECT_EQ(e.Description(), "Invalid procedure call or argument");
  EXPECT_EQ(Caught([&] { errors.Remove(2); }).Number(), 9);
  EXPECT_EQ(Caught([&] { errors.Remove("missing"); }).Number(), 5);
  EXPECT_EQ(Caught([&] { errors.AddObject(nullptr); }).Number(), 91);
}

TEST(QcErrors, RemoveShiftsPositionsAndFreesKeys) {
  qcErrors errors;
  errors.AddObject(std::make_shared<qcError>(1, "", "one", "a"));
  errors.Add(2, "", "two");
  errors.AddObject(std::make_shared<qcError>(3, "", "three", "b"));
  errors.Remove(1);
  ASSERT_EQ(errors.Count(), 2);
  EXPECT_EQ(errors.Item(1)->Number(), 2);
  EXPECT_EQ(errors.Item("B")->Number(), 3);
  EXPECT_EQ(Caught([&] { errors.Item("a"); }).Number(), 5);
  // The removed key may be used again.
  EXPECT_EQ(errors.AddObject(std::make_shared<qcError>(4, "", "four", "A")), 3);
  errors.Remove("b");
  EXPECT_EQ(errors.Item(2)->Number(), 4);
  errors.Clear();
  EXPECT_EQ(errors.AddObject(std::make_shared<qcError>(5, "", "five", "a")), 1);
}

TEST(QoEnumErrors, SignedValues) {
  EXPECT_EQ(qErrorValidateFailed, static_cast<int32_t>(0x800403F3));
  EXPECT_EQ(qErrorBadAccount, static_cast<int32_t>(0x800403F6));
  EXPECT_EQ(qErrorAccountRequired, static_cast<int32_t>(0x8004070C));
  EXPECT_EQ(qErrorNeedCustomer, static_cast<int32_t>(0x8004070D));
  EXPECT_EQ(qErrorNeedVendor, static_cast<int32_t>(0x8004070E));
  EXPECT_LT(qErrorNeedVendor, 0);
}

TEST(ErrorTable, HoldsEveryNumberOnce) {
  const std::set<int32_t> expected = {
      0,    1000, 1001, 1002, 1003, 1004, 1005, 1006, 1008, 1009, 1010, 1011, 1012, 1013, 1014,
      1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025, 1026, 1027, 1028, 1030,
      1031, 1032, 1033, 1034, 1035, 1036, 1101, 1103, 1104, 1105, 1106, 1201, 1202, 1300, 1301,
      1302, 1303, 1400, 1401, 1500, 1501, 1502, 1503, 1504, 1505, 1506, 1507, 1508, 1509, 1600,
      1601, 1700, 1701, 1702, 1703, 1704, 1705, 1706, 1707, 1708, 1800, 1801, 1803, 1804, 1805,
      1806, 1807, 1900, 2000, 2001, 2002, 2004, 2005, 2006, 2008, 2009, 2010, 2011, 2012, 2013,
      2014, 2015, 2016, 2017, 2018, 2019, 2020, 2021, 2022, 2023, 2024, 2025, 2027, 2028, 2029,
      2030, 2031, 2034, 2035, 2100, 2101, 2200, 2201, 2202, 2203, 2204, 2300, 2301, 2400, 2500,
      2501, 2601, 2602, 2700, 2800, 2801, 2802, 2804, 2870, 2890, 2910, 2911, 1999};
  std::multiset<int32_t> actual;
  for (const ErrorInfo& row : ErrorTable()) actual.insert(row.n);
  EXPECT_EQ(std::set<int32_t>(actual.begin(), actual.end()), expected);
  EXPECT_EQ(actual.size(), expected.size());
  for (int32_t n : expected) EXPECT_NE(FindError(n), nullptr) << n;
  EXPECT_EQ(FindError(1007), nullptr);
  EXPECT_EQ(FindError(ErrorNumber(1000)), nullptr);  // offsets, not full numbers
  EXPECT_EQ(ErrorMessage(2912), "");
}

TEST(ErrorTable, NumbersAndTexts) {
  struct Row {
    uint32_t number;
    int32_t n;
    const char* text;
  };
  const Row rows[] = {
      {0x800403E8, 1000, "QBConnect has not been called, or it failed"},
      {0x800403E9, 1001, ""},
      {0x800403EB, 1003, ""},
      {0x800403ED, 1005,
       "The version of QuickBooks you are running does not support this feature."},
      {0x800403EE, 1006, ""},
      {0x800403F0, 1008, "An invalid enumeration string was supplied."},
      {0x800403F1, 1009, "Internal error.  Unknown transaction type."},
      {0x800403F3, 1011, "Indicated object failed validation.  Check object's errors for details."},
      {0x800403FA, 1018, "Indicated object failed commit.  Check object's errors for details."},
      {0x800403FB, 1019, "Empty array passed to GetBy... call"},
      {0x800403FF, 1023,
       "Error(s) occurred during commit.  Check each object's Errors for details."},
      {0x80040400, 1024,
       "There was an error when saving this Items list.  The name of this list element is "
       "already in use."},
      {0x80040404, 1028, "This field cantains an invalid character."},
      {0x80040408, 1032, "This property is only supported for US versions of QuickBooks."},
      {0x8004044D, 1101, "Invalid item type specified"},
      {0x80040451, 1105, "Cannot specify Quanity if Item is of type Discount."},
      {0x800404B2, 1202, "Address lines cannot exceed 41 characters."},
      {0x80040517, 1303, "Parent account type must be the same as childs"},
      {0x800405DC, 1500, "Customer/Company name cannot exceed 41 characters"},
      {0x800405E5, 1509, "Last Name cannot be the same as First Name"},
      {0x800406AB, 1707, "If EligibleFor1099 is True, Vendor Address and TaxID is required"},
      {0x8004070B, 1803, "Journal lines can only contain positive amounts"},
      {0x8004076C, 1900, "Invalid terms type specified"},
      {0x800407EB, 2027,
       "Cannot specify transactions to apply ReceivePayments to when IsAutoApply is True"},
      {0x800407F3, 2035, "The currencies of your account and customer/vendor must match."},
      {0x80040835, 2101, "Social Security Number (SSN) cannot exceed 15 characters"},
      {0x80040960, 2400, "Message cannot exceed 101 characters"},
      {0x80040A2A, 2602, "Basis must be Cash or Accural"},
      {0x80040AF4, 2804, "Specified data extension in not defined for this object type."},
      {0x80040B4A, 2890, "Deposit lines must include either a TxnId or an Account."},
      {0x80040B5E, 2910, "This version of brennock does not support this feature."},
      {0x80040B5F, 2911, "The ListType property has not been set or is invalid"},
  };
  for (const Row& row : rows) {
    const ErrorInfo* info = FindError(row.n);
    ASSERT_NE(info, nullptr) << row.n;
    EXPECT_EQ(info->Number(), static_cast<int32_t>(row.number)) << row.n;
    EXPECT_EQ(info->message, row.text) << row.n;
  }
  EXPECT_EQ(FindError(errSsnAccessDenied)->source, "Brennock, S_MSG_ACCESS_DENIED");
  EXPECT_EQ(FindError(errListTypeNotSet)->source, "ListEntries");
  EXPECT_EQ(FindError(errNameTooLong)->kind, ErrorKind::Collected);
}

TEST(ErrorTable, SeveralTextRows) {
  auto texts = [](ErrorCode n) {
    auto span = FindError(n)->texts;
    return std::vector<std::string>(span.begin(), span.end());
  };
  EXPECT_EQ(texts(errEditionOnly),
            (std::vector<std::string>{
                "This property is only supported for US versions of QuickBooks.",
                "This property is only supported for non-US versions of QuickBooks."}));
  EXPECT_EQ(texts(errDiscountQuantityOrAssetDate),
            (std::vector<std::string>{"Cannot specify Quanity if Item is of type Discount.",
                                      "Fixed Assets require a purchase date"}));
  EXPECT_EQ(texts(errAddressTooLong),
            (std::vector<std::string>{"Address lines cannot exceed 41 characters.",
                                      "Address city cannot exceed 31 characters.",
                                      "Address state cannot exceed 21 characters.",
                                      "Address postal code cannot exceed 13 characters.",
                                      "Address country cannot exceed 31 characters."}));
  EXPECT_TRUE(FindError(errNameTooLong)->texts.empty());
}

TEST(RaiseHelpers, SourcesNumbersAndTexts) {
  auto library = Caught([] { RaiseLibraryError(errInvalidEnumString); });
  EXPECT_EQ(library.Number(), static_cast<int32_t>(0x800403F0));
  EXPECT_EQ(library.Source(), "Brennock");
  EXPECT_EQ(library.Description(), "An invalid enumeration string was supplied.");

  auto setter = Caught([] { RaiseError(errFieldNotModifiable, "Customer"); });
  EXPECT_EQ(setter.Number(), static_cast<int32_t>(0x800403EA));
  EXPECT_EQ(setter.Source(), "Customer");
  EXPECT_EQ(setter.Description(), "Field cannot be modified");

  auto edition = Caught([] { RaiseError(errEditionOnly, "brennock", std::string(kMsgNonUSOnly)); });
  EXPECT_EQ(edition.Description(),
            "This property is only supported for non-US versions of QuickBooks.");

  auto by_class = Caught([] { RaiseFromClass("Customer", errMasterOnly); });
  EXPECT_EQ(by_class.Source(), "Brennock:Customer");
  EXPECT_EQ(by_class.Number(), static_cast<int32_t>(0x800403FD));
  EXPECT_EQ(by_class.Description(), "This operation is only permitted on the master collection");

  auto passed = Caught([] { ReRaiseFromClass("Reports", 3151, "busy"); });
  EXPECT_EQ(passed.Number(), 3151);
  EXPECT_EQ(passed.Source(), "Brennock:Reports");
  EXPECT_EQ(passed.Description(), "busy");

  auto general = Caught([] { RaiseGeneral("TypeCodes", "Unknown Code"); });
  EXPECT_EQ(general.Number(), static_cast<int32_t>(0x800403EB));
  EXPECT_EQ(general.Source(), "Brennock: TypeCodes");
  EXPECT_EQ(general.Description(), "Unknown Code");
}

TEST(CommitStatus, NameExistsFilesOnCollectionAndRecord) {
  qcErrors collection, record;
  AddCommitStatusErrors(collection, record, "Acme", kStatusNameExists,
                        "The name \"Acme\" of the list element is already in use.");
  ASSERT_EQ(collection.Count(), 1);
  EXPECT_EQ(collection.Item(1)->Number(), ErrorNumber(1018));
  EXPECT_EQ(collection.Item(1)->Field(), "Acme");
  EXPECT_EQ(collection.Item(1)->Description(),
            "Indicated object failed commit.  Check object's errors for details.");
  ASSERT_EQ(record.Count(), 1);
  EXPECT_EQ(record.Item(1)->Number(), ErrorNumber(1017));
  EXPECT_EQ(record.Item(1)->Field(), "Name");
  EXPECT_EQ(record.Item(1)->Description(), "Name specified already exists on file");
}

TEST(CommitStatus, OtherRefusalsKeepTextAfterMarker) {
  qcErrors collection, record;
  AddCommitStatusErrors(collection, record, "Acme", 3000,
                        "There is an error. QuickBooks error message: The given object ID is "
                        "invalid.");
  AddCommitStatusErrors(collection, record, "Acme", 3170, "Plain message",
                        kQuickBooksResponseField);
  AddCommitStatusErrors(collection, record, "Acme", 0, "Status OK");
  EXPECT_EQ(collection.Count(), 2);
  ASSERT_EQ(record.Count(), 2);
  EXPECT_EQ(record.Item(1)->Number(), static_cast<int32_t>(0x800403E9));
  EXPECT_EQ(record.Item(1)->Field(), "QuickBooks: ");
  EXPECT_EQ(record.Item(1)->Description(), "The given object ID is invalid.");
  EXPECT_EQ(record.Item(2)->Field(), "QuickBooks response: ");
  EXPECT_EQ(record.Item(2)->Description(), "Plain message");
}

TEST(CommitStatus, ItemRefusals) {
  qcErrors collection, record;
  AddItemCommitStatusErrors(collection, record, "Labor", kStatusItemNameInUse, "in use");
  AddItemCommitStatusErrors(collection, record, "Labor", 3100, "exists");
  AddItemCommitStatusErrors(collection, record, "Labor", 3020, "bad");
  EXPECT_EQ(collection.Count(), 3);
  ASSERT_EQ(record.Count(), 3);
  EXPECT_EQ(record.Item(1)->Number(), static_cast<int32_t>(0x80040400));
  EXPECT_EQ(record.Item(1)->Field(), "QuickBooks");
  EXPECT_EQ(record.Item(2)->Number(), ErrorNumber(errNameExists));
  EXPECT_EQ(record.Item(3)->Field(), "QuickBooks response: ");
  EXPECT_EQ(record.Item(3)->Description(), "bad");
}

}  // namespace
}  // namespace brennock

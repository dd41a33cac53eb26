#include "brennock/internal/qbxml/catalogue.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "tests/support/build_paths.h"
#include "tests/support/qbxml_samples.h"

namespace brennock::qbxml {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string_view> Names(const Aggregate& a) {
  std::vector<std::string_view> names;
  for (const auto& e : a.elements) names.push_back(e.name);
  return names;
}

const Element& Child(std::string_view aggregate, std::string_view name) {
  const Aggregate* a = FindAggregate(aggregate);
  if (!a) throw std::runtime_error("no aggregate " + std::string(aggregate));
  const Element* e = FindElement(*a, name);
  if (!e) throw std::runtime_error("no " + std::string(name) + " in " + std::string(aggregate));
  return *e;
}

TEST(Catalogue, CommittedDataMatchesTheSchemas) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  if (std::system("python3 --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 not found";
  const std::filesystem::path source = testing::SourceDir();
  const auto out = std::filesystem::temp_directory_path() /
                   ("brennock_catalogue_" + std::to_string(::getpid()) + ".cpp");
  const std::string command = "python3 '" + (source / "scripts/generate_catalogue").string() +
                              "' --xsd-dir '" + (*testing::QbxmlDir() / "xsd").string() +
                              "' --out '" + out.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::string fresh = ReadFile(out);
  std::filesystem::remove(out);
  EXPECT_TRUE(fresh == ReadFile(source / "brennock/qbxml/catalogue_data.cpp"))
      << "brennock/qbxml/catalogue_data.cpp is stale; regenerate it with "
         "scripts/generate_catalogue --xsd-dir ../shared/qbxml/xsd";
}

TEST(Catalogue, ChildrenKeepSchemaOrderLimitsAndNestedShapes) {
  const Aggregate* add = FindAggregate("ClassAdd");
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(Names(*add), (std::vector<std::string_view>{"Name", "IsActive", "ParentRef"}));
  EXPECT_EQ(add->elements[0].type, ValueType::kText);
  EXPECT_EQ(add->elements[0].maxLength, 31);
  EXPECT_EQ(add->elements[0].flags, 0);
  EXPECT_EQ(add->elements[1].type, ValueType::kBool);
  EXPECT_EQ(add->elements[1].flags, kOptional);
  const Element& parent = add->elements[2];
  EXPECT_EQ(parent.type, ValueType::kRef);
  ASSERT_NE(Nested(parent), nullptr);
  EXPECT_EQ(Names(*Nested(parent)), (std::vector<std::string_view>{"ListID", "FullName"}));

  EXPECT_EQ(Child("CustomerAdd", "Name").maxLength, 41);
  const Element& bill = Child("CustomerAdd", "BillAddress");
  ASSERT_EQ(bill.type, ValueType::kAggregate);
  const Aggregate* address = Nested(bill);
  ASSERT_NE(address, nullptr);
  EXPECT_EQ(address->name, "BillAddress");
  const std::vector<std::pair<std::string_view, int>> expected = {
      {"Addr1", 41}, {"Addr2", 41}, {"Addr3", 41},      {"Addr4", 41},   {"Addr5", 41},
      {"City", 31},  {"State", 21}, {"PostalCode", 13}, {"Country", 31}, {"Note", 41}};
  std::vector<std::pair<std::string_view, int>> actual;
  for (const auto& e : address->elements) actual.emplace_back(e.name, e.maxLength);
  EXPECT_EQ(actual, expected);
}

TEST(Catalogue, FlagsVersionsAndEnumerations) {
  EXPECT_EQ(Child("ClassRet", "ListID").since, 130);
  EXPECT_EQ(Child("BillRet", "TxnID").since, 130);
  EXPECT_EQ(Child("BillRet", "IsPending").since, 160);
  EXPECT_EQ(FindAggregate("AlertAdd")->elements[0].since, 160);  // a request new in 16.0

  auto types = EnumValues(Child("AccountRet", "AccountType"));
  EXPECT_NE(std::find(types.begin(), types.end(), "Bank"), types.end());
  EXPECT_NE(std::find(types.begin(), types.end(), "OtherCurrentLiability"), types.end());

  // The query takes ListIDs, or FullNames, or a sequence of filters: all are choice members.
  EXPECT_EQ(Child("CustomerQueryRq", "ListID").flags, kRepeats | kOptional | kInChoice);
  EXPECT_TRUE(Child("CustomerQueryRq", "MaxReturned").flags & kInChoice);
  EXPECT_FALSE(Child("CustomerQueryRq", "IncludeRetElement").flags & kInChoice);
  EXPECT_TRUE(Child("CustomerRet", "DataExtRet").flags & kRepeats);
  EXPECT_FALSE(Child("CustomerRet", "Name").flags & kRepeats);
}

TEST(Catalogue, LookupsRefuseUnknownNamesAndWrongKinds) {
  EXPECT_EQ(FindAggregate("NoSuchRet"), nullptr);
  EXPECT_EQ(FindAggregate(""), nullptr);
  EXPECT_EQ(FindElement(*FindAggregate("ClassAdd"), "FullName"), nullptr);
  const Element& name = Child("ClassAdd", "Name");
  EXPECT_EQ(Nested(name), nullptr);
  EXPECT_TRUE(EnumValues(name).empty());
  EXPECT_TRUE(EnumValues(Child("ClassAdd", "ParentRef")).empty());

  // Every aggregate is found again by its own name, so the table is sorted as the search expects.
  for (const auto& a : AllAggregates()) ASSERT_EQ(FindAggregate(a.name), &a) << a.name;
}

}  // namespace
}  // namespace brennock::qbxml

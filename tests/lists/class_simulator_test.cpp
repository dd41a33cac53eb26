// Classes end to end against the simulated QuickBooks in strict-schema mode: every request the
// collection writes is also checked against the qbXML schema here.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "brennock/brennock.h"
#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {
namespace {

class ClassSimulatorTest : public SimulatorListsTest {
 protected:
  // Commits the classes named, expecting QuickBooks to refuse the last with status and message.
  void ExpectLastRefused(const std::vector<std::string>& names, int32_t status,
                         const std::string& message) {
    Session().errorMode = false;
    auto classes = Session().company->Classes();
    for (const auto& name : names) classes->Add(name);
    EXPECT_EQ(classes->Commit(), 1);
    ASSERT_EQ(classes->Errors()->Count(), 1);
    EXPECT_EQ(classes->Errors()->Item(1)->Number(), ErrorNumber(1018));
    auto refused = classes->Item(static_cast<int32_t>(names.size()));
    ASSERT_EQ(refused->Errors()->Count(), 1);
    EXPECT_EQ(refused->Errors()->Item(1)->Description(), message) << status;
    EXPECT_EQ(refused->ObjectState(), qoObjectStateNew);
  }
};

TEST_F(ClassSimulatorTest, AddReadAndDeleteClasses) {
  auto classes = Session().company->Classes();
  auto top = classes->Add("Top");
  auto sub = classes->Add("Sub", true, "Top");
  auto other = classes->Add("Other", false);
  // What follows uses the saved records: a commit whose answer was not taken stops here.
  ASSERT_EQ(classes->Commit(), 0);
  ASSERT_EQ(classes->Errors()->Count(), 0);
  EXPECT_EQ(Sent(), 1u) << "the three adds go in one message set";
  for (const auto& record : *classes) {
    ASSERT_EQ(record->ObjectState(), qoObjectStateClean) << record->FullName();
    ASSERT_FALSE(record->ListID().empty());
    EXPECT_FALSE(record->EditSequence().empty());
  }
  EXPECT_EQ(sub->FullName(), "Top:Sub");
  EXPECT_EQ(sub->Sublevel(), 1);
  ASSERT_NE(sub->ParentRef(), nullptr);
  EXPECT_EQ(sub->ParentRef()->ListID(), top->ListID());
  EXPECT_EQ(top->TimeCreated(), Date::FromDateTime(2023, 11, 14, 14, 13, 20));

  ASSERT_EQ(classes->GetAll(), 3);
  ASSERT_TRUE(classes->ItemExists("Top"));
  ASSERT_EQ(classes->Item("Top")->Children()->Count(), 1);
  EXPECT_EQ(classes->Item("Top")->Children()->Item(1)->FullName(), "Top:Sub");
  EXPECT_FALSE(classes->Item("Other")->IsActive());
  EXPECT_EQ(classes->GetActive(), 2);

  classes->Clear();
  size_t before = Sent();
  auto found = classes->GetByFullName("Top:Sub");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->ListID(), sub->ListID());
  EXPECT_EQ(Sent(), before + 1);
  EXPECT_EQ(classes->GetByFullName("Top:Sub"), found);
  EXPECT_EQ(Sent(), before + 1) << "a held name sends nothing";
  EXPECT_EQ(classes->GetByFullName("Nowhere"), nullptr);
  auto byId = classes->GetByListID(other->ListID());
  ASSERT_NE(byId, nullptr);
  EXPECT_EQ(byId->Name(), "Other");

  // Without an ActiveStatus filter QuickBooks answers active records only.
  EXPECT_EQ(classes->GetByNameMatch("Top", qbMatchStartsWith), 2);
  EXPECT_EQ(classes->GetByNameMatch("Ot", qbMatchStartsWith), 0);
  ASSERT_EQ(classes->GetByNameRange("S", "U"), 2);
  EXPECT_EQ(classes->Item(2)->FullName(), "Top:Sub");
  EXPECT_EQ(classes->GetByDateSpan(Date::FromDate(2023, 11, 14), Date::FromDate(2023, 11, 15)), 2);
  EXPECT_EQ(classes->GetByDateSpan(Date::FromDate(2023, 11, 15), Date::FromDate(2099, 1, 1)), 0);
  EXPECT_EQ(classes->Errors()->Count(), 0);

  classes->GetAll();
  classes->Delete(other->ListID(), false);
  EXPECT_TRUE(classes->ItemExists("Other"));
  classes->Delete(sub->ListID(), true);
  EXPECT_FALSE(classes->ItemExists("Top:Sub"));
  EXPECT_EQ(classes->GetAll(), 1);
}

TEST_F(ClassSimulatorTest, DuplicateNameIsFiledAsNameExists) {
  Session().errorMode = false;
  auto classes = Session().company->Classes();
  classes->Add("Twin");
  EXPECT_EQ(classes->Commit(), 0);
  classes->Clear();
  auto twin = classes->Add("Twin");
  EXPECT_EQ(classes->Commit(), 1);
  ASSERT_EQ(twin->Errors()->Count(), 1);
  EXPECT_EQ(twin->Errors()->Item(1)->Number(), ErrorNumber(1017));
  EXPECT_EQ(classes->Errors()->Item(1)->Number(), ErrorNumber(1018));
  EXPECT_EQ(classes->Errors()->Item(1)->Field(), "Twin");
}

TEST_F(ClassSimulatorTest, FullDiskAndReadOnlyFileAreFiledOnCommit) {
  setenv("BRENNOCK_SIMULATOR_MAX_PAGES", "1", 1);
  Reopen();
  unsetenv("BRENNOCK_SIMULATOR_MAX_PAGES");
  std::vector<std::string> names;
  for (int i = 0; i < 3000; ++i) names.push_back("Class number " + std::to_string(i));
  // Stopped at the first refusal; SQLite may have given up the whole document with it.
  Session().errorMode = false;
  auto classes = Session().company->Classes();
  for (const auto& name : names) classes->Add(name);
  EXPECT_GT(classes->Commit(), 0);
  int32_t saved = 0;
  std::vector<std::string> refusals;
  for (const auto& record : *classes) {
    if (record->ObjectState() == qoObjectStateClean) ++saved;
    for (int32_t i = 1; i <= record->Errors()->Count(); ++i)
      refusals.push_back(record->Errors()->Item(i)->Description());
  }
  EXPECT_LT(saved, 3000);
  EXPECT_EQ(refusals, std::vector<std::string>{"There is not enough disk space to save the "
                                               "changes to the company file. Nothing was saved."});
  classes->Clear();
  EXPECT_EQ(classes->GetAll(), saved) << "the full file still answers";

  namespace fs = std::filesystem;
  fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  Reopen();
  classes->Clear();
  ExpectLastRefused({"Locked"}, 3262,
                    "The company file is read-only. QuickBooks cannot save changes to it.");
  EXPECT_EQ(classes->GetAll(), saved);
  fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(ClassSimulatorTest, ParentKnownOnlyToQuickBooksIsFetchedBeforeTheSave) {
  auto classes = Session().company->Classes();
  classes->Add("Top");
  ASSERT_EQ(classes->Commit(), 0);
  classes->Clear();

  // Validating the child asks QuickBooks for "Top" through this same collection.
  auto child = classes->Add("Child", true, "Top");
  EXPECT_EQ(classes->Commit(), 0);
  EXPECT_EQ(child->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(child->FullName(), "Top:Child");
  const std::string& save = recorder_->LastRequestText();
  EXPECT_NE(save.find("<ClassAddRq requestID = \"1\">"), std::string::npos) << save;
  EXPECT_NE(save.find("<?xml"), std::string::npos) << "the save document keeps its header";
}

TEST_F(ClassSimulatorTest, Windows1252CharactersSurviveTheRoundTrip) {
  // The request writes these as &#128; &#152; &#146; &#233;: they must come back as they went.
  const std::string name = "Caf\u20AC \u02DC\u2019\u00E9";
  auto classes = Session().company->Classes();
  classes->Add(name);
  ASSERT_EQ(classes->Commit(), 0);
  EXPECT_NE(recorder_->LastRequestText().find("Caf&#128; &#152;&#146;&#233;"), std::string::npos);
  classes->Clear();
  ASSERT_EQ(classes->GetAll(), 1);
  EXPECT_EQ(classes->Item(1)->Name(), name);
}

TEST_F(ClassSimulatorTest, NameLimitCountsCharactersNotBytes) {
  Session().errorMode = false;
  std::string name31;
  for (int i = 0; i < 31; ++i) name31 += "\u00E9";  // two bytes each
  const std::string name32 = name31 + "\u00E9";
  auto classes = Session().company->Classes();

  auto accepted = classes->Add(name31);
  EXPECT_TRUE(accepted->Validate());
  EXPECT_EQ(classes->Commit(), 0);
  EXPECT_EQ(accepted->ObjectState(), qoObjectStateClean);
  classes->Clear();
  ASSERT_EQ(classes->GetAll(), 1);
  EXPECT_EQ(classes->Item(1)->Name(), name31);
  EXPECT_EQ(classes->Item(1)->FullName(), name31);

  classes->Clear();
  size_t before = Sent();
  auto refused = classes->Add(name32);
  EXPECT_FALSE(refused->Validate());
  ASSERT_EQ(refused->Errors()->Count(), 1);
  EXPECT_EQ(refused->Errors()->Item(1)->Number(), ErrorNumber(1013));
  EXPECT_EQ(refused->Errors()->Item(1)->Field(), "Name");
  EXPECT_EQ(classes->Commit(), 1);
  EXPECT_EQ(classes->Errors()->Item(1)->Number(), ErrorNumber(1011));
  EXPECT_EQ(Sent(), before) << "a refused record is not sent";
  EXPECT_EQ(classes->GetAll(), 1);
}

}  // namespace
}  // namespace brennock::testing

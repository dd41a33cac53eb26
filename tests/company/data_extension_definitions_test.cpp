// Data-extension definitions: assignment lists, queries, commits and definition files.
#include "brennock/company/data_extension_definitions.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "brennock/errors/qc_error.h"
#include "brennock/internal/model/response_exporter.h"
#include "simulator/company_file.h"
#include "tests/company/company_fixture.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

constexpr const char* kOpen30 =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
    "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 3.0//EN' >"
    "<QBXML><QBXMLMsgsRq onError = \"continueOnError\">";

constexpr const char* kTwoDefinitions =
    "<DataExtDefRet><OwnerID>0</OwnerID><DataExtID>1</DataExtID><DataExtName>Colour</DataExtName>"
    "<DataExtType>STR255TYPE</DataExtType><AssignToObject>Customer</AssignToObject>"
    "<AssignToObject>Vendor</AssignToObject></DataExtDefRet>"
    "<DataExtDefRet><OwnerID>{APP}</OwnerID><DataExtName>Rate</DataExtName>"
    "<DataExtType>PERCENTTYPE</DataExtType><AssignToObject>Invoice</AssignToObject>"
    "</DataExtDefRet>";

class DefinitionsTest : public ListsTest {
 protected:
  void SetUp() override {
    ListsTest::SetUp();
    Session().qbxmlVersion = "3.0";
    Session().qbxmlVersionNumber = Currency(3);
    definitions_.SetOwnerId("{APP}");
    definitions_.SetMaster(true);
    folder_ =
        std::filesystem::temp_directory_path() / ("brennock_defs_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    ListsTest::TearDown();
  }
  std::string Query(const std::string& criterion) {
    return kOpen30 + ("<DataExtDefQueryRq>" + criterion + "</DataExtDefQueryRq>") + kClose;
  }
  // Commits with QuickBooks accepting every request.
  void CommitAccepted(int requests) {
    std::string body;
    for (int i = 1; i <= requests; ++i) body += Status("DataExtDefAddRs", i, 0, "Status OK");
    processor_->QueueResponse(Response(body));
    ASSERT_EQ(definitions_.Commit2(), 0);
  }
  std::string Path(const char* name) const { return (folder_ / name).string(); }

  DataExtensionDefinitions definitions_;
  std::filesystem::path folder_;
};

TEST_F(DefinitionsTest, AssignedTosChangeOnlyWhileTheDefinitionIsNewOrDirty) {
  auto region = definitions_.Add("Region");
  std::shared_ptr<dataExtAssignedTos> types = region->AssignedTos();
  types->Add(qoObjectTypeCustomer);
  types->Add(qoObjectTypeVendor);
  types->Add(qoObjectTypeCustomer);  // already there
  types->Add(qoObjectTypeEmployee);
  types->Remove(2);
  ASSERT_EQ(types->Count(), 2);
  EXPECT_EQ(types->Item(2), qoObjectTypeEmployee);
  EXPECT_EQ(RaisedBy([&] { types->Item(3); }).Number(), 9);
  EXPECT_EQ(RaisedBy([&] { types->Add(static_cast<qoEnumListObjectType>(999)); }).Description(),
            "Unknown Code");
  CommitAccepted(1);

  EXPECT_EQ(types->ObjectState(), qoObjectStateClean);
  for (auto change : std::initializer_list<std::function<void()>>{
           [&] { types->Add(qoObjectTypeAccount); }, [&] { types->Remove(1); },
           [&] { types->Clear(); }}) {
    AutomationError refused = RaisedBy(change);
    EXPECT_EQ(refused.Number(), ErrorNumber(1002));
    EXPECT_EQ(refused.Source(), "DataExtDef");
    EXPECT_EQ(refused.Description(), "Field cannot be modified");
  }
  EXPECT_EQ(types->Count(), 2);

  // Made dirty by another change, the definition names only what changed since it was read.
  region->SetDataType(qbDataExtTypeSTR255TYPE);
  types->Remove(1);
  types->Add(qoObjectTypeItem);
  EXPECT_EQ(region->ObjectState(), qoObjectStateDirty);
  processor_->QueueResponse(Response(Status("DataExtDefModRs", 1, 0, "Status OK")));
  definitions_.Commit();
  EXPECT_EQ(processor_->LastRequestText(),
            kOpen30 +
                std::string("<DataExtDefModRq requestID = \"1\"><DataExtDefMod><OwnerID>{APP}"
                            "</OwnerID><DataExtName>Region</DataExtName><AssignToObject>Item"
                            "</AssignToObject><RemoveFromObject>Customer</RemoveFromObject>"
                            "</DataExtDefMod></DataExtDefModRq>") +
                kClose);

  // The list outlives a definition the collection dropped, and stands on its own.
  definitions_.Clear();
  region.reset();
  types->Add(qoObjectTypeVendor);
  EXPECT_EQ(types->ObjectState(), qoObjectStateNew);
}

TEST_F(DefinitionsTest, QueriesNameOneCriterionAndReplaceTheMembers) {
  processor_->SetResponder([](const std::string&) {
    return Response(Status("DataExtDefQueryRs", 1, 0, "Status OK", kTwoDefinitions));
  });
  // The owner wins over the object type.
  EXPECT_EQ(definitions_.GetBy(qoObjectTypeCustomer, "0"), 2);
  EXPECT_EQ(processor_->LastRequestText(), Query("<OwnerID>0</OwnerID>"));
  definitions_.GetBy(qoObjectTypeCustomer);
  EXPECT_EQ(processor_->LastRequestText(), Query("<AssignToObject>Customer</AssignToObject>"));
  definitions_.GetByAssignedToObject(qoObjectTypeInvoice);
  EXPECT_EQ(processor_->LastRequestText(), Query("<AssignToObject>Invoice</AssignToObject>"));
  definitions_.GetByOwner("{APP}");
  EXPECT_EQ(processor_->LastRequestText(), Query("<OwnerID>{APP}</OwnerID>"));
  EXPECT_EQ(definitions_.GetAll(), 2);
  EXPECT_EQ(processor_->LastRequestText(), Query(""));

  auto colour = definitions_.Item(std::string("colour"));
  EXPECT_EQ(colour->OwnerId(), "0");
  EXPECT_EQ(colour->DataType(), qbDataExtTypeSTR255TYPE);
  EXPECT_EQ(std::vector<qoEnumListObjectType>(colour->AssignedTos()->begin(),
                                              colour->AssignedTos()->end()),
            (std::vector<qoEnumListObjectType>{qoObjectTypeCustomer, qoObjectTypeVendor}));
  EXPECT_EQ(colour->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(definitions_.Item(2)->DataType(), qbDataExtTypePERCENTTYPE);
  std::vector<std::string> names;
  for (const auto& definition : definitions_) names.push_back(definition->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Colour", "Rate"}));
}

TEST_F(DefinitionsTest, FailedQueriesAndDatabasePathsAreFiledInErrors) {
  processor_->QueueResponse(
      Response(Status("DataExtDefQueryRs", 1, 0, "Status OK", kTwoDefinitions)));
  definitions_.GetAll();
  processor_->FailNextCall(AutomationError(ErrorNumber(1000), "QBXMLRP2", "Not connected"));
  EXPECT_EQ(definitions_.GetAll(), 0);
  ASSERT_EQ(definitions_.Errors().Count(), 1);
  EXPECT_EQ(definitions_.Errors().Item(1)->Number(), ErrorNumber(1000));
  EXPECT_EQ(definitions_.Errors().Item(1)->Description(), "Not connected");

  processor_->QueueResponse(Response(Status("DataExtDefQueryRs", 1, 3000, "Bad owner")));
  EXPECT_EQ(definitions_.GetByOwner("x"), 0);
  ASSERT_EQ(definitions_.Errors().Count(), 1);
  EXPECT_EQ(definitions_.Errors().Item(1)->Number(), 3000);

  processor_->SetResponder([](const std::string&) {
    return Response(Status("DataExtDefQueryRs", 1, 0, "Status OK", kTwoDefinitions));
  });
  // The database export registers itself; without it the path is filed as not exportable.
  std::shared_ptr<ResponseExporter> registered = RegisteredResponseExporter();
  ASSERT_NE(registered, nullptr);
  SetResponseExporter(nullptr);
  EXPECT_EQ(definitions_.GetAll("/tmp/company.sqlite"), 0);
  ASSERT_EQ(definitions_.Errors().Count(), 1);
  EXPECT_EQ(definitions_.Errors().Item(1)->Number(), ErrorNumber(1003));
  EXPECT_EQ(definitions_.Errors().Item(1)->Description(), std::string(kNoResponseExporter));

  struct Recorder : ResponseExporter {
    void ExportResponse(const XmlDocument&, qoEnumListObjectType type, std::string_view table,
                        const std::string& path) override {
      call = std::to_string(type) + " " + std::string(table) + " " + path;
    }
    std::string call;
  };
  auto recorder = std::make_shared<Recorder>();
  SetResponseExporter(recorder);
  EXPECT_EQ(definitions_.GetByAssignedToObject(qoObjectTypeCustomer, "/tmp/company.sqlite"), 0);
  SetResponseExporter(registered);
  EXPECT_EQ(recorder->call, "46 DataExtDef /tmp/company.sqlite");
  EXPECT_EQ(definitions_.Errors().Count(), 0);
}

TEST_F(DefinitionsTest, CommitOfOneMemberChecksItAndCommit2SendsTheRest) {
  auto saved = definitions_.Add("Saved");
  processor_->QueueResponse(Response(
      Status("DataExtDefAddRs", 1, 0, "Status OK",
             "<DataExtDefRet><OwnerID>{APP}</OwnerID><DataExtName>Saved</DataExtName><DataExtType>"
             "INTTYPE</DataExtType><AssignToObject>Account</AssignToObject></DataExtDefRet>")));
  definitions_.Commit();
  // The member now holds what QuickBooks saved.
  EXPECT_EQ(saved->DataType(), qbDataExtTypeINTTYPE);
  EXPECT_EQ(saved->AssignedTos()->Item(1), qoObjectTypeAccount);
  auto tooLong = definitions_.Add(std::string(32, 'n'));
  auto region = definitions_.Add("Region", qbDataExtTypeDATETIMETYPE);

  AutomationError summary = RaisedBy([&] { definitions_.Commit(tooLong); });
  EXPECT_EQ(summary.Number(), ErrorNumber(1023));
  ASSERT_EQ(definitions_.Errors().Count(), 1);
  EXPECT_EQ(definitions_.Errors().Item(1)->Field(), std::string(32, 'n'));
  EXPECT_EQ(definitions_.Errors().Item(1)->Description(),
            "Indicated object failed validation.  Check object's errors for details.");

  Session().errorMode = false;
  auto stranger = std::make_shared<DataExtensionDefinition>("Stranger", "{APP}");
  size_t sentBefore = processor_->Requests().size();
  EXPECT_EQ(definitions_.Commit(stranger), 1);
  EXPECT_EQ(definitions_.Errors().Item(1)->Number(), ErrorNumber(1022));
  EXPECT_EQ(definitions_.Errors().Item(1)->Field(), "DataExtDef");
  EXPECT_EQ(definitions_.Errors().Item(1)->Description(),
            "The specified object is not a member of the collection");
  EXPECT_EQ(processor_->Requests().size(), sentBefore);

  // Commit2: the clean first member sends nothing, the invalid one is filed, and the request ID
  // is the member's position.
  processor_->QueueResponse(Response(Status("DataExtDefAddRs", 3, 3100, "Name in use")));
  EXPECT_EQ(definitions_.Commit2(), 2);
  EXPECT_EQ(processor_->LastRequestText(),
            kOpen30 +
                std::string("<DataExtDefAddRq requestID = \"3\"><DataExtDefAdd><OwnerID>{APP}"
                            "</OwnerID><DataExtName>Region</DataExtName><DataExtType>DATETIMETYPE"
                            "</DataExtType></DataExtDefAdd></DataExtDefAddRq>") +
                kClose);
  EXPECT_EQ(definitions_.Errors().Item(2)->Number(), ErrorNumber(1018));
  EXPECT_EQ(region->Errors().Item(1)->Number(), ErrorNumber(1017));
  EXPECT_EQ(region->ObjectState(), qoObjectStateNew);
  EXPECT_EQ(saved->ObjectState(), qoObjectStateClean);
}

TEST_F(DefinitionsTest, KeysAreUniqueAndRenamingRefilesAtTheEnd) {
  auto first = definitions_.Add("First");
  definitions_.Add("Second");
  EXPECT_EQ(RaisedBy([&] { definitions_.Add("FIRST"); }).Number(), 457);
  EXPECT_EQ(RaisedBy([&] { definitions_.Rename(*first, "second"); }).Number(), 457);
  EXPECT_EQ(definitions_.Item(1), first);
  definitions_.Rename(*first, "Third");
  EXPECT_EQ(definitions_.Item(2), first);
  EXPECT_FALSE(definitions_.ItemExists("First"));
  DataExtensionDefinition outsider("Outsider", "{APP}");
  EXPECT_EQ(RaisedBy([&] { definitions_.Rename(outsider, "Other"); }).Number(), 5);
  definitions_.Remove("third");
  definitions_.Remove(1);
  EXPECT_EQ(definitions_.Count(), 0);
}

TEST_F(DefinitionsTest, SavedDefinitionsLoadBackIntoAFreshCollection) {
  auto colour = definitions_.Add("Colour");
  colour->AssignedTos()->Add(qoObjectTypeCustomer);
  colour->AssignedTos()->Add(qoObjectTypeVendor);
  definitions_.Add("Due & <Date>", qbDataExtTypeDATETIMETYPE)
      ->AssignedTos()
      ->Add(qoObjectTypeInvoice);
  definitions_.Add("Count", qbDataExtTypeINTTYPE);
  std::string path = Path("definitions.xml");
  definitions_.SaveToXml(path);

  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string start =
      "<Brennock><QBXMLMsgsRq onError = \"continueOnError\"><DataExtDefAddRq requestID = \"1\">"
      "<DataExtDefAdd><OwnerID>{APP}</OwnerID><DataExtName>Colour</DataExtName><DataExtType>";
  EXPECT_EQ(text.substr(0, start.size()), start);
  EXPECT_NE(text.find("<DataExtName>Due &amp; &lt;Date&gt;</DataExtName>"), std::string::npos);
  EXPECT_TRUE(text.ends_with("</DataExtDefAddRq></QBXMLMsgsRq></Brennock>\r\n"));

  DataExtensionDefinitions loaded;
  loaded.LoadFromXml(path);
  ASSERT_EQ(loaded.Count(), 3);
  for (int32_t i = 1; i <= 3; ++i) {
    auto original = definitions_.Item(i);
    auto copy = loaded.Item(i);
    EXPECT_EQ(copy->Name(), original->Name());
    EXPECT_EQ(copy->OwnerId(), "{APP}");
    EXPECT_EQ(copy->DataType(), original->DataType());
    EXPECT_EQ(copy->AssignedTos()->Types(), original->AssignedTos()->Types());
  }
}

TEST_F(DefinitionsTest, LoadingFindsTheRootBehindADoctypeAndRefusesBadFiles) {
  std::string response = Path("response.xml");
  std::ofstream(response) << "<?xml version=\"1.0\" ?>"
                             "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 3.0//EN' >"
                             "<QBXML><QBXMLMsgsRs><DataExtDefQueryRs requestID=\"1\">"
                          << kTwoDefinitions << "</DataExtDefQueryRs></QBXMLMsgsRs></QBXML>";
  definitions_.LoadFromXml(response);
  ASSERT_EQ(definitions_.Count(), 2);

  AutomationError missing = RaisedBy([&] { definitions_.LoadFromXml(Path("none.xml")); });
  EXPECT_EQ(missing.Number(), ErrorNumber(1003));
  EXPECT_EQ(missing.Source(), "Brennock: DataExtDef");
  EXPECT_EQ(missing.Description(), "Cannot load data extension definitions from '" +
                                       Path("none.xml") + "': there is no such file");
  EXPECT_NE(RaisedBy([&] { definitions_.LoadFromXml(folder_.string()); })
                .Description()
                .find("it cannot be read as a file"),
            std::string::npos);
  EXPECT_EQ(RaisedBy([&] { definitions_.SaveToXml(Path("no/such/folder.xml")); }).Number(), 75);
  std::string broken = Path("broken.xml");
  std::ofstream(broken) << "<Brennock><QBXMLMsgsRq>";
  EXPECT_EQ(RaisedBy([&] { definitions_.LoadFromXml(broken); }).Number(), ErrorNumber(1003));
  std::string foreign = Path("foreign.xml");
  std::ofstream(foreign) << "<Invoice/>";
  EXPECT_NE(RaisedBy([&] { definitions_.LoadFromXml(foreign); })
                .Description()
                .find("its root element is Invoice"),
            std::string::npos);
  std::string badType = Path("bad_type.xml");
  std::ofstream(badType) << "<Brennock><QBXMLMsgsRq><DataExtDefAddRq><DataExtDefAdd><DataExtName>"
                            "A</DataExtName></DataExtDefAdd></DataExtDefAddRq><DataExtDefAddRq>"
                            "<DataExtDefAdd><DataExtName>B</DataExtName><DataExtType>WIDE"
                            "</DataExtType></DataExtDefAdd></DataExtDefAddRq></QBXMLMsgsRq>"
                            "</Brennock>";
  EXPECT_EQ(RaisedBy([&] { definitions_.LoadFromXml(badType); }).Number(), ErrorNumber(1008));
  // Nothing of a refused file was loaded.
  EXPECT_EQ(definitions_.Count(), 2);
  EXPECT_EQ(definitions_.Item(1)->Name(), "Colour");
}

using DefinitionsSimulatorTest = SimulatedCompanyTest;

TEST_F(DefinitionsSimulatorTest, CustomAndApplicationFieldsAreAddedAndReadBack) {
  const std::string owner = "{5D1B2C3A-0000-4000-8000-000000000007}";
  std::shared_ptr<Company> company = Connect(simulator::CompanyFileOptions{}, owner);
  std::shared_ptr<DataExtensionDefinitions> custom = company->CustomFields();
  custom->Add("Colour")->AssignedTos()->Add(qoObjectTypeVendor);
  EXPECT_EQ(custom->Commit(), 0);
  std::shared_ptr<DataExtensionDefinitions> application = company->ApplicationFields();
  auto rate = application->Add("Rate", qbDataExtTypePERCENTTYPE);
  rate->AssignedTos()->Add(qoObjectTypeCustomer);
  EXPECT_EQ(application->Commit2(), 0);

  DataExtensionDefinitions all;
  ASSERT_EQ(all.GetAll(), 2);
  EXPECT_EQ(all.Item(1)->OwnerId(), "0");
  EXPECT_EQ(all.Item(1)->AssignedTos()->Item(1), qoObjectTypeVendor);
  EXPECT_EQ(all.Item(2)->OwnerId(), owner);
  EXPECT_EQ(all.Item(2)->DataType(), qbDataExtTypePERCENTTYPE);
  ASSERT_EQ(all.GetByAssignedToObject(qoObjectTypeCustomer), 1);
  EXPECT_EQ(all.Item(1)->Name(), "Rate");
  EXPECT_EQ(all.GetByAssignedToObject(qoObjectTypeEmployee), 0);
  EXPECT_EQ(all.Errors().Count(), 0);

  application->Delete("Rate");
  EXPECT_FALSE(application->ItemExists("Rate"));
  ASSERT_EQ(all.GetAll(), 1);
  EXPECT_EQ(all.Item(1)->Name(), "Colour");
}

}  // namespace
}  // namespace brennock::testing

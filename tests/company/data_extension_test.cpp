// Data-extension values: lookups, conversions, the requests a commit writes and the shared parser.
#include "brennock/model/data_extension.h"

#include <gtest/gtest.h>

#include "brennock/company/company.h"
#include "brennock/company/data_extension_definitions.h"
#include "brennock/errors/qc_error.h"
#include "brennock/internal/errors/error_table.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/field_table.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_document.h"
#include "simulator/company_file.h"
#include "tests/company/company_fixture.h"
#include "tests/lists/lists_fixture.h"
#include "tests/support/qbxml_samples.h"

namespace brennock::testing {
namespace {

// The least a record class needs to carry extensions: its ListID and the DataExtRet reader.
class Gadget : public qcBase, public DataExtensionCarrier<Gadget> {
 public:
  int32_t XMLInsert(xmlBldr&) override { return 0; }
  int32_t XMLQueryRs(xmlBldr&) override { return 0; }
  int32_t XMLModify(xmlBldr&) override { return 0; }
  qoEnumListObjectType ObjectType() const override { return qoObjectTypeCustomer; }
  Variant FromDom(const XmlNode& obj) override {
    static constexpr auto kFields =
        SortedFields(std::array<FieldEntry, 1>{{{"ListID", &ReadListID}}}, DataExtFields());
    ReadFields(*this, obj, FieldTable(kFields));
    return Variant();
  }
  std::string listID;

 private:
  static void ReadListID(qcBase& record, const FieldElement& element) {
    static_cast<Gadget&>(record).listID = element.text();
  }
};

XmlNode LoadElement(const std::string& text) {
  static std::shared_ptr<XmlDocument> document;
  document = std::make_shared<XmlDocument>();
  EXPECT_TRUE(document->loadXML(text));
  return document->documentElement();
}

class DataExtensionTest : public ListsTest {
 protected:
  void SetUp() override {
    ListsTest::SetUp();
    Session().qbxmlVersion = "3.0";
    Session().qbxmlVersionNumber = Currency(3);
  }
  static std::string Open30() {
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
           "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 3.0//EN' >"
           "<QBXML><QBXMLMsgsRq onError = \"continueOnError\">";
  }
};

TEST_F(DataExtensionTest, LookupsRaiseForBadIndexesAndUndefinedApplicationFields) {
  DataExtensions values;
  AutomationError bad = RaisedBy([&] { values.Item(3); });
  EXPECT_EQ(bad.Number(), ErrorNumber(2800));
  EXPECT_EQ(bad.Description(), "Invalid data extension index specified.");
  values.SetOwnerId("{APP}");
  AutomationError undefined = RaisedBy([&] { values.Item(std::string("Region")); });
  EXPECT_EQ(undefined.Number(), ErrorNumber(2804));
  EXPECT_EQ(undefined.Source(), "DataExtensions");
}

TEST_F(DataExtensionTest, CustomFieldValueIsAddedOnAListRecord) {
  DataExtensions values;
  values.SetOwnerId("0");
  values.SetOwnerType(qoObjectTypeCustomer);
  processor_->QueueResponse(Response(
      Status("DataExtDefQueryRs", 1, 0, "Status OK",
             "<DataExtDefRet><OwnerID>0</OwnerID><DataExtName>Colour</DataExtName><DataExtType>"
             "STR255TYPE</DataExtType><AssignToObject>Customer</AssignToObject></DataExtDefRet>")));
  values.Item(std::string("Colour"))->SetValue(Variant("Red"));
  EXPECT_EQ(processor_->LastRequestText(),
            Open30() + "<DataExtDefQueryRq><OwnerID>0</OwnerID></DataExtDefQueryRq>" + kClose);
  processor_->QueueResponse(Response(Status("DataExtAddRs", 1, 0, "Status OK")));
  EXPECT_EQ(values.Commit("80000001-1"), 0);
  EXPECT_EQ(processor_->LastRequestText(),
            Open30() +
                "<DataExtAddRq requestID = \"1\"><DataExtAdd><OwnerID>0</OwnerID><DataExtName>"
                "Colour</DataExtName><ListDataExtType>Customer</ListDataExtType><ListObjRef>"
                "<ListID>80000001-1</ListID></ListObjRef><DataExtValue>Red</DataExtValue>"
                "</DataExtAdd></DataExtAddRq>" +
                kClose);
  EXPECT_EQ(values.Item(1)->ObjectState(), qoObjectStateClean);
}

TEST_F(DataExtensionTest, CustomFieldsNeedQbxml3AndUnknownTypesRaise) {
  Session().qbxmlVersionNumber = Currency(2);
  DataExtension custom("Colour", qbDataExtTypeSTR255TYPE, "0", qoObjectTypeCustomer);
  EXPECT_EQ(RaisedBy([&] { custom.SetValue(Variant("Red")); }).Number(), ErrorNumber(1005));
  DataExtension odd("Odd", static_cast<qbEnumDataExtDataType>(9), "{APP}", qoObjectTypeCustomer);
  EXPECT_EQ(RaisedBy([&] { odd.SetValue(Variant(1)); }).Description(), "Unknown Data Type: 9");
}

TEST_F(DataExtensionTest, ValuesConvertToTheirTypeAndEmptyOnesAreRecognised) {
  DataExtension price("P", qbDataExtTypePRICETYPE, "{APP}", qoObjectTypeInvoice);
  price.SetValue(Variant("12.5"));
  EXPECT_EQ(price.ValueText(), ModConvertDtypes::PriceToText(12.5f));
  DataExtension count("N", qbDataExtTypeINTTYPE, "{APP}", qoObjectTypeInvoice);
  EXPECT_TRUE(count.HasEmptyValue());
  count.SetValue(Variant(4.0));
  EXPECT_EQ(count.ValueText(), "4");
  EXPECT_FALSE(count.HasEmptyValue());
}

TEST_F(DataExtensionTest, CompanyApplicationFieldsAreParsedAndAnEmptiedValueIsDeleted) {
  Session().dataExtOwnerID = "{APP}";
  processor_->QueueResponse(Response(
      Status("CompanyQueryRs", 1, 0, "Status OK",
             "<CompanyRet><CompanyName>Mill</CompanyName><DataExtRet><OwnerID>{APP}</OwnerID>"
             "<DataExtName>Region</DataExtName><DataExtType>STR255TYPE</DataExtType>"
             "<DataExtValue>North</DataExtValue></DataExtRet></CompanyRet>")));
  company_->Refresh();
  std::shared_ptr<DataExtensions> fields = company_->CompanyApplicationFields();
  ASSERT_EQ(fields->Count(), 1);
  EXPECT_EQ(fields->Item(1)->Value().ToString(), "North");
  EXPECT_EQ(fields->Item(1)->ObjectState(), qoObjectStateClean);

  fields->Item(std::string("Region"))->SetValue(Variant(""));
  processor_->QueueResponse(Response(Status("DataExtDelRs", 1, 0, "Status OK")));
  EXPECT_EQ(company_->Commit(), 0);
  EXPECT_EQ(processor_->LastRequestText(),
            Open30() +
                "<DataExtDelRq requestID = \"1\"><DataExtDel><OwnerID>{APP}</OwnerID>"
                "<DataExtName>Region</DataExtName><OtherDataExtType>Company</OtherDataExtType>"
                "</DataExtDel></DataExtDelRq>" +
                kClose);
}

TEST_F(DataExtensionTest, RefusedValuesAreFiledAndRaised) {
  DataExtensions values;
  values.SetOwnerId("0");
  values.SetOwnerType(qoObjectTypeInvoice);
  auto line = values.Add("Bin");
  line->SetValue(Variant("A4"));
  processor_->QueueResponse(Response(Status("DataExtAddRs", 1, 3120, "No such transaction")));
  EXPECT_EQ(RaisedBy([&] { values.Commit("TX-1", "LN-2"); }).Number(), ErrorNumber(1023));
  EXPECT_NE(processor_->LastRequestText().find(
                "<TxnDataExtType>Invoice</TxnDataExtType><TxnID>TX-1</TxnID><TxnLineID>LN-2"),
            std::string::npos);
  EXPECT_EQ(values.Errors().Count(), 1);
  EXPECT_EQ(line->Errors().Count(), 1);
}

TEST_F(DataExtensionTest, DefinitionsAreAddedAndModifiedThroughTheMasterCollection) {
  DataExtensionDefinitions definitions;
  definitions.SetOwnerId("{APP}");
  EXPECT_EQ(RaisedBy([&] { definitions.Add("Region"); }).Number(), ErrorNumber(1021));
  definitions.SetMaster(true);
  auto region = definitions.Add("Region", qbDataExtTypeAMTTYPE);
  region->AddAssignedTo(qoObjectTypeCustomer);
  processor_->QueueResponse(Response(Status("DataExtDefAddRs", 1, 0, "Status OK")));
  EXPECT_EQ(definitions.Commit(), 0);
  EXPECT_EQ(processor_->LastRequestText(),
            Open30() +
                "<DataExtDefAddRq requestID = \"1\"><DataExtDefAdd><OwnerID>{APP}</OwnerID>"
                "<DataExtName>Region</DataExtName><DataExtType>AMTTYPE</DataExtType>"
                "<AssignToObject>Customer</AssignToObject></DataExtDefAdd></DataExtDefAddRq>" +
                kClose);
  definitions.Rename(*region, "Area");
  region->RemoveAssignedTo(qoObjectTypeCustomer);
  processor_->QueueResponse(Response(Status("DataExtDefModRs", 1, 0, "Status OK")));
  definitions.Commit();
  EXPECT_NE(processor_->LastRequestText().find(
                "<DataExtName>Region</DataExtName><DataExtNewName>Area</DataExtNewName>"
                "<RemoveFromObject>Customer</RemoveFromObject>"),
            std::string::npos);
  EXPECT_EQ(region->ObjectState(), qoObjectStateClean);
}

TEST_F(DataExtensionTest, DefinitionChangesBelowQbxml3NeedApplicationFieldsWithAGuid) {
  Session().qbxmlVersionNumber = Currency(2);
  DataExtensionDefinitions custom;
  custom.SetOwnerId("0");
  custom.SetMaster(true);
  EXPECT_EQ(RaisedBy([&] { custom.Add("Colour"); }).Number(), ErrorNumber(2801));
  DataExtensionDefinitions application;
  application.SetOwnerId("{APP}");
  application.SetMaster(true);
  EXPECT_EQ(RaisedBy([&] { application.Delete("Region"); }).Number(), ErrorNumber(2802));
}

TEST_F(DataExtensionTest, DefinitionNamesMayHaveThirtyOneCharacters) {
  DataExtensionDefinition fits(std::string(31, 'n'), "{APP}");
  EXPECT_TRUE(fits.Validate());
  DataExtensionDefinition tooLong(std::string(32, 'n'), "{APP}");
  EXPECT_FALSE(tooLong.Validate());
  EXPECT_EQ(tooLong.Errors().Item(1)->Description(), "Name cannot exceed 31 characters");
}

TEST_F(DataExtensionTest, ValueIsARecordThatReadsItsRetAndWritesItsRequests) {
  DataExtension value("x", qbDataExtTypeSTR255TYPE, "{APP}", qoObjectTypeCustomer);
  value.FromDom(LoadElement(
      "<DataExtRet><DataExtValue>12.50</DataExtValue><OwnerID>{APP}</OwnerID><DataExtName>Rate"
      "</DataExtName><DataExtType>AMTTYPE</DataExtType></DataExtRet>"));
  EXPECT_EQ(value.Name(), "Rate");
  EXPECT_EQ(value.DataType(), qbDataExtTypeAMTTYPE);
  EXPECT_EQ(value.Value(), Variant(Currency(12.5)));
  EXPECT_EQ(value.ObjectState(), qoObjectStateClean);
  value.SetUserData(Variant("note"));
  EXPECT_EQ(value.UserData().ToString(), "note");

  value.SetListOrTxnId("80000001-1");
  xmlBldr builder;
  builder.InsertQueryRs(value, 2);
  builder.InsertModRq(value, 3);
  EXPECT_EQ(builder.GetXML(),
            "<DataExtQueryRs requestID = \"2\"><DataExtRet><OwnerID>{APP}</OwnerID><DataExtName>"
            "Rate</DataExtName><DataExtType>AMTTYPE</DataExtType><DataExtValue>12.50"
            "</DataExtValue></DataExtRet></DataExtQueryRs><DataExtModRq requestID = \"3\">"
            "<DataExtMod><OwnerID>{APP}</OwnerID><DataExtName>Rate</DataExtName><ListDataExtType>"
            "Customer</ListDataExtType><ListObjRef><ListID>80000001-1</ListID></ListObjRef>"
            "<DataExtValue>12.50</DataExtValue></DataExtMod></DataExtModRq>");
}

TEST_F(DataExtensionTest, ChangeGuardKeepsSavedValuesOnTheirRecordBelowQbxml3) {
  Session().qbxmlVersionNumber = Currency(2);
  DataExtension value("Rate", qbDataExtTypeINTTYPE, "{APP}", qoObjectTypeCustomer);
  value.SetListOrTxnId("A");  // new: anything goes
  value.SetObjectState(qoObjectStateClean);
  value.SetValue(Variant(7));
  EXPECT_EQ(value.ObjectState(), qoObjectStateDirty);
  AutomationError moved = RaisedBy([&] { value.SetListOrTxnId("B"); });
  EXPECT_EQ(moved.Number(), ErrorNumber(1002));
  EXPECT_EQ(moved.Source(), "DataExt");
  EXPECT_EQ(moved.Description(), "Field cannot be modified");
  EXPECT_EQ(value.ListOrTxnId(), "A");
  value.SetTxnLineId("L-1");  // filling an empty line ID replaces nothing
  EXPECT_EQ(RaisedBy([&] { value.SetTxnLineId("L-2"); }).Number(), ErrorNumber(1002));

  Session().qbxmlVersionNumber = Currency(3);
  value.SetObjectState(qoObjectStateClean);
  value.SetListOrTxnId("B");
  EXPECT_EQ(value.ObjectState(), qoObjectStateDirty);
  EXPECT_EQ(RaisedBy([&] { value.SetValue(Variant("seven")); }).Number(), 13);
  EXPECT_EQ(value.Value(), Variant(7));
}

TEST_F(DataExtensionTest, CollectionStateLookupsValidationAndIteration) {
  DataExtensions values;
  values.SetOwnerId("0");
  EXPECT_EQ(values.ObjectState(), qoObjectStateClean);
  auto colour = values.Add("Colour");
  auto size = values.Add("Size", qbDataExtTypeSTR1024TYPE);
  EXPECT_EQ(values.ObjectState(), qoObjectStateNew);
  size->SetObjectState(qoObjectStateClean);
  size->SetValue(Variant(std::string(1025, 's')));
  EXPECT_EQ(values.ObjectState(), qoObjectStateDirty);
  EXPECT_EQ(values.Item(std::string("COLOUR")), colour);
  colour->SetValue(Variant(std::string(255, 'c')));
  EXPECT_FALSE(values.Validate());
  ASSERT_EQ(values.Errors().Count(), 1);
  EXPECT_EQ(values.Errors().Item(1)->Field(), "Size");
  EXPECT_EQ(size->Errors().Item(1)->Description(), "Value cannot exceed 1024 characters");
  std::vector<std::string> names;
  for (const auto& value : values) names.push_back(value->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Colour", "Size"}));
}

TEST_F(DataExtensionTest, ItemRecordsUseDefinitionsAssignedToItems) {
  Session().dataExtOwnerID = "{APP}";
  processor_->QueueResponse(Response(Status(
      "DataExtDefQueryRs", 1, 0, "Status OK",
      "<DataExtDefRet><OwnerID>{APP}</OwnerID><DataExtName>Grade</DataExtName><DataExtType>"
      "INTTYPE</DataExtType><AssignToObject>Item</AssignToObject></DataExtDefRet><DataExtDefRet>"
      "<OwnerID>{APP}</OwnerID><DataExtName>Bin</DataExtName><DataExtType>STR255TYPE"
      "</DataExtType><AssignToObject>Vendor</AssignToObject></DataExtDefRet>")));
  DataExtensions values;
  values.SetOwnerId("{APP}");
  values.SetOwnerType(qoObjectTypeItemService);
  EXPECT_EQ(RaisedBy([&] { values.Item(std::string("Bin")); }).Number(), ErrorNumber(2804));
  auto grade = values.Item(std::string("Grade"));
  EXPECT_EQ(grade->DataType(), qbDataExtTypeINTTYPE);
  grade->SetValue(Variant(3));
  processor_->QueueResponse(Response(Status("DataExtAddRs", 1, 0, "Status OK")));
  values.Commit("80000007-1");
  EXPECT_NE(processor_->LastRequestText().find(
                "<ListDataExtType>Item</ListDataExtType><ListObjRef><ListID>80000007-1</ListID>"),
            std::string::npos);
}

TEST_F(DataExtensionTest, GetAllRereadsTheOwnerRecordsValues) {
  DataExtensions values;
  values.SetOwnerId("{APP}");
  values.SetOwnerType(qoObjectTypeCustomer);
  EXPECT_EQ(RaisedBy([&] { values.GetAll(); }).Number(), ErrorNumber(1031));
  values.SetListOrTxnId("80000001-1");
  values.Add("Stale");
  processor_->QueueResponse(Response(Status("CustomerQueryRs", 1, 500, "Not found")));
  EXPECT_EQ(values.GetAll(), 1);
  EXPECT_EQ(values.Errors().Item(1)->Number(), ErrorNumber(1001));
  processor_->QueueResponse(Response(Status(
      "CustomerQueryRs", 1, 0, "Status OK",
      "<CustomerRet><ListID>80000001-1</ListID><DataExtRet><OwnerID>{APP}</OwnerID><DataExtName>"
      "Region</DataExtName><DataExtType>STR255TYPE</DataExtType><DataExtValue>North"
      "</DataExtValue></DataExtRet></CustomerRet>")));
  EXPECT_EQ(values.GetAll(), 1);
  EXPECT_EQ(processor_->LastRequestText(),
            Open30() +
                "<CustomerQueryRq><ListID>80000001-1</ListID><OwnerID>{APP}</OwnerID>"
                "</CustomerQueryRq>" +
                kClose);
  EXPECT_EQ(values.Item(1)->Value().ToString(), "North");
  EXPECT_EQ(values.Item(1)->ObjectState(), qoObjectStateClean);
}

TEST_F(DataExtensionTest, RecordsCarryLazyCollectionsAndSaveBoth) {
  Session().dataExtOwnerID = "{APP}";
  Gadget gadget;
  gadget.FromDom(LoadElement(
      "<CustomerRet><ListID>80000001-1</ListID><DataExtRet><OwnerID>0</OwnerID><DataExtName>"
      "Colour</DataExtName><DataExtType>STR255TYPE</DataExtType><DataExtValue>Red"
      "</DataExtValue></DataExtRet></CustomerRet>"));
  EXPECT_EQ(gadget.listID, "80000001-1");
  EXPECT_EQ(gadget.ApplicationFieldsIfCreated(), nullptr);
  ASSERT_NE(gadget.CustomFieldsIfCreated(), nullptr);
  EXPECT_EQ(gadget.CustomFields()->Item(1)->Value().ToString(), "Red");
  EXPECT_EQ(gadget.CustomFields()->OwnerType(), qoObjectTypeCustomer);
  EXPECT_EQ(gadget.SaveDataExtensions("80000001-1"), 0);  // nothing changed, nothing sent
  EXPECT_TRUE(processor_->Requests().empty());

  gadget.CustomFields()->Item(1)->SetValue(Variant(""));
  gadget.ApplicationFields()->Add("Region")->SetValue(Variant("North"));
  gadget.ApplicationFields()->Add("Unset");  // looked up, never given a value: not sent
  EXPECT_EQ(gadget.ApplicationFields()->OwnerId(), "{APP}");
  processor_->QueueResponse(Response(Status("DataExtDelRs", 1, 3120, "Refused")));
  processor_->QueueResponse(Response(Status("DataExtAddRs", 1, 0, "Status OK")));
  EXPECT_EQ(RaisedBy([&] { gadget.SaveDataExtensions("80000001-1"); }).Number(), ErrorNumber(1023));
  ASSERT_EQ(processor_->Requests().size(), 2u);  // the second collection was still saved
  EXPECT_NE(processor_->Requests()[0].text.find("<DataExtDelRq"), std::string::npos);
  EXPECT_EQ(processor_->Requests()[1].text.find("Unset"), std::string::npos);
  EXPECT_EQ(gadget.ApplicationFields()->Item(1)->ObjectState(), qoObjectStateClean);
}

TEST_F(DataExtensionTest, AValueReadAgainReplacesTheMemberOfItsName) {
  auto ret = [](const std::string& name, const std::string& type, const std::string& value) {
    return "<DataExtRet><OwnerID>0</OwnerID><DataExtName>" + name + "</DataExtName><DataExtType>" +
           type + "</DataExtType>" + value + "</DataExtRet>";
  };
  Gadget gadget;
  gadget.FromDom(LoadElement(
      "<CustomerRet>" + ret("Colour", "STR255TYPE", "<DataExtValue>Red</DataExtValue>") +
      ret("Size", "INTTYPE", "<DataExtValue>7</DataExtValue>") + "</CustomerRet>"));
  std::shared_ptr<DataExtension> colour = gadget.CustomFields()->Item("colour");
  gadget.FromDom(LoadElement("<CustomerRet>" +
                             ret("COLOUR", "STR1024TYPE", "<DataExtValue>Blue</DataExtValue>") +
                             ret("Ghost", "STR255TYPE", "") + "</CustomerRet>"));
  ASSERT_EQ(gadget.CustomFields()->Count(), 2);  // no value, no member
  EXPECT_EQ(gadget.CustomFields()->Item(1), colour);
  EXPECT_EQ(colour->Name(), "COLOUR");
  EXPECT_EQ(colour->DataType(), qbDataExtTypeSTR1024TYPE);
  EXPECT_EQ(colour->Value().ToString(), "Blue");
  EXPECT_EQ(colour->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(gadget.CustomFields()->Item("Size")->DataType(), qbDataExtTypeINTTYPE);
  EXPECT_EQ(gadget.CustomFields()->Item("Size")->Value().ToInt32(), 7);

  // The collection handed out outlives its record.
  std::shared_ptr<DataExtensions> kept;
  {
    Gadget gone;
    gone.FromDom(LoadElement("<CustomerRet>" +
                             ret("Colour", "STR255TYPE", "<DataExtValue>Red</DataExtValue>") +
                             "</CustomerRet>"));
    kept = gone.CustomFields();
  }
  EXPECT_EQ(kept->Item(1)->Value().ToString(), "Red");
}

// Custom values are filed when first looked at; what is filed then matches filing each as read.
TEST_F(DataExtensionTest, ValuesReadTwiceBeforeBeingLookedAtAreFiledInResponseOrder) {
  Session().dataExtOwnerID = "{APP}";
  auto ret = [](const std::string& owner, const std::string& name, const std::string& type,
                const std::string& value) {
    return "<DataExtRet><OwnerID>" + owner + "</OwnerID><DataExtName>" + name +
           "</DataExtName><DataExtType>" + type + "</DataExtType><DataExtValue>" + value +
           "</DataExtValue></DataExtRet>";
  };
  Gadget gadget;
  gadget.FromDom(LoadElement("<CustomerRet>" + ret("0", "Colour", "STR255TYPE", "Red") +
                             ret("0", "Size", "INTTYPE", "7") + "</CustomerRet>"));
  gadget.FromDom(LoadElement("<CustomerRet>" + ret("0", "COLOUR", "STR1024TYPE", "Blue") +
                             ret("{APP}", "Region", "STR255TYPE", "North") +
                             ret("0", "Due", "DATETIMETYPE", "2024-02-29") + "</CustomerRet>"));
  EXPECT_FALSE(gadget.HasPendingValues());
  DataExtensions* custom = gadget.CustomFieldsIfCreated();
  ASSERT_NE(custom, nullptr);
  ASSERT_EQ(custom->Count(), 3);
  EXPECT_EQ(custom->Item(1)->Name(), "COLOUR");
  EXPECT_EQ(custom->Item(1)->DataType(), qbDataExtTypeSTR1024TYPE);
  EXPECT_EQ(custom->Item(1)->Value().ToString(), "Blue");
  EXPECT_EQ(custom->Item(2)->Value().ToInt32(), 7);
  EXPECT_EQ(custom->Item(3)->Value().ToDate(), Date::FromDate(2024, 2, 29));
  EXPECT_EQ(custom->OwnerType(), qoObjectTypeCustomer);
  EXPECT_EQ(custom->OwnerId(), "0");
  for (const auto& value : *custom) EXPECT_EQ(value->ObjectState(), qoObjectStateClean);
  ASSERT_NE(gadget.ApplicationFieldsIfCreated(), nullptr);
  EXPECT_EQ(gadget.ApplicationFields()->Item(1)->Value().ToString(), "North");

  // A value its type cannot hold, or an unknown type, raises while reading, and nothing waits.
  for (const std::string& bad :
       {ret("0", "Size", "INTTYPE", "seven"), ret("0", "Size", "NOSUCHTYPE", "7")}) {
    SCOPED_TRACE(bad);
    Gadget fresh;
    const int32_t expected = [&] {
      try {
        gadget.FromDom(LoadElement("<CustomerRet>" + bad + "</CustomerRet>"));
      } catch (const AutomationError& error) {
        return error.Number();
      }
      return 0;
    }();
    ASSERT_NE(expected, 0);  // filed at once (the collection exists), it raises
    try {
      fresh.FromDom(LoadElement("<CustomerRet>" + bad + "</CustomerRet>"));
      ADD_FAILURE() << "no error raised";
    } catch (const AutomationError& error) {
      EXPECT_EQ(error.Number(), expected);
    }
    EXPECT_EQ(fresh.CustomFieldsIfCreated(), nullptr);
  }
}

// Against the simulated company, checked against the official schema when it is present.
class DataExtensionSimulatorTest : public SimulatedCompanyTest {
 protected:
  static constexpr const char* kOwner = "{5D1B2C3A-0000-4000-8000-0000000000E1}";

  void SetUp() override {
    SimulatedCompanyTest::SetUp();
    if (auto dir = QbxmlDir())
      setenv("BRENNOCK_QBXML_SCHEMA", (*dir / "xsd/v16/qbxmlops160.xsd").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("BRENNOCK_QBXML_SCHEMA");
    SimulatedCompanyTest::TearDown();
  }

  // The CustomerRet of that customer (or the first one), with both owners' values.
  XmlNode QueryCustomer(const std::string& listID) {
    xmlBldr builder;
    builder.NewClear();
    builder.OpenAggregateOnly("CustomerQueryRq");
    builder.CreateElement(listID.empty() ? "MaxReturned" : "ListID", listID.empty() ? "1" : listID);
    builder.CreateElement("OwnerID", "0");
    builder.CreateElement("OwnerID", kOwner);
    builder.EndAggregate("CustomerQueryRq");
    response_ = builder.NewSendRequest();
    EXPECT_EQ(builder.ErrNumber(), 0) << builder.ErrMsg();
    return response_->documentElement().childNodes().item(0).childNodes().item(0).childNodes().item(
        0);
  }

  std::shared_ptr<XmlDocument> response_;
};

TEST_F(DataExtensionSimulatorTest, CustomerValuesAreSavedReadBackAndDeleted) {
  simulator::CompanyFileOptions options;
  options.sample = simulator::SampleBusiness{};
  std::shared_ptr<Company> company = Connect(options, kOwner);
  company->CustomFields()->Add("Colour")->AddAssignedTo(qoObjectTypeCustomer);
  ASSERT_EQ(company->CustomFields()->Commit(), 0);
  company->ApplicationFields()
      ->Add("Rating", qbDataExtTypeAMTTYPE)
      ->AddAssignedTo(qoObjectTypeCustomer);
  ASSERT_EQ(company->ApplicationFields()->Commit(), 0);
  std::string listID = QueryCustomer("").childNodes().item(0).text();
  ASSERT_FALSE(listID.empty());

  DataExtensions custom, application;
  custom.SetOwnerId("0");
  application.SetOwnerId(kOwner);
  for (DataExtensions* values : {&custom, &application}) {
    values->SetOwnerType(qoObjectTypeCustomer);
    values->SetListOrTxnId(listID);
  }
  custom.Item(std::string("Colour"))->SetValue(Variant("Teal"));
  application.Item(std::string("Rating"))->SetValue(Variant(Currency(12.5)));
  EXPECT_EQ(custom.Commit(listID), 0);
  EXPECT_EQ(application.Commit(listID), 0);

  XmlNode ret = QueryCustomer(listID);
  DataExtensions customRead, applicationRead;
  for (const XmlNode& child : ret.childNodes())
    if (child.baseName() == "DataExtRet") ReadDataExtRet(child, &customRead, &applicationRead);
  // The sample business gives some customers custom values of its own.
  ASSERT_TRUE(customRead.ItemExists("Colour"));
  EXPECT_EQ(customRead.Item(std::string("Colour"))->Value(), Variant("Teal"));
  ASSERT_EQ(applicationRead.Count(), 1);
  EXPECT_EQ(applicationRead.Item(1)->DataType(), qbDataExtTypeAMTTYPE);
  EXPECT_EQ(applicationRead.Item(1)->Value(), Variant(Currency(12.5)));
  Gadget gadget;
  gadget.FromDom(ret);
  EXPECT_EQ(gadget.listID, listID);
  EXPECT_EQ(gadget.CustomFields()->Item(std::string("colour"))->Value(), Variant("Teal"));

  custom.Item(std::string("Colour"))->SetValue(Variant(""));
  EXPECT_EQ(custom.Commit(listID), 0);
  EXPECT_NE(recorder_->LastRequestText().find(
                "<DataExtDelRq requestID = \"1\"><DataExtDel><OwnerID>0</OwnerID><DataExtName>"
                "Colour</DataExtName><ListDataExtType>Customer</ListDataExtType><ListObjRef>"
                "<ListID>" +
                listID + "</ListID></ListObjRef></DataExtDel></DataExtDelRq>"),
            std::string::npos);
  custom.GetAll();
  EXPECT_FALSE(custom.ItemExists("Colour"));
  EXPECT_EQ(application.GetAll(), 1);
  EXPECT_EQ(application.Item(1)->Value(), Variant(Currency(12.5)));
}

}  // namespace
}  // namespace brennock::testing

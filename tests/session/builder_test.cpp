#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "brennock/internal/session/data_ext_definition_source.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/xml/xml_escape.h"
#include "brennock/model/qc_base.h"
#include "brennock/session/xml_bldr.h"
#include "tests/support/qbxml_samples.h"
#include "tests/support/recording_processor.h"
#include "tests/support/schema_validator.h"

namespace brennock {
namespace {

constexpr const char* kHeader20 =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
    "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 2.0//EN' >";
constexpr const char* kOpen20 =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
    "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 2.0//EN' >"
    "<QBXML><QBXMLMsgsRq onError = \"continueOnError\">";
constexpr const char* kOkResponse =
    "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><ClassQueryRs requestID=\"1\" statusCode=\"0\" "
    "statusSeverity=\"Info\" statusMessage=\"Status OK\"/></QBXMLMsgsRs></QBXML>";

void UseVersion(const std::string& text, double number) {
  Session().qbxmlVersion = text;
  Session().qbxmlVersionNumber = Currency(number);
}

// A customer that writes one field, to see the envelopes the builder puts around records.
class FakeCustomer : public qcBase {
 public:
  int32_t XMLInsert(xmlBldr& b) override {
    b.CreateElement("Name", "A&B");
    return 0;
  }
  int32_t XMLQueryRs(xmlBldr& b) override {
    b.CreateElement("ListID", "80000001-1");
    return 0;
  }
  int32_t XMLModify(xmlBldr& b) override {
    b.CreateElement("ListID", "80000001-1");
    b.CreateElement("EditSequence", "1");
    return 0;
  }
  qoEnumListObjectType ObjectType() const override { return qoObjectTypeCustomer; }
  Variant FromDom(const XmlNode&) override { return {}; }
};

class Definitions : public DataExtDefinitionSource {
 public:
  explicit Definitions(std::vector<std::vector<qoEnumListObjectType>> assigned)
      : assigned_(std::move(assigned)) {}
  bool AnyApplicationFieldDefinition(
      const std::function<bool(AssignedTypes)>& matches) const override {
    for (const auto& types : assigned_) {
      if (matches(types)) return true;
    }
    return false;
  }

 private:
  std::vector<std::vector<qoEnumListObjectType>> assigned_;
};

class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session() = SessionState{};
    UseVersion("2.0", 2.0);
    processor_ = std::make_shared<testing::RecordingProcessor>();
    processor_->SetResponder([](const std::string&) { return std::string(kOkResponse); });
    Session().processor = processor_;
    Session().ticket = "T-1";
  }
  void TearDown() override { Session() = SessionState{}; }

  std::shared_ptr<testing::RecordingProcessor> processor_;
  xmlBldr b_;
};

TEST_F(BuilderTest, SingleQueryIsSentExactlyAsQuickBooksExpects) {
  b_.QuerySingleExecute("ClassQueryRq", "All", "ActiveStatus", 0, qoObjectTypeClass, "", false);
  const std::string expected =
      std::string(kOpen20) +
      "<ClassQueryRq requestID = \"1\"><ActiveStatus>All</ActiveStatus></ClassQueryRq>"
      "</QBXMLMsgsRq></QBXML>";
  ASSERT_EQ(processor_->Requests().size(), 1u);
  EXPECT_EQ(processor_->Requests()[0].text, expected);
  EXPECT_EQ(processor_->Requests()[0].ticket, "T-1");
  EXPECT_EQ(b_.PieceCount(), 0);  // emptied after the answer
  BRENNOCK_REQUIRE_QBXML_DIR();
  BRENNOCK_EXPECT_VALID_QBXML(expected);
}

TEST_F(BuilderTest, SingleQueryVariantsWriteFilterMaxReturnedAndOwner) {
  b_.XMLQuerySingleExecute("CustomerQueryRq", "Smith", "Name", 25, qoObjectTypeCustomer,
                           "NameFilter", true);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<CustomerQueryRq requestID = \"1\"><MaxReturned>25</MaxReturned><NameFilter>"
                "<Name>Smith</Name></NameFilter><OwnerID>0</OwnerID></CustomerQueryRq>"
                "</QBXMLMsgsRq></QBXML>");
  EXPECT_GT(b_.PieceCount(), 0);  // XMLSendToQB keeps the document

  b_.QueryFullTableExecute("HostQueryRq", 10);
  EXPECT_EQ(processor_->LastRequestText(), std::string(kOpen20) +
                                               "<HostQueryRq requestID = \"1\"></HostQueryRq>"
                                               "</QBXMLMsgsRq></QBXML>");
}

TEST_F(BuilderTest, ElementsEmptyValuesAndVersionGates) {
  b_.CreateElement("Memo", "");
  b_.CreateElement2("Memo", "", false, 0.0);
  b_.CreateElement2("Memo", "", true, 0.0);
  EXPECT_EQ(b_.GetXML(), "<Memo></Memo><Memo></Memo>");

  UseVersion("1.1", 1.1);
  b_.Clear();
  b_.CreateElement("Fax", "1", 2.0);
  b_.CreateElement2("Fax", "1", true, Currency(2));
  b_.CreateDateElement("TxnDate", Date::FromDate(2005, 3, 4), 2.0);
  EXPECT_EQ(b_.GetXML(), "");
  UseVersion("2.0", 2.0);
  b_.CreateElement("Fax", "1", 2.0);
  b_.CreateDateElement("TxnDate", Date::FromDate(2005, 3, 4), 2.0);
  b_.CreateDateElement("DueDate", qbNullDate, 0.0);
  b_.CreateBlankTag("Clear");
  EXPECT_EQ(b_.GetXML(), "<Fax>1</Fax><TxnDate>2005-03-04</TxnDate><Clear/>");
  b_.Clear();
  b_.CreateElement("Name", "Rue\u00A0Nord");
  EXPECT_EQ(b_.GetXML(), "<Name>Rue&#160;Nord</Name>");
}

TEST(XmlEscapeTest, ReplacesMarkupAtSignAndWindows1252Characters) {
  EXPECT_EQ(EscapeXmlText("A&B <C> 'x' \"y\""), "A&amp;B &lt;C&gt; &apos;x&apos; &quot;y&quot;");
  EXPECT_EQ(EscapeXmlText("&amp;"), "&amp;amp;");
  EXPECT_EQ(EscapeXmlText("a@b.com"), "a&#64;b.com");
  // Euro sign, right single quote, e acute, y diaeresis; U+0081 is an undefined code of its own.
  EXPECT_EQ(EscapeXmlText("\u20AC \u2019 caf\u00E9 \u00FF \u0081"),
            "&#128; &#146; caf&#233; &#255; &#129;");
  // Characters outside Windows-1252's upper half stay as UTF-8, also C1 codes it defines
  // otherwise (U+0080) and the no-break space's neighbours below 160.
  EXPECT_EQ(EscapeXmlText("\u03A9 \u0080 \u4E2D"), "\u03A9 \u0080 \u4E2D");
  // The no-break space is the first character of the upper half, its neighbour below is not.
  EXPECT_EQ(EscapeXmlText("a\u00A0b\u009F"), "a&#160;b\u009F");
  // A stray Latin-1 byte is taken as its Windows-1252 character rather than dropped.
  EXPECT_EQ(EscapeXmlText("caf\xE9!"), "caf&#233;!");
  EXPECT_EQ(EscapeXmlText(""), "");
}

TEST(XmlEscapeTest, FindsACandidateAtEveryPositionOfShortAndLongValues) {
  // Values are scanned many bytes at a time; every length and position must still be seen.
  for (std::size_t length = 1; length <= 40; ++length) {
    for (std::size_t at = 0; at < length; ++at) {
      for (std::string_view candidate : {"<", "@", "\u00E9"}) {
        std::string value(at, 'a');
        value += candidate;
        value += std::string(length - at - 1, 'b');
        std::string expected(at, 'a');
        expected += candidate == "<" ? "&lt;" : candidate == "@" ? "&#64;" : "&#233;";
        expected += std::string(length - at - 1, 'b');
        ASSERT_EQ(EscapeXmlText(value), expected) << length << " " << at << " " << candidate;
      }
    }
    ASSERT_EQ(EscapeXmlText(std::string(length, 'z')), std::string(length, 'z'));
  }
}

TEST_F(BuilderTest, AggregatesRememberOneTagAndWriteAttributesAsGiven) {
  b_.OpenAggregateOnly("CustomerRet");
  b_.EndAggregate();
  b_.OpenAggregate("A", "requestID", "<1>");
  b_.OpenAggregateOnly("B");
  b_.EndAggregate();
  b_.EndAggregate();
  b_.EnterValueOnly("x<y");
  EXPECT_EQ(b_.GetXML(),
            "<CustomerRet></CustomerRet><A requestID = \"&lt;1&gt;\"><B></B></B>x&lt;y");

  b_.Clear();
  b_.OpenAggregateOnly("InvoiceQueryRq", "MetaDataAndResponseData", "Continue", "{abc}");
  b_.OpenAggregateOnly("ItemQueryRq", "NoMetaData", "Start");
  b_.OpenAggregateOnly("Plain", "", "Start", "x");
  EXPECT_EQ(
      b_.GetXML(),
      "<InvoiceQueryRq metaData=\"MetaDataAndResponseData\" iterator=\"Continue\" "
      "iteratorID=\"{abc}\" ><ItemQueryRq metaData=\"NoMetaData\" iterator=\"Start\" ><Plain>");
  EXPECT_EQ(b_.PieceCount(), 3);
}

TEST_F(BuilderTest, HeaderFollowsTheSessionVersion) {
  const std::string plain =
      "<?xml version=\"1.0\" ?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.0//EN' >";
  for (const auto& [version, header] : std::vector<std::pair<std::string, std::string>>{
           {"", plain},
           {"1.0", plain},
           {"2.1",
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
            "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 2.1//EN' >"},
           {"CA3.0",
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
            "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD CA3.0//EN' >"}}) {
    Session().qbxmlVersion = version;
    b_.InsertRawXML("left over");
    b_.CreateTop();
    EXPECT_EQ(b_.GetXML(), header) << version;
  }
  b_.Clear();
  b_.CreateRptTop();
  EXPECT_EQ(b_.GetXML(), "<?xml version=\"1.0\" ?>");
}

TEST_F(BuilderTest, FiltersAndRecordEnvelopesFormAValidInvoiceQueryAndCustomerAdd) {
  b_.NewClear();
  b_.OpenAggregate("InvoiceQueryRq", "requestID", "1");
  EXPECT_EQ(b_.InsertDateFilter("Modified", Date::FromDateTime(2005, 3, 4, 10, 11, 12)), 0);
  b_.InsertEntityFilter({"Smith & Co", "Jones"}, true);
  b_.InsertAccountFilter({"Sales", "Sales:Parts"}, false);
  b_.AddDataExtTag(true, qoObjectTypeInvoice);
  b_.EndAggregate();
  FakeCustomer customer;
  b_.InsertAddRq(customer, 2);
  b_.InsertModRq(customer, 3);
  b_.NewSendRequest();

  const std::string expected =
      std::string(kOpen20) +
      "<InvoiceQueryRq requestID = \"1\"><ModifiedDateRangeFilter>"
      "<FromModifiedDate>2005-03-04T10:11:12</FromModifiedDate></ModifiedDateRangeFilter>"
      "<EntityFilter><FullNameWithChildren>Smith &amp; Co</FullNameWithChildren></EntityFilter>"
      "<AccountFilter><FullName>Sales</FullName><FullName>Sales:Parts</FullName></AccountFilter>"
      "<OwnerID>0</OwnerID></InvoiceQueryRq>"
      "<CustomerAddRq requestID = \"2\"><CustomerAdd><Name>A&amp;B</Name></CustomerAdd>"
      "</CustomerAddRq>"
      "<CustomerModRq requestID = \"3\"><CustomerMod><ListID>80000001-1</ListID>"
      "<EditSequence>1</EditSequence></CustomerMod></CustomerModRq>"
      "</QBXMLMsgsRq></QBXML>";
  EXPECT_EQ(processor_->LastRequestText(), expected);
  BRENNOCK_REQUIRE_QBXML_DIR();
  BRENNOCK_EXPECT_VALID_QBXML(expected);
}

TEST_F(BuilderTest, LargeDocumentsJoinWholeAcrossReuse) {
  // Pieces of growing length cross every storage boundary; the joined text must be exact, also
  // after Clear hands back most of the memory and the builder is used again.
  for (int round = 0; round < 2; ++round) {
    b_.Clear();
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
      std::string value(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26));
      b_.CreateElement("Memo", value);
      expected += "<Memo>" + value + "</Memo>";
      if (i % 500 == 0) {
        b_.InsertRawXML(std::string(70000, 'x'));
        expected += std::string(70000, 'x');
      }
    }
    ASSERT_EQ(b_.GetXML(), expected) << round;
    EXPECT_EQ(b_.PieceCount(), 3006);
  }
  b_.Clear();
  b_.CreateBlankTag("Small");
  xmlBldr copy = b_;
  copy.CreateBlankTag("More");
  EXPECT_EQ(b_.GetXML(), "<Small/>");
  EXPECT_EQ(copy.GetXML(), "<Small/><More/>");
}

TEST_F(BuilderTest, AccountFilterWithChildrenNamesOnlyTheFirstAccount) {
  b_.InsertAccountFilter({"Expenses", "Expenses:Rent", "Income"}, true);
  b_.InsertAccountFilter({}, true);
  EXPECT_EQ(b_.GetXML(),
            "<AccountFilter><FullNameWithChildren>Expenses</FullNameWithChildren></AccountFilter>"
            "<AccountFilter></AccountFilter>");
}

TEST(SchemaValidatorTest, RejectsElementsOutOfQbxmlOrder) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  EXPECT_NE(testing::QbxmlSchemaErrors(
                std::string(kOpen20) +
                "<ClassQueryRq requestID = \"1\"><ActiveStatus>All</ActiveStatus>"
                "<MaxReturned>5</MaxReturned></ClassQueryRq></QBXMLMsgsRq></QBXML>"),
            "");
}

TEST_F(BuilderTest, DateFiltersFormatByFilterKindAndVersion) {
  Date from = Date::FromDateTime(2005, 3, 4, 10, 11, 12);
  Date to = Date::FromDate(2005, 4, 1);
  b_.InsertDateFilter("Txn", from, to);
  b_.InsertDateFilter("Txn", {}, {}, qbDateMacroThisFiscalYearToDate);
  EXPECT_EQ(b_.GetXML(),
            "<TxnDateRangeFilter><FromTxnDate>2005-03-04</FromTxnDate><ToTxnDate>2005-04-01"
            "</ToTxnDate></TxnDateRangeFilter><TxnDateRangeFilter><DateMacro>ThisFiscalYearToDate"
            "</DateMacro></TxnDateRangeFilter>");

  UseVersion("1.1", 1.1);
  b_.Clear();
  b_.InsertDateFilter("Modified", {}, from);
  EXPECT_EQ(b_.GetXML(),
            "<ModifiedDateRangeFilter><ToModifiedDate>2005-03-04</ToModifiedDate>"
            "</ModifiedDateRangeFilter>");
}

TEST_F(BuilderTest, DataExtensionOwnersDependOnVersionAndDefinitions) {
  UseVersion("1.1", 1.1);
  b_.AddDataExtTag(true, qoObjectTypeCustomer);
  EXPECT_EQ(b_.GetXML(), "");

  UseVersion("2.0", 2.0);
  b_.AddDataExtTag(false, qoObjectTypeCustomer);
  Session().dataExtOwnerID = "{6B063959-81B0-4F1B-9B0F-2B4D1A5E9C01}";
  b_.AddDataExtTag(true, qoObjectTypeCustomer);  // no definitions known yet
  EXPECT_EQ(b_.GetXML(), "<OwnerID>0</OwnerID>");

  Session().applicationFieldDefinitions =
      std::make_shared<Definitions>(std::vector<std::vector<qoEnumListObjectType>>{
          {qoObjectTypeInvoice}, {qoObjectTypeAccount, qoObjectTypeEmployee}});
  for (auto [type, both] :
       std::vector<std::pair<qoEnumListObjectType, bool>>{{qoObjectTypeEmployee, true},
                                                          {qoObjectTypeEntity, true},
                                                          {qoObjectTypeCustomer, false},
                                                          {qoObjectTypeInvoice, true}}) {
    b_.Clear();
    b_.AddDataExtTag(true, type);
    EXPECT_EQ(b_.GetXML(),
              both ? "<OwnerID>0</OwnerID><OwnerID>{6B063959-81B0-4F1B-9B0F-2B4D1A5E9C01}</OwnerID>"
                   : "<OwnerID>0</OwnerID>")
        << type;
  }
}

TEST_F(BuilderTest, FileContainerIsSavedAndReadBack) {
  auto path = std::filesystem::temp_directory_path() / "brennock_builder_container.xml";
  b_.IOClear();
  FakeCustomer customer;
  b_.InsertQueryRs(customer, 1);
  EXPECT_EQ(b_.SaveToFile(path.string()), 0);
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(
      text.str(),
      "<Brennock><QBXMLMsgsRq onError = \"continueOnError\"><CustomerQueryRs requestID = \"1\">"
      "<CustomerRet><ListID>80000001-1</ListID></CustomerRet></CustomerQueryRs></QBXMLMsgsRq>"
      "</Brennock>\r\n");

  auto document = b_.ReadXml(path.string());
  ASSERT_TRUE(document);
  EXPECT_EQ(document->documentElement().baseName(), "Brennock");
  std::filesystem::remove(path);
  EXPECT_EQ(b_.ReadXml(path.string())->childNodes().length(), 0);
}

}  // namespace
}  // namespace brennock

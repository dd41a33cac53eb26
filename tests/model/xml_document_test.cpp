#include "brennock/xml/xml_document.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "brennock/errors/automation_error.h"
#include "tests/support/qbxml_samples.h"

namespace brennock {
namespace {

std::vector<std::string> SplitAtQuotes(const std::string& text) {
  std::vector<std::string> fields(1);
  for (char c : text) {
    if (c == '"') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<std::string> ChildNames(const XmlNode& node) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < node.childNodes().length(); ++i) {
    names.push_back(node.childNodes().item(i).nodeName());
  }
  return names;
}

XmlDocument Loaded(const std::string& text) {
  XmlDocument document;
  EXPECT_TRUE(document.loadXML(text)) << document.parseError().reason;
  return document;
}

void ExpectObjectNotSet(const std::function<void()>& call) {
  try {
    call();
    ADD_FAILURE() << "no error raised";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), 91);
    EXPECT_EQ(error.Source(), "Brennock");
    EXPECT_EQ(error.Description(), "Object variable or With block variable not set");
  }
}

TEST(XmlDocumentSamples, HostCompanyPreferencesWalkedByPosition) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  XmlDocument document = Loaded(testing::ReadQbxmlFile(
      "samples/extracted/strHCPResponse_Host_Company_Preferences_QB2012.xml"));
  ASSERT_EQ(document.childNodes().length(), 2);
  EXPECT_EQ(document.childNodes().item(0).nodeName(), "xml");
  XmlNode root = document.childNodes().item(1);
  EXPECT_EQ(root.baseName(), "QBXML");
  XmlNode messages = root.childNodes().item(0);
  EXPECT_EQ(ChildNames(messages),
            (std::vector<std::string>{"HostQueryRs", "CompanyQueryRs", "PreferencesQueryRs"}));

  XmlNode host = messages.childNodes().item(0);
  std::vector<std::string> fields = SplitAtQuotes(host.xml());
  ASSERT_GT(fields.size(), 8u);
  EXPECT_EQ(fields[0], "<HostQueryRs requestID=");
  EXPECT_EQ(fields[1], "0");
  EXPECT_EQ(fields[3], "0");
  EXPECT_EQ(fields[5], "Info");
  EXPECT_EQ(fields[7], "Status OK");
  EXPECT_EQ(SplitAtQuotes(messages.childNodes().item(2).xml())[1], "2");

  XmlAttributes attributes = host.attributes();
  ASSERT_EQ(attributes.length(), 4);
  EXPECT_EQ(attributes.item(1).nodeName(), "statusCode");
  EXPECT_EQ(attributes.item(3).nodeTypedValue(), "Status OK");
  EXPECT_EQ(attributes.getNamedItem("statusSeverity").text(), "Info");
  EXPECT_FALSE(attributes.item(4));
  EXPECT_FALSE(attributes.getNamedItem("statuscode"));
  ExpectObjectNotSet([&] { attributes.item(4).nodeTypedValue(); });

  XmlNode hostRet = host.childNodes().item(0);
  XmlNodeList fieldsOfHost = hostRet.childNodes();
  EXPECT_EQ(fieldsOfHost.item(0).baseName(), "ProductName");
  std::string lastVersion;
  for (XmlNode field : fieldsOfHost) {
    if (field.baseName() == "SupportedQBXMLVersion") lastVersion = field.text();
  }
  EXPECT_EQ(lastVersion, "11.0");
  EXPECT_EQ(fieldsOfHost.item(fieldsOfHost.length() - 1).text(), "SingleUser");
  EXPECT_FALSE(fieldsOfHost.item(fieldsOfHost.length()));
}

TEST(XmlDocumentSamples, QueryResponseRecordsInOrder) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  XmlDocument document =
      Loaded(testing::ReadQbxmlFile("samples/intuit/responses/BillQueryRs_LastResponse.xml"));
  XmlNode response = document.childNodes().item(1).childNodes().item(0).childNodes().item(0);
  EXPECT_EQ(ChildNames(response), (std::vector<std::string>{"BillRet", "BillRet", "BillRet"}));
  XmlNode second = response.childNodes().item(1);
  EXPECT_EQ(second.childNodes().item(0).text(), "16-1646632498");
  XmlNode vendor = second.childNodes().item(5);
  EXPECT_EQ(ChildNames(vendor), (std::vector<std::string>{"ListID", "FullName"}));
  EXPECT_EQ(vendor.childNodes().item(1).text(), "v2");
  EXPECT_EQ(vendor.text(), "80000002-1646382223v2");
}

TEST(XmlDocumentSamples, EscapedStatusMessageKeepsItsEntitiesInMarkup) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  XmlDocument soap = Loaded(testing::ReadQbxmlFile(
      "samples/extracted/soap_receiveResponseXML_ItemServiceAddRs_3100.xml"));
  XmlNode envelope = soap.documentElement();
  EXPECT_EQ(envelope.nodeName(), "soap:Envelope");
  EXPECT_EQ(envelope.baseName(), "Envelope");
  XmlNode call = envelope.childNodes().item(0).childNodes().item(0);
  XmlDocument response = Loaded(call.childNodes().item(1).text());
  XmlNode add = response.childNodes().item(1).childNodes().item(0).childNodes().item(0);
  EXPECT_EQ(add.xml().substr(add.xml().size() - 2), "/>");
  std::vector<std::string> fields = SplitAtQuotes(add.xml());
  EXPECT_EQ(fields[3], "3100");
  EXPECT_EQ(fields[7],
            "The name &quot;Shipping Item - QuickBooks Inte&quot; of the list element is already "
            "in use.");
  EXPECT_EQ(add.attributes().item(3).text(),
            "The name \"Shipping Item - QuickBooks Inte\" of the list element is already in use.");
}

TEST(XmlDocumentSamples, EventFileLoadedFromDisk) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  XmlDocument document;
  ASSERT_TRUE(document.load(*testing::QbxmlDir() / "samples/intuit/events/UIExtensionEvent_1.xml"));
  EXPECT_EQ(ChildNames(document), (std::vector<std::string>{"xml", "qbxml", "QBXML"}));
  EXPECT_EQ(document.childNodes().item(1).text(), "version=\"3.0\"");
  XmlNode event = document.documentElement().childNodes().item(0).childNodes().item(0);
  EXPECT_EQ(ChildNames(event), (std::vector<std::string>{"SubscriberID", "CompanyFilePath",
                                                         "HostInfo", "EventTime", "EventTag"}));
  EXPECT_EQ(event.childNodes().item(4).text(), "ID-short");
}

TEST(XmlDocumentHeaders, BuilderHeaderWithDoctypeWithoutSystemLiteral) {
  XmlDocument document = Loaded(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD "
      "QBXML QBD 2.0//EN' ><QBXML><QBXMLMsgsRq onError = \"continueOnError\"><ClassQueryRq "
      "requestID = \"1\"><ActiveStatus>All</ActiveStatus></ClassQueryRq></QBXMLMsgsRq></QBXML>");
  ASSERT_EQ(document.childNodes().length(), 3);
  EXPECT_EQ(document.childNodes().item(0).nodeType(), NODE_PROCESSING_INSTRUCTION);
  EXPECT_EQ(document.childNodes().item(0).text(), "version=\"1.0\" encoding=\"ISO-8859-1\"");
  EXPECT_EQ(document.childNodes().item(1).nodeType(), NODE_DOCUMENT_TYPE);
  EXPECT_EQ(document.childNodes().item(1).nodeName(), "QBXML");
  EXPECT_EQ(document.childNodes().item(2), document.documentElement());
  EXPECT_EQ(document.xml(),
            "<?xml version=\"1.0\"?>\r\n<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 2.0//EN' "
            ">\r\n<QBXML><QBXMLMsgsRq onError=\"continueOnError\"><ClassQueryRq "
            "requestID=\"1\"><ActiveStatus>All</ActiveStatus></ClassQueryRq></QBXMLMsgsRq></"
            "QBXML>\r\n");
}

TEST(XmlDocumentHeaders, ProcessingInstructionAndCharacterReferences) {
  XmlDocument document = Loaded(
      "<?xml version=\"1.0\" ?>\n<?qbxml version=\"4.0\"?>\n<!-- sent by test -->\n"
      "<QBXML><Name>Caf&#233; &#x26; Bar &lt;1&gt;</Name><Note><![CDATA[a<b]]></Note></QBXML>");
  EXPECT_EQ(ChildNames(document), (std::vector<std::string>{"xml", "qbxml", "#comment", "QBXML"}));
  EXPECT_EQ(document.childNodes().item(1).text(), "version=\"4.0\"");
  XmlNode name = document.documentElement().childNodes().item(0);
  EXPECT_EQ(name.text(), "Caf\xC3\xA9 & Bar <1>");
  EXPECT_EQ(name.xml(), "<Name>Caf\xC3\xA9 &amp; Bar &lt;1&gt;</Name>");
  EXPECT_EQ(document.documentElement().childNodes().item(1).xml(), "<Note><![CDATA[a<b]]></Note>");
}

TEST(XmlDocumentHeaders, Latin1DeclaredTextIsDecoded) {
  const std::string header = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
  EXPECT_EQ(Loaded(header + "<Name>Jos\xE9 M\xFCller</Name>").documentElement().text(),
            "Jos\xC3\xA9 M\xC3\xBC"
            "ller");
  // Text that is already UTF-8 stays as it is whatever the declaration says.
  EXPECT_EQ(Loaded(header + "<Name>Jos\xC3\xA9</Name>").documentElement().text(), "Jos\xC3\xA9");
  // ISO-8859-1 byte 0x80 is U+0080; only Windows-1252 makes it the euro sign.
  EXPECT_EQ(Loaded(header + "<Name>\x80 \x9F\xE9</Name>").documentElement().text(),
            "\xC2\x80 \xC2\x9F\xC3\xA9");

  XmlDocument undeclared;
  EXPECT_FALSE(undeclared.loadXML("<Name>Jos\xE9</Name>"));
  EXPECT_EQ(undeclared.parseError().reason, "An invalid character was found in text content.");
  EXPECT_EQ(undeclared.parseError().filepos, 9);
}

TEST(XmlDocumentHeaders, OtherEncodingsAndByteOrderMarks) {
  EXPECT_EQ(Loaded("<?xml version='1.0' encoding='windows-1252'?><A>\x80 \x93q\x94</A>").text(),
            "\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D");
  EXPECT_EQ(Loaded("\xEF\xBB\xBF<?xml version=\"1.0\"?><A>x</A>").childNodes().item(1).text(), "x");
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("<A>hi</A>")) utf16 += {c, '\0'};
  EXPECT_EQ(Loaded(utf16).documentElement().text(), "hi");
  for (const char* malformed : {"<A>\xC0\x80</A>", "<A>\xED\xA0\x80</A>", "<A>\xE2\x82</A>"}) {
    XmlDocument document;
    EXPECT_FALSE(document.loadXML(malformed));
    EXPECT_EQ(document.parseError().filepos, 3);
  }
}

TEST(XmlDocumentFailures, MalformedTextLeavesDocumentEmpty) {
  XmlDocument document = Loaded("<QBXML><Kept>yes</Kept></QBXML>");
  XmlNode kept = document.documentElement().childNodes().item(0);

  EXPECT_FALSE(document.loadXML("<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs></QBXML>"));
  EXPECT_EQ(document.parseError().errorCode, 1);
  EXPECT_FALSE(document.parseError().reason.empty());
  EXPECT_GE(document.parseError().filepos, 0);
  EXPECT_EQ(document.childNodes().length(), 0);
  EXPECT_FALSE(document.documentElement());
  EXPECT_EQ(document.xml(), "");
  ExpectObjectNotSet([&] { document.childNodes().item(1).childNodes().item(0); });
  ExpectObjectNotSet([] { XmlNode().baseName(); });
  EXPECT_EQ(kept.text(), "yes");  // nodes of the earlier content stay usable

  EXPECT_TRUE(document.loadXML("<QBXML/>"));
  EXPECT_EQ(document.parseError().errorCode, 0);
}

TEST(XmlDocumentFailures, DocumentStructureIsChecked) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "XML document must have a top level element."},
      {"<!-- only -->", "XML document must have a top level element."},
      {"<A/><B/>", "Only one top level element is allowed in an XML document."},
      {"<A/>trailing", "Invalid at the top level of the document."},
      {"<A/><?xml version=\"1.0\"?>", "Invalid xml declaration."},
      {"<A>&nbsp;</A>", "Reference to undefined entity 'nbsp'."},
      {"<A>AT&T</A>", "A semi colon character was expected."},
      {"<A x='a&b'/>", "A semi colon character was expected."},
      // Found by fuzzing: past U+10FFFF there is no character to give.
      {"<A>&#x110000;</A>", "Invalid unicode character."},
      {"<A x='&#1114112;'/>", "Invalid unicode character."},
  };
  for (const auto& [text, reason] : cases) {
    XmlDocument document;
    EXPECT_FALSE(document.loadXML(text)) << text;
    EXPECT_EQ(document.parseError().reason, reason) << text;
    EXPECT_EQ(document.childNodes().length(), 0) << text;
  }
  // References are literal text inside CDATA sections, comments and processing instructions.
  EXPECT_EQ(Loaded("<A><![CDATA[a & b]]><!-- & --><?p & ?>&#65;&#x42;</A>").text(), "a & bAB");

  XmlDocument missing;
  EXPECT_FALSE(missing.load("/nonexistent/response.xml"));
  EXPECT_EQ(missing.parseError().reason, "The system cannot locate the object specified.");
}

TEST(XmlDocumentNodes, WhitespaceOnlyTextIsNotANode) {
  XmlDocument document = Loaded(
      "<?xml version=\"1.0\" ?>\n\n<A>\n  <B>  padded text \n</B>\n  <!-- c -->\n  <C>x <D/> "
      "y</C>\n  <E>   </E>\n</A>\n");
  XmlNode root = document.childNodes().item(1);
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"B", "#comment", "C", "E"}));
  EXPECT_EQ(root.childNodes().item(0).text(), "padded text");
  EXPECT_EQ(ChildNames(root.childNodes().item(2)),
            (std::vector<std::string>{"#text", "D", "#text"}));
  EXPECT_EQ(root.childNodes().item(2).text(), "x  y");
  EXPECT_FALSE(root.childNodes().item(3).hasChildNodes());
  EXPECT_EQ(root.childNodes().item(3).xml(), "<E/>");
}

TEST(XmlDocumentNodes, PositionsInAnyOrderAcrossNestedLists) {
  std::string text = "<R>";
  for (int i = 0; i < 40; ++i) {
    text += "<N" + std::to_string(i) + "><V>" + std::to_string(i) + "</V><W/></N" +
            std::to_string(i) + ">";
  }
  XmlDocument document = Loaded(text + "</R>");
  XmlNode root = document.documentElement();
  // Backwards, interleaved with the children of each item, then by jumps.
  for (int32_t i = 39; i >= 0; --i) {
    XmlNode item = root.childNodes().item(i);
    ASSERT_EQ(item.baseName(), "N" + std::to_string(i));
    EXPECT_EQ(item.childNodes().item(1).baseName(), "W");
    EXPECT_EQ(item.childNodes().item(0).text(), std::to_string(i));
  }
  for (int32_t i : {0, 39, 20, 21, 3, 38, 1}) {
    EXPECT_EQ(root.childNodes().item(i).baseName(), "N" + std::to_string(i));
  }
  EXPECT_FALSE(root.childNodes().item(40));
  EXPECT_FALSE(root.childNodes().item(-1));
  EXPECT_EQ(root.childNodes().length(), 40);
}

TEST(XmlDocumentNodes, SetTextReplacesContentAndKeepsHeldNodes) {
  XmlDocument document = Loaded("<A><B>old</B><C><D>inner</D><E/></C></A>");
  XmlNode b = document.documentElement().childNodes().item(0);
  XmlNode c = document.documentElement().childNodes().item(1);
  XmlNode d = c.childNodes().item(0);
  b.setText("new & improved");
  c.setText("flat");
  EXPECT_EQ(document.documentElement().xml(), "<A><B>new &amp; improved</B><C>flat</C></A>");
  EXPECT_EQ(c.childNodes().length(), 1);
  EXPECT_EQ(c.childNodes().item(0).nodeType(), NODE_TEXT);
  EXPECT_EQ(d.text(), "inner");
  EXPECT_EQ(document.childNodes().length(), 1);
  EXPECT_EQ(document.xml(), "<A><B>new &amp; improved</B><C>flat</C></A>\r\n");
  c.setText("");
  EXPECT_EQ(c.xml(), "<C/>");

  XmlAttribute attribute = Loaded("<A x=\"1\"/>").documentElement().attributes().item(0);
  attribute.setText("say \"hi\"\n");
  EXPECT_EQ(attribute.xml(), "x=\"say &quot;hi&quot;&#10;\"");
}

}  // namespace
}  // namespace brennock

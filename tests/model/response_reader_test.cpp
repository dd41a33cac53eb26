// The direct response reader against the document loader: every text it reads gives the records
// the loader gives, every text it declines is one the loader must handle, and list queries come
// out the same whichever path a response takes.
#include "brennock/internal/xml/response_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "brennock/company/company.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/error_table.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/lists/hierarchical_lists.h"
#include "brennock/values/currency.h"
#include "brennock/xml/xml_document.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace response_reader_test {
namespace {

// One element and everything under it, a line per element: name, base name and text (TextView,
// which must agree with text()).
void Dump(const FieldElement& element, int depth, std::string& out) {
  std::string scratch;
  const std::string_view text = element.TextView(scratch);
  EXPECT_EQ(text, element.text());
  out.append(static_cast<size_t>(depth) * 2, ' ');
  out.append(element.nodeName()).append(" (").append(element.baseName()).append(") [");
  out.append(text).append("]");
  for (size_t i = 0; i < element.AttributeCount(); ++i) {
    auto [name, value] = element.AttributeAt(i);
    out.append(" ").append(name).append("=\"").append(value).append("\"");
  }
  out.append("\n");
  for (FieldElement child : element.Children()) Dump(child, depth + 1, out);
}

struct Read {
  std::vector<std::string> records;
  std::string statusCode;
  bool declined = false;
};

Read ReadDirectly(const std::string& text) {
  Read read;
  ResponseReader reader(text);
  ElementTree tree;
  if (reader.OpenFirstResponse()) {
    read.statusCode = reader.FirstResponseAttribute("statusCode").first;
    while (reader.NextRecord(tree)) Dump(tree.Root(), 0, read.records.emplace_back());
    if (!reader.Declined()) reader.Finish();
  }
  read.declined = reader.Declined();
  return read;
}

Read ReadAsDocument(const std::string& text) {
  Read read;
  XmlDocument document;
  EXPECT_TRUE(document.loadXML(text)) << document.parseError().reason;
  XmlNode first = document.childNodes().item(1).childNodes().item(0).childNodes().item(0);
  XmlAttributes attributes = first.attributes();
  for (int32_t i = 0; i < attributes.length(); ++i) {
    if (attributes.item(i).nodeName() == "statusCode") read.statusCode = attributes.item(i).text();
  }
  for (XmlNode node : first.childNodes()) {
    if (node.nodeType() != NODE_ELEMENT) continue;
    ElementTree tree(node);
    Dump(tree.Root(), 0, read.records.emplace_back());
  }
  return read;
}

constexpr const char* kHead =
    "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<ClassQueryRs requestID=\"1\" "
    "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">";
constexpr const char* kTail = "</ClassQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";

std::string Records(const std::string& body) { return kHead + body + kTail; }

struct Case {
  const char* name;
  std::string text;
};

TEST(ResponseReaderTest, ReadsWhatTheDocumentLoaderReads) {
  const std::string status1 =
      "<?xml version=\"1.0\"?><QBXML><QBXMLMsgsRs><ClassQueryRs requestID=\"1\" "
      "statusCode='1' statusSeverity=\"Warn\" statusMessage=\"none\"";
  const Case cases[] = {
      {"references",
       Records("<ClassRet><Name>a&amp;b&lt;c&gt;d&quot;e&apos;f&#233;g&#x1F600;h&#13;</Name>"
               "<Desc>&#65;&#x42;&#x0043;</Desc></ClassRet>")},
      {"line ends", Records("<ClassRet>\r\n<Desc>one\r\ntwo\rthree\r\n\r</Desc>\r\n<Memo>x\r"
                            "</Memo>\r</ClassRet>")},
      {"blanks", Records("<ClassRet>\n\t <Name>  padded \t</Name>\n <Desc>\n x \n</Desc>"
                         "<Blank> \t\n</Blank><CrBlank>\r\n \r</CrBlank>\n</ClassRet>\n \t")},
      {"attributes", Records("<ClassRet a=\"1\" b='two' c = \"x>y\" ><Name lang='en'>x</Name>"
                             "<Ref id=\"3\"/></ClassRet><ClassRet\n a='1'\n>y</ClassRet>")},
      {"references and UTF-8 in attributes",
       Records("<ClassRet a=\"1&amp;2&#233;\" b='&quot;\xC3\xA9&lt;' c=\"\xC2\x80\">"
               "<ColData colID=\"1\" value=\"Parts &amp; Labour\"/></ClassRet>")},
      {"prefixed names", Records("<q:ClassRet><q:Name>x</q:Name><ListID>1</ListID>"
                                 "<a:b.c-d_e>z</a:b.c-d_e ></q:ClassRet>")},
      {"nested", Records("<ClassRet><ListID>20000-1</ListID><ParentRef><ListID>10000-1</ListID>"
                         "<FullName>Top</FullName></ParentRef><Deep><A><B><C>c</C></B></A></Deep>"
                         "<Sublevel>1</Sublevel></ClassRet>")},
      {"empty elements", Records("<ClassRet><Name/><Desc></Desc><Memo /><Ref><ListID/></Ref>"
                                 "</ClassRet><ClassRet/><ClassRet></ClassRet>")},
      {"mixed content", Records("<ClassRet> head <Name>inner</Name> mid <Desc>d</Desc>tail "
                                "</ClassRet><ClassRet>a<B/>b<C>c</C>\n</ClassRet>")},
      {"UTF-8", Records("<ClassRet><Name>Caf\xC3\xA9 \xE2\x80\x93 \xE6\x9D\xB1\xE4\xBA\xAC "
                        "\xF0\x9F\x98\x80</Name><Desc>\xC2\x80\xEF\xBF\xBD&amp;\xC3\xBC\r\n"
                        "</Desc></ClassRet>")},
      {"declared Latin-1, written in UTF-8",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><QBXML><QBXMLMsgsRs><ClassQueryRs "
       "statusCode=\"0\" statusMessage=\"OK\"><ClassRet><Name>Z\xC3\xBCrich</Name></ClassRet>" +
           std::string(kTail)},
      {"stray text between records",
       Records(" lead <ClassRet><Name>1</Name></ClassRet> stray &amp; text\r\n<ClassRet>"
               "<Name>2</Name></ClassRet>\xC3\xA9 trail ")},
      {"markup characters in text", Records("<ClassRet><Name>a > b ]] c ' \" d</Name></ClassRet>")},
      {"status 1 without records", status1 + ">\n </ClassQueryRs></QBXMLMsgsRs></QBXML>"},
      {"self-closed first response", status1 + "/>\n<AccountQueryRs statusCode=\"0\">"
                                               "<AccountRet><Name>n</Name></AccountRet>"
                                               "</AccountQueryRs></QBXMLMsgsRs></QBXML>"},
      {"several responses",
       kHead + std::string("<ClassRet><Name>c</Name></ClassRet></ClassQueryRs> between "
                           "<AccountQueryRs requestID=\"2\" statusCode=\"0\"><AccountRet>"
                           "<Name>n &amp; m\r\n</Name><Sub><X/></Sub></AccountRet> x "
                           "</AccountQueryRs><CustomerQueryRs requestID=\"3\" statusCode=\"1\"/>"
                           "\n</QBXMLMsgsRs>\n</QBXML>")},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    Read direct = ReadDirectly(test.text);
    EXPECT_FALSE(direct.declined);
    Read loaded = ReadAsDocument(test.text);
    EXPECT_EQ(direct.statusCode, loaded.statusCode);
    EXPECT_EQ(direct.records, loaded.records);
  }
}

// Every single-byte edit of a response (a byte dropped, or markup and awkward characters put in or
// over it): what the reader takes, the loader loads and reads the same.
TEST(ResponseReaderTest, EditedResponsesReadTheSameOrAreDeclined) {
  const std::string base =
      "<?xml version=\"1.0\" ?>\r\n<QBXML>\n<QBXMLMsgsRs>\n<ClassQueryRs requestID=\"1\" "
      "statusCode=\"0\" statusMessage=\"OK\"><ClassRet a='1'><ListID>1-1</ListID><Name>a&amp;b "
      "&#233;\xC3\xA9</Name> <E/>\r\n<Ref><FullName>T</FullName></Ref>mix</ClassRet> t "
      "<ClassRet><q:N>x</q:N><SixteenCharsName>a long text, with\ta tab in it</SixteenCharsName>"
      "<SeventeenCharName>b</SeventeenCharName></ClassRet></ClassQueryRs><BRs><R><N>1</N></R></"
      "BRs>\n</QBXMLMsgsRs>"
      "\n</QBXML>\n";
  // Markup and awkward characters, set apart by spaces; a blank, an attribute and NUL besides.
  std::vector<std::string> edits = {" ", " x=\"1\"", std::string(1, '\0')};
  std::istringstream words(
      "< > & ; / \" ' \r \t = ! ? \x01 \xC3 \x80 a ]]> </ <a> &#0; &#x41; \xEF\xBF\xBE "
      "\xED\xA0\x80");
  for (std::string word; words >> word;) edits.push_back(word);
  size_t taken = 0;
  auto check = [&](const std::string& text) {
    Read direct = ReadDirectly(text);
    if (direct.declined) return;
    ++taken;
    XmlDocument document;
    ASSERT_TRUE(document.loadXML(text)) << text;
    Read loaded = ReadAsDocument(text);
    ASSERT_EQ(direct.records, loaded.records) << text;
    ASSERT_EQ(direct.statusCode, loaded.statusCode) << text;
  };
  for (size_t at = 0; at < base.size(); ++at) {
    check(base.substr(0, at) + base.substr(at + 1));
    for (const std::string& edit : edits) {
      check(base.substr(0, at) + edit + base.substr(at));
      check(base.substr(0, at) + edit + base.substr(at + 1));
    }
  }
  EXPECT_GT(taken, 1000u);  // the reader is not simply declining everything
}

// Texts the reader leaves to the loader: either it loads them (and gives the records itself) or it
// refuses them, and then that refusal is the outcome.
TEST(ResponseReaderTest, DeclinesWhatItCannotReadExactly) {
  const std::string record = "<ClassRet><Name>x</Name></ClassRet>";
  const std::string plain = Records(record);
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = plain;
    return text.replace(text.find(from), from.size(), to);
  };
  struct Decline {
    const char* name;
    std::string text;
    bool loads;
  };
  const Decline cases[] = {
      {"comment in a record", Records("<ClassRet><!-- c --><Name>x</Name></ClassRet>"), true},
      {"comment between records", Records(record + "<!-- c -->" + record), true},
      {"comment in a later response",
       replaced("</QBXMLMsgsRs>", "<ARs><!--c--></ARs></QBXMLMsgsRs>"), true},
      {"comment after the root", plain + "<!-- c -->", true},
      {"CDATA", Records("<ClassRet><Name><![CDATA[x]]></Name></ClassRet>"), true},
      {"processing instruction", Records("<ClassRet><?pi x?><Name>x</Name></ClassRet>"), true},
      {"DOCTYPE", replaced("<QBXML>", "<!DOCTYPE QBXML><QBXML>"), true},
      {"qbxml instruction", replaced("<QBXML>", "<?qbxml version=\"4.0\"?><QBXML>"), true},
      {"byte-order mark", "\xEF\xBB\xBF" + plain, true},
      {"no declaration", plain.substr(plain.find('<', 1)), true},
      // Found by fuzzing: the loader ends the declaration at this "?>".
      {"?> in a declaration value", replaced("\"1.0\" ?>", "\"?>1.0\" ?>"), false},
      {"unknown reference", Records("<ClassRet><Name>&nbsp;</Name></ClassRet>"), false},
      {"bare ampersand", Records("<ClassRet><Name>a & b</Name></ClassRet>"), false},
      {"reference to NUL", Records("<ClassRet><Name>&#0;</Name></ClassRet>"), true},
      {"reference to a surrogate", Records("<ClassRet><Name>&#xD800;</Name></ClassRet>"), true},
      // Found by fuzzing: past U+10FFFF the loader wrote bytes that are no UTF-8.
      {"reference past Unicode", Records("<ClassRet><Name>&#x110000;</Name></ClassRet>"), false},
      {"long reference past Unicode", Records("<ClassRet><Name>&#99999999999;</Name></ClassRet>"),
       false},
      {"upper-case hex reference", Records("<ClassRet><Name>&#X41;</Name></ClassRet>"), false},
      {"control character", Records("<ClassRet><Name>a\x01</Name></ClassRet>"), true},
      {"NUL character", Records("<ClassRet><Name>a" + std::string(1, '\0') + "</Name></ClassRet>"),
       false},
      {"invalid UTF-8", Records("<ClassRet><Name>\xC3\x28</Name></ClassRet>"), false},
      {"Latin-1 text",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" +
           Records("<ClassRet><Name>\xE9</Name></ClassRet>").substr(plain.find('<', 1)),
       true},
      {"tab in an attribute", Records("<ClassRet a=\"1\t2\"><Name>x</Name></ClassRet>"), true},
      {"newline in an attribute", Records("<ClassRet a=\"1\n2\"><Name>x</Name></ClassRet>"), true},
      {"invalid UTF-8 in an attribute",
       Records("<ClassRet a=\"\xC3\x28\"><Name>x</Name></ClassRet>"), false},
      {"unknown reference in an attribute",
       Records("<ClassRet a=\"&nbsp;\"><Name>x</Name></ClassRet>"), false},
      {"< in an attribute", Records("<ClassRet a=\"1<2\"><Name>x</Name></ClassRet>"), true},
      {"reference in the status message", replaced("Status OK", "Status &amp; OK"), true},
      {"unquoted attribute", Records("<ClassRet a=1><Name>x</Name></ClassRet>"), false},
      {"attributes run together", Records("<ClassRet a=\"1\"b=\"2\"><Name>x</Name></ClassRet>"),
       false},
      {"non-ASCII name", Records("<ClassRet><N\xC3\xA4me>x</N\xC3\xA4me></ClassRet>"), true},
      {"text before the first response", replaced("<ClassQueryRs", "x<ClassQueryRs"), true},
      {"self-closed message set", "<?xml version=\"1.0\"?><QBXML><QBXMLMsgsRs/></QBXML>", true},
      {"mismatched end tag", Records("<ClassRet><Name>x</Nam></ClassRet>"), false},
      {"mismatched response end", replaced("</ClassQueryRs>", "</ClassQueryR>"), false},
      {"unclosed root", plain.substr(0, plain.find("</QBXML>")), false},
      {"truncated in a record", plain.substr(0, plain.find("</Name>") + 3), false},
      {"truncated in text", plain.substr(0, plain.find("x</Name>")), false},
      {"text after the root", plain + "junk", false},
      {"second root element", plain + "<QBXML/>", false},
  };
  for (const Decline& test : cases) {
    SCOPED_TRACE(test.name);
    ResponseReader reader(test.text);
    ElementTree tree;
    if (reader.OpenFirstResponse()) {
      while (reader.NextRecord(tree)) {
      }
      if (!reader.Declined()) {
        EXPECT_FALSE(reader.Finish());
      }
    }
    EXPECT_TRUE(reader.Declined());
    EXPECT_FALSE(reader.NextRecord(tree));
    XmlDocument document;
    EXPECT_EQ(document.loadXML(test.text), test.loads) << document.parseError().reason;
  }
}

// ---- list queries: the direct path and the document path give the same outcome ----

constexpr const char* kTop =
    "<ClassRet><ListID>10000-1</ListID><TimeCreated>2005-03-04T10:11:12-08:00</TimeCreated>"
    "<Name>Top &amp; Co</Name><FullName>Top &amp; Co</FullName><Sublevel>0</Sublevel></ClassRet>";
constexpr const char* kSub =
    "<ClassRet>\r\n <ListID>20000-1</ListID><TimeCreated>2006-01-02T03:04:05</TimeCreated>"
    "<Name>Sub \xC3\xA9</Name><FullName>Top &amp; Co:Sub \xC3\xA9</FullName><ParentRef>"
    "<ListID>10000-1</ListID><FullName>Top &amp; Co</FullName></ParentRef><Sublevel>1</Sublevel>"
    "<Unknown>x</Unknown>\r\n</ClassRet>";

// The same response, with a comment that sends it down the document path.
std::string WithComment(std::string text) {
  return text.insert(text.find("<Name>"), "<!-- the loader takes comments -->");
}
std::string Truncated(const std::string& text) { return text.substr(0, text.find("</QBXML>")); }

class ResponsePathTest : public ListsTest {
 protected:
  using Summary = std::tuple<std::string, std::string, std::string, std::string, int, double>;
  std::vector<Summary> GetAll(const std::string& response) {
    processor_->QueueResponse(response);
    const int32_t count = classes_.GetAll();
    EXPECT_EQ(count, classes_.Count());
    EXPECT_EQ(classes_.Errors()->Count(), 0);
    std::vector<Summary> loaded;
    for (int32_t i = 1; i <= classes_.Count(); ++i) {
      auto record = classes_.Item(i);
      loaded.emplace_back(record->ListID(), record->Name(), record->FullName(), record->Parent(),
                          record->Sublevel(), record->TimeCreated().Value());
    }
    return loaded;
  }
  AutomationError Raised(const std::string& response) {
    processor_->QueueResponse(response);
    try {
      classes_.GetAll();
    } catch (const AutomationError& error) {
      return error;
    }
    ADD_FAILURE() << "no error raised";
    return AutomationError(0, "", "");
  }
  static void ExpectSame(const AutomationError& a, const AutomationError& b) {
    EXPECT_EQ(a.Number(), b.Number());
    EXPECT_EQ(a.Source(), b.Source());
    EXPECT_EQ(a.Description(), b.Description());
  }

  // A response that does not load is filed with the loader's reason, not raised, and leaves the
  // collection empty.
  void ExpectFiledAsUnreadable(const std::string& response) {
    XmlDocument document;
    ASSERT_FALSE(document.loadXML(response));
    const XmlParseError parse = document.parseError();
    processor_->QueueResponse(response);
    EXPECT_EQ(classes_.GetAll(), 0);
    ASSERT_EQ(classes_.Errors()->Count(), 1);
    EXPECT_EQ(classes_.Errors()->Item(1)->Number(), vbObjectError + 1003);
    EXPECT_EQ(classes_.Errors()->Item(1)->Description(),
              "The response from QuickBooks is not well-formed XML: " + parse.reason +
                  " (at byte " + std::to_string(parse.filepos) + ")");
  }

  Classes classes_;
};

TEST_F(ResponsePathTest, BothPathsLoadTheSameRecords) {
  const std::string plain = Records(std::string(kTop) + kSub);
  std::vector<Summary> direct = GetAll(plain);
  ASSERT_EQ(direct.size(), 2u);
  EXPECT_EQ(direct[1], Summary("20000-1", "Sub \xC3\xA9", "Top & Co:Sub \xC3\xA9", "Top & Co", 1,
                               Date::FromDateTime(2006, 1, 2, 3, 4, 5).Value()));
  EXPECT_EQ(classes_.Item(1)->Children()->Count(), 1);
  EXPECT_EQ(GetAll(WithComment(plain)), direct);
  EXPECT_EQ(classes_.Item(1)->Children()->Count(), 1);
}

TEST_F(ResponsePathTest, CdataReachesTheRecordThroughTheDocumentPath) {
  const std::string cdata = Records(
      "<ClassRet><ListID>30000-1</ListID><Name><![CDATA[R&D <East>]]></Name>"
      "<FullName>R&amp;D <![CDATA[<East>]]></FullName><Sublevel>0</Sublevel></ClassRet>");
  ASSERT_TRUE(ReadDirectly(cdata).declined);
  std::vector<Summary> loaded = GetAll(cdata);
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(std::get<1>(loaded[0]), "R&D <East>");
  EXPECT_EQ(std::get<2>(loaded[0]), "R&D <East>");
}

TEST_F(ResponsePathTest, BrokenResponsesAreFiledNotRaised) {
  ExpectFiledAsUnreadable(Truncated(Records(std::string(kTop) + kSub)));
  // A taken key in a document broken after it: the broken document is what is reported.
  ExpectFiledAsUnreadable(Truncated(Records(std::string(kTop) + kTop + kSub)));
  ExpectFiledAsUnreadable(Truncated(Records(std::string(kTop) + kTop)));
  // Not the status of an earlier refusal, which stays in the builder until a status is read.
  processor_->QueueResponse(
      "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><ClassQueryRs requestID=\"1\" "
      "statusCode=\"3120\" statusSeverity=\"Error\" statusMessage=\"Not found.\"/>"
      "</QBXMLMsgsRs></QBXML>");
  classes_.GetAll();
  ASSERT_EQ(classes_.Errors()->Count(), 1);
  EXPECT_EQ(classes_.Errors()->Item(1)->Number(), 3120);
  ExpectFiledAsUnreadable(Truncated(Records(kTop)));
}

// The direct reader declines a record nested past the limit; the document path then refuses the
// response unread, and the query files that instead of raising.
TEST_F(ResponsePathTest, ResponsesNestedPastTheLimitAreFiledNotRaised) {
  setenv("BRENNOCK_MAX_RESPONSE_DEPTH", "6", 1);
  std::string deep = "<ClassRet><Name>x</Name><Desc><a><b>y</b></a></Desc></ClassRet>";
  processor_->QueueResponse(Records(deep));
  classes_.GetAll();
  unsetenv("BRENNOCK_MAX_RESPONSE_DEPTH");
  EXPECT_EQ(classes_.Count(), 0);
  ASSERT_EQ(classes_.Errors()->Count(), 1);
  EXPECT_EQ(classes_.Errors()->Item(1)->Number(), ErrorNumber(errResponseTooDeep));
  EXPECT_EQ(classes_.Errors()->Item(1)->Description(),
            "The response from QuickBooks nests elements deeper than the limit of 6.");
  // At the limit the same record is read straight from the text.
  setenv("BRENNOCK_MAX_RESPONSE_DEPTH", "7", 1);
  processor_->QueueResponse(Records(deep));
  classes_.GetAll();
  unsetenv("BRENNOCK_MAX_RESPONSE_DEPTH");
  EXPECT_EQ(classes_.Count(), 1);
  EXPECT_EQ(classes_.Errors()->Count(), 0);
}

TEST_F(ResponsePathTest, BrokenLookupsAreFiledNotRaised) {
  processor_->QueueResponse(Truncated(Records(kTop)));
  EXPECT_EQ(classes_.GetByFullName("Top & Co"), nullptr);
  ASSERT_EQ(classes_.Errors()->Count(), 1);
  EXPECT_EQ(classes_.Errors()->Item(1)->Number(), vbObjectError + 1003);
  EXPECT_TRUE(classes_.Errors()->Item(1)->Description().starts_with(
      "The response from QuickBooks is not well-formed XML: "));
  EXPECT_EQ(classes_.Count(), 0);
}

TEST_F(ResponsePathTest, TakenKeysRaise457) {
  for (const std::string& records : {std::string(kTop) + kTop, std::string(kTop) + kTop + kSub}) {
    SCOPED_TRACE(records);
    AutomationError raised = Raised(Records(records));
    EXPECT_EQ(raised.Number(), 457);
    EXPECT_EQ(raised.Source(), "Class");
    EXPECT_EQ(raised.Description(),
              "This key is already associated with an element of this collection");
    const int32_t count = classes_.Count();
    ExpectSame(Raised(WithComment(Records(records))), raised);
    EXPECT_EQ(classes_.Count(), count);
  }
}

TEST_F(ResponsePathTest, UnreadableFieldsRaiseAsOnTheDocumentPath) {
  const std::string bad = Records(std::string(kTop) +
                                  "<ClassRet><Name>B</Name><FullName>B</FullName>"
                                  "<Sublevel>99999</Sublevel></ClassRet>" +
                                  kSub);
  AutomationError raised = Raised(bad);
  EXPECT_EQ(raised.Number(), 6);
  EXPECT_EQ(raised.Description(), "Overflow");
  ExpectSame(Raised(WithComment(bad)), raised);
  ExpectFiledAsUnreadable(Truncated(bad));
}

TEST_F(ResponsePathTest, Status1LoadsNothingAndFilesNoError) {
  GetAll(Records(std::string(kTop) + kSub));
  const std::string none =
      "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><ClassQueryRs requestID=\"1\" "
      "statusCode=\"1\" statusSeverity=\"Info\" statusMessage=\"A query request did not find "
      "a matching object in QuickBooks\"";
  EXPECT_TRUE(GetAll(none + "/></QBXMLMsgsRs></QBXML>").empty());
  EXPECT_TRUE(GetAll(none + ">\r\n</ClassQueryRs></QBXMLMsgsRs></QBXML>").empty());
}

}  // namespace
}  // namespace response_reader_test
}  // namespace brennock::testing

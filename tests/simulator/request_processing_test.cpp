#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include "brennock/errors/automation_error.h"
#include "simulator/simulator_processor.h"
#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

using RequestProcessingTest = SimulatorTest;

constexpr int32_t kParseErrorNumber = static_cast<int32_t>(0x80040400u);

int32_t ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const AutomationError& e) {
    return e.Number();
  }
  return 0;
}

TEST_F(RequestProcessingTest, TextThatIsNotXmlFailsToParse) {
  try {
    processor_->ProcessRequest(ticket_, "this is not XML");
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), kParseErrorNumber);
    EXPECT_EQ(e.Description(),
              "QuickBooks found an error when parsing the provided XML text stream.");
  }
  EXPECT_EQ(ErrorOf([&] { processor_->ProcessRequest(ticket_, "<Other/>"); }), kParseErrorNumber);
}

TEST_F(RequestProcessingTest, EntitiesOfTheRequestsOwnFailToParseAndChangeNothing) {
  auto classNames = [&] {
    std::set<std::string> names;
    for (auto ret : First("<ClassQueryRq/>").children("ClassRet"))
      names.insert(ret.child_value("Name"));
    return names;
  };
  const std::set<std::string> before = classNames();
  const std::string add = "<ClassAddRq><ClassAdd><Name>&lol9;</Name></ClassAdd></ClassAddRq>";
  const std::string declared =
      "<?xml version=\"1.0\" ?><!DOCTYPE QBXML [<!ENTITY lol \"x\">]><QBXML>"
      "<QBXMLMsgsRq onError=\"stopOnError\"><ClassAddRq><ClassAdd><Name>&lol;</Name></ClassAdd>"
      "</ClassAddRq></QBXMLMsgsRq></QBXML>";
  // Refused by the simulator's own parser, with or without the schema of strict mode.
  for (bool strict : {true, false}) {
    if (!strict) unsetenv("BRENNOCK_QBXML_SCHEMA");
    EXPECT_EQ(ErrorOf([&] { processor_->ProcessRequest(ticket_, declared); }), kParseErrorNumber);
    EXPECT_EQ(ErrorOf([&] { processor_->ProcessRequest(ticket_, Envelope(add)); }),
              kParseErrorNumber);
    EXPECT_EQ(ErrorOf([&] {
                processor_->ProcessRequest(
                    ticket_, Envelope("<ClassAddRq><ClassAdd><Name>A & B</Name></ClassAdd>"
                                      "</ClassAddRq>"));
              }),
              kParseErrorNumber);
  }
  EXPECT_EQ(classNames(), before);
  // The same text escaped is an ordinary name.
  auto rs = First("<ClassAddRq><ClassAdd><Name>&amp;lol9; &#64;</Name></ClassAdd></ClassAddRq>");
  ASSERT_EQ(Code(rs), 0);
  EXPECT_STREQ(rs.child("ClassRet").child_value("Name"), "&lol9; @");
}

TEST_F(RequestProcessingTest, AcceptsBothHeaderFormsAndLatin1) {
  std::string doctype =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD "
      "QBXML QBD 2.0//EN' ><QBXML><QBXMLMsgsRq onError = \"continueOnError\"><ClassAddRq "
      "requestID = \"1\"><ClassAdd><Name>Caf\xe9 &#64; Home</Name></ClassAdd></ClassAddRq>"
      "</QBXMLMsgsRq></QBXML>";
  auto rs = Responses(processor_->ProcessRequest(ticket_, doctype)).first_child();
  ASSERT_EQ(Code(rs), 0);
  EXPECT_STREQ(rs.child("ClassRet").child_value("Name"), "Caf\xc3\xa9 @ Home");
  std::string old_form =
      "<?xml version=\"1.0\" ?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.0//EN' >"
      "<QBXML><QBXMLMsgsRq onError = \"continueOnError\"><HostQueryRq requestID = \"1\">"
      "</HostQueryRq></QBXMLMsgsRq></QBXML>";
  EXPECT_EQ(Code(Responses(processor_->ProcessRequest(ticket_, old_form)).first_child()), 0);
}

// The library's header declares ISO-8859-1 while its text is UTF-8 (what is not in Windows-1252
// goes unescaped): the text is read as the characters it holds, in strict mode and without.
TEST_F(RequestProcessingTest, Utf8TextIsReadAsItsCharactersWhateverTheDeclaration) {
  const std::string head =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD "
      "QBXML QBD 16.0//EN' ><QBXML><QBXMLMsgsRq onError = \"continueOnError\">";
  int n = 0;
  for (bool strict : {true, false}) {
    if (!strict) unsetenv("BRENNOCK_QBXML_SCHEMA");
    for (std::string name : {"Zo\u00EB", "\u65E5\u672C\u8A9E", "Zo&#235; \U0001F600"}) {
      name += " " + std::to_string(++n);
      auto rs = Responses(processor_->ProcessRequest(
                              ticket_, head + "<ClassAddRq><ClassAdd><Name>" + name +
                                           "</Name></ClassAdd></ClassAddRq></QBXMLMsgsRq></QBXML>"))
                    .first_child();
      ASSERT_EQ(Code(rs), 0) << name;
      if (name.find("&#235;") != std::string::npos) name.replace(name.find("&#235;"), 6, "\u00EB");
      EXPECT_EQ(rs.child("ClassRet").child_value("Name"), name);
    }
  }
}

// A name QuickBooks' parser cannot take refuses the whole document; the list stays readable.
TEST_F(RequestProcessingTest, TextThatIsNoXmlCharacterFailsToParseAndChangesNothing) {
  const std::string before = Send("<CustomerQueryRq/>");
  for (bool strict : {true, false}) {
    if (!strict) unsetenv("BRENNOCK_QBXML_SCHEMA");
    for (std::string name :
         {"bad \xFF\xFE bytes", "half \xED\xA0\x80 pair", "&#xD800;", "&#x110000;", "&#x1B;",
          "a&#1;b", "cut&#0;here", "raw \x1B", "&#;", "&#x12G;"}) {
      EXPECT_EQ(ErrorOf([&] {
                  processor_->ProcessRequest(ticket_,
                                             Envelope("<CustomerAddRq><CustomerAdd><Name>" + name +
                                                      "</Name></CustomerAdd></CustomerAddRq>"));
                }),
                kParseErrorNumber)
          << name;
    }
  }
  EXPECT_EQ(Send("<CustomerQueryRq/>"), before);
}

// A value written in pieces (CDATA sections, comments between) is stored whole.
TEST_F(RequestProcessingTest, ValuesWrittenInPiecesAreKeptWhole) {
  struct Case {
    std::string written, stored;
  } cases[] = {
      {"ab<![CDATA[cd]]>ef", "abcdef"},
      {"a<!-- one -->b <!--two--> c", "ab  c"},
      {"<![CDATA[<x> & ]]><?pi?>y", "<x> & y"},
  };
  for (bool strict : {true, false}) {
    if (!strict) unsetenv("BRENNOCK_QBXML_SCHEMA");
    for (const Case& c : cases) {
      const std::string prefix = strict ? "s" : "l";  // one name per mode
      auto rs = First("<ClassAddRq><ClassAdd><Name>" + prefix + c.written +
                      "</Name></ClassAdd></ClassAddRq>");
      ASSERT_EQ(Code(rs), 0) << c.written;
      EXPECT_EQ(rs.child("ClassRet").child_value("Name"), prefix + c.stored) << c.written;
    }
  }
}

TEST_F(RequestProcessingTest, StrictModeRefusesInvalidRequests) {
  if (!strict_) GTEST_SKIP() << "qbXML schema not found";
  // Elements out of schema order are refused as QuickBooks refuses them.
  EXPECT_EQ(ErrorOf([&] {
              processor_->ProcessRequest(
                  ticket_, Envelope("<CustomerAddRq><CustomerAdd><BillAddress><City>X</City>"
                                    "<Addr1>1</Addr1></BillAddress><Name>Z</Name></CustomerAdd>"
                                    "</CustomerAddRq>"));
            }),
            kParseErrorNumber);
}

TEST_F(RequestProcessingTest, LenientModeWritesAggregatesInSchemaOrder) {
  unsetenv("BRENNOCK_QBXML_SCHEMA");
  auto rs = Responses(processor_->ProcessRequest(
      ticket_, Envelope("<CustomerAddRq><CustomerAdd><Name>Zed</Name><BillAddress><City>X"
                        "</City><Addr1>1 Main</Addr1></BillAddress></CustomerAdd>"
                        "</CustomerAddRq>")));
  auto address = rs.first_child().child("CustomerRet").child("BillAddress");
  EXPECT_STREQ(address.first_child().name(), "Addr1");
  EXPECT_STREQ(address.last_child().name(), "City");
}

TEST_F(RequestProcessingTest, OnErrorDecidesWhetherLaterRequestsRun) {
  std::string body =
      "<ClassAddRq requestID=\"1\"><ClassAdd><Name>First</Name></ClassAdd></ClassAddRq>"
      "<ClassAddRq requestID=\"2\"><ClassAdd><Name>Retail</Name></ClassAdd></ClassAddRq>"
      "<ClassAddRq requestID=\"3\"><ClassAdd><Name>Third</Name></ClassAdd></ClassAddRq>";
  auto stopped = Responses(Send(body, "stopOnError"));
  EXPECT_EQ(Code(stopped.child("ClassAddRs")), 0);
  EXPECT_EQ(Code(stopped.last_child()), 3100);
  EXPECT_STREQ(stopped.last_child().attribute("requestID").value(), "2");
  // The request that succeeded before the stop stays.
  EXPECT_EQ(Code(First("<ClassQueryRq><FullName>First</FullName></ClassQueryRq>")), 0);
  EXPECT_EQ(Code(First("<ClassQueryRq><FullName>Third</FullName></ClassQueryRq>")), 500);

  std::string again =
      "<ClassAddRq requestID=\"1\"><ClassAdd><Name>Retail</Name></ClassAdd></ClassAddRq>"
      "<ClassAddRq requestID=\"2\"><ClassAdd><Name>Third</Name></ClassAdd></ClassAddRq>";
  auto continued = Responses(Send(again, "continueOnError"));
  EXPECT_EQ(Code(continued.first_child()), 3100);
  EXPECT_EQ(Code(continued.last_child()), 0);
}

TEST_F(RequestProcessingTest, ResponseAttributesComeInQuickBooksOrder) {
  std::string text = Send(
      "<VendorQueryRq requestID=\"9\" metaData=\"MetaDataAndResponseData\" "
      "iterator=\"Start\"><MaxReturned>1</MaxReturned></VendorQueryRq>");
  auto start = text.find("<VendorQueryRs ");
  auto end = text.find('>', start);
  std::string tag = text.substr(start, end - start);
  EXPECT_EQ(tag.substr(0, tag.find("iteratorID")),
            "<VendorQueryRs requestID=\"9\" statusCode=\"0\" statusSeverity=\"Info\" "
            "statusMessage=\"Status OK\" retCount=\"9\" iteratorRemainingCount=\"8\" ");
}

TEST_F(RequestProcessingTest, IteratorReturnsEachCustomerExactlyOnce) {
  std::string adds;
  for (int i = 0; i < 1000; ++i)
    adds += "<CustomerAddRq><CustomerAdd><Name>Bulk " + std::to_string(i) +
            "</Name></CustomerAdd></CustomerAddRq>";
  ASSERT_EQ(Code(Responses(Send(adds)).last_child()), 0);
  std::set<std::string> seen;
  auto rs = First(
      "<CustomerQueryRq iterator=\"Start\"><MaxReturned>100</MaxReturned>"
      "<NameFilter><MatchCriterion>StartsWith</MatchCriterion><Name>Bulk</Name>"
      "</NameFilter></CustomerQueryRq>");
  std::string id = rs.attribute("iteratorID").value();
  int pages = 0;
  while (true) {
    ++pages;
    for (auto c : rs.children("CustomerRet"))
      EXPECT_TRUE(seen.insert(c.child_value("ListID")).second);
    if (rs.attribute("iteratorRemainingCount").as_int() == 0) break;
    ASSERT_LT(pages, 20);
    // An iterator belongs to its query: another kind of query may not continue it.
    if (pages == 1) {
      EXPECT_EQ(Code(First("<VendorQueryRq iterator=\"Continue\" iteratorID=\"" + id +
                           "\"><MaxReturned>100</MaxReturned></VendorQueryRq>")),
                3391);
    }
    rs = First("<CustomerQueryRq iterator=\"Continue\" iteratorID=\"" + id +
               "\"><MaxReturned>100</MaxReturned></CustomerQueryRq>");
    ASSERT_EQ(Code(rs), 0);
  }
  EXPECT_EQ(pages, 10);
  EXPECT_EQ(seen.size(), 1000u);
  auto finished = First("<CustomerQueryRq iterator=\"Continue\" iteratorID=\"" + id +
                        "\"><MaxReturned>100</MaxReturned></CustomerQueryRq>");
  EXPECT_EQ(Code(finished), 3391);
}

TEST_F(RequestProcessingTest, IteratorsExpireAfterTheirTimeLimit) {
  const std::string start =
      "<VendorQueryRq iterator=\"Start\"><MaxReturned>2</MaxReturned></VendorQueryRq>";
  auto next = [&](const std::string& id) {
    return Code(First("<VendorQueryRq iterator=\"Continue\" iteratorID=\"" + id +
                      "\"><MaxReturned>2</MaxReturned></VendorQueryRq>"));
  };
  struct Case {
    const char* setting;  // BRENNOCK_SIMULATOR_ITERATOR_SECONDS; null: the default
    int64_t within, past;
  };
  for (const Case& c : {Case{nullptr, 30 * 60 - 1, 1}, Case{"90", 89, 1}, Case{"junk", 1799, 1}}) {
    if (c.setting)
      setenv("BRENNOCK_SIMULATOR_ITERATOR_SECONDS", c.setting, 1);
    else
      unsetenv("BRENNOCK_SIMULATOR_ITERATOR_SECONDS");
    std::string id = First(start).attribute("iteratorID").value();
    simulator::AdvanceClock(c.within);
    EXPECT_EQ(next(id), 0) << (c.setting ? c.setting : "default");
    simulator::AdvanceClock(c.past);
    EXPECT_EQ(next(id), 3391) << (c.setting ? c.setting : "default");
    auto expired =
        Responses(Send("<VendorQueryRq iterator=\"Continue\" iteratorID=\"" + id + "\"/>"))
            .first_child();
    EXPECT_STREQ(
        expired.attribute("statusMessage").value(),
        ("The iterator \"" + id + "\" is not valid: it is unknown, finished or has expired.")
            .c_str());
  }
  unsetenv("BRENNOCK_SIMULATOR_ITERATOR_SECONDS");
}

TEST_F(RequestProcessingTest, MetaDataOnlyCountsWithoutRecords) {
  auto rs = First("<AccountQueryRq metaData=\"MetaDataOnly\"/>");
  EXPECT_EQ(rs.attribute("retCount").as_int(), 52);  // the sample's chart of accounts
  EXPECT_FALSE(rs.first_child());
}

TEST_F(RequestProcessingTest, ReadOnlySessionRefusesWrites) {
  auto reader = simulator::CreateSimulatorProcessor();
  reader->OpenConnection("", "reader");
  reader->AuthPreferences()->PutIsReadOnly(true);
  std::string ticket = reader->BeginSession(path_, qbOpenModeMultiUser);
  EXPECT_TRUE(reader->AuthPreferences()->WasAuthPreferencesObeyed());
  auto rs = Responses(reader->ProcessRequest(
                          ticket, Envelope("<ClassAddRq><ClassAdd><Name>No</Name></ClassAdd>"
                                           "</ClassAddRq><ClassQueryRq/>",
                                           "continueOnError")))
                .first_child();
  EXPECT_EQ(Code(rs), 3260);
  EXPECT_STREQ(rs.attribute("statusMessage").value(),
               "Insufficient permission level to perform this action.");
  EXPECT_EQ(Code(rs.next_sibling()), 0);
}

TEST_F(RequestProcessingTest, FullDiskRefusesTheChangeAndKeepsTheFileUsable) {
  // Room for a few more pages than the file has now (the database header gives its page size
  // and count), so the first adds fit whatever the sample happened to leave free.
  std::ifstream file(path_, std::ios::binary);
  unsigned char header[32] = {};
  file.read(reinterpret_cast<char*>(header), sizeof header);
  const uint32_t pages = (uint32_t{header[28]} << 24) | (uint32_t{header[29]} << 16) |
                         (uint32_t{header[30]} << 8) | header[31];
  ASSERT_GT(pages, 0u);
  setenv("BRENNOCK_SIMULATOR_MAX_PAGES", std::to_string(pages + 3).c_str(), 1);
  std::string capped = processor_->BeginSession(path_, qbOpenModeDontCare);
  unsetenv("BRENNOCK_SIMULATOR_MAX_PAGES");
  auto add = [&](int n) {
    return Envelope("<ClassAddRq><ClassAdd><Name>Filler " + std::to_string(n) +
                    " abcdefghijklmnopq</Name></ClassAdd></ClassAddRq>");
  };
  int n = 0;
  std::string code, severity, message;
  for (; n < 5000 && code.empty(); ++n) {
    auto rs = Responses(processor_->ProcessRequest(capped, add(n))).first_child();
    if (Code(rs) != 0) {
      code = rs.attribute("statusCode").value();
      severity = rs.attribute("statusSeverity").value();
      message = rs.attribute("statusMessage").value();
    }
  }
  ASSERT_GT(n, 1) << "the first add already failed: " << message;
  EXPECT_EQ(code, "3183");
  EXPECT_EQ(severity, "Error");
  EXPECT_EQ(message,
            "There is not enough disk space to save the changes to the company file. Nothing was "
            "saved.");
  // The refused record is not there, the ones before are, and the full file still answers.
  auto query = [&](const std::string& ticket, int k) {
    return Code(
        Responses(processor_->ProcessRequest(
                      ticket, Envelope("<ClassQueryRq><FullName>Filler " + std::to_string(k) +
                                       " abcdefghijklmnopq</FullName></ClassQueryRq>")))
            .first_child());
  };
  EXPECT_EQ(query(capped, n - 1), 500);
  EXPECT_EQ(query(capped, n - 2), 0);
  // Given room again, the same change goes in.
  EXPECT_EQ(Code(Responses(processor_->ProcessRequest(ticket_, add(n - 1))).first_child()), 0);
  EXPECT_EQ(query(capped, n - 1), 0);
}

TEST_F(RequestProcessingTest, ReadOnlyCompanyFileAnswersQueriesAndRefusesChanges) {
  namespace fs = std::filesystem;
  // Permission bits alone do not stop root: the simulator opens such a file read-only.
  fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::string ticket = processor_->BeginSession(path_, qbOpenModeDontCare);
  auto rs = Responses(processor_->ProcessRequest(
                          ticket, Envelope("<ClassAddRq><ClassAdd><Name>Blocked</Name></ClassAdd>"
                                           "</ClassAddRq><ClassQueryRq><FullName>Retail"
                                           "</FullName></ClassQueryRq>",
                                           "continueOnError")))
                .first_child();
  EXPECT_EQ(Code(rs), 3262);
  EXPECT_STREQ(rs.attribute("statusSeverity").value(), "Error");
  EXPECT_STREQ(rs.attribute("statusMessage").value(),
               "The company file is read-only. QuickBooks cannot save changes to it.");
  EXPECT_EQ(Code(rs.next_sibling()), 0);
  processor_->EndSession(ticket);
  fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Code(First("<ClassQueryRq><FullName>Blocked</FullName></ClassQueryRq>")), 500);
  EXPECT_EQ(Code(First("<ClassAddRq><ClassAdd><Name>Blocked</Name></ClassAdd></ClassAddRq>")), 0);
}

TEST_F(RequestProcessingTest, RequestsOverTheSizeLimitFailToParse) {
  const std::string request = Envelope("<HostQueryRq/>");
  auto send = [&] { processor_->ProcessRequest(ticket_, request); };
  setenv("BRENNOCK_SIMULATOR_MAX_REQUEST_BYTES", std::to_string(request.size()).c_str(), 1);
  EXPECT_EQ(ErrorOf(send), 0);
  setenv("BRENNOCK_SIMULATOR_MAX_REQUEST_BYTES", std::to_string(request.size() - 1).c_str(), 1);
  EXPECT_EQ(ErrorOf(send), kParseErrorNumber);
  unsetenv("BRENNOCK_SIMULATOR_MAX_REQUEST_BYTES");
}

TEST_F(RequestProcessingTest, SessionsAndTicketsAreChecked) {
  EXPECT_EQ(processor_->GetCurrentCompanyFileName(ticket_), path_);
  std::string second = processor_->BeginSession(path_, qbOpenModeMultiUser);
  EXPECT_NE(second, ticket_);
  Send("<ClassAddRq><ClassAdd><Name>Shared</Name></ClassAdd></ClassAddRq>");
  auto seen = Responses(processor_->ProcessRequest(
      second, Envelope("<ClassQueryRq><FullName>Shared</FullName></ClassQueryRq>")));
  EXPECT_EQ(Code(seen.first_child()), 0);  // committed data is visible to other connections
  processor_->EndSession(second);
  constexpr int32_t kInvalidTicket = static_cast<int32_t>(0x8004040Du);
  EXPECT_EQ(ErrorOf([&] { processor_->ProcessRequest(second, Envelope("<HostQueryRq/>")); }),
            kInvalidTicket);
  EXPECT_EQ(ErrorOf([&] { processor_->ProcessRequest("bogus", Envelope("<HostQueryRq/>")); }),
            kInvalidTicket);
}

TEST_F(RequestProcessingTest, BeginSessionRefusesWhatIsNotACompany) {
  std::string text_file = (folder_ / "notes.qbw").string();
  { std::ofstream(text_file) << "just some text"; }
  EXPECT_EQ(ErrorOf([&] { processor_->BeginSession(text_file, qbOpenModeDontCare); }),
            static_cast<int32_t>(0x80040408u));
  EXPECT_EQ(ErrorOf([&] {
              processor_->BeginSession((folder_ / "missing.qbw").string(), qbOpenModeDontCare);
            }),
            static_cast<int32_t>(0x80040403u));
  unsetenv("BRENNOCK_COMPANY");
  EXPECT_EQ(ErrorOf([&] { processor_->BeginSession("", qbOpenModeDontCare); }),
            static_cast<int32_t>(0x80040416u));
  setenv("BRENNOCK_COMPANY", path_.c_str(), 1);
  std::string open = processor_->BeginSession("", qbOpenModeDontCare);
  EXPECT_EQ(processor_->GetCurrentCompanyFileName(open), path_);
  unsetenv("BRENNOCK_COMPANY");
}

TEST_F(RequestProcessingTest, UnsupportedRequestsAndSubscriptionsGetAStatus) {
  auto rs = First("<TransactionQueryRq requestID=\"4\"/>");
  EXPECT_EQ(Code(rs), 3250);
  std::string sub = processor_->ProcessSubscription(
      "<?xml version=\"1.0\" ?><?qbxml version=\"16.0\"?><QBXML><QBXMLSubscriptionMsgsRq>"
      "<DataEventSubscriptionQueryRq requestID=\"1\"><SubscriberID>"
      "{11111111-2222-3333-4444-555555555555}</SubscriberID></DataEventSubscriptionQueryRq></"
      "QBXMLSubscriptionMsgsRq></QBXML>");
  EXPECT_NE(sub.find("<DataEventSubscriptionQueryRs requestID=\"1\" statusCode=\"1\""),
            std::string::npos);
}

TEST_F(RequestProcessingTest, IntuitSampleQueriesAreAnswered) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  // One sample asks for a customer and job by name; the company has them.
  Send(
      "<CustomerAddRq><CustomerAdd><Name>Joe Customer</Name></CustomerAdd></CustomerAddRq>"
      "<CustomerAddRq><CustomerAdd><Name>Equipment Installation</Name><ParentRef><FullName>"
      "Joe Customer</FullName></ParentRef></CustomerAdd></CustomerAddRq>");
  for (auto& entry :
       std::filesystem::recursive_directory_iterator(*QbxmlDir() / "samples/intuit/requests")) {
    std::string text = ReadQbxmlFile(std::filesystem::relative(entry.path(), *QbxmlDir()));
    pugi::xml_document request;
    if (!entry.is_regular_file() || !request.load_string(text.c_str())) continue;
    auto msgs = request.child("QBXML").child("QBXMLMsgsRq");
    bool list_or_company = msgs.first_child();
    for (auto rq : msgs.children()) {
      std::string name = rq.name();
      bool query = name.find("QueryRq") != std::string::npos;
      bool known = name.find("Report") == std::string::npos && name != "InvoiceQueryRq" &&
                   name != "BillQueryRq" && name != "CheckQueryRq" &&
                   name != "ReceivePaymentQueryRq" && name != "JournalEntryQueryRq" &&
                   name != "ReceivePaymentToDepositQueryRq";
      list_or_company = list_or_company && query && known;
    }
    if (!list_or_company) continue;
    SCOPED_TRACE(entry.path().filename().string());
    auto rs = Responses(processor_->ProcessRequest(ticket_, text));
    for (auto r : rs.children())
      EXPECT_TRUE(Code(r) == 0 || Code(r) == 1) << r.name() << " " << Code(r);
  }
}

}  // namespace
}  // namespace brennock::testing

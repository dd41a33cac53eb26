// The built `brennock` program, run as a user runs it: exit statuses, standard output and standard
// error byte for byte. Where the qbXML schemas are present the simulator runs in strict mode, so
// every request the command writes is also checked against the schema.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "brennock/version.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/qbxml_samples.h"

namespace brennock::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_cli_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    unsetenv("BRENNOCK_COMPANY");
    unsetenv("BRENNOCK_PROCESSOR");
    if (auto dir = QbxmlDir())
      setenv("BRENNOCK_QBXML_SCHEMA", (*dir / "xsd/v16/qbxmlops160.xsd").c_str(), 1);
    company_ = (folder_ / "company.qbw").string();
  }
  void TearDown() override {
    unsetenv("BRENNOCK_QBXML_SCHEMA");
    unsetenv("BRENNOCK_COMPANY");
    std::filesystem::remove_all(folder_);
  }

  CliResult Run(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunCli(folder_, args, input);
  }
  // Runs with --company of this test's file.
  CliResult RunOn(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.end(), {"--company", company_});
    return Run(args, input);
  }
  void Create(std::vector<std::string> extra = {"--sample"}) {
    std::vector<std::string> args = {"company", "create", company_, "--force"};
    args.insert(args.end(), extra.begin(), extra.end());
    CliResult created = Run(args);
    ASSERT_EQ(created.status, 0) << created.err;
  }

  std::filesystem::path folder_;
  std::string company_;
};

std::vector<std::string> Lines(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  for (size_t start = 0, at; (at = text.find(end, start)) != std::string::npos;
       start = at + end.size())
    lines.push_back(text.substr(start, at - start));
  return lines;
}

TEST_F(CliTest, CompanyCreateRefusesToReplaceAFileWithoutForce) {
  CliResult empty = Run({"company", "create", company_});
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.err, "Created " + company_ + " (US edition)\n");
  EXPECT_EQ(RunOn({"list", "class"}).out, "FullName  IsActive\n--------  --------\n");

  CliResult again = Run({"company", "create", company_, "--sample"});
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.err, "brennock: " + company_ + " already exists; add --force to replace it\n");

  CliResult forced = Run({"company", "create", company_, "--sample", "--force", "-q"});
  EXPECT_EQ(forced.status, 0);
  EXPECT_EQ(forced.err, "") << "--quiet says nothing";
  EXPECT_THAT(RunOn({"list", "class"}).out, HasSubstr("Wholesale:East"));
  for (const auto& entry : std::filesystem::directory_iterator(folder_))
    EXPECT_THAT(entry.path().string(), ::testing::Not(HasSubstr(".creating-")))
        << "the file is built aside and renamed";
}

TEST_F(CliTest, ListAsJsonGivesWholeRecordsOrChosenFields) {
  Create({"--sample", "--invoices", "0"});  // customers who owe nothing
  CliResult whole = RunOn({"list", "class", "--format", "json"});
  ASSERT_EQ(whole.status, 0) << whole.err;
  nlohmann::json classes = nlohmann::json::parse(whole.out);
  ASSERT_EQ(classes.size(), 3u);
  EXPECT_EQ(classes[0]["Name"], "Retail");
  EXPECT_EQ(classes[1]["Name"], "Wholesale");
  EXPECT_EQ(classes[2]["FullName"], "Wholesale:East");
  EXPECT_EQ(classes[2]["ParentRef"]["FullName"], "Wholesale");
  EXPECT_EQ(classes[2]["Sublevel"], 1);

  CliResult chosen = RunOn({"list", "class", "--format", "json", "--fields", "name,ParentRef"});
  EXPECT_EQ(nlohmann::json::parse(chosen.out)[2],
            nlohmann::json({{"name", "East"}, {"ParentRef", "Wholesale"}}))
      << "fields match without regard to case; a reference reads as its full name";

  auto items = nlohmann::ordered_json::parse(RunOn({"list", "item", "--format", "json"}).out);
  EXPECT_EQ(items[0].begin().key(), "Type") << "mixed lists say each record's kind first";
  EXPECT_EQ(items[0]["Type"], "ItemInventory");
  nlohmann::json group = items[16];
  ASSERT_EQ(group["Name"], "Starter Pack");
  ASSERT_EQ(group["ItemGroupLine"].size(), 3u) << "repeated elements become one array";
  EXPECT_EQ(group["ItemGroupLine"][1]["ItemRef"]["FullName"], "Installation");

  auto customer = nlohmann::json::parse(RunOn({"list", "customer", "--format", "json"}).out)[0];
  EXPECT_EQ(customer["IsActive"], true);
  EXPECT_EQ(customer["Sublevel"], 0);
  EXPECT_EQ(customer["Balance"], "0.00") << "amounts stay exact decimal text";
  EXPECT_EQ(customer["BillAddress"]["City"], "Redwood City");
}

TEST_F(CliTest, LongListsArriveInPagesWithoutLossOrRepeats) {
  Create({"--customers", "700", "--seed", "3"});  // 700 customers and 233 jobs
  std::string trace = (folder_ / "trace.log").string();
  CliResult all =
      RunOn({"--trace", trace, "list", "customer", "--format", "csv", "--fields", "FullName"});
  ASSERT_EQ(all.status, 0) << all.err;
  std::vector<std::string> rows = Lines(all.out, "\r\n");
  ASSERT_EQ(rows.size(), 934u);
  EXPECT_EQ(rows[0], "FullName");
  EXPECT_EQ(std::set<std::string>(rows.begin() + 1, rows.end()).size(), 933u);
  std::string log = ReadWhole(trace);
  EXPECT_THAT(log,
              HasSubstr("<CustomerQueryRq requestID=\"1\" iterator=\"Start\"><MaxReturned>500"));
  EXPECT_THAT(log, HasSubstr("iterator=\"Continue\" iteratorID=\""));

  CliResult capped = RunOn({"list", "customer", "--format", "json", "--max", "600"});
  nlohmann::json capped_rows = nlohmann::json::parse(capped.out);
  ASSERT_EQ(capped_rows.size(), 600u);
  EXPECT_EQ("\"" + capped_rows[599]["FullName"].get<std::string>() + "\"", rows[600])
      << "the same order in both, CSV quoting the comma";

  std::string prefix = capped_rows[0]["FullName"].get<std::string>().substr(0, 5);
  CliResult matched = RunOn({"list", "customer", "--starts-with", prefix, "--format", "csv",
                             "--fields", "FullName", "--active", "--since", "2000-01-01"});
  std::vector<std::string> found = Lines(matched.out, "\r\n");
  ASSERT_GT(found.size(), 2u);
  for (size_t i = 1; i < found.size(); ++i) EXPECT_THAT(found[i], StartsWith("\"" + prefix));
}

TEST_F(CliTest, EveryListTypeAnswersItsFilteredQuery) {
  Create();
  std::string known = Run({"list", "?"}).err;
  known = known.substr(known.find("known types: ") + 13);
  known = known.substr(0, known.find('\n'));
  int types = 0;
  for (size_t start = 0; start < known.size(); ++types) {
    size_t comma = std::min(known.find(", ", start), known.size());
    std::string type = known.substr(start, comma - start);
    start = comma + 2;
    // Every filter the query takes at once; the template query takes none.
    std::vector<std::string> args = {"list", type, "--max", "2", "--format", "json"};
    if (type != "template") args.insert(args.end(), {"--active", "--since", "2000-01-01T00:00:00"});
    CliResult listed = RunOn(args);
    EXPECT_EQ(listed.status, 0) << type << ": " << listed.err;
    nlohmann::json records = nlohmann::json::parse(listed.out, nullptr, false);
    EXPECT_TRUE(records.is_array() && records.size() <= 2) << type << ": " << listed.out;
  }
  EXPECT_EQ(types, 37);  // tax codes have no query in the US schema
  EXPECT_EQ(Run({"list", "taxcode"}).status, 64);
  EXPECT_EQ(RunOn({"list", "class", "--starts-with", "Zz", "--format", "json"}).out, "[]\n");
}

TEST_F(CliTest, GlobalOptionsReachTheConnection) {
  Create();
  std::string trace = (folder_ / "trace.log").string();
  CliResult versioned = RunOn({"list", "class", "--qbxml-version", "13.0", "--trace", trace,
                               "--processor", "Brennock.Simulator"});
  EXPECT_EQ(versioned.status, 0) << versioned.err;
  std::string log = ReadWhole(trace);
  EXPECT_THAT(log, HasSubstr("<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 13.0//EN' >"
                             "<QBXML><QBXMLMsgsRq onError = \"continueOnError\"><ClassQueryRq"));
  EXPECT_THAT(log, HasSubstr("<HostQueryRq")) << "the connect's own queries are traced too";

  setenv("BRENNOCK_PROCESSOR", "No.Such.Processor", 1);
  EXPECT_EQ(RunOn({"list", "class"}).status, 2);
  unsetenv("BRENNOCK_PROCESSOR");
}

TEST_F(CliTest, SendPrintsTheResponseAndFailsOnAnErrorStatus) {
  Create();
  CliResult malformed = RunOn({"send", "-"}, "<QBXML><oops");
  EXPECT_EQ(malformed.status, 2);
  EXPECT_EQ(malformed.out, "");
  EXPECT_EQ(malformed.err,
            "brennock: error 0x80040400 from XMLBldr: QuickBooks found an error when parsing the "
            "provided XML text stream.\n");

  const std::string head =
      "<?xml version=\"1.0\"?><?qbxml version=\"16.0\"?><QBXML><QBXMLMsgsRq "
      "onError=\"stopOnError\">";
  const std::string tail = "</QBXMLMsgsRq></QBXML>";
  std::string request = folder_ / "query.xml";
  std::ofstream(request) << head
                         << "<ClassQueryRq requestID=\"1\"><FullName>Retail</FullName>"
                            "</ClassQueryRq>"
                         << tail;
  CliResult query = RunOn({"send", request});
  EXPECT_EQ(query.status, 0) << query.err;
  EXPECT_THAT(query.out, HasSubstr("<FullName>Retail</FullName>"));

  CliResult refused = RunOn(
      {"send", "-"},
      head + "<ClassAddRq requestID=\"7\"><ClassAdd><Name>Retail</Name></ClassAdd></ClassAddRq>" +
          tail);
  EXPECT_EQ(refused.status, 1);
  EXPECT_THAT(refused.out, HasSubstr("statusSeverity=\"Error\""));
  EXPECT_EQ(refused.err,
            "brennock: ClassAddRs (requestID 7): status 3100: The name \"Retail\" of the list "
            "element is already in use.\n");

  CliResult missing = RunOn({"send", (folder_ / "none.xml").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_THAT(missing.err, StartsWith("brennock: cannot read "));
}

TEST_F(CliTest, UsageErrorsExit64WithAHintAndNoOutput) {
  CliResult type = Run({"list", "widgets"});
  EXPECT_EQ(type.status, 64);
  EXPECT_EQ(type.out, "");
  EXPECT_THAT(type.err, StartsWith("brennock: unknown list type 'widgets'; known types: account, "
                                   "class, currency, customer,"));
  EXPECT_THAT(type.err, EndsWith("vendortype\nRun 'brennock list --help' for usage.\n"));

  EXPECT_EQ(Run({"frobnicate"}).err,
            "brennock: unknown command 'frobnicate'\nRun 'brennock --help' for usage.\n");
  EXPECT_EQ(Run({"list", "class", "--since", "yesterday"}).status, 64);
  EXPECT_EQ(Run({"list", "class", "--format", "xml"}).status, 64);
  EXPECT_EQ(Run({"list", "class", "--name-match", "a", "--starts-with", "b"}).status, 64);
  EXPECT_EQ(Run({"list", "template", "--active"}).err,
            "brennock: the template list takes no filters\nRun 'brennock list --help' for "
            "usage.\n");
  EXPECT_EQ(Run({"add", "shipmethod", "Pigeon", "--parent", "Birds"}).status, 64);
  EXPECT_EQ(Run({"company", "create", company_, "--edition", "FR"}).status, 64);
}

TEST_F(CliTest, AutomationErrorsShowNumberSourceAndDescription) {
  CliResult missing = Run({"list", "class", "--company", (folder_ / "none.qbw").string()});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err,
            "brennock: error 0x80040403 from Brennock: Could not open the specified QuickBooks "
            "company data file.\n");

  CliResult processor = Run({"info", "--processor", "No.Such.Processor"});
  EXPECT_EQ(processor.status, 2);
  EXPECT_EQ(processor.err,
            "brennock: error 0x80040000 from brennock: QuickBooks is not installed.\n");
}

TEST_F(CliTest, InfoShowsProductEditionCompanyAndPreferences) {
  Create();
  setenv("BRENNOCK_COMPANY", company_.c_str(), 1);  // the default for --company
  CliResult text = Run({"info"});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_THAT(text.out, StartsWith("Product:        QuickBooks Enterprise Solutions 16.0 (release "
                                   "26.0)\nEdition:        US\nqbXML versions: 1.0, 1.1, 2.0,"));
  EXPECT_THAT(text.out, HasSubstr("\nCompany name:   Brennock Sample Company\n"));
  EXPECT_THAT(text.out, HasSubstr("\n  Address.City: Middlefield\n"));
  EXPECT_THAT(text.out, HasSubstr("\n  AccountingPreferences.IsUsingClassTracking: true\n"));

  Create({"--edition", "ca"});
  nlohmann::json info = nlohmann::json::parse(Run({"info", "--format", "json"}).out);
  EXPECT_EQ(info["edition"], "CA");
  EXPECT_EQ(info["qbxmlVersions"].back(), "CA16.0");
  EXPECT_EQ(info["companyName"], "Brennock Test Company");
  EXPECT_EQ(info["company"]["Address"]["City"], "Middlefield");
}

TEST_F(CliTest, CsvAndTableKeepHostileNamesIntact) {
  Create({});
  ASSERT_EQ(RunOn({"add", "class", "Comma, \"Quote\"\nNew line"}).status, 0);
  ASSERT_EQ(RunOn({"add", "class", "Plain"}).status, 0);
  EXPECT_EQ(RunOn({"list", "class", "--format", "csv", "--fields", "Name,IsActive"}).out,
            "Name,IsActive\r\n\"Comma, \"\"Quote\"\"\nNew line\",true\r\nPlain,true\r\n");
  EXPECT_EQ(RunOn({"list", "class", "--fields", "Name"}).out,
            "Name\n------------------------\nComma, \"Quote\"\\nNew line\nPlain\n");
  auto whole = nlohmann::json::parse(RunOn({"list", "class", "--format", "json"}).out);
  auto chosen = nlohmann::json::parse(
      RunOn({"list", "class", "--format", "json", "--fields", "FullName"}).out);
  EXPECT_EQ(whole[0]["Name"], "Comma, \"Quote\"\nNew line");
  EXPECT_EQ(chosen[0]["FullName"], "Comma, \"Quote\"\nNew line");
  // Columns line up by characters, not bytes.
  ASSERT_EQ(RunOn({"add", "class", "Caf\u00E9"}).status, 0);
  EXPECT_EQ(RunOn({"list", "class", "--fields", "Name,IsActive", "--starts-with", "Caf"}).out,
            "Name  IsActive\n----  --------\nCaf\u00E9  true\n");
  ASSERT_EQ(RunOn({"add", "class", "Tab\tStop"}).status, 0);
  EXPECT_EQ(RunOn({"list", "class", "--fields", "Name", "--starts-with", "Tab"}).out,
            "Name\n---------\nTab\\tStop\n");
}

TEST_F(CliTest, AddAndDeleteGoThroughTheListCollections) {
  Create();
  CliResult added = RunOn({"add", "class", "East2", "--parent", "Wholesale"});
  EXPECT_EQ(added.status, 0) << added.err;
  EXPECT_THAT(added.out, StartsWith("Added class Wholesale:East2 (ListID "));

  CliResult twin = RunOn({"add", "class", "Retail"});
  EXPECT_EQ(twin.status, 2);
  EXPECT_EQ(twin.err,
            "brennock: cannot add class 'Retail':\n  0x800403F9 Name: Name specified already "
            "exists on file\n");
  EXPECT_EQ(RunOn({"add", "class", "X", "--parent", "Nope"}).status, 1);

  EXPECT_EQ(RunOn({"delete", "class", "Wholesale:East2"}).out, "Deleted class Wholesale:East2\n");
  EXPECT_THAT(RunOn({"list", "class"}).out, ::testing::Not(HasSubstr("East2")));
  EXPECT_EQ(RunOn({"delete", "class", "Wholesale:East2"}).status, 1);
  CliResult parent = RunOn({"delete", "class", "Wholesale"});
  EXPECT_EQ(parent.status, 2);
  EXPECT_THAT(parent.err, HasSubstr("This list element has sub-elements and cannot be deleted."));
}

TEST_F(CliTest, AddAndDeleteReachEveryMasterListOfTheRegistry) {
  Create();
  CliResult unknown = Run({"add", "item", "X"});
  EXPECT_EQ(unknown.status, 64);
  EXPECT_THAT(unknown.err,
              HasSubstr("lists: account, class, currency, customer, customermsg, customertype, "));
  EXPECT_EQ(Run({"delete", "pricelevel", "X"}).status, 64) << "QuickBooks keeps price levels";

  for (std::string type : {"Ship-Method", "salestaxcode", "customermsg"}) {
    CliResult added = RunOn({"add", type, "Zq", "--inactive"});
    EXPECT_EQ(added.status, 0) << type << ": " << added.err;
    EXPECT_THAT(RunOn({"list", type, "--fields", "Name,IsActive", "--format", "csv"}).out,
                HasSubstr("Zq,false\r\n"))
        << type << " added inactive";
    EXPECT_EQ(RunOn({"delete", type, "Zq"}).status, 0) << type;
  }

  // A to-do has no name: it is deleted by ListID.
  CliResult todo = RunOn({"add", "todo", "Call the bank"});
  ASSERT_THAT(todo.out, StartsWith("Added to-do Call the bank (ListID "));
  std::string listId = todo.out.substr(todo.out.find("ListID ") + 7);
  listId.resize(listId.size() - 2);
  EXPECT_EQ(RunOn({"delete", "todo", listId}).out, "Deleted to-do " + listId + "\n");
}

TEST_F(CliTest, TextOutsideAsciiIsStoredAsTyped) {
  Create({});
  const std::string zoe = "Zo\u00EB", far = "\u65E5\u672C\u8A9E \U0001F600";
  ASSERT_EQ(RunOn({"add", "customer", zoe}).status, 0);  // through the library's collection
  CliResult raw = RunOn({"add", "customer", far, "--set", "Notes=Caf\u00E9 \u2014 " + far});
  ASSERT_EQ(raw.status, 0) << raw.err;  // through the command's own request
  auto listed = nlohmann::json::parse(
      RunOn({"list", "customer", "--format", "json", "--fields", "Name,Notes"}).out);
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0]["Name"], zoe);
  EXPECT_EQ(listed[1]["Name"], far);
  EXPECT_EQ(listed[1]["Notes"], "Caf\u00E9 \u2014 " + far);
  EXPECT_THAT(RunOn({"show", "customer", far, "--format", "csv"}).out,
              HasSubstr("\r\nName," + far + "\r\n"));
}

TEST_F(CliTest, ShowGivesEveryFieldOfOneRecord) {
  Create();
  std::string name = Lines(
      RunOn({"list", "customer", "--format", "csv", "--fields", "FullName", "--max", "1"}).out,
      "\r\n")[1];
  if (name.front() == '"') name = name.substr(1, name.size() - 2);
  CliResult table = RunOn({"show", "customer", name});
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_THAT(table.out, StartsWith("Field "));
  EXPECT_THAT(table.out, HasSubstr("\nBillAddress.City "));
  EXPECT_THAT(table.out, HasSubstr("\nTermsRef.FullName "));

  auto listed = nlohmann::json::parse(RunOn({"list", "customer", "--format", "json"}).out)[0];
  EXPECT_EQ(nlohmann::json::parse(RunOn({"show", "customer", name, "--format", "json"}).out),
            listed);
  std::string city = listed["BillAddress"]["City"];
  EXPECT_THAT(RunOn({"show", "customer", name, "--format", "csv"}).out,
              HasSubstr("\r\nBillAddress.City," + city + "\r\n"));
  EXPECT_THAT(RunOn({"show", "terms", "Net 30", "--format", "csv"}).out,
              StartsWith("Field,Value\r\nType,StandardTerms\r\nListID,"));

  CliResult missing = RunOn({"show", "vendor", "Nobody"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "brennock: no vendor 'Nobody'\n");
}

TEST_F(CliTest, AddWritesNestedFieldsInSchemaOrder) {
  Create();
  std::string trace = (folder_ / "trace.log").string();
  CliResult added = RunOn({"add", "customer", "Zed Farm", "--trace", trace, "--set", "Phone=555",
                           "--set", "termsref=Net 30", "--set", "BillAddress.City=Cork", "--set",
                           "BillAddress.Addr1=1 Main St", "--set", "IsStatementWithParent=1"});
  ASSERT_EQ(added.status, 0) << added.err;
  EXPECT_THAT(added.out, StartsWith("Added customer Zed Farm (ListID "));
  EXPECT_THAT(ReadWhole(trace),
              HasSubstr("<CustomerAdd><Name>Zed Farm</Name><BillAddress><Addr1>1 Main St</Addr1>"
                        "<City>Cork</City></BillAddress><Phone>555</Phone><TermsRef><FullName>"
                        "Net 30</FullName></TermsRef><IsStatementWithParent>true"
                        "</IsStatementWithParent></CustomerAdd>"));
  auto shown =
      nlohmann::json::parse(RunOn({"show", "customer", "Zed Farm", "--format", "json"}).out);
  EXPECT_EQ(shown["BillAddress"]["City"], "Cork");
  EXPECT_EQ(shown["TermsRef"]["FullName"], "Net 30");
  CliResult job =
      RunOn({"add", "customer", "Barn", "--parent", "Zed Farm", "--set", "JobStatus=inprogress"});
  EXPECT_THAT(job.out, StartsWith("Added customer Zed Farm:Barn (ListID ")) << job.err;

  const std::string help = "\nRun 'brennock add --help' for usage.\n";
  struct Bad {
    const char* setting;
    const char* error;
  };
  for (const Bad& bad : {
           Bad{"IsActive=maybe", "bad value for IsActive: 'maybe' is not true or false"},
           Bad{"CreditLimit=12,50", "bad value for CreditLimit: '12,50' is not a number"},
           Bad{"JobStartDate=2024-13-01",
               "bad value for JobStartDate: '2024-13-01' is not a date like 2024-03-01"},
           Bad{"JobStatus=Done",
               "bad value for JobStatus: 'Done' is not one of Awarded, Closed, InProgress, None, "
               "NotAwarded, Pending"},
           Bad{"Phone=1234567890123456789012",
               "bad value for Phone: '1234567890123456789012' is longer than 21 characters"},
           Bad{"BillAddress=Cork",
               "BillAddress is a group of fields; set one of them, such as BillAddress.Addr1"},
           Bad{"Phone.Area=1", "Phone has no fields below it"},
           Bad{"BillAddress.Town=Cork",
               "unknown field 'BillAddress.Town': BillAddress has no field 'Town'; its fields: "
               "Addr1, Addr2, Addr3, Addr4, Addr5, City, State, PostalCode, Country, Note"},
           Bad{"Cork", "--set wants Field=Value, not 'Cork'"},
       }) {
    CliResult refused = RunOn({"add", "customer", "Q", "--set", bad.setting});
    EXPECT_EQ(refused.status, 64) << bad.setting;
    EXPECT_EQ(refused.err, "brennock: " + std::string(bad.error) + help);
  }
  CliResult unknown = RunOn({"add", "vendor", "Q", "--set", "Colour=red"});
  EXPECT_THAT(unknown.err, StartsWith("brennock: unknown field 'Colour': a vendor has no field "
                                      "'Colour'; its fields: Name, IsActive, ClassRef,"));
  CliResult refused = RunOn({"add", "customer", "Q", "--set", "TermsRef=Net 999"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_THAT(refused.err,
              StartsWith("brennock: QuickBooks status 3140: There is an invalid "
                         "reference to QuickBooks Terms \"Net 999\" in the Customer."));
}

TEST_F(CliTest, ChangeSendsOnlyTheFieldsGivenWithTheCurrentEditSequence) {
  Create();
  ASSERT_EQ(RunOn({"add", "vendor", "Zed Supplies", "--set", "Phone=555"}).status, 0);
  auto before =
      nlohmann::json::parse(RunOn({"show", "vendor", "Zed Supplies", "--format", "json"}).out);
  std::string trace = (folder_ / "trace.log").string();
  CliResult changed = RunOn({"change", "vendor", "Zed Supplies", "--trace", trace, "--set",
                             "VendorAddress.City=Cork", "--set", "Phone=556"});
  ASSERT_EQ(changed.status, 0) << changed.err;
  EXPECT_EQ(changed.out, "Changed vendor Zed Supplies\n");
  EXPECT_THAT(ReadWhole(trace),
              HasSubstr("<VendorModRq requestID=\"1\"><VendorMod><ListID>" +
                        before["ListID"].get<std::string>() + "</ListID><EditSequence>" +
                        before["EditSequence"].get<std::string>() +
                        "</EditSequence><VendorAddress><City>Cork</City></VendorAddress><Phone>"
                        "556</Phone></VendorMod></VendorModRq>"));
  EXPECT_EQ(RunOn({"change", "vendor", "Zed Supplies", "--set", "Name=Zed Trading"}).out,
            "Changed vendor Zed Trading\n");

  std::string taken =
      Lines(RunOn({"list", "customer", "--format", "csv", "--fields", "Name", "--max", "1"}).out,
            "\r\n")[1];
  if (taken.front() == '"') taken = taken.substr(1, taken.size() - 2);
  CliResult refused = RunOn({"change", "vendor", "Zed Trading", "--set", "Name=" + taken});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "brennock: QuickBooks status 3100: The name \"" + taken +
                             "\" of the list element is already in use.\n");

  EXPECT_EQ(RunOn({"change", "vendor", "Nobody", "--set", "Phone=1"}).err,
            "brennock: no vendor 'Nobody'\n");
  for (std::string list : {"account", "terms", "shipmethod"}) {
    CliResult kept = RunOn({"change", list, "X", "--set", "Name=Y"});
    EXPECT_EQ(kept.status, 64) << list;
    EXPECT_THAT(kept.err, StartsWith("brennock: QuickBooks does not modify records of the "))
        << list;
  }
  EXPECT_EQ(RunOn({"change", "vendor", "Zed Trading"}).status, 64) << "nothing to change";
  EXPECT_EQ(RunOn({"change", "vendor", "Zed Trading", "--set", "EditSequence=1"}).status, 64);
}

TEST_F(CliTest, DeleteReachesEntitiesAndTermsThroughTheirOwnKind) {
  Create();
  struct Case {
    std::vector<std::string> add;
    std::string type, name, shown;
  };
  for (const Case& c : {
           Case{{"vendor", "Zed Supplies"}, "vendor", "Zed Supplies", "vendor"},
           Case{{"vendor", "Zed Supplies"}, "entity", "Zed Supplies", "entity"},
           Case{{"employee", "Jo Zed"}, "entity", "Jo Zed", "entity"},
           Case{{"othername", "Zed Other"}, "othername", "Zed Other", "other name"},
           Case{{"standardterms", "Net 99", "--set", "StdDueDays=99"}, "terms", "Net 99", "terms"},
           Case{{"account", "Petty Cash", "--set", "AccountType=Bank"},
                "account",
                "Petty Cash",
                "account"},
       }) {
    std::vector<std::string> add = {"add"};
    add.insert(add.end(), c.add.begin(), c.add.end());
    ASSERT_EQ(RunOn(add).status, 0) << c.name;
    CliResult deleted = RunOn({"delete", c.type, c.name});
    EXPECT_EQ(deleted.out, "Deleted " + c.shown + " " + c.name + "\n") << deleted.err;
    EXPECT_EQ(RunOn({"show", c.type, c.name}).status, 1) << c.name << " is gone";
  }
}

TEST_F(CliTest, PagedListingsGiveTheRowsOfOneAnswer) {
  Create({"--customers", "60", "--seed", "5"});
  std::string trace = (folder_ / "trace.log").string();
  for (std::string format : {"csv", "json", "table"}) {
    std::vector<std::string> args = {"list", "customer", "--format",
                                     format, "--fields", "FullName,BillAddress.City,TermsRef"};
    std::vector<std::string> paged = args, whole = args;
    paged.insert(paged.end(), {"--page-size", "7"});
    whole.insert(whole.end(), {"--page-size", "0", "--trace", trace});
    CliResult inPages = RunOn(paged);
    ASSERT_EQ(inPages.status, 0) << inPages.err;
    EXPECT_EQ(inPages.out, RunOn(whole).out) << format;
    EXPECT_EQ(inPages.err, "") << "no count when standard error is not a terminal";
    EXPECT_THAT(ReadWhole(trace), ::testing::Not(HasSubstr("iterator=")));
  }
  auto entities = nlohmann::json::parse(RunOn({"list", "entity", "--page-size", "3", "--format",
                                               "json", "--fields", "Type,Name,VendorAddress.City"})
                                            .out);
  EXPECT_EQ(entities,
            nlohmann::json::parse(RunOn({"list", "entity", "--page-size", "0", "--format", "json",
                                         "--fields", "Type,Name,VendorAddress.City"})
                                      .out));
  EXPECT_FALSE(entities.empty());
}

TEST_F(CliTest, HelpAndVersion) {
  CliResult help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out, HasSubstr("Examples:\n  brennock company create"));
  EXPECT_EQ(Run({"list", "--help"}).status, 0);
  EXPECT_EQ(Run({"--version"}).out, std::string("brennock ") + kBrennockVersion + "\n");
}

TEST_F(CliTest, ItemsListByKindAndDeleteAsTheirOwnKind) {
  Create({"--sample", "--invoices", "0"});  // stock as it opened, and items no invoice uses
  EXPECT_EQ(RunOn({"list", "item", "--type", "inventory", "--fields", "Name,QuantityOnHand"}).out,
            "Name     QuantityOnHand\n-------  --------------\nBracket  420\nGadget   36\n"
            "Hinge    75\nWidget   140\n");
  CliResult unknown = RunOn({"list", "item", "--type", "gizmo"});
  EXPECT_EQ(unknown.status, 64);
  EXPECT_THAT(unknown.err, HasSubstr("unknown kind of item 'gizmo'"));
  EXPECT_EQ(RunOn({"list", "class", "--type", "inventory"}).status, 64);
  CliResult deleted = RunOn({"delete", "item", "Delivery"});
  EXPECT_EQ(deleted.status, 0) << deleted.err;
  EXPECT_EQ(RunOn({"show", "item", "Delivery"}).status, 1);
  CliResult assembly = RunOn({"delete", "item", "Widget Kit"});
  EXPECT_EQ(assembly.status, 2);
  EXPECT_THAT(assembly.err, HasSubstr("Invalid item type specified"));
}

}  // namespace
}  // namespace brennock::testing

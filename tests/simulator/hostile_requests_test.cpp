// Requests a careless or hostile application may send, and company files another program broke or
// holds: each is answered with a clear status, and nothing is written where it must not be.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>
#include <string>

#include "brennock/errors/automation_error.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"
#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

class HostileRequestsTest : public SimulatorTest {
 protected:
  void TearDown() override {
    for (const char* name :
         {"BRENNOCK_SIMULATOR_MAX_ITERATORS", "BRENNOCK_SIMULATOR_MAX_COMPANY_ITERATORS",
          "BRENNOCK_SIMULATOR_ITERATOR_SECONDS", "BRENNOCK_SIMULATOR_BUSY_MILLISECONDS"})
      unsetenv(name);
    SimulatorTest::TearDown();
  }

  std::string StartVendors(RequestProcessor& processor, const std::string& ticket) {
    std::string response = processor.ProcessRequest(
        ticket, Envelope("<VendorQueryRq iterator=\"Start\"><MaxReturned>1</MaxReturned>"
                         "</VendorQueryRq>"));
    pugi::xml_document doc;
    doc.load_string(response.c_str());
    pugi::xml_node rs = doc.child("QBXML").child("QBXMLMsgsRs").first_child();
    last_message_ = rs.attribute("statusMessage").value();
    last_code_ = rs.attribute("statusCode").as_int(-1);
    return rs.attribute("iteratorID").value();
  }

  std::string ReadFile() {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Closes the session so that the file holds everything (no write-ahead log left).
  void CloseSession() {
    processor_->EndSession(ticket_);
    processor_->CloseConnection();
    processor_.reset();
  }

  void OpenSession() {
    processor_ = simulator::CreateSimulatorProcessor();
    processor_->OpenConnection("", "Brennock tests");
    ticket_ = processor_->BeginSession(path_, qbOpenModeDontCare);
  }

  // The first page of a table or index, found through SQLite's own catalogue.
  int64_t RootPage(const char* name) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name=?", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, name, -1, SQLITE_STATIC);
    int64_t page = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return page;
  }

  // Flips every bit of `count` bytes at `offset` within the page.
  void FlipBits(int64_t page, size_t offset, size_t count) {
    std::fstream file(path_, std::ios::in | std::ios::out | std::ios::binary);
    const int64_t kPageSize = 4096;
    for (size_t i = 0; i < count; ++i) {
      std::streamoff at = static_cast<std::streamoff>((page - 1) * kPageSize + offset + i);
      file.seekg(at);
      char byte = 0;
      file.read(&byte, 1);
      file.seekp(at);
      byte = static_cast<char>(~byte);
      file.write(&byte, 1);
    }
  }

  std::string last_message_;
  int last_code_ = -1;
};

TEST_F(HostileRequestsTest, IteratorsAreCappedPerSessionAndCompanyStoppedAndSwept) {
  setenv("BRENNOCK_SIMULATOR_MAX_ITERATORS", "3", 1);
  setenv("BRENNOCK_SIMULATOR_MAX_COMPANY_ITERATORS", "4", 1);
  setenv("BRENNOCK_SIMULATOR_ITERATOR_SECONDS", "60", 1);
  std::string first = StartVendors(*processor_, ticket_);
  StartVendors(*processor_, ticket_);
  StartVendors(*processor_, ticket_);
  EXPECT_EQ(StartVendors(*processor_, ticket_), "");
  EXPECT_EQ(last_code_, 3392);
  EXPECT_EQ(last_message_,
            "No more iterators can be started: 3 are open in this session, the most allowed. "
            "Finish or stop one first.");
  // A count starts no iterator and is never refused.
  EXPECT_EQ(Code(First("<VendorQueryRq metaData=\"MetaDataOnly\" iterator=\"Start\">"
                       "<MaxReturned>1</MaxReturned></VendorQueryRq>")),
            0);

  // Stop ends one and makes room; an unknown or stopped one is refused like an expired one.
  auto stop = [&](const std::string& id) {
    return First("<VendorQueryRq iterator=\"Stop\" iteratorID=\"" + id + "\"/>");
  };
  pugi::xml_node stopped = stop(first);
  EXPECT_EQ(Code(stopped), 0);
  EXPECT_STREQ(stopped.attribute("iteratorRemainingCount").value(), "0");
  EXPECT_EQ(Code(stop(first)), 3391);
  EXPECT_EQ(Code(stop("{nope}")), 3391);
  EXPECT_NE(StartVendors(*processor_, ticket_), "");

  // The company file's cap counts the iterators of every session on it.
  auto other = simulator::CreateSimulatorProcessor();
  other->OpenConnection("", "Brennock tests");
  std::string otherTicket = other->BeginSession(path_, qbOpenModeDontCare);
  EXPECT_NE(StartVendors(*other, otherTicket), "");
  EXPECT_EQ(StartVendors(*other, otherTicket), "");
  EXPECT_EQ(last_message_,
            "No more iterators can be started: 4 are open in this company file, the most "
            "allowed. Finish or stop one first.");
  // Ending a session gives its iterators back; expired ones are swept before the next request.
  processor_->EndSession(ticket_);
  EXPECT_NE(StartVendors(*other, otherTicket), "");
  ticket_ = processor_->BeginSession(path_, qbOpenModeDontCare);
  for (int i = 0; i < 2; ++i) EXPECT_NE(StartVendors(*processor_, ticket_), "");
  EXPECT_EQ(StartVendors(*processor_, ticket_), "");
  EXPECT_EQ(last_code_, 3392);
  simulator::AdvanceClock(61);
  EXPECT_NE(StartVendors(*processor_, ticket_), "");
}

TEST_F(HostileRequestsTest, AnUnknownIteratorValueIsAParseErrorAndLongValuesAreQuotedShort) {
  try {
    Send("<VendorQueryRq iterator=\"Sideways\"/>");
    ADD_FAILURE() << "an unknown iterator value was taken";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040400u));
  }
  // A megabyte-long name is refused, quoted by its first hundred characters. (The schema's
  // check would refuse it before the simulator's own.)
  unsetenv("BRENNOCK_QBXML_SCHEMA");
  strict_ = false;
  std::string name(1u << 20, 'x');
  pugi::xml_node refused = First("<ClassAddRq><ClassAdd><Name>" + name +
                                 "</Name></ClassAdd>"
                                 "</ClassAddRq>");
  EXPECT_EQ(Code(refused), 3070);
  EXPECT_EQ(std::string(refused.attribute("statusMessage").value()),
            "The string \"" + std::string(100, 'x') + "...\" in the field \"Name\" is too long.");
}

TEST_F(HostileRequestsTest, ADamagedFileAnswersClearlyAndIsNeverWritten) {
  struct Case {
    const char* what;
    const char* btree;
    size_t offset, count;
    int query;  // the status a class query answers with
  };
  const char* kAdd = "<ClassAddRq><ClassAdd><Name>Newer</Name></ClassAdd></ClassAddRq>";
  // A company of one class: each b-tree is a single page, its cells at the page's end.
  for (const Case& c : {Case{"an index page's cells", "list_names", 4060, 30, 0},
                        Case{"a table page's header", "list_records", 0, 1, 3263}}) {
    CloseSession();
    std::filesystem::remove(path_);
    simulator::CreateCompanyFile(path_, {});
    OpenSession();
    ASSERT_EQ(Code(First("<ClassAddRq><ClassAdd><Name>Old</Name></ClassAdd></ClassAddRq>")), 0);
    CloseSession();
    FlipBits(RootPage(c.btree), c.offset, c.count);
    std::string damaged = ReadFile();
    OpenSession();
    SCOPED_TRACE(c.what);
    pugi::xml_node added = First(kAdd);
    EXPECT_EQ(Code(added), 3263) << c.what;
    EXPECT_STREQ(added.attribute("statusMessage").value(),
                 "The company file is damaged: QuickBooks found it broken and will not save "
                 "changes to it. Restore it from a backup.");
    EXPECT_EQ(Code(First("<ClassQueryRq/>")), c.query) << c.what;
    EXPECT_EQ(Code(First(kAdd)), 3263) << c.what;
    CloseSession();
    EXPECT_TRUE(ReadFile() == damaged) << c.what << ": the damaged file was written";
    OpenSession();
  }
}

TEST_F(HostileRequestsTest, AFileAnotherProgramWritesIsInUseForChangesOnly) {
  setenv("BRENNOCK_SIMULATOR_BUSY_MILLISECONDS", "50", 1);
  CloseSession();
  OpenSession();
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  auto both =
      Responses(Send("<ClassQueryRq/><ClassAddRq><ClassAdd><Name>Busy</Name></ClassAdd>"
                     "</ClassAddRq>",
                     "continueOnError"));
  EXPECT_EQ(Code(both.first_child()), 0);
  EXPECT_EQ(Code(both.last_child()), 3264);
  EXPECT_STREQ(both.last_child().attribute("statusMessage").value(),
               "The company file is in use: another program is saving changes to it. Nothing "
               "was saved; try again in a moment.");
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(Code(First("<ClassAddRq><ClassAdd><Name>Busy</Name></ClassAdd></ClassAddRq>")), 0);
}

}  // namespace
}  // namespace brennock::testing

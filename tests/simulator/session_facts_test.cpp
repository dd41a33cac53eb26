// A session keeps what it read of list records (names, accounts of items ...) across requests:
// every change to a list record must still reach the next request, whoever made it.
#include <sqlite3.h>

#include <string>

#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class SessionFactsTest : public BooksTest {
 protected:
  struct Item {
    std::string list_id, edit_sequence;
  };
  Item Consulting() {
    pugi::xml_node ret =
        Ok("<ItemServiceQueryRq><ListID>" + consulting_id_ + "</ListID></ItemServiceQueryRq>")
            .child("ItemServiceRet");
    return {ret.child_value("ListID"), ret.child_value("EditSequence")};
  }
  // Renames the item and moves its sales to account.
  static std::string Mod(const Item& item, const std::string& name, const std::string& account) {
    return "<ItemServiceModRq><ItemServiceMod><ListID>" + item.list_id + "</ListID><EditSequence>" +
           item.edit_sequence + "</EditSequence><Name>" + name + "</Name><SalesOrPurchaseMod>" +
           Ref("AccountRef", account) + "</SalesOrPurchaseMod></ItemServiceMod></ItemServiceModRq>";
  }
  // One hour of the item, named by its ListID; the line's item name as answered.
  std::string InvoiceAdd() {
    return "<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Hand Worked Ltd") +
           "<TxnDate>2024-03-05</TxnDate><InvoiceLineAdd><ItemRef><ListID>" + consulting_id_ +
           "</ListID></ItemRef><Quantity>1</Quantity></InvoiceLineAdd></InvoiceAdd></InvoiceAddRq>";
  }
  std::string LineItemName(pugi::xml_node rs) {
    EXPECT_EQ(Code(rs), 0) << rs.attribute("statusMessage").value();
    return rs.child("InvoiceRet").child("InvoiceLineRet").child("ItemRef").child_value("FullName");
  }

  void SetUp() override {
    BooksTest::SetUp();
    Ok("<CustomerAddRq><CustomerAdd><Name>Hand Worked Ltd</Name></CustomerAdd></CustomerAddRq>");
    consulting_id_ = Ok("<ItemServiceQueryRq><FullName>Consulting</FullName></ItemServiceQueryRq>")
                         .child("ItemServiceRet")
                         .child_value("ListID");
  }

  std::string consulting_id_;
};

TEST_F(SessionFactsTest, ChangesByAnotherSessionReachTheNextRequest) {
  const int64_t services = AccountBalance("Services"), sales = AccountBalance("Sales");
  EXPECT_EQ(LineItemName(First(InvoiceAdd())), "Consulting");  // read and kept
  EXPECT_EQ(AccountBalance("Services") - services, 9500);

  auto other = simulator::CreateSimulatorProcessor();
  other->OpenConnection("", "other program");
  std::string ticket = other->BeginSession(path_, qbOpenModeDontCare);
  std::string changed =
      other->ProcessRequest(ticket, Envelope(Mod(Consulting(), "Advice", "Sales")));
  ASSERT_NE(changed.find("statusCode=\"0\""), std::string::npos) << changed;
  other->EndSession(ticket);

  EXPECT_EQ(LineItemName(First(InvoiceAdd())), "Advice");
  EXPECT_EQ(AccountBalance("Services") - services, 9500);
  EXPECT_EQ(AccountBalance("Sales") - sales, 9500);
}

TEST_F(SessionFactsTest, ChangesEarlierInTheSameDocumentReachLaterRequests) {
  EXPECT_EQ(LineItemName(First(InvoiceAdd())), "Consulting");
  const int64_t sales = AccountBalance("Sales");
  // The name stays: only the account moves.
  pugi::xml_node responses =
      Responses(Send(Mod(Consulting(), "Consulting", "Sales") + InvoiceAdd()));
  EXPECT_EQ(Code(responses.first_child()), 0);
  EXPECT_EQ(LineItemName(responses.first_child().next_sibling()), "Consulting");
  EXPECT_EQ(AccountBalance("Sales") - sales, 9500);

  // A refused change leaves the facts as they were.
  pugi::xml_node refused = First(Mod({consulting_id_, "1"}, "Stale", "Services"));
  EXPECT_EQ(Code(refused), 3200);
  EXPECT_EQ(LineItemName(First(InvoiceAdd())), "Consulting");
  EXPECT_EQ(AccountBalance("Sales") - sales, 19000);
}

// A file made before transaction counters had a table of their own keeps them in its settings:
// numbering goes on from there, and the first new transaction moves them over.
TEST_F(SessionFactsTest, AnOlderFileKeepsNumberingFromItsSettings) {
  pugi::xml_node first = First(InvoiceAdd()).child("InvoiceRet");
  const int ref = std::stoi(first.child_value("RefNumber"));
  const int number = std::stoi(first.child_value("TxnNumber"));
  const std::string first_id = first.child_value("TxnID");
  processor_->EndSession(ticket_);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  auto count = [&](const char* sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    int n = st && sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
    sqlite3_finalize(st);
    return n;
  };
  EXPECT_EQ(sqlite3_exec(db,
                         "INSERT INTO settings(key,value) SELECT key,CAST(value AS TEXT) FROM "
                         "txn_counters; DROP TABLE txn_counters;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  ticket_ = processor_->BeginSession(path_, qbOpenModeDontCare);

  pugi::xml_node next = First(InvoiceAdd()).child("InvoiceRet");
  EXPECT_EQ(std::stoi(next.child_value("RefNumber")), ref + 1);
  EXPECT_EQ(std::stoi(next.child_value("TxnNumber")), number + 1);
  EXPECT_NE(next.child_value("TxnID"), first_id);
  EXPECT_EQ(count("SELECT count(*) FROM settings WHERE key LIKE 'next_txn%' OR key LIKE "
                  "'last_ref.%'"),
            0);
  EXPECT_EQ(count("SELECT value FROM txn_counters WHERE key='last_ref.Invoice'"), ref + 1);
  sqlite3_close(db);
}

}  // namespace
}  // namespace brennock::testing

// The books stay balanced whatever sequence of invoices is added, changed, voided and deleted:
// an accountant's identities, checked along a seeded random sequence.
#include <map>
#include <random>
#include <string>
#include <vector>

#include "simulator/ledger/ledger.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/store/company_db.h"
#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class LedgerPropertyTest : public BooksTest {
 protected:
  std::mt19937 rng_{20240305};
  std::vector<std::string> customers_;
  std::vector<std::string> live_;  // invoices neither voided nor deleted

  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  std::string RandomLine(const std::string& form) {
    static const char* kItems[] = {
        "Consulting",       "Widget",          "Bracket",  "Hinge",          "Subtotal",
        "Loyalty Discount", "Trade-in Credit", "Delivery", "Restocking Fee", "Starter Pack"};
    std::string item = kItems[Below(std::size(kItems))];
    std::string quantity = std::to_string(1 + Below(3));
    if (item == "Starter Pack")
      return "<InvoiceLineGroup" + form + ">" + (form == "Mod" ? "<TxnLineID>-1</TxnLineID>" : "") +
             Ref("ItemGroupRef", item) + "<Quantity>" + quantity + "</Quantity></InvoiceLineGroup" +
             form + ">";
    bool counted = item != "Subtotal" && item.find("Discount") == std::string::npos &&
                   item != "Trade-in Credit" && item != "Restocking Fee";
    return "<InvoiceLine" + form + ">" + (form == "Mod" ? "<TxnLineID>-1</TxnLineID>" : "") +
           Ref("ItemRef", item) + (counted ? "<Quantity>" + quantity + "</Quantity>" : "") +
           "</InvoiceLine" + form + ">";
  }

  void AddInvoice() {
    std::string lines;
    for (size_t n = 1 + Below(4); n > 0; --n) lines += RandomLine("Add");
    pugi::xml_node ret =
        Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", customers_[Below(customers_.size())]) +
           lines + "</InvoiceAdd></InvoiceAddRq>")
            .child("InvoiceRet");
    live_.push_back(ret.child_value("TxnID"));
  }

  // Keeps some lines (one with a new quantity), drops the others, sometimes adds one.
  void ModifyInvoice(const std::string& id) {
    pugi::xml_node ret = Ok("<InvoiceQueryRq><TxnID>" + id +
                            "</TxnID><IncludeLineItems>true"
                            "</IncludeLineItems></InvoiceQueryRq>")
                             .child("InvoiceRet");
    std::string mod = "<InvoiceModRq><InvoiceMod><TxnID>" + id + "</TxnID><EditSequence>" +
                      ret.child_value("EditSequence") + "</EditSequence>";
    for (auto line : ret.children()) {
      std::string name = line.name();
      if (name != "InvoiceLineRet" && name != "InvoiceLineGroupRet") continue;
      if (Below(4) == 0) continue;  // left out: deleted
      std::string form = name == "InvoiceLineRet" ? "InvoiceLineMod" : "InvoiceLineGroupMod";
      mod += "<" + form + "><TxnLineID>" + line.child_value("TxnLineID") + "</TxnLineID>";
      if (line.child("Quantity") && Below(2) == 0)
        mod += "<Quantity>" + std::to_string(1 + Below(4)) + "</Quantity>";
      mod += "</" + form + ">";
    }
    if (Below(2) == 0) mod += RandomLine("Mod");
    Ok(mod + "</InvoiceMod></InvoiceModRq>");
  }

  void CheckIdentities(int step) {
    SCOPED_TRACE("after step " + std::to_string(step));
    simulator::CompanyDb company(path_);
    auto& sum = company.db().Prepare("SELECT coalesce(sum(amount),0) FROM postings");
    ASSERT_TRUE(sum.Step());
    EXPECT_EQ(sum.Int(0), 0) << "debits and credits differ";
    EXPECT_EQ(simulator::Ledger(company).VerifyTotals(), std::vector<std::string>{});

    // Accounts receivable = the customers' balances = the open invoices.
    std::map<std::string, int64_t> owed;  // by customer, recomputed from the postings
    auto& st = company.db().Prepare(
        "SELECT p.entity_id, sum(p.amount) FROM postings p JOIN list_records a ON "
        "a.list_id=p.account_id WHERE a.account_type='AccountsReceivable' GROUP BY p.entity_id");
    while (st.Step()) owed[std::string(st.Text(0))] = st.Int(1);
    int64_t customers = 0;
    for (auto c : Ok("<CustomerQueryRq><ActiveStatus>All</ActiveStatus></CustomerQueryRq>")
                      .children("CustomerRet")) {
      int64_t balance = Cents(c.child_value("Balance"));
      EXPECT_EQ(balance, owed[c.child_value("ListID")]) << c.child_value("FullName");
      customers += balance;
    }
    int64_t open = 0;
    pugi::xml_node invoices = First("<InvoiceQueryRq/>");
    for (auto i : invoices.children("InvoiceRet")) open += Cents(i.child_value("BalanceRemaining"));
    EXPECT_EQ(AccountBalance("Accounts Receivable"), customers);
    EXPECT_EQ(customers, open);

    // The inventory asset = each item's quantity on hand at its average cost, to the cent.
    int64_t stock = 0;
    for (auto item : Ok("<ItemInventoryQueryRq/>").children("ItemInventoryRet")) {
      auto quantity = simulator::ParseQuantity(item.child_value("QuantityOnHand"));
      stock += simulator::Amount(quantity.value_or(0), item.child_value("AverageCost")).value_or(0);
    }
    EXPECT_EQ(AccountBalance("Inventory Asset"), stock);
  }
};

TEST_F(LedgerPropertyTest, TheSampleBusinessBalanceSheetBalances) {
  CheckIdentities(0);
  // Assets = liabilities + equity + this year's profit, from the balances the accounts answer.
  int64_t assets = 0, claims = 0;
  for (auto a : Ok("<AccountQueryRq><ActiveStatus>All</ActiveStatus></AccountQueryRq>")
                    .children("AccountRet")) {
    if (std::string_view(a.child_value("Sublevel")) != "0") continue;
    std::string_view type = a.child_value("AccountType");
    int64_t total = Cents(a.child_value("TotalBalance"));
    if (type == "Bank" || type == "AccountsReceivable" || type == "OtherCurrentAsset" ||
        type == "FixedAsset" || type == "OtherAsset")
      assets += total;
    else if (type == "CostOfGoodsSold" || type == "Expense" || type == "OtherExpense")
      claims -= total;
    else if (type != "NonPosting")
      claims += total;  // liabilities, equity and income carry credit balances
  }
  EXPECT_GT(assets, 0);
  EXPECT_EQ(assets, claims);
}

TEST_F(LedgerPropertyTest, RandomInvoiceSequencesKeepTheBooksBalanced) {
  for (auto c : Ok("<CustomerQueryRq/>").children("CustomerRet"))
    customers_.push_back(c.child_value("FullName"));  // customers and their jobs
  ASSERT_FALSE(customers_.empty());
  constexpr int kSteps = 240;
  for (int step = 1; step <= kSteps; ++step) {
    size_t roll = Below(20);
    if (live_.empty() || roll < 9) {
      AddInvoice();
    } else {
      size_t at = Below(live_.size());
      std::string id = live_[at];
      if (roll < 14) {
        ModifyInvoice(id);
      } else {
        bool void_it = roll < 17;
        Ok(void_it
               ? "<TxnVoidRq><TxnVoidType>Invoice</TxnVoidType><TxnID>" + id +
                     "</TxnID></TxnVoidRq>"
               : "<TxnDelRq><TxnDelType>Invoice</TxnDelType><TxnID>" + id + "</TxnID></TxnDelRq>");
        live_.erase(live_.begin() + static_cast<std::ptrdiff_t>(at));
      }
    }
    if (step % 60 == 0) CheckIdentities(step);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace brennock::testing

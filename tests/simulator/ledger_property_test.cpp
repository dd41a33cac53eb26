// The books stay balanced whatever sequence of sales, payments and deposits is added, changed,
// voided and deleted: an accountant's identities, checked along seeded random sequences.
#include <map>
#include <random>
#include <string>
#include <tuple>
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
    // ... = what invoices and statement charges have open, less the credits still unused.
    int64_t open = 0;
    for (auto [query, ret, field, sign] :
         {std::tuple{"InvoiceQueryRq", "InvoiceRet", "BalanceRemaining", 1},
          std::tuple{"ChargeQueryRq", "ChargeRet", "BalanceRemaining", 1},
          std::tuple{"CreditMemoQueryRq", "CreditMemoRet", "CreditRemaining", -1},
          std::tuple{"ReceivePaymentQueryRq", "ReceivePaymentRet", "UnusedPayment", -1}})
      for (auto r : First("<" + std::string(query) + "/>").children(ret))
        open += sign * Cents(r.child_value(field));
    EXPECT_EQ(AccountBalance("Accounts Receivable"), customers);
    EXPECT_EQ(customers, open);

    // Undeposited Funds = the payments and sales receipts waiting for a deposit.
    int64_t waiting = 0;
    for (auto r : First("<ReceivePaymentToDepositQueryRq/>").children("ReceivePaymentToDepositRet"))
      waiting += Cents(r.child_value("Amount"));
    EXPECT_EQ(AccountBalance("Undeposited Funds"), waiting);

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

// Sales of every kind, payments (applied by hand with discounts and credits, or automatically,
// some left partly unused), deposits with cash back, and voids and deletes, some of which
// QuickBooks refuses because other transactions depend on them.
class SalesPropertyTest : public LedgerPropertyTest {
 protected:
  std::vector<std::string> payments_, deposits_;

  std::string Customer() { return customers_[Below(customers_.size())]; }
  std::string Money(int64_t cents) { return simulator::FormatCents(cents); }
  // The open receivables (or, credits true, the unused credit memos) of a customer: TxnID and
  // what is open.
  std::vector<std::pair<std::string, int64_t>> Open(const std::string& customer, bool credits) {
    std::string stem = credits ? "CreditMemo" : (Below(3) == 0 ? "Charge" : "Invoice");
    std::string field = credits ? "CreditRemaining" : "BalanceRemaining";
    std::vector<std::pair<std::string, int64_t>> out;
    for (auto r : First("<" + stem + "QueryRq><EntityFilter><FullName>" + customer +
                        "</FullName></EntityFilter></" + stem + "QueryRq>")
                      .children((stem + "Ret").c_str()))
      if (int64_t open = Cents(r.child_value(field.c_str())); open > 0)
        out.emplace_back(r.child_value("TxnID"), open);
    return out;
  }

  void AddSale() {
    static const char* kItems[] = {"Consulting", "Widget", "Hinge", "Hardware", "Delivery"};
    std::string item = kItems[Below(std::size(kItems))];
    std::string quantity = std::to_string(1 + Below(3));
    std::string customer = Ref("CustomerRef", Customer());
    switch (Below(3)) {
      case 0:
        Ok("<CreditMemoAddRq><CreditMemoAdd>" + customer + "<CreditMemoLineAdd>" +
           Ref("ItemRef", item) + "<Quantity>" + quantity +
           "</Quantity></CreditMemoLineAdd></CreditMemoAdd></CreditMemoAddRq>");
        break;
      case 1:
        Ok("<SalesReceiptAddRq><SalesReceiptAdd>" + (Below(2) ? customer : "") +
           "<SalesReceiptLineAdd>" + Ref("ItemRef", item) + "<Quantity>" + quantity +
           "</Quantity></SalesReceiptLineAdd></SalesReceiptAdd></SalesReceiptAddRq>");
        break;
      default:
        Ok("<ChargeAddRq><ChargeAdd>" + customer +
           Ref("ItemRef", Below(2) ? "Delivery" : "Consulting") + "<Quantity>" + quantity +
           "</Quantity></ChargeAdd></ChargeAddRq>");
    }
  }

  void AddPayment() {
    std::string customer = Customer();
    std::string head = "<ReceivePaymentAddRq><ReceivePaymentAdd>" + Ref("CustomerRef", customer);
    if (Below(3) == 0) {
      pugi::xml_node ret = Ok(head + "<TotalAmount>" + Money(1000 + Below(50000)) +
                              "</TotalAmount><IsAutoApply>true</IsAutoApply>"
                              "</ReceivePaymentAdd></ReceivePaymentAddRq>")
                               .child("ReceivePaymentRet");
      payments_.push_back(ret.child_value("TxnID"));
      return;
    }
    auto open = Open(customer, false);
    if (open.empty()) return;
    auto [target, balance] = open[Below(open.size())];
    int64_t amount = 1 + Below(balance);
    std::string extras;
    if (auto credits = Open(customer, true); !credits.empty() && Below(2) == 0) {
      int64_t credit = std::min<int64_t>(credits.front().second, balance - amount);
      if (credit > 0)
        extras += "<SetCredit><CreditTxnID>" + credits.front().first +
                  "</CreditTxnID>"
                  "<AppliedAmount>" +
                  Money(credit) + "</AppliedAmount></SetCredit>";
      balance -= std::max<int64_t>(credit, 0);
    }
    if (int64_t room = balance - amount; room > 0 && Below(3) == 0)
      extras += "<DiscountAmount>" + Money(1 + Below(room)) + "</DiscountAmount>" +
                Ref("DiscountAccountRef", "Discounts Given");
    int64_t total = amount + (Below(3) == 0 ? static_cast<int64_t>(Below(5000)) : 0);
    pugi::xml_node ret =
        Ok(head + "<TotalAmount>" + Money(total) + "</TotalAmount>" + "<AppliedToTxnAdd><TxnID>" +
           target + "</TxnID><PaymentAmount>" + Money(amount) + "</PaymentAmount>" + extras +
           "</AppliedToTxnAdd></ReceivePaymentAdd></ReceivePaymentAddRq>")
            .child("ReceivePaymentRet");
    payments_.push_back(ret.child_value("TxnID"));
  }

  void Deposit() {
    std::string lines;
    int64_t total = 0;
    for (auto r : First("<ReceivePaymentToDepositQueryRq/>").children("ReceivePaymentToDepositRet"))
      if (Below(2) == 0) {
        lines += "<DepositLineAdd><PaymentTxnID>" + std::string(r.child_value("TxnID")) +
                 "</PaymentTxnID></DepositLineAdd>";
        total += Cents(r.child_value("Amount"));
      }
    if (lines.empty()) return;
    std::string cash_back;
    if (Below(3) == 0)
      cash_back = "<CashBackInfoAdd>" + Ref("AccountRef", "Owner's Equity:Owner's Draw") +
                  "<Amount>" + Money(Below(total / 2 + 1)) + "</Amount></CashBackInfoAdd>";
    deposits_.push_back(Ok("<DepositAddRq><DepositAdd>" + Ref("DepositToAccountRef", "Checking") +
                           cash_back + lines + "</DepositAdd></DepositAddRq>")
                            .child("DepositRet")
                            .child_value("TxnID"));
  }

  // Voids or deletes a transaction, unless others depend on it (QuickBooks' 3170): true when done.
  bool Remove(const std::string& stem, const std::string& id, bool void_it) {
    pugi::xml_node rs = First(void_it ? "<TxnVoidRq><TxnVoidType>" + stem +
                                            "</TxnVoidType><TxnID>" + id + "</TxnID></TxnVoidRq>"
                                      : "<TxnDelRq><TxnDelType>" + stem + "</TxnDelType><TxnID>" +
                                            id + "</TxnID></TxnDelRq>");
    EXPECT_TRUE(Code(rs) == 0 || Code(rs) == 3170) << rs.attribute("statusMessage").value();
    return Code(rs) == 0;
  }
  void RemoveOne(std::vector<std::string>& ids, const std::string& stem, bool can_void) {
    if (ids.empty()) return;
    size_t at = Below(ids.size());
    if (Remove(stem, ids[at], can_void && Below(2) == 0))
      ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(at));
  }
};

TEST_F(SalesPropertyTest, RandomSalesPaymentsAndDepositsKeepTheBooksBalanced) {
  for (auto c : Ok("<CustomerQueryRq/>").children("CustomerRet"))
    customers_.push_back(c.child_value("FullName"));
  ASSERT_FALSE(customers_.empty());
  constexpr int kSteps = 200;
  for (int step = 1; step <= kSteps; ++step) {
    size_t roll = Below(20);
    if (roll < 4)
      AddInvoice();
    else if (roll < 8)
      AddSale();
    else if (roll < 13)
      AddPayment();
    else if (roll < 15)
      Deposit();
    else if (roll < 16)
      RemoveOne(deposits_, "Deposit", true);
    else if (roll < 17)
      RemoveOne(payments_, "ReceivePayment", false);
    else
      RemoveOne(live_, "Invoice", true);
    if (step % 50 == 0) CheckIdentities(step);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace brennock::testing

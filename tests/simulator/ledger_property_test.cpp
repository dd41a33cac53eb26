// The books stay balanced whatever sequence of sales, payments, deposits and purchases is added,
// changed, voided and deleted: an accountant's identities, checked along seeded random sequences.
#include <cstdlib>
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

    // The inventory asset = each part's and assembly's quantity on hand at its average cost, to
    // the cent, as far as five decimals of a cost tell: each unit may be off by half of the fifth
    // decimal (0.0005 cents), which rounds away below 1000 units.
    int64_t stock = 0, slack = 0;
    for (std::string kind : {"ItemInventory", "ItemInventoryAssembly"}) {
      const std::string ret = kind + "Ret";  // outlives the loop over its name
      for (auto item : Ok("<" + kind + "QueryRq/>").children(ret.c_str())) {
        auto quantity = simulator::ParseQuantity(item.child_value("QuantityOnHand"));
        stock +=
            simulator::Amount(quantity.value_or(0), item.child_value("AverageCost")).value_or(0);
        slack += (std::abs(quantity.value_or(0)) + 100000000) / 200000000;
      }
    }
    EXPECT_NEAR(AccountBalance("Inventory Asset"), stock, slack);

    // Accounts payable = the vendors' balances = the open bills and unbilled receipts less the
    // credits left to apply.
    std::map<std::string, int64_t> owing;  // by vendor, from the postings (credits negative)
    auto& ap = company.db().Prepare(
        "SELECT p.entity_id, sum(p.amount) FROM postings p JOIN list_records a ON "
        "a.list_id=p.account_id WHERE a.account_type='AccountsPayable' GROUP BY p.entity_id");
    while (ap.Step()) owing[std::string(ap.Text(0))] = -ap.Int(1);
    int64_t vendors = 0;
    for (auto v : Ok("<VendorQueryRq><ActiveStatus>All</ActiveStatus></VendorQueryRq>")
                      .children("VendorRet")) {
      int64_t balance = Cents(v.child_value("Balance"));
      EXPECT_EQ(balance, owing[v.child_value("ListID")]) << v.child_value("Name");
      vendors += balance;
    }
    int64_t payable = 0;
    for (auto b : First("<BillQueryRq/>").children("BillRet"))
      payable += Cents(b.child_value("AmountDue"));
    // A receipt is owed until a bill takes it over.
    for (auto r : First("<ItemReceiptQueryRq><IncludeLinkedTxns>true</IncludeLinkedTxns>"
                        "</ItemReceiptQueryRq>")
                      .children("ItemReceiptRet")) {
      bool billed = false;
      for (auto link : r.children("LinkedTxn"))
        billed |= std::string_view(link.child_value("TxnType")) == "Bill";
      if (!billed) payable += Cents(r.child_value("TotalAmount"));
    }
    for (auto c : First("<VendorCreditQueryRq/>").children("VendorCreditRet"))
      payable -= Cents(c.child_value("OpenAmount"));
    EXPECT_EQ(AccountBalance("Accounts Payable"), vendors);
    EXPECT_EQ(vendors, payable);
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
    // The element name outlives the loop: pugixml's named iterator keeps the pointer.
    const std::string ret = stem + "Ret";
    std::vector<std::pair<std::string, int64_t>> out;
    for (auto r : First("<" + stem + "QueryRq><EntityFilter><FullName>" + customer +
                        "</FullName></EntityFilter></" + stem + "QueryRq>")
                      .children(ret.c_str()))
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

// Buying: orders received in part or whole, receipts billed, bills paid by check and card with
// discounts and credits, checks and card charges, returns, adjustments and builds, some of them
// changed, voided or deleted (QuickBooks refuses to take away what others stand on).
class PurchasePropertyTest : public SalesPropertyTest {
 protected:
  std::vector<std::string> vendors_;
  std::map<std::string, std::vector<std::string>> made_;  // TxnIDs by kind

  std::string Pick(const char* const* from, size_t n) { return from[Below(n)]; }
  std::string Amount() {
    return std::to_string(1 + Below(400)) + "." + std::to_string(10 + Below(90));
  }
  std::string ItemLines(const std::string& form) {
    static const char* kParts[] = {"Widget", "Gadget", "Bracket", "Hinge"};
    std::string lines;
    for (size_t n = 1 + Below(3); n > 0; --n)
      lines += "<" + form + ">" + Ref("ItemRef", Pick(kParts, 4)) + "<Quantity>" +
               std::to_string(1 + Below(20)) + "</Quantity><" +
               (form == "PurchaseOrderLineAdd" ? "Rate" : "Cost") + ">" +
               std::to_string(1 + Below(30)) + "." + std::to_string(Below(10)) + "5</" +
               (form == "PurchaseOrderLineAdd" ? "Rate" : "Cost") + "></" + form + ">";
    return lines;
  }
  std::string ExpenseLine() {
    static const char* kAccounts[] = {"Office Supplies", "Rent", "Utilities:Telephone",
                                      "Job Materials"};
    return "<ExpenseLineAdd>" + Ref("AccountRef", Pick(kAccounts, 4)) + "<Amount>" + Amount() +
           "</Amount></ExpenseLineAdd>";
  }
  void Add(const std::string& stem, const std::string& inner) {
    pugi::xml_node rs = First("<" + stem + "AddRq><" + stem + "Add>" + inner + "</" + stem +
                              "Add></" + stem + "AddRq>");
    // Links to what another step took away, or a build short of parts, may be refused.
    ASSERT_TRUE(Code(rs) == 0 || Code(rs) == 3180 || Code(rs) == 3120)
        << stem << ": " << rs.attribute("statusMessage").value();
    if (Code(rs) == 0) made_[stem].push_back(rs.first_child().child_value("TxnID"));
  }
  std::string Some(const std::string& stem) {
    auto& ids = made_[stem];
    return ids.empty() ? std::string() : ids[Below(ids.size())];
  }

  void Pay(const std::string& vendor, bool by_card) {
    pugi::xml_node open =
        First("<BillToPayQueryRq>" + Ref("PayeeEntityRef", vendor) + "</BillToPayQueryRq>");
    std::string bill, credit;
    int64_t due = 0, left = 0;
    for (auto r : open.children("BillToPayRet")) {
      if (auto b = r.child("BillToPay"); b && bill.empty()) {
        bill = b.child_value("TxnID");
        due = Cents(b.child_value("AmountDue"));
      }
      if (auto c = r.child("CreditToApply"); c && credit.empty()) {
        credit = c.child_value("TxnID");
        left = Cents(c.child_value("CreditRemaining"));
      }
    }
    if (bill.empty()) return;
    int64_t used = credit.empty() ? 0 : std::min(left, due / 2);
    int64_t discount = Below(3) == 0 ? std::min<int64_t>(100, due - used) : 0;
    int64_t paid = (due - used - discount) / (1 + static_cast<int64_t>(Below(2)));
    std::string applied = "<AppliedToTxnAdd><TxnID>" + bill + "</TxnID><PaymentAmount>" +
                          simulator::FormatCents(paid) + "</PaymentAmount>";
    if (used > 0)
      applied += "<SetCredit><CreditTxnID>" + credit + "</CreditTxnID><AppliedAmount>" +
                 simulator::FormatCents(used) + "</AppliedAmount></SetCredit>";
    if (discount > 0)
      applied += "<DiscountAmount>" + simulator::FormatCents(discount) + "</DiscountAmount>";
    applied += "</AppliedToTxnAdd>";
    if (by_card)
      Add("BillPaymentCreditCard",
          Ref("PayeeEntityRef", vendor) + Ref("CreditCardAccountRef", "Company Card") + applied);
    else
      Add("BillPaymentCheck", Ref("PayeeEntityRef", vendor) + Ref("BankAccountRef", "Checking") +
                                  "<RefNumber>" + std::to_string(7000 + Below(999)) +
                                  "</RefNumber>" + applied);
  }

  void Step() {
    const std::string vendor = vendors_[Below(vendors_.size())];
    const std::string who = Ref("VendorRef", vendor);
    switch (Below(17)) {
      case 0:
      case 1:
        return Add("PurchaseOrder", who + ItemLines("PurchaseOrderLineAdd"));
      case 2: {  // the whole of an order, or items of its own
        std::string po = Some("PurchaseOrder");
        auto order =
            po.empty()
                ? pugi::xml_node()
                : Ok("<PurchaseOrderQueryRq><TxnID>" + po + "</TxnID></PurchaseOrderQueryRq>")
                      .child("PurchaseOrderRet");
        if (order && Below(2) == 0)
          return Add("ItemReceipt",
                     Ref("VendorRef", order.child("VendorRef").child_value("FullName")) +
                         "<LinkToTxnID>" + po + "</LinkToTxnID>");
        return Add("ItemReceipt", who + ItemLines("ItemLineAdd"));
      }
      case 3: {  // a bill for a receipt, or of its own
        std::string receipt = Some("ItemReceipt");
        auto r =
            receipt.empty()
                ? pugi::xml_node()
                : First("<ItemReceiptQueryRq><TxnID>" + receipt + "</TxnID></ItemReceiptQueryRq>")
                      .child("ItemReceiptRet");
        if (r && Below(2) == 0)
          return Add("Bill", Ref("VendorRef", r.child("VendorRef").child_value("FullName")) +
                                 "<LinkToTxnID>" + receipt + "</LinkToTxnID>" + ExpenseLine());
        return Add("Bill", who + ExpenseLine() + (Below(2) ? ItemLines("ItemLineAdd") : ""));
      }
      case 4:
      case 5:
        return Add("Bill", who + ExpenseLine());
      case 6:
        return Add("VendorCredit", who + (Below(2) ? ExpenseLine() : ItemLines("ItemLineAdd")));
      case 7:
      case 8: {  // the vendor of some bill pays
        std::string bill = Some("Bill");
        auto b =
            bill.empty()
                ? pugi::xml_node()
                : First("<BillQueryRq><TxnID>" + bill + "</TxnID></BillQueryRq>").child("BillRet");
        if (b) Pay(b.child("VendorRef").child_value("FullName"), Below(3) == 0);
        return;
      }
      case 9: {
        bool check = Below(2) == 0;
        return Add(check ? "Check" : "CreditCardCharge",
                   Ref("AccountRef", check ? "Checking" : "Company Card") +
                       Ref("PayeeEntityRef", vendor) + ExpenseLine() + ItemLines("ItemLineAdd"));
      }
      case 10:
        return Add("InventoryAdjustment",
                   Ref("AccountRef", "Job Materials") + "<InventoryAdjustmentLineAdd>" +
                       Ref("ItemRef", Below(2) ? "Hinge" : "Bracket") +
                       "<QuantityAdjustment><QuantityDifference>" +
                       std::to_string(static_cast<int>(Below(11)) - 5) +
                       "</QuantityDifference></QuantityAdjustment></InventoryAdjustmentLineAdd>");
      case 11:
        return Add("BuildAssembly", Ref("ItemInventoryAssemblyRef", "Widget Kit") +
                                        "<QuantityToBuild>" + std::to_string(1 + Below(4)) +
                                        "</QuantityToBuild><MarkPendingIfRequired>true"
                                        "</MarkPendingIfRequired>");
      case 12: {  // a bill's or receipt's first line changed (below what is paid: refused)
        std::string kind = Below(2) ? "Bill" : "ItemReceipt";
        std::string id = Some(kind);
        auto t = id.empty() ? pugi::xml_node()
                            : First("<" + kind + "QueryRq><TxnID>" + id +
                                    "</TxnID><IncludeLineItems>true</IncludeLineItems></" + kind +
                                    "QueryRq>")
                                  .first_child();
        auto line = t.child("ItemLineRet") ? t.child("ItemLineRet") : t.child("ExpenseLineRet");
        if (!line) return;
        bool item = std::string_view(line.name()) == "ItemLineRet";
        std::string form = item ? "ItemLineMod" : "ExpenseLineMod";
        pugi::xml_node rs =
            First("<" + kind + "ModRq><" + kind + "Mod><TxnID>" + id + "</TxnID><EditSequence>" +
                  t.child_value("EditSequence") + "</EditSequence><" + form + "><TxnLineID>" +
                  line.child_value("TxnLineID") + "</TxnLineID>" +
                  (item ? "<Quantity>" + std::to_string(1 + Below(9)) + "</Quantity>"
                        : "<Amount>" + Amount() + "</Amount>") +
                  "</" + form + "></" + kind + "Mod></" + kind + "ModRq>");
        ASSERT_TRUE(Code(rs) == 0 || Code(rs) == 3170) << rs.attribute("statusMessage").value();
        return;
      }
      default: {  // void or delete something; what others stand on stays
        static const char* kKinds[] = {"Bill",          "ItemReceipt",   "BillPaymentCheck",
                                       "VendorCredit",  "PurchaseOrder", "InventoryAdjustment",
                                       "BuildAssembly", "Check"};
        std::string kind = Pick(kKinds, std::size(kKinds));
        std::string id = Some(kind);
        if (id.empty()) return;
        bool void_it = Below(2) == 0 && kind != "PurchaseOrder" && kind != "BuildAssembly";
        pugi::xml_node rs =
            First(void_it ? "<TxnVoidRq><TxnVoidType>" + kind + "</TxnVoidType><TxnID>" + id +
                                "</TxnID></TxnVoidRq>"
                          : "<TxnDelRq><TxnDelType>" + kind + "</TxnDelType><TxnID>" + id +
                                "</TxnID></TxnDelRq>");
        ASSERT_TRUE(Code(rs) == 0 || Code(rs) == 3170 || Code(rs) == 3120)
            << rs.attribute("statusMessage").value();
        if (Code(rs) == 0 && !void_it) std::erase(made_[kind], id);
      }
    }
  }
};

TEST_F(PurchasePropertyTest, RandomPurchaseSequencesKeepTheBooksBalanced) {
  for (auto v : Ok("<VendorQueryRq/>").children("VendorRet"))
    vendors_.push_back(v.child_value("Name"));
  ASSERT_FALSE(vendors_.empty());
  constexpr int kSteps = 300;
  for (int step = 1; step <= kSteps; ++step) {
    Step();
    if (step % 75 == 0) CheckIdentities(step);
    if (HasFatalFailure()) return;
  }
}

// Selling and buying interleaved: stock bought and sold, payables and receivables open at once.
TEST_F(PurchasePropertyTest, SalesAndPurchasesInterleavedKeepTheBooksBalanced) {
  for (auto c : Ok("<CustomerQueryRq/>").children("CustomerRet"))
    customers_.push_back(c.child_value("FullName"));
  for (auto v : Ok("<VendorQueryRq/>").children("VendorRet"))
    vendors_.push_back(v.child_value("Name"));
  ASSERT_FALSE(customers_.empty() || vendors_.empty());
  constexpr int kSteps = 240;
  for (int step = 1; step <= kSteps; ++step) {
    size_t roll = Below(20);
    if (roll < 10)
      Step();
    else if (roll < 13)
      AddInvoice();
    else if (roll < 15)
      AddSale();
    else if (roll < 18)
      AddPayment();
    else if (roll < 19)
      Deposit();
    else
      RemoveOne(live_, "Invoice", true);
    if (step % 60 == 0) CheckIdentities(step);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace brennock::testing

// Invoices against the simulated company, checked as an accountant would: figures computed by
// hand, and every balance they touch before and after.
#include <map>
#include <string>

#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class InvoiceTest : public BooksTest {
 protected:
  void SetUp() override {
    BooksTest::SetUp();
    Ok("<CustomerAddRq><CustomerAdd><Name>Hand Worked Ltd</Name>" + Ref("TermsRef", "Net 30") +
       Ref("SalesTaxCodeRef", "Tax") + Ref("ItemSalesTaxRef", "State Tax") +
       "</CustomerAdd></CustomerAddRq>");
  }

  // Every balance the worked example touches, in cents (an item's quantity in units).
  std::map<std::string, int64_t> Books() {
    return {{"customer", CustomerBalance("Hand Worked Ltd")},
            {"A/R", AccountBalance("Accounts Receivable")},
            {"Services", AccountBalance("Services")},
            {"Sales", AccountBalance("Sales")},
            {"Discounts", AccountBalance("Discounts Given")},
            {"Tax", AccountBalance("Sales Tax Payable")},
            {"COGS", AccountBalance("Cost of Goods Sold")},
            {"Stock", AccountBalance("Inventory Asset")},
            {"Widgets", std::stoll(ItemField("Widget", "QuantityOnHand"))},
            {"Hinges", std::stoll(ItemField("Hinge", "QuantityOnHand"))}};
  }

  // Services 3 x 95.00, widgets 10 x 12.00, a subtotal, 10 % off after it (taxable), State Tax.
  pugi::xml_node AddWorkedExample() {
    return Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Hand Worked Ltd") +
              "<TxnDate>2024-03-05</TxnDate><RefNumber>HW-1</RefNumber><Memo>Spring job</Memo>" +
              Line("Consulting", "3") + Line("Widget", "10") + Line("Subtotal", "") +
              Line("Loyalty Discount", "", Ref("SalesTaxCodeRef", "Tax")) +
              "</InvoiceAdd></InvoiceAddRq>")
        .child("InvoiceRet");
  }
};

TEST_F(InvoiceTest, WorkedExampleMovesEveryBalance) {
  auto before = Books();
  pugi::xml_node ret = AddWorkedExample();
  // Lines: 3 x 95.00 = 285.00 (non-taxable); 10 x 12.00 = 120.00 (taxable); subtotal 405.00;
  // discount 10 % of 405.00 = -40.50 (taxable). Subtotal 285.00 + 120.00 - 40.50 = 364.50.
  // Taxable 120.00 - 40.50 = 79.50; tax 7.25 % = 5.76375, to the cent 5.76. Total 370.26.
  EXPECT_EQ(std::string(ret.child_value("Subtotal")), "364.50");
  EXPECT_EQ(std::string(ret.child_value("SalesTaxPercentage")), "7.25");
  EXPECT_EQ(std::string(ret.child_value("SalesTaxTotal")), "5.76");
  EXPECT_EQ(std::string(ret.child_value("AppliedAmount")), "0.00");
  EXPECT_EQ(std::string(ret.child_value("BalanceRemaining")), "370.26");
  EXPECT_EQ(std::string(ret.child_value("IsPaid")), "false");
  EXPECT_EQ(std::string(ret.child_value("DueDate")), "2024-04-04");  // Net 30
  std::vector<std::string> amounts;
  for (auto line : ret.children("InvoiceLineRet")) amounts.push_back(line.child_value("Amount"));
  EXPECT_EQ(amounts, (std::vector<std::string>{"285.00", "120.00", "405.00", "-40.50"}));
  // Ten widgets at their average cost of 7.00 (980.00 for 140) leave stock for cost of sales.
  std::map<std::string, int64_t> moved = {
      {"customer", 37026}, {"A/R", 37026}, {"Services", 28500}, {"Sales", 12000},
      {"Discounts", 4050}, {"Tax", 576},   {"COGS", 7000},      {"Stock", -7000},
      {"Widgets", -10},    {"Hinges", 0}};
  EXPECT_EQ(Moved(Books(), before), moved);
  EXPECT_EQ(ItemField("Widget", "AverageCost"), "7.00");
}

TEST_F(InvoiceTest, ModifyVoidAndDeleteMoveTheBalancesBack) {
  auto before = Books();
  pugi::xml_node ret = AddWorkedExample();
  std::string id = ret.child_value("TxnID");
  std::string sequence = ret.child_value("EditSequence");
  std::vector<std::string> lines;
  for (auto line : ret.children("InvoiceLineRet")) lines.push_back(line.child_value("TxnLineID"));
  auto line_mod = [](const std::string& line_id, const std::string& inner = {}) {
    return "<InvoiceLineMod><TxnLineID>" + line_id + "</TxnLineID>" + inner + "</InvoiceLineMod>";
  };
  // The consulting line is left out (deleted), the widgets cut to 5, two hinges added at the end.
  std::string mod = "<InvoiceModRq><InvoiceMod><TxnID>" + id + "</TxnID><EditSequence>" + sequence +
                    "</EditSequence>" + line_mod(lines[1], "<Quantity>5</Quantity>") +
                    line_mod(lines[2]) + line_mod(lines[3]) +
                    line_mod("-1", Ref("ItemRef", "Hinge") + "<Quantity>2</Quantity>") +
                    "</InvoiceMod></InvoiceModRq>";
  simulator::AdvanceClock(60);
  ret = Ok(mod).child("InvoiceRet");
  const std::string current = ret.child_value("EditSequence");
  // 5 x 12.00 = 60.00; subtotal 60.00; 10 % off -6.00; 2 x 6.25 = 12.50; all taxable.
  // Subtotal 66.50; tax 7.25 % = 4.82125, 4.82; total 71.32. Cost: 5 x 7.00 + 2 x 2.90 = 40.80.
  EXPECT_EQ(std::string(ret.child_value("Subtotal")), "66.50");
  EXPECT_EQ(std::string(ret.child_value("SalesTaxTotal")), "4.82");
  EXPECT_EQ(std::string(ret.child_value("BalanceRemaining")), "71.32");
  EXPECT_EQ(
      std::distance(ret.children("InvoiceLineRet").begin(), ret.children("InvoiceLineRet").end()),
      4);
  std::map<std::string, int64_t> moved = {
      {"customer", 7132}, {"A/R", 7132},  {"Services", 0},  {"Sales", 7250}, {"Discounts", 600},
      {"Tax", 482},       {"COGS", 4080}, {"Stock", -4080}, {"Widgets", -5}, {"Hinges", -2}};
  EXPECT_EQ(Moved(Books(), before), moved);

  // The edit sequence the first answer gave is out of date now.
  pugi::xml_node stale = First(mod);
  EXPECT_EQ(Code(stale), 3200);
  EXPECT_EQ(std::string(stale.attribute("statusMessage").value()),
            "The provided edit sequence \"" + sequence + "\" is out-of-date.");

  // A Mod that changes nothing saves nothing: the same edit sequence comes back.
  pugi::xml_node same = Ok("<InvoiceModRq><InvoiceMod><TxnID>" + id + "</TxnID><EditSequence>" +
                           current + "</EditSequence></InvoiceMod></InvoiceModRq>");
  EXPECT_EQ(std::string(same.child("InvoiceRet").child_value("EditSequence")), current);

  pugi::xml_node voided =
      Ok("<TxnVoidRq><TxnVoidType>Invoice</TxnVoidType><TxnID>" + id + "</TxnID></TxnVoidRq>");
  EXPECT_EQ(std::string(voided.child_value("RefNumber")), "HW-1");
  std::map<std::string, int64_t> none = moved;
  for (auto& [k, v] : none) v = 0;
  EXPECT_EQ(Moved(Books(), before), none);
  ret = Ok("<InvoiceQueryRq><TxnID>" + id +
           "</TxnID><IncludeLineItems>true</IncludeLineItems>"
           "</InvoiceQueryRq>")
            .child("InvoiceRet");
  EXPECT_EQ(std::string(ret.child_value("Memo")), "VOID: Spring job");
  EXPECT_EQ(std::string(ret.child_value("Subtotal")), "0.00");
  EXPECT_EQ(std::string(ret.child_value("BalanceRemaining")), "0.00");
  for (auto line : ret.children("InvoiceLineRet"))
    EXPECT_EQ(std::string(line.child_value("Amount")), "0.00");

  // A second invoice, deleted: gone from queries and the books, listed as deleted.
  std::string second = AddWorkedExample().child_value("TxnID");
  Ok("<TxnDelRq><TxnDelType>Invoice</TxnDelType><TxnID>" + second + "</TxnID></TxnDelRq>");
  EXPECT_EQ(Moved(Books(), before), none);
  EXPECT_EQ(Code(First("<InvoiceQueryRq><TxnID>" + second + "</TxnID></InvoiceQueryRq>")), 500);
  pugi::xml_node deleted =
      Ok("<TxnDeletedQueryRq><TxnDelType>Invoice</TxnDelType></TxnDeletedQueryRq>")
          .child("TxnDeletedRet");
  EXPECT_EQ(std::string(deleted.child_value("TxnID")), second);
  EXPECT_EQ(std::string(deleted.child_value("RefNumber")), "HW-1");
}

TEST_F(InvoiceTest, RefusedRequestsLeaveNothingBehind) {
  const int64_t number = std::stoll(AddWorkedExample().child_value("TxnNumber"));
  auto before = Books();
  pugi::xml_node rs = First("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Nobody") +
                            Line("Widget", "1") + "</InvoiceAdd></InvoiceAddRq>");
  EXPECT_EQ(Code(rs), 3140);
  EXPECT_EQ(std::string(rs.attribute("statusMessage").value()),
            "There is an invalid reference to QuickBooks Customer:Job \"Nobody\" in the Invoice. "
            "QuickBooks error message: Invalid argument.  The specified record does not exist in "
            "the list.");
  // An item line naming an item group belongs in a group line.
  rs = First("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Hand Worked Ltd") +
             Line("Widget", "1") + Line("Starter Pack", "1") + "</InvoiceAdd></InvoiceAddRq>");
  EXPECT_EQ(Code(rs), 3180);
  EXPECT_EQ(std::string(rs.attribute("statusMessage").value()),
            "There was an error when saving a Invoice.  QuickBooks error message: The item group "
            "\"Starter Pack\" goes in a group line.");
  // Amounts beyond what QuickBooks keeps are refused rather than overflowing the books.
  rs = First("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Hand Worked Ltd") +
             Line("Consulting", "9999999999", "<Rate>99999999.99</Rate>") +
             "</InvoiceAdd></InvoiceAddRq>");
  EXPECT_EQ(Code(rs), 3180);
  EXPECT_EQ(std::string(rs.attribute("statusMessage").value()),
            "There was an error when saving a Invoice.  QuickBooks error message: The amount of a "
            "line is more than QuickBooks can keep.");
  EXPECT_EQ(Code(First("<TxnVoidRq><TxnVoidType>Invoice</TxnVoidType><TxnID>99-1</TxnID>"
                       "</TxnVoidRq>")),
            3120);
  EXPECT_EQ(Moved(Books(), before), Moved(before, before));
  // Nothing was numbered either: the next invoice follows the last one saved.
  EXPECT_EQ(std::stoll(AddWorkedExample().child_value("TxnNumber")), number + 1);
}

TEST_F(InvoiceTest, GroupsExpandIntoTheirMembers) {
  pugi::xml_node ret =
      Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Hand Worked Ltd") +
         "<InvoiceLineGroupAdd>" + Ref("ItemGroupRef", "Starter Pack") +
         "<Quantity>2</Quantity></InvoiceLineGroupAdd></InvoiceAdd></InvoiceAddRq>")
          .child("InvoiceRet");
  // Members times 2: widgets 2 x 12.00 = 24.00, installation 2 x 65.00 = 130.00, 10 % off the
  // installation -13.00; the group totals 141.00. Taxable 24.00 - 13.00 = 11.00; tax 0.7975, 0.80.
  pugi::xml_node group = ret.child("InvoiceLineGroupRet");
  EXPECT_EQ(std::string(group.child_value("TotalAmount")), "141.00");
  EXPECT_EQ(std::string(group.child_value("IsPrintItemsInGroup")), "true");
  std::vector<std::string> amounts;
  for (auto m : group.children("InvoiceLineRet")) amounts.push_back(m.child_value("Amount"));
  EXPECT_EQ(amounts, (std::vector<std::string>{"24.00", "130.00", "-13.00"}));
  EXPECT_EQ(std::string(ret.child_value("SalesTaxTotal")), "0.80");
  EXPECT_EQ(std::string(ret.child_value("BalanceRemaining")), "141.80");

  // A new quantity rebuilds the members (3 x each), keeping their TxnLineIDs; an unknown line
  // is refused.
  const std::string id = ret.child_value("TxnID"), sequence = ret.child_value("EditSequence");
  const std::string group_id = group.child_value("TxnLineID");
  const std::string first_member = group.child("InvoiceLineRet").child_value("TxnLineID");
  auto mod = [&](const std::string& line_id) {
    return "<InvoiceModRq><InvoiceMod><TxnID>" + id + "</TxnID><EditSequence>" + sequence +
           "</EditSequence><InvoiceLineGroupMod><TxnLineID>" + line_id +
           "</TxnLineID><Quantity>3</Quantity></InvoiceLineGroupMod></InvoiceMod></InvoiceModRq>";
  };
  EXPECT_EQ(Code(First(mod("77-1"))), 3120);
  group = Ok(mod(group_id)).child("InvoiceRet").child("InvoiceLineGroupRet");
  EXPECT_EQ(std::string(group.child_value("TotalAmount")), "211.50");  // 36.00 + 195.00 - 19.50
  EXPECT_EQ(std::string(group.child("InvoiceLineRet").child_value("TxnLineID")), first_member);
}

}  // namespace
}  // namespace brennock::testing

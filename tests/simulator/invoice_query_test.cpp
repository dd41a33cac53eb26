// The filters of InvoiceQueryRq, custom fields on invoices and their lines, and due dates.
#include <string>
#include <vector>

#include "simulator/company_file.h"
#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class InvoiceQueryTest : public BooksTest {
 protected:
  // The sample's own year of invoices would answer these queries too.
  simulator::CompanyFileOptions Options() override {
    simulator::CompanyFileOptions options = BooksTest::Options();
    options.sample->invoices = 0;
    return options;
  }

  void SetUp() override {
    BooksTest::SetUp();
    // Today on the simulator's clock is 2023-11-14 (a Tuesday).
    Ok("<CustomerAddRq><CustomerAdd><Name>Query Co</Name></CustomerAdd></CustomerAddRq>");
    Ok("<CustomerAddRq><CustomerAdd><Name>Roof</Name>" + Ref("ParentRef", "Query Co") +
       "</CustomerAdd></CustomerAddRq>");
    Ok("<CustomerAddRq><CustomerAdd><Name>Other Co</Name></CustomerAdd></CustomerAddRq>");
    Add("Query Co", "A-100", "2023-11-01", "Consulting");
    Add("Query Co:Roof", "a-200", "2023-10-20", "Widget");
    Add("Other Co", "B-300", "2023-11-14", "Consulting");
  }

  std::string Add(const std::string& customer, const std::string& ref, const std::string& date,
                  const std::string& item) {
    return Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", customer) + "<TxnDate>" + date +
              "</TxnDate><RefNumber>" + ref + "</RefNumber>" + Line(item, "1") +
              "</InvoiceAdd></InvoiceAddRq>")
        .child("InvoiceRet")
        .child_value("TxnID");
  }

  // The RefNumbers a query answers, in order.
  std::vector<std::string> Refs(const std::string& filters, const std::string& attributes = {}) {
    std::vector<std::string> refs;
    pugi::xml_node rs = First("<InvoiceQueryRq" + attributes + ">" + filters + "</InvoiceQueryRq>");
    for (auto ret : rs.children("InvoiceRet")) refs.push_back(ret.child_value("RefNumber"));
    return refs;
  }
};

using Names = std::vector<std::string>;

TEST_F(InvoiceQueryTest, FiltersSelectByEveryCriterion) {
  EXPECT_EQ(Refs(""), (Names{"a-200", "A-100", "B-300"}));  // by date
  EXPECT_EQ(Refs("<RefNumber>A-200</RefNumber>"), (Names{"a-200"}));
  EXPECT_EQ(Refs("<RefNumberCaseSensitive>A-200</RefNumberCaseSensitive>"), Names{});
  EXPECT_EQ(Refs("<TxnDateRangeFilter><FromTxnDate>2023-11-01</FromTxnDate>"
                 "</TxnDateRangeFilter>"),
            (Names{"A-100", "B-300"}));
  EXPECT_EQ(Refs("<TxnDateRangeFilter><DateMacro>LastMonth</DateMacro></TxnDateRangeFilter>"),
            (Names{"a-200"}));
  EXPECT_EQ(Refs("<TxnDateRangeFilter><DateMacro>ThisWeekToDate</DateMacro>"
                 "</TxnDateRangeFilter>"),
            (Names{"B-300"}));
  EXPECT_EQ(Refs("<EntityFilter><FullName>Query Co</FullName></EntityFilter>"), (Names{"A-100"}));
  EXPECT_EQ(Refs("<EntityFilter><FullNameWithChildren>Query Co</FullNameWithChildren>"
                 "</EntityFilter>"),
            (Names{"a-200", "A-100"}));
  // Widgets post to Sales, consulting to Services.
  EXPECT_EQ(Refs("<AccountFilter><FullName>Sales</FullName></AccountFilter>"), (Names{"a-200"}));
  EXPECT_EQ(Refs("<RefNumberFilter><MatchCriterion>StartsWith</MatchCriterion>"
                 "<RefNumber>a-</RefNumber></RefNumberFilter>"),
            (Names{"a-200", "A-100"}));
  EXPECT_EQ(Refs("<RefNumberRangeFilter><FromRefNumber>A-150</FromRefNumber>"
                 "<ToRefNumber>B</ToRefNumber></RefNumberRangeFilter>"),
            (Names{"a-200"}));
  EXPECT_EQ(Refs("<MaxReturned>1</MaxReturned>"), (Names{"a-200"}));
  EXPECT_EQ(Refs("<PaidStatus>PaidOnly</PaidStatus>"), Names{});
  EXPECT_EQ(Refs("<PaidStatus>NotPaidOnly</PaidStatus>").size(), 3u);
  pugi::xml_node rs = First(
      "<InvoiceQueryRq><EntityFilter><FullName>Nobody</FullName></EntityFilter>"
      "</InvoiceQueryRq>");
  EXPECT_EQ(Code(rs), 3140);
}

TEST_F(InvoiceQueryTest, AnswersChooseLinesElementsAndPages) {
  pugi::xml_node ret =
      First("<InvoiceQueryRq><RefNumber>A-100</RefNumber></InvoiceQueryRq>").child("InvoiceRet");
  EXPECT_FALSE(ret.child("InvoiceLineRet"));  // lines only when asked for
  ret = First(
            "<InvoiceQueryRq><RefNumber>A-100</RefNumber><IncludeLineItems>true"
            "</IncludeLineItems><IncludeRetElement>TxnID</IncludeRetElement>"
            "<IncludeRetElement>Subtotal</IncludeRetElement><IncludeRetElement>InvoiceLineRet"
            "</IncludeRetElement></InvoiceQueryRq>")
            .child("InvoiceRet");
  std::vector<std::string> names;
  for (auto child : ret.children()) names.push_back(child.name());
  EXPECT_EQ(names, (std::vector<std::string>{"TxnID", "Subtotal", "InvoiceLineRet"}));

  pugi::xml_node meta = First("<InvoiceQueryRq metaData=\"MetaDataOnly\"/>");
  EXPECT_EQ(meta.attribute("retCount").as_int(), 3);
  pugi::xml_node page = First(
      "<InvoiceQueryRq iterator=\"Start\"><MaxReturned>2</MaxReturned>"
      "</InvoiceQueryRq>");
  EXPECT_EQ(page.attribute("iteratorRemainingCount").as_int(), 1);
  std::string iterator = page.attribute("iteratorID").value();
  page = First("<InvoiceQueryRq iterator=\"Continue\" iteratorID=\"" + iterator +
               "\"><MaxReturned>2</MaxReturned></InvoiceQueryRq>");
  EXPECT_EQ(std::string(page.child("InvoiceRet").child_value("RefNumber")), "B-300");
}

TEST_F(InvoiceQueryTest, CustomFieldsLiveOnInvoicesAndTheirLines) {
  pugi::xml_node ret = First(
                           "<InvoiceQueryRq><RefNumber>A-100</RefNumber><IncludeLineItems>"
                           "true</IncludeLineItems></InvoiceQueryRq>")
                           .child("InvoiceRet");
  std::string id = ret.child_value("TxnID");
  std::string line = ret.child("InvoiceLineRet").child_value("TxnLineID");
  Ok("<DataExtDefAddRq><DataExtDefAdd><OwnerID>0</OwnerID><DataExtName>Site</DataExtName>"
     "<DataExtType>STR255TYPE</DataExtType><AssignToObject>Invoice</AssignToObject>"
     "</DataExtDefAdd></DataExtDefAddRq>");
  auto set = [&](const std::string& line_id, const std::string& value) {
    Ok("<DataExtAddRq><DataExtAdd><OwnerID>0</OwnerID><DataExtName>Site</DataExtName>"
       "<TxnDataExtType>Invoice</TxnDataExtType><TxnID>" +
       id + "</TxnID>" + (line_id.empty() ? "" : "<TxnLineID>" + line_id + "</TxnLineID>") +
       "<DataExtValue>" + value + "</DataExtValue></DataExtAdd></DataExtAddRq>");
  };
  set("", "North yard");
  set(line, "Bay 4");
  ret = First("<InvoiceQueryRq><TxnID>" + id +
              "</TxnID><IncludeLineItems>true"
              "</IncludeLineItems><OwnerID>0</OwnerID></InvoiceQueryRq>")
            .child("InvoiceRet");
  EXPECT_EQ(std::string(ret.child("DataExtRet").child_value("DataExtValue")), "North yard");
  EXPECT_EQ(
      std::string(ret.child("InvoiceLineRet").child("DataExtRet").child_value("DataExtValue")),
      "Bay 4");
  pugi::xml_node wrong = First(
      "<DataExtAddRq><DataExtAdd><OwnerID>0</OwnerID><DataExtName>Site</DataExtName>"
      "<TxnDataExtType>Bill</TxnDataExtType><TxnID>" +
      id +
      "</TxnID><DataExtValue>x"
      "</DataExtValue></DataExtAdd></DataExtAddRq>");
  EXPECT_EQ(Code(wrong), 3120);
}

TEST_F(InvoiceQueryTest, DueDatesFollowTheTerms) {
  auto due = [&](const std::string& terms, const std::string& date) {
    return std::string(Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Other Co") +
                          "<TxnDate>" + date + "</TxnDate>" + Ref("TermsRef", terms) +
                          Line("Consulting", "1") + "</InvoiceAdd></InvoiceAddRq>")
                           .child("InvoiceRet")
                           .child_value("DueDate"));
  };
  EXPECT_EQ(due("Net 15", "2024-02-20"), "2024-03-06");
  // Due on the 15th, next month when fewer than 5 days remain.
  EXPECT_EQ(due("Due on the 15th", "2024-02-05"), "2024-02-15");
  EXPECT_EQ(due("Due on the 15th", "2024-02-12"), "2024-03-15");
}

}  // namespace
}  // namespace brennock::testing

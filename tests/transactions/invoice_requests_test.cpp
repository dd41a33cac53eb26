// What Invoices and Invoice send, byte for byte: the Add and Mod bodies of the invoice worked by
// hand, every query form, and how commit answers are mapped back onto the members.
#include <functional>
#include <string>

#include "tests/lists/lists_fixture.h"
#include "tests/transactions/invoice_fixture.h"

namespace brennock::testing {
namespace {

class InvoiceRequestsTest : public InvoiceFixture {
 protected:
  // The message set of the last request, without the envelope.
  std::string LastMessages() const {
    const std::string& text = recorder_->Requests().back().text;
    const std::string open = "<QBXMLMsgsRq onError = \"continueOnError\">";
    size_t from = text.find(open);
    size_t to = text.rfind("</QBXMLMsgsRq>");
    if (from == std::string::npos || to == std::string::npos) return text;
    return text.substr(from + open.size(), to - from - open.size());
  }
};

// Every element the Part's order gives, from the customer's defaults and the company's
// preferences (FOB, ship method, tax item); quantities and rates in the seven-digit picture;
// Other1/Other2 written empty (qbXML 6.0 and later); no Quantity nor Amount on the subtotal, no
// Amount on the percentage discount.
TEST_F(InvoiceRequestsTest, TheAddBodyFollowsTheHeaderOrderAndEachLinesRows) {
  auto invoice = WorkedExample();
  invoice->SetShipDate(Date::FromDate(2024, 3, 6));
  ASSERT_EQ(Session().company->Invoices()->Commit(), 1);
  const std::string line_tail = "<Other1></Other1><Other2></Other2></InvoiceLineAdd>";
  EXPECT_EQ(
      LastMessages(),
      "<InvoiceAddRq requestID = \"1\"><InvoiceAdd>"
      "<CustomerRef><FullName>Hand Worked Ltd</FullName></CustomerRef>"
      "<TxnDate>2024-03-05</TxnDate><RefNumber>HW-1</RefNumber>"
      "<BillAddress><Addr1>7 Mill Lane</Addr1><Addr2></Addr2><Addr3></Addr3><Addr4></Addr4>"
      "<Addr5></Addr5><City>Cork</City><State></State><PostalCode></PostalCode><Country></Country>"
      "</BillAddress><IsPending>0</IsPending>"
      "<TermsRef><FullName>Net 30</FullName></TermsRef><DueDate>2024-04-04</DueDate>"
      "<FOB>Origin</FOB><ShipDate>2024-03-06</ShipDate>"
      "<ShipMethodRef><FullName>UPS</FullName></ShipMethodRef>"
      "<ItemSalesTaxRef><FullName>State Tax</FullName></ItemSalesTaxRef>"
      "<Memo>Spring job</Memo><IsToBePrinted>0</IsToBePrinted><IsToBeEmailed>0</IsToBeEmailed>"
      "<CustomerSalesTaxCodeRef><FullName>Tax</FullName></CustomerSalesTaxCodeRef>"
      "<InvoiceLineAdd><ItemRef><FullName>Consulting</FullName></ItemRef>"
      "<Desc>Consulting, per hour</Desc><Quantity>0000003.00000</Quantity>"
      "<Rate>0000095.00000</Rate><Amount>285.00</Amount>"
      "<SalesTaxCodeRef><FullName>Non</FullName></SalesTaxCodeRef>" +
          line_tail +
          "<InvoiceLineAdd><ItemRef><FullName>Widget</FullName></ItemRef>"
          "<Desc>Standard widget</Desc><Quantity>0000010.00000</Quantity>"
          "<Rate>0000012.00000</Rate><Amount>120.00</Amount>"
          "<SalesTaxCodeRef><FullName>Tax</FullName></SalesTaxCodeRef>" +
          line_tail +
          "<InvoiceLineAdd><ItemRef><FullName>Subtotal</FullName></ItemRef><Desc>Subtotal</Desc>" +
          line_tail +
          "<InvoiceLineAdd><ItemRef><FullName>Loyalty Discount</FullName></ItemRef>"
          "<Desc>10% off</Desc><RatePercent>0000010.00000</RatePercent>"
          "<SalesTaxCodeRef><FullName>Non</FullName></SalesTaxCodeRef>" +
          line_tail + "</InvoiceAdd></InvoiceAddRq>");
}

TEST_F(InvoiceRequestsTest, AModSendsIdentityThenTheBodyWithNewLinesAsMinusOne) {
  auto invoices = Session().company->Invoices();
  auto invoice = WorkedExample();
  ASSERT_EQ(invoices->Commit(), 1);
  // Clean with only a new line: still a Mod, with every line and the new one as "-1".
  invoice->ItemLines()->Add("Hinge", 2);
  EXPECT_EQ(invoices->Commit(), 1);
  const std::string mod = LastMessages();
  EXPECT_EQ(mod.rfind("<InvoiceModRq requestID = \"1\"><InvoiceMod><TxnID>" + invoice->TxnId() +
                          "</TxnID><EditSequence>",
                      0),
            0u)
      << mod;
  EXPECT_NE(
      mod.find("<InvoiceLineMod><TxnLineID>-1</TxnLineID><ItemRef><FullName>Hinge"
               "</FullName></ItemRef><Desc>Brass hinge</Desc><Quantity>0000002.00000</Quantity>"
               "<Rate>0000006.25000</Rate><Amount>12.50</Amount>"),
      std::string::npos)
      << mod;
  EXPECT_EQ(mod.find("LinkToTxn"), std::string::npos);
  // Unchanged after the commit: nothing is sent.
  EXPECT_EQ(invoice->ObjectState(), qoObjectStateClean);
  for (const auto& line : *invoice->ItemLines())
    EXPECT_EQ(line->ObjectState(), qoObjectStateClean) << line->Item();
  const size_t sent = Sent();
  EXPECT_EQ(invoices->Commit(), 0) << LastMessages();
  EXPECT_EQ(Sent(), sent);
}

TEST_F(InvoiceRequestsTest, EachQueryWritesOnlyItsFiltersInSchemaOrder) {
  auto invoices = std::make_shared<Invoices>();
  const struct {
    std::function<void()> query;
    const char* filters;
  } cases[] = {
      {[&] { invoices->GetAll(); }, "<IncludeLineItems>true</IncludeLineItems>"},
      {[&] { invoices->GetAll(false, 5, qbPaidStatusNotPaidOnly); },
       "<MaxReturned>5</MaxReturned><PaidStatus>NotPaidOnly</PaidStatus>"},
      {[&] { invoices->GetByDateMacro(qbDateMacroLastMonth, true, 0, qbPaidStatusAll); },
       "<TxnDateRangeFilter><DateMacro>LastMonth</DateMacro></TxnDateRangeFilter>"
       "<IncludeLineItems>true</IncludeLineItems>"},
      {[&] {
         invoices->GetByDateSpan(Date::FromDate(2024, 1, 1), Date::FromDate(2024, 1, 31), true,
                                 false, 0, qbPaidStatusPaidOnly, {}, "Hand Worked Ltd", true);
       },
       "<ModifiedDateRangeFilter><FromModifiedDate>2024-01-01T00:00:00</FromModifiedDate>"
       "<ToModifiedDate>2024-01-31T00:00:00</ToModifiedDate></ModifiedDateRangeFilter>"
       "<EntityFilter><FullNameWithChildren>Hand Worked Ltd</FullNameWithChildren></EntityFilter>"
       "<PaidStatus>PaidOnly</PaidStatus>"},
      {[&] {
         invoices->GetByEntity({"Hand Worked Ltd", "Nobody"}, false, false);
       },
       "<EntityFilter><FullName>Hand Worked Ltd</FullName><FullName>Nobody</FullName>"
       "</EntityFilter>"},
      {[&] { invoices->GetByRefNumber("A", "M", false); },
       "<RefNumberRangeFilter><FromRefNumber>A</FromRefNumber><ToRefNumber>M</ToRefNumber>"
       "</RefNumberRangeFilter>"},
      {[&] { invoices->GetByRefNumberMatch("HW", qbMatchStartsWith, false); },
       "<RefNumberFilter><MatchCriterion>StartsWith</MatchCriterion><RefNumber>HW</RefNumber>"
       "</RefNumberFilter>"},
      {[&] {
         invoices->GetMultiple({"1-1", "2-2"}, false);
       },
       "<TxnID>1-1</TxnID><TxnID>2-2</TxnID>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filters);
    c.query();
    EXPECT_EQ(LastMessages(), std::string("<InvoiceQueryRq>") + c.filters + "</InvoiceQueryRq>");
  }
  invoices->SetIncludeLinkedTxns(true);
  invoices->GetBySingleAccount("Accounts Receivable", false, false);
  EXPECT_EQ(LastMessages(),
            "<InvoiceQueryRq><AccountFilter><FullName>Accounts Receivable"
            "</FullName></AccountFilter><IncludeLinkedTxns>true</IncludeLinkedTxns>"
            "</InvoiceQueryRq>");
}

TEST_F(InvoiceRequestsTest, BadArgumentsAndLoadedRecordsSendNothing) {
  auto invoices = std::make_shared<Invoices>();
  const size_t sent = Sent();
  EXPECT_EQ(invoices->GetByEntity({}), 0);
  ASSERT_EQ(invoices->Errors()->Count(), 1);
  EXPECT_EQ(invoices->Errors()->Item(1)->Number(), vbObjectError + 1019);
  EXPECT_EQ(invoices->Errors()->Item(1)->Description(), "Empty array passed to GetBy... call");
  EXPECT_EQ(invoices->Errors()->Item(1)->Field(), "GetByEntity");
  invoices->GetByEntity({"A", "B"}, true);
  ASSERT_EQ(invoices->Errors()->Count(), 1);
  EXPECT_EQ(invoices->Errors()->Item(1)->Number(), vbObjectError + 1600);
  EXPECT_EQ(invoices->Errors()->Item(1)->Description(),
            "If WithChildren is specified only one name is allowed");
  EXPECT_EQ(invoices->Errors()->Item(1)->Field(), "Invoice");
  EXPECT_EQ(Sent(), sent);

  // A loaded invoice is answered from the collection; Delete without removal keeps it there.
  ASSERT_EQ(Session().company->Invoices()->Commit(WorkedExample()), 1);
  ASSERT_EQ(invoices->GetAll(), 1);
  const std::string id = invoices->Item(1)->TxnId();
  const size_t afterQuery = Sent();
  EXPECT_EQ(invoices->GetByTxnID(id), invoices->Item(1));
  EXPECT_EQ(Sent(), afterQuery);
  EXPECT_EQ(invoices->Delete(id, false), 0);
  EXPECT_EQ(LastMessages(), "<TxnDelRq requestID = \"1\"><TxnDelType>Invoice</TxnDelType><TxnID>" +
                                id + "</TxnID></TxnDelRq>");
  EXPECT_EQ(invoices->Count(), 1);
}

// QuickBooks refuses the second of two invoices: it carries the status, the first is saved.
TEST_F(InvoiceRequestsTest, ACommitMapsEachAnswerOntoItsMember) {
  auto invoices = Session().company->Invoices();
  auto first = WorkedExample();
  auto second = WorkedExample();
  recorder_->QueueResponse(
      "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs>"
      "<InvoiceAddRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
      "statusMessage=\"Status OK\"><InvoiceRet><TxnID>77-1</TxnID><EditSequence>9</EditSequence>"
      "<CustomerRef><FullName>Hand Worked Ltd</FullName></CustomerRef></InvoiceRet>"
      "</InvoiceAddRs>"
      "<InvoiceAddRs requestID=\"2\" statusCode=\"3100\" statusSeverity=\"Error\" "
      "statusMessage=\"The name is in use\"/></QBXMLMsgsRs></QBXML>");
  AutomationError raised = RaisedBy([&] { invoices->Commit(); });
  EXPECT_EQ(raised.Number(), vbObjectError + 1023);
  EXPECT_EQ(raised.Description(),
            "Error(s) occurred during commit.  Check each object's Errors for details.");
  EXPECT_EQ(raised.Source(), "Brennock:Invoice");
  EXPECT_EQ(first->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(first->TxnId(), "77-1");
  EXPECT_EQ(second->ObjectState(), qoObjectStateNew);
  ASSERT_EQ(second->Errors()->Count(), 1);
  EXPECT_EQ(second->Errors()->Item(1)->Description(), "Name specified already exists on file");
  EXPECT_EQ(second->Errors()->Item(1)->Field(), "Name");
  ASSERT_EQ(invoices->Errors()->Count(), 1);
  EXPECT_EQ(invoices->Errors()->Item(1)->Number(), vbObjectError + 1018);
  EXPECT_EQ(invoices->Errors()->Item(1)->Field(), "2");
}

}  // namespace
}  // namespace brennock::testing

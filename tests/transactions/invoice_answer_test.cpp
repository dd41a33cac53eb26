// Invoice query answers, read straight from the text or as a document: lines nested in records,
// elements the library does not know inside a line, refusals that carry records, and answers
// cut short inside a line.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "brennock/brennock.h"
#include "tests/support/recording_processor.h"

namespace brennock::testing {
namespace invoice_answer_test {
namespace {

constexpr const char* kHead =
    "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<InvoiceQueryRs requestID=\"1\" "
    "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
constexpr const char* kTail = "</InvoiceQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";

std::string Invoice(const std::string& id, const std::string& lineExtra = {}) {
  return "<InvoiceRet><TxnID>" + id + "-1</TxnID><EditSequence>7</EditSequence><TxnNumber>" + id +
         "</TxnNumber><CustomerRef><ListID>80-1</ListID><FullName>Kelly &amp; Sons</FullName>"
         "</CustomerRef><TxnDate>2026-05-04</TxnDate><RefNumber>" +
         id +
         "</RefNumber><BillAddress><Addr1>1 Quay</Addr1><City>Cork</City></BillAddress>"
         "<Subtotal>285.00</Subtotal><Memo>May \xE2\x80\x93 work</Memo>"
         "<InvoiceLineRet><TxnLineID>" +
         id +
         "-L1</TxnLineID><ItemRef><FullName>Consulting</FullName></ItemRef><Desc>Hours"
         "</Desc><Quantity>2</Quantity><Rate>95.00</Rate><Amount>190.00</Amount>" +
         lineExtra + "</InvoiceLineRet>\n<InvoiceLineRet><TxnLineID>" + id +
         "-L2</TxnLineID><ItemRef><FullName>Travel</FullName></ItemRef><Desc>Mileage &amp; "
         "tolls, Cork to Kinsale and "
         "back</Desc><Amount>95.00</Amount></InvoiceLineRet></InvoiceRet>\n";
}

class InvoiceAnswerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session() = SessionState{};
    processor_ = std::make_shared<RecordingProcessor>();
    Session().processor = processor_;
    Session().ticket = "ticket";
    Session().qbxmlVersion = "16.0";
    Session().qbxmlVersionNumber = Currency(16);
  }
  void TearDown() override { Session() = SessionState{}; }

  // What a GetAll left: the count, the filed errors, and each invoice with its lines.
  std::string GetAll(const std::string& answer) {
    processor_->QueueResponse(answer);
    std::string out = "count " + std::to_string(invoices_.GetAll()) + "\n";
    for (int32_t i = 1; i <= invoices_.Errors()->Count(); ++i) {
      out += "error " + std::to_string(invoices_.Errors()->Item(i)->Number()) + " " +
             invoices_.Errors()->Item(i)->Description() + "\n";
    }
    for (int32_t i = 1; i <= invoices_.Count(); ++i) {
      auto invoice = invoices_.Item(i);
      out += invoice->TxnId() + " " + invoice->Customer() + " " + invoice->Memo() + "\n";
      for (const auto& line : *invoice->ItemLines()) {
        out += "  " + line->TxnLineId() + " " + line->Item() + " [" + line->Description() + "] " +
               std::to_string(line->Quantity()) + " " + line->Amount().ToString() + "\n";
      }
    }
    return out;
  }
  static std::string WithComment(std::string text) {
    return text.insert(text.find("<TxnID>"), "<!-- read as a document -->");
  }

  std::shared_ptr<RecordingProcessor> processor_;
  Invoices invoices_;
};

TEST_F(InvoiceAnswerTest, LinesLoadTheSameOnBothPaths) {
  const std::string answer = kHead + Invoice("11") + Invoice("12") + kTail;
  const std::string direct = GetAll(answer);
  EXPECT_EQ(direct,
            "count 2\n"
            "11-1 Kelly & Sons May \xE2\x80\x93 work\n"
            "  11-L1 Consulting [Hours] 2.000000 190\n"
            "  11-L2 Travel [Mileage & tolls, Cork to Kinsale and back] 0.000000 95\n"
            "12-1 Kelly & Sons May \xE2\x80\x93 work\n"
            "  12-L1 Consulting [Hours] 2.000000 190\n"
            "  12-L2 Travel [Mileage & tolls, Cork to Kinsale and back] 0.000000 95\n");
  EXPECT_EQ(GetAll(WithComment(answer)), direct);
}

// A sale's two addresses are made together, but each is its own object and outlives the sale.
TEST_F(InvoiceAnswerTest, AddressesOutliveTheirInvoiceEachOnItsOwn) {
  GetAll(kHead + Invoice("11") + kTail);
  std::shared_ptr<Address> bill = invoices_.Item(1)->BillTo();
  std::shared_ptr<Address> ship = invoices_.Item(1)->ShipTo();
  ship->SetCity("Kinsale");
  invoices_.Clear();
  EXPECT_EQ(bill->Addr1(), "1 Quay");
  EXPECT_EQ(bill->City(), "Cork");
  EXPECT_EQ(ship->City(), "Kinsale");
  EXPECT_EQ(ship->Addr1(), "");
}

// Addresses read wait as their elements until first asked for: what a request or a client sees
// does not depend on when that is. A printed block fills only an address the answer leaves out.
TEST_F(InvoiceAnswerTest, AddressesAskedForLateAreTheSameAsEarly) {
  std::string answer = kHead + Invoice("11") + Invoice("12") + kTail;
  answer.insert(answer.find("<Subtotal>"),
                "<BillAddressBlock><Addr1>Block</Addr1></BillAddressBlock><ShipAddressBlock>"
                "<Addr1>Dock 9</Addr1></ShipAddressBlock>");
  // Each invoice's addresses as the client sees them, and its query-result form.
  auto seen = [&](bool addressesFirst) {
    processor_->QueueResponse(answer);
    Invoices invoices;
    invoices.GetAll();
    std::string out;
    for (int32_t i = 1; i <= invoices.Count(); ++i) {
      auto invoice = invoices.Item(i);
      auto addresses = [&] {
        return invoice->BillTo()->Addr1() + "/" + invoice->BillTo()->City() + "|" +
               invoice->ShipTo()->Addr1() + "\n";
      };
      std::string first = addressesFirst ? addresses() : std::string();
      xmlBldr builder;
      builder.InsertQueryRs(*invoice, 1);
      out += (addressesFirst ? first : addresses()) + builder.GetXML() + "\n";
    }
    return out;
  };
  const std::string early = seen(true);
  EXPECT_EQ(seen(false), early);
  EXPECT_EQ(early.substr(0, early.find('\n')), "1 Quay/Cork|Dock 9");
  EXPECT_NE(early.find("<BillAddress><Addr1>1 Quay</Addr1><City>Cork</City></BillAddress>"),
            std::string::npos);
  EXPECT_NE(early.find("<ShipAddress><Addr1>Dock 9</Addr1></ShipAddress>"), std::string::npos);
  EXPECT_EQ(early.find("Block"), std::string::npos);
}

// Elements the library does not bind, however deep, are passed over without disturbing the
// fields after them.
TEST_F(InvoiceAnswerTest, UnknownElementsInsideALineArePassedOver) {
  const std::string plain = GetAll(kHead + Invoice("11") + kTail);
  const std::string unknown =
      "<Unknown a=\"1 &amp; 2\"><Amount>999.00</Amount><Desc>not the line's</Desc></Unknown>"
      "<SerialNumber>SN-1</SerialNumber>";
  std::string answer = kHead + Invoice("11") + kTail;
  answer.insert(answer.find("<Quantity>"), unknown);
  EXPECT_EQ(GetAll(answer), plain);
  EXPECT_EQ(GetAll(WithComment(answer)), plain);
}

// A refusal is filed with QuickBooks' number and message and loads none of the records it
// carries.
TEST_F(InvoiceAnswerTest, ARefusalWithRecordsLoadsNone) {
  std::string answer = kHead + Invoice("11") + kTail;
  const std::string ok = "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\"";
  answer.replace(answer.find(ok), ok.size(),
                 "statusCode=\"3120\" statusSeverity=\"Error\" statusMessage=\"Object "
                 "&quot;80-1&quot; specified in the request cannot be found.\"");
  const std::string expected =
      "count 0\nerror 3120 Object \"80-1\" specified in the request cannot be found.\n";
  EXPECT_EQ(GetAll(answer), expected);
  EXPECT_EQ(GetAll(WithComment(answer)), expected);
}

// An answer cut short inside a line is filed as the document loader's refusal, on either path,
// and leaves no invoice loaded.
TEST_F(InvoiceAnswerTest, AnAnswerCutShortInALineIsFiledAsUnreadable) {
  const std::string answer = kHead + Invoice("11") + Invoice("12") + kTail;
  for (const char* cut : {"<Desc>Mileage", "12-L1</TxnLineID>", "</InvoiceLineRet></Inv"}) {
    SCOPED_TRACE(cut);
    const std::string truncated = answer.substr(0, answer.rfind(cut) + 6);
    XmlDocument document;
    ASSERT_FALSE(document.loadXML(truncated));
    const XmlParseError parse = document.parseError();
    const std::string expected =
        "count 0\nerror " + std::to_string(vbObjectError + 1003) +
        " The response from QuickBooks is not well-formed XML: " + parse.reason + " (at byte " +
        std::to_string(parse.filepos) + ")\n";
    GetAll(answer);
    EXPECT_EQ(GetAll(truncated), expected);
  }
}

}  // namespace
}  // namespace invoice_answer_test
}  // namespace brennock::testing

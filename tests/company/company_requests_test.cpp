// Company operations checked against exact request texts on a recording processor.
#include <gtest/gtest.h>

#include "brennock/company/brennock_globals.h"
#include "brennock/company/company.h"
#include "brennock/errors/qc_error.h"
#include "brennock/lists/hierarchical_lists.h"
#include "brennock/lists/named_lists.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

using CompanyRequestsTest = ListsTest;

TEST_F(CompanyRequestsTest, MonthsAreZeroBeforeAnyCompanyQuery) {
  EXPECT_EQ(company_->FirstMonthFiscalYear(), "0");
  EXPECT_EQ(company_->FirstMonthIncomeTaxYear(), "0");
}

TEST_F(CompanyRequestsTest, SetClearedStatusWritesTheLineOnlyWhenGiven) {
  processor_->QueueResponse(Response(Status("ClearedStatusModRs", 1, 0, "Status OK")));
  processor_->QueueResponse(Response(Status("ClearedStatusModRs", 1, 0, "Status OK")));
  EXPECT_EQ(company_->SetClearedStatus(qbClearedStatusCleared, "12-345"), 0);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<ClearedStatusModRq requestID = \"1\"><ClearedStatusMod><TxnID>12-345</TxnID>"
                "<ClearedStatus>Cleared</ClearedStatus></ClearedStatusMod></ClearedStatusModRq>" +
                kClose);
  company_->SetClearedStatus(qbClearedStatusPending, "12-345", "7-8");
  EXPECT_NE(processor_->LastRequestText().find(
                "<TxnID>12-345</TxnID><TxnLineID>7-8</TxnLineID><ClearedStatus>Pending"),
            std::string::npos);
}

TEST_F(CompanyRequestsTest, ValidateAllKeysOneErrorPerInvalidList) {
  company_->Classes()->Add(std::string(40, 'c'));
  company_->ShipMethods()->Add(std::string(40, 's'));
  company_->CustomerTypes()->Add("Retail");
  EXPECT_FALSE(company_->ValidateAll());
  ASSERT_EQ(company_->Errors().Count(), 2);
  EXPECT_EQ(company_->Errors().Item(1)->Field(), "Class");
  EXPECT_EQ(company_->Errors().Item(2)->Field(), "ShipMethod");
  EXPECT_EQ(company_->Errors().Item(2)->Number(), static_cast<int32_t>(0x800403F3u));
  EXPECT_EQ(company_->Errors().Item(2)->Description(),
            "Indicated object failed validation.  Check object's errors for details.");
}

TEST_F(CompanyRequestsTest, RefreshRaisesQuickBooksErrorsAndKeepsValues) {
  processor_->QueueResponse(Response(Status("CompanyQueryRs", 1, 0, "Status OK",
                                            "<CompanyRet><CompanyName>Old Mill</CompanyName>"
                                            "<FirstMonthFiscalYear>July</FirstMonthFiscalYear>"
                                            "<Unknown>x</Unknown></CompanyRet>")));
  company_->Refresh();
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) + "<CompanyQueryRq></CompanyQueryRq>" + kClose);
  EXPECT_EQ(company_->Name(), "Old Mill");
  EXPECT_EQ(company_->FirstMonthFiscalYear(), "7");
  processor_->QueueResponse(Response(Status("CompanyQueryRs", 1, 3100, "Busy")));
  AutomationError error = RaisedBy([&] { company_->Refresh(); });
  EXPECT_EQ(error.Source(), "Company:Refresh");
  EXPECT_EQ(error.Description(), "Busy");
  EXPECT_EQ(company_->Name(), "Old Mill");
}

TEST_F(CompanyRequestsTest, VendorQueryResponseRepeatsTheNameAndUsesTheCustomerAddress) {
  processor_->QueueResponse(Response(Status(
      "CompanyQueryRs", 1, 0, "Status OK",
      "<CompanyRet><CompanyName>Old Mill</CompanyName><CompanyAddressForCustomer><Addr1>1 Lane"
      "</Addr1><City>Bath</City></CompanyAddressForCustomer><Phone>555</Phone></CompanyRet>")));
  company_->Refresh();
  xmlBldr builder;
  EXPECT_EQ(company_->XMLVendorQueryRs(builder, 4), 0);
  EXPECT_EQ(builder.GetXML(),
            "<VendorQueryRs requestID = \"4\"><VendorRet><Name>Old Mill</Name><CompanyName>Old "
            "Mill</CompanyName><VendorAddress><Addr1>1 Lane</Addr1><City>Bath</City>"
            "</VendorAddress><Phone>555</Phone><Fax></Fax><Email></Email></VendorRet>"
            "</VendorQueryRs>");
}

TEST_F(CompanyRequestsTest, GlobalAccessorsCheckTheSessionAndTheEdition) {
  BrennockGlobals globals;
  EXPECT_EQ(globals.Company(), company_);
  EXPECT_EQ(globals.Classes(), company_->Classes());
  EXPECT_EQ(globals.PriceLevels(), company_->PriceLevels());
  EXPECT_EQ(RaisedBy([&] { globals.TaxCodes(); }).Number(), static_cast<int32_t>(0x80040408u));
  Session().nonUSEdition = true;
  EXPECT_EQ(globals.TaxCodes(), company_->TaxCodes());
  Session().ticket.clear();
  AutomationError error = RaisedBy([&] { globals.ShipMethods(); });
  EXPECT_EQ(error.Number(), static_cast<int32_t>(0x800403E8u));
  EXPECT_EQ(error.Description(), "QBConnect has not been called, or it failed");
}

}  // namespace
}  // namespace brennock::testing

// Customers on a recording processor: the Add and Mod bodies, edition-bound fields, validation.
#include <string>

#include "brennock/brennock.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

using CustomerTest = ListsTest;

std::string ModRequest(qcBase& record) {
  xmlBldr builder;
  builder.InsertModRq(record, 1);
  return builder.GetXML();
}

constexpr const char* kSavedRet =
    "<CustomerRet><ListID>80-1</ListID><EditSequence>7</EditSequence><Name>Ada</Name>"
    "<FullName>Ada</FullName><IsActive>true</IsActive><CompanyName>Ada Ltd</CompanyName>"
    "<BillAddress><Addr1>1 Quay</Addr1><City>Cork</City><Province>Munster</Province></BillAddress>"
    "<Phone>555</Phone><TermsRef><FullName>Net 30</FullName></TermsRef>"
    "<Balance>12.50</Balance><CreditLimit>500.00</CreditLimit>"
    "<CreditCardInfo><CreditCardNumber>4111</CreditCardNumber><ExpirationMonth>7"
    "</ExpirationMonth></CreditCardInfo><JobStatus>InProgress</JobStatus></CustomerRet>";

std::shared_ptr<Customer> Saved() {
  auto customer = std::make_shared<Customer>();
  XmlDocument document;
  document.loadXML(kSavedRet);
  customer->FromDom(document.documentElement());
  return customer;
}

TEST_F(CustomerTest, AddWritesTheFieldsInQuickBooksOrder) {
  auto customer = company_->Customers()->Add("Ada", true, "Parent Co");
  customer->SetCompanyName("Ada Ltd");
  customer->SetSuffix("Jr");
  customer->BillTo()->SetLine1("1 Quay");
  customer->BillTo()->SetCity("Cork");
  customer->SetPhone("555");
  customer->SetTerms("Net 30");
  customer->SetOpeningBalance(Currency(100));
  customer->SetOpeningBalanceDate(Date::FromDate(2024, 1, 31));
  customer->SetSalesTaxCode("Tax");
  customer->SetCreditLimit(Currency(500));
  customer->CreditCard()->SetCardNumber("4111");
  customer->CreditCard()->SetExpirationMonth(7);
  customer->SetJobStatus(qbJobStatusInProgress);
  customer->SetNotes("VIP");
  EXPECT_EQ(AddRequest(*customer),
            "<CustomerAddRq requestID = \"1\"><CustomerAdd><Name>Ada</Name><IsActive>1</IsActive>"
            "<ParentRef><FullName>Parent Co</FullName></ParentRef><CompanyName>Ada Ltd"
            "</CompanyName><Suffix>Jr</Suffix><BillAddress><Addr1>1 Quay</Addr1><Addr2></Addr2>"
            "<Addr3></Addr3><Addr4></Addr4><Addr5></Addr5><City>Cork</City><State></State>"
            "<PostalCode></PostalCode><Country></Country></BillAddress><Phone>555</Phone>"
            "<TermsRef><FullName>Net 30</FullName></TermsRef><OpenBalance>100.00</OpenBalance>"
            "<OpenBalanceDate>2024-01-31</OpenBalanceDate><SalesTaxCodeRef><FullName>Tax"
            "</FullName></SalesTaxCodeRef><CreditLimit>500.00</CreditLimit><CreditCardInfo>"
            "<CreditCardNumber>4111</CreditCardNumber><ExpirationMonth>7</ExpirationMonth>"
            "</CreditCardInfo><JobStatus>InProgress</JobStatus><Notes>VIP</Notes>"
            "<IsStatementWithParent>0</IsStatementWithParent></CustomerAdd></CustomerAddRq>");
}

TEST_F(CustomerTest, ZeroOpeningBalanceAndCleanShipToAreNotWritten) {
  auto customer = company_->Customers()->Add("Bo");
  customer->SetOpeningBalanceDate(Date::FromDate(2024, 1, 31));
  customer->ShipTo();
  customer->SetCreditLimitEnabled(false);
  EXPECT_EQ(AddRequest(*customer),
            "<CustomerAddRq requestID = \"1\"><CustomerAdd><Name>Bo</Name><IsActive>1</IsActive>"
            "<IsStatementWithParent>0</IsStatementWithParent></CustomerAdd></CustomerAddRq>");
}

TEST_F(CustomerTest, TaxReferencesAndRegionFollowTheEdition) {
  struct Case {
    bool nonUS, uk;
    int version;
    const char* expected;
  };
  const Case cases[] = {
      {true, false, 2, "<City></City><Province></Province>"},
      {true, true, 2, "<City></City><County></County>"},
      {true, true, 3, "<City></City><County></County>"},
  };
  for (const Case& c : cases) {
    Session().nonUSEdition = c.nonUS;
    Session().ukEdition = c.uk;
    Session().qbxmlVersionNumber = Currency(c.version);
    Customer customer;
    customer.SetName("C");
    customer.BillTo()->SetCity("");
    customer.SetCDNTaxCode("G");
    customer.SetIsUsingCustomerTaxCode(true);
    std::string text = AddRequest(customer);
    EXPECT_NE(text.find(c.expected), std::string::npos) << text;
    bool taxCode = !c.uk || c.version >= 3;
    EXPECT_EQ(text.find("<TaxCodeRef><FullName>G</FullName></TaxCodeRef>") != std::string::npos,
              taxCode)
        << text;
    // From qbXML 3.0 in every other edition, Canada's included.
    EXPECT_EQ(text.find("<IsUsingCustomerTaxCode>1</IsUsingCustomerTaxCode>") != std::string::npos,
              c.version >= 3)
        << text;
    EXPECT_EQ(text.find("SalesTaxCodeRef"), std::string::npos);
  }
  // Each edition refuses the other's fields.
  auto cdn = RaisedBy([] { Customer().SetSalesTaxCode("Tax"); });
  EXPECT_EQ(cdn.Number(), ErrorNumber(1032));
  EXPECT_EQ(cdn.Description(), "This property is only supported for US versions of QuickBooks.");
  EXPECT_EQ(cdn.Source(), "brennock");
  Session().nonUSEdition = false;
  auto us = RaisedBy([] { Customer().SetIsUsingCustomerTaxCode(true); });
  EXPECT_EQ(us.Description(), "This property is only supported for non-US versions of QuickBooks.");
}

TEST_F(CustomerTest, AddressBlocksAreReadAndOnlyWrittenBackAsTheyCame) {
  auto customer = std::make_shared<Customer>();
  XmlDocument document;
  document.loadXML(
      "<CustomerRet><ListID>80-1</ListID><Name>Ada</Name><BillAddressBlock><Addr1>Ada Ltd</Addr1>"
      "<Addr2>1 Quay</Addr2><Addr3>Cork</Addr3></BillAddressBlock><ShipAddressBlock><Addr1>Dock 4"
      "</Addr1></ShipAddressBlock></CustomerRet>");
  customer->FromDom(document.documentElement());
  EXPECT_EQ(customer->BillAddressBlock()->Addr3(), "Cork");
  EXPECT_EQ(customer->ShipAddressBlock()->Addr1(), "Dock 4");
  xmlBldr builder;
  builder.InsertQueryRs(*customer, 1);
  EXPECT_NE(builder.GetXML().find("<BillAddressBlock><Addr1>Ada Ltd</Addr1><Addr2>1 Quay</Addr2>"
                                  "<Addr3>Cork</Addr3></BillAddressBlock><ShipAddressBlock>"
                                  "<Addr1>Dock 4</Addr1></ShipAddressBlock>"),
            std::string::npos)
      << builder.GetXML();
  customer->SetPhone("555");
  EXPECT_EQ(ModRequest(*customer).find("AddressBlock"), std::string::npos);
}

TEST_F(CustomerTest, ModCarriesOnlyWhatChanged) {
  auto customer = Saved();
  EXPECT_EQ(customer->BillTo()->State(), "Munster");  // any region element fills State
  EXPECT_TRUE(customer->CreditLimitEnabled());
  EXPECT_EQ(customer->JobStatus(), qbJobStatusInProgress);
  EXPECT_EQ(customer->Balance(), Currency::Parse("12.50"));
  customer->SetPhone("556");
  customer->ShipTo()->SetCity("Cobh");
  EXPECT_EQ(customer->ObjectState(), qoObjectStateDirty);
  EXPECT_EQ(ModRequest(*customer),
            "<CustomerModRq requestID = \"1\"><CustomerMod><ListID>80-1</ListID><EditSequence>7"
            "</EditSequence><ShipAddress><Addr1></Addr1><Addr2></Addr2><Addr3></Addr3><Addr4>"
            "</Addr4><Addr5></Addr5><City>Cobh</City><State></State><PostalCode></PostalCode>"
            "<Country></Country></ShipAddress><Phone>556</Phone></CustomerMod></CustomerModRq>");
  // Add-only fields stay as they were on a saved customer.
  auto refused = RaisedBy([&] { customer->SetMobile("1"); });
  EXPECT_EQ(refused.Number(), ErrorNumber(1002));
  EXPECT_EQ(refused.Source(), "Customer");
  EXPECT_TRUE(customer->Mobile().empty());
}

TEST_F(CustomerTest, ValidationRulesAndAddressErrors) {
  struct Case {
    void (*set)(Customer&);
    int32_t number;
    const char* field;
  };
  const std::string n42(42, 'n');
  const Case cases[] = {
      {[](Customer& c) { c.SetName(std::string(42, 'n')); }, 1500, "Name"},
      {[](Customer& c) { c.SetName(""); }, 1012, "Name"},
      {[](Customer& c) { c.SetCompanyName(std::string(42, 'c')); }, 1500, "Company Name"},
      {[](Customer& c) { c.SetSalutation(std::string(16, 's')); }, 1501, "Salutation"},
      {[](Customer& c) { c.SetMiddleName("abcdef"); }, 1503, "Middle Name"},
      {[](Customer& c) { c.SetLastName(std::string(26, 'l')); }, 1502, "Last Name"},
      {[](Customer& c) { c.BillTo()->SetCity(std::string(32, 'x')); }, 1202, "Bill To City"},
      {[](Customer& c) { c.ShipTo()->SetLine2(std::string(42, 'x')); }, 1202, "Ship To Line2"},
      {[](Customer& c) { c.SetEmail(std::string(100, 'e')); }, 1505, "Email"},
      {[](Customer& c) { c.SetContact(std::string(42, 'e')); }, 1500, "Contact"},
      {[](Customer& c) { c.SetResaleNumber(std::string(16, 'r')); }, 1506, "Resale Number"},
      {[](Customer& c) { c.SetJobDescription(std::string(100, 'j')); }, 1508, "Job Description"},
      {[](Customer& c) { c.SetNotes(std::string(4096, 'n')); }, 1703, "Notes"},
      {[](Customer& c) { c.SetFax(std::string(22, '5')); }, 1504, "Fax"},
  };
  for (const Case& c : cases) {
    Customer customer;
    customer.SetName(std::string(41, 'a'));  // the longest name that fits
    c.set(customer);
    EXPECT_FALSE(customer.Validate()) << c.field;
    ASSERT_EQ(customer.Errors()->Count(), 1) << c.field;
    EXPECT_EQ(customer.Errors()->Item(1)->Number(), ErrorNumber(c.number)) << c.field;
    EXPECT_EQ(customer.Errors()->Item(1)->Field(), c.field);
  }
  Customer customer;
  customer.SetName("Ok");
  customer.BillTo()->SetLine1("\n" + std::string(41, 'x'));  // the leading line feed goes first
  EXPECT_TRUE(customer.Validate());
  EXPECT_EQ(customer.BillTo()->Line1(), std::string(41, 'x'));
}

TEST_F(CustomerTest, CloneCopiesWritableFieldsAndAddresses) {
  auto saved = Saved();
  auto clone = saved->Clone();
  EXPECT_EQ(clone->Name(), "Ada");
  EXPECT_TRUE(clone->ListID().empty());
  EXPECT_EQ(clone->CompanyName(), "Ada Ltd");
  EXPECT_EQ(clone->Terms(), "Net 30");
  EXPECT_EQ(clone->BillTo()->City(), "Cork");
  EXPECT_NE(clone->BillTo(), saved->BillTo());
  EXPECT_EQ(clone->CreditCard()->CardNumber(), "4111");
  EXPECT_EQ(clone->Balance(), Currency());
}

// A read address waits as its element until first asked for: nothing a client or a request sees
// depends on when that is.
TEST_F(CustomerTest, ReadAddressesAreTheSameWhenFirstAskedForLate) {
  auto queryRs = [](Customer& customer) {
    xmlBldr builder;
    builder.InsertQueryRs(customer, 1);
    return builder.GetXML();
  };
  auto early = Saved();
  const std::string asked = early->BillTo()->City() + "|" + early->BillTo()->State();
  auto late = Saved();
  EXPECT_EQ(queryRs(*late), queryRs(*early));
  EXPECT_EQ(late->BillTo()->City() + "|" + late->BillTo()->State(), asked);
  EXPECT_EQ(asked, "Cork|Munster");
  EXPECT_EQ(ModRequest(*late), ModRequest(*early));  // neither address changed: none sent

  // Read again before being asked for: the last answer counts, and an answer without an address
  // leaves it empty.
  auto reread = [](Customer& customer, const std::string& addresses) {
    XmlDocument document;
    document.loadXML("<CustomerRet><ListID>80-1</ListID><Name>Ada</Name>" + addresses +
                     "</CustomerRet>");
    customer.FromDom(document.documentElement());
  };
  auto twice = Saved();
  reread(*twice, "<ShipAddress><City>Kinsale</City></ShipAddress>");
  EXPECT_EQ(twice->BillTo()->City(), "");
  EXPECT_EQ(twice->ShipTo()->City(), "Kinsale");
  EXPECT_EQ(twice->ShipTo()->ObjectState(), qoObjectStateClean);
  reread(*twice, "<BillAddress><City>Cobh</City></BillAddress>");
  EXPECT_EQ(twice->BillTo()->City(), "Cobh");
  EXPECT_EQ(twice->ShipTo()->City(), "");
}

// The texts most customers leave empty are kept apart from the others: they still read, write
// back, clear and copy like them.
TEST_F(CustomerTest, SeldomUsedTextsReadWriteClearAndCopy) {
  auto customer = std::make_shared<Customer>();
  XmlDocument document;
  document.loadXML(
      "<CustomerRet><ListID>80-1</ListID><EditSequence>7</EditSequence><Name>Ada</Name>"
      "<Salutation>Dr</Salutation><PrintAs>A. Byron</PrintAs><Fax>555 0101</Fax>"
      "<Notes>Pays early</Notes></CustomerRet>");
  customer->FromDom(document.documentElement());
  EXPECT_EQ(customer->Salutation() + "|" + customer->PrintAs() + "|" + customer->Fax() + "|" +
                customer->Notes() + "|" + customer->AltContact(),
            "Dr|A. Byron|555 0101|Pays early|");
  xmlBldr result;
  result.InsertQueryRs(*customer, 1);
  EXPECT_NE(result.GetXML().find("<Salutation>Dr</Salutation><PrintAs>A. Byron</PrintAs>"),
            std::string::npos)
      << result.GetXML();
  auto clone = customer->Clone();
  EXPECT_EQ(clone->Fax() + "|" + clone->Notes(), "555 0101|Pays early");
  customer->SetFax("");
  EXPECT_NE(ModRequest(*customer).find("<Fax></Fax>"), std::string::npos) << ModRequest(*customer);
  EXPECT_TRUE(std::make_shared<Customer>()->Notes().empty());
}

// Addr3..Addr5 and Note, UserData and the error list are kept apart from the common lines: they
// must still read, write back, validate and reload like the others.
TEST_F(CustomerTest, AnAddressKeepsItsRareFieldsThroughWritesChecksAndReloads) {
  constexpr const char* kAddress =
      "<BillAddress><Addr1>1 Quay</Addr1><Addr3>Floor 2</Addr3><Addr4>Wing B</Addr4><Addr5>Dock"
      "</Addr5><City>Cork</City><Note>Back door</Note></BillAddress>";
  auto customer = std::make_shared<Customer>();
  XmlDocument document;
  document.loadXML(std::string("<CustomerRet><ListID>80-1</ListID><EditSequence>7</EditSequence>"
                               "<Name>Ada</Name>") +
                   kAddress + "</CustomerRet>");
  customer->FromDom(document.documentElement());
  auto bill = customer->BillTo();
  EXPECT_EQ(bill->Line3() + "|" + bill->Addr4() + "|" + bill->Line5() + "|" + bill->Note(),
            "Floor 2|Wing B|Dock|Back door");
  xmlBldr result;
  result.InsertQueryRs(*customer, 1);
  EXPECT_NE(result.GetXML().find(kAddress), std::string::npos) << result.GetXML();

  bill->SetUserData("mine");
  bill->SetLine4("\n" + std::string(41, 'x'));  // the leading line feed goes first
  EXPECT_TRUE(bill->Validate());
  EXPECT_EQ(bill->Line4(), std::string(41, 'x'));
  bill->SetLine3(std::string(42, 'x'));
  EXPECT_FALSE(bill->Validate());
  ASSERT_EQ(bill->Errors()->Count(), 1);
  EXPECT_EQ(bill->Errors()->Item(1)->Field(), "Line3");
  bill->SetLine3("Floor 3");
  EXPECT_NE(ModRequest(*customer).find("<Addr3>Floor 3</Addr3><Addr4>" + std::string(41, 'x') +
                                       "</Addr4><Addr5>Dock</Addr5>"),
            std::string::npos);

  // The address handed out before the reload shows what QuickBooks sent last, and keeps the
  // client's UserData.
  document.loadXML(
      "<CustomerRet><ListID>80-1</ListID><Name>Ada</Name><BillAddress><Addr1>2 Quay</Addr1>"
      "</BillAddress></CustomerRet>");
  customer->FromDom(document.documentElement());
  EXPECT_EQ(customer->BillTo(), bill);
  EXPECT_EQ(bill->Addr1(), "2 Quay");
  EXPECT_TRUE(bill->Addr3().empty() && bill->Addr5().empty() && bill->Note().empty());
  EXPECT_EQ(bill->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(bill->UserData().ToString(), "mine");

  // A copy takes the rare lines; an entity's Mod writes a rare line the client emptied.
  Address copy;
  copy.CopyAddress(Address(*bill));
  EXPECT_TRUE(copy.Addr3().empty());
  auto vendor = std::make_shared<Vendor>();
  document.loadXML(
      "<VendorRet><ListID>90-1</ListID><EditSequence>3</EditSequence><Name>Acme</Name>"
      "<VendorAddress><Addr1>2 Mill Road</Addr1><Addr3>Unit 4</Addr3></VendorAddress>"
      "</VendorRet>");
  vendor->FromDom(document.documentElement());
  copy.CopyAddress(*vendor->Address());
  EXPECT_EQ(copy.Addr3(), "Unit 4");
  vendor->Address()->SetAddr3("");
  EXPECT_NE(ModRequest(*vendor).find(
                "<VendorAddress><Addr1>2 Mill Road</Addr1><Addr3></Addr3></VendorAddress>"),
            std::string::npos)
      << ModRequest(*vendor);
}

TEST_F(CustomerTest, LargeListQueriesWriteTheirElements) {
  Session().qbxmlVersionNumber = Currency(5);
  processor_->SetResponder([](const std::string&) {
    return ListsTest::Response(ListsTest::Status("CustomerQueryRs", 1, 1, "none"));
  });
  auto customers = std::make_shared<Customers>();
  customers->GetAll(0, {}, qbOperatorGreaterThanEqual, Currency(100));
  customers->SetFields({qoFldCustPhone, qoFldCustom1, qoFldCustom2, qoFldItemType});
  customers->SetIncludeDataExtensions(true);
  customers->GetByNameRange("", "M");
  customers->SetFields({});
  customers->SetIncludeDataExtensions(false);
  customers->GetByListIDs({"1-1", "2-2"});
  customers->GetByDateSpan(Date::FromDate(2024, 1, 2), {});
  const auto& requests = processor_->Requests();
  ASSERT_EQ(requests.size(), 4u);
  auto body = [](const std::string& text) {
    size_t from = text.find("<CustomerQueryRq");
    return text.substr(from, text.find("</CustomerQueryRq>") - from);
  };
  EXPECT_EQ(body(requests[0].text),
            "<CustomerQueryRq requestID = \"1\"><ActiveStatus>All</ActiveStatus>"
            "<TotalBalanceFilter><Operator>GreaterThanEqual</Operator><Amount>100.00</Amount>"
            "</TotalBalanceFilter>");
  EXPECT_EQ(body(requests[1].text),
            "<CustomerQueryRq requestID = \"1\"><NameRangeFilter><FromName></FromName><ToName>M"
            "</ToName></NameRangeFilter><IncludeRetElement>FullName</IncludeRetElement>"
            "<IncludeRetElement>ParentRef</IncludeRetElement><IncludeRetElement>Phone"
            "</IncludeRetElement><IncludeRetElement>DataExtRet</IncludeRetElement>"
            "<OwnerID>0</OwnerID>");
  EXPECT_EQ(body(requests[2].text),
            "<CustomerQueryRq requestID = \"1\"><ListID>1-1</ListID><ListID>2-2</ListID>");
  EXPECT_EQ(body(requests[3].text),
            "<CustomerQueryRq requestID = \"1\"><FromModifiedDate>2024-01-02T00:00:00"
            "</FromModifiedDate><ToModifiedDate>None</ToModifiedDate>");
}

TEST_F(CustomerTest, AddExistingOnlyOnAClientCollection) {
  auto record = std::make_shared<Customer>();
  record->SetName("Held");
  auto mine = std::make_shared<Customers>();
  mine->AddExisting(record);
  EXPECT_EQ(mine->Item("Held"), record);
  auto refused = RaisedBy([&] { company_->Customers()->AddExisting(record); });
  EXPECT_EQ(refused.Number(), ErrorNumber(1025));
  EXPECT_EQ(refused.Description(), "This operation is not permitted on the master collection");
}

}  // namespace
}  // namespace brennock::testing

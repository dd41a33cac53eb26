// Vendors, other names, employees and entities on a recording processor: validation rules, the
// request bodies byte for byte, bills and credits, and the mixed entity collection.
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "brennock/errors/qc_error.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/error_table.h"
#include "brennock/lists/employee.h"
#include "brennock/lists/entities.h"
#include "brennock/lists/other_name.h"
#include "brennock/lists/vendor.h"
#include "brennock/model/data_extension.h"
#include "brennock/model/lists_registry.h"
#include "brennock/xml/xml_document.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

using Entry = std::tuple<int32_t, std::string, std::string>;  // n, field, message

std::vector<Entry> Validated(qcListObject& record) {
  record.Validate();
  std::vector<Entry> out;
  qcErrors& errors = *record.Errors();
  for (int32_t i = 1; i <= errors.Count(); ++i) {
    auto e = errors.Item(i);
    out.emplace_back(e->Number() - ErrorNumber(0), e->Field(), e->Description());
  }
  return out;
}

const std::string kFirstLast = "First/Last name cannot exceed 25 characters";
const std::string kPhones = "Phone numbers cannot exceed 21 characters";
const std::string kContacts = "Contact names cannot exceed 41 characters";

// Fills a record from a return element, as a query would.
template <class Record>
void Load(Record& record, const std::string& ret) {
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXML(ret));
  record.FromDom(doc.documentElement());
}

class NameRecordsTest : public ListsTest {
 protected:
  // An entity query answering a vendor, an employee and an other name.
  static std::string EntityAnswer(int code, const std::string& message,
                                  std::string_view severity = {}, bool records = true) {
    std::string answer =
        Status("EntityQueryRs", 1, code, message,
               records ? "<VendorRet><ListID>1-1</ListID><Name>Acme</Name></VendorRet>"
                         "<EmployeeRet><ListID>2-1</ListID><Name>Kim Lee</Name></EmployeeRet>"
                         "<OtherNameRet><ListID>3-1</ListID><Name>Owner</Name></OtherNameRet>"
                       : "");
    if (!severity.empty()) answer.replace(answer.find("Error"), 5, severity);
    return Response(answer);
  }
};

TEST_F(NameRecordsTest, VendorAppliesEveryRuleInOrder) {
  auto vendor = company_->Vendors()->Add(std::string(42, 'n'));
  vendor->SetCompanyName(std::string(42, 'c'));
  vendor->SetSalutation(std::string(16, 's'));
  vendor->SetFirstName(std::string(26, 'f'));
  vendor->SetMiddleName(std::string(6, 'm'));
  vendor->SetLastName(std::string(26, 'l'));
  vendor->Address()->SetAddr1("\n" + std::string(42, 'a'));
  vendor->Address()->SetCity(std::string(32, 'c'));
  vendor->SetPhone(std::string(22, '1'));
  vendor->SetAltPhone(std::string(22, '2'));
  vendor->SetFax(std::string(22, '3'));
  vendor->SetEmail(std::string(100, 'e'));
  vendor->SetContact(std::string(42, 'k'));
  vendor->SetAltContact(std::string(42, 'k'));
  vendor->SetNameOnCheck(std::string(42, 'o'));
  vendor->SetAccountNumber(std::string(100, '9'));
  vendor->SetVendorType(std::string(160, 'v'));
  vendor->SetTerms(std::string(32, 't'));
  vendor->SetTaxId(std::string(16, 'x'));
  vendor->SetNotes(std::string(4096, 'n'));
  vendor->SetEligibleFor1099(true);
  std::vector<Entry> expected = {
      {1013, "Name", "Name cannot exceed 31 characters"},
      {1700, "Company Name", "Vendor/Company name cannot exceed 41 characters"},
      {1501, "Salutation", "Salutation cannot exceed 15 characters"},
      {1502, "First Name", kFirstLast},
      {1503, "Middle Name", "Middle name cannot exceed 5 characters"},
      {1502, "Last Name", kFirstLast},
      {1202, "Address Line1", "Address lines cannot exceed 41 characters."},
      {1202, "Address City", "Address city cannot exceed 31 characters."},
      {1504, "Phone", kPhones},
      {1504, "Alt Phone", kPhones},
      {1504, "Fax", kPhones},
      {1505, "Email", "Email cannot exceed 99 characters"},
      {1701, "Contact", kContacts},
      {1701, "Alt Contact", kContacts},
      {1702, "Name On Check", "Names on Checks cannot exceed 41 characters"},
      {1507, "Account Number", "Account number cannot exceed 99 characters"},
      {1704, "Vendor Type: Full Name", "VendorType FullName cannot exceed 159 characters"},
      {1705, "TermsRef: Full Name", "TermsRef FullName cannot exceed 31 characters"},
      {1706, "Tax ID", "Vendor TaxID cannot exceed 15 characters"},
      {1703, "Notes", "Notes cannot exceed 4095 characters"},
  };
  EXPECT_EQ(Validated(*vendor), expected);
  // The leading line feed was dropped from the stored line.
  EXPECT_EQ(vendor->Address()->Addr1(), std::string(42, 'a'));
}

TEST_F(NameRecordsTest, VendorLimitsSitAtTheirBounds) {
  auto vendor = company_->Vendors()->Add(std::string(41, 'n'));
  vendor->SetVendorType(std::string(159, 'v'));
  vendor->SetTerms(std::string(31, 't'));
  vendor->Address()->SetAddr1(std::string(41, 'a'));
  EXPECT_TRUE(vendor->Validate());
  vendor->SetEligibleFor1099(true);
  EXPECT_EQ(Validated(*vendor),
            (std::vector<Entry>{{1707, "Eligible For 1099",
                                 "If EligibleFor1099 is True, Vendor Address and TaxID is "
                                 "required"}}));
  vendor->SetTaxId("12-3456789");
  EXPECT_TRUE(vendor->Validate());
  auto unnamed = company_->Vendors()->Add();
  EXPECT_EQ(Validated(*unnamed), (std::vector<Entry>{{1012, "Name", "Name cannot be null"}}));
}

TEST_F(NameRecordsTest, OtherNamesAndEmployeesByDifference) {
  struct Case {
    std::function<std::shared_ptr<qcListObject>(Company&)> make;
    std::vector<Entry> expected;
  };
  const std::string same = "Last Name cannot be the same as First Name";
  std::vector<Case> cases = {
      {[](Company& c) { return c.OtherNames()->Add("Owner"); }, {}},
      {[](Company& c) {
         auto o = c.OtherNames()->Add("Pat");
         o->SetFirstName("Pat");
         o->SetLastName("Pat");
         o->SetFax(std::string(22, '3'));
         return o;
       },
       {{1509, "Last Name", same}, {1504, "Fax", kPhones}}},
      {[](Company& c) {
         auto o = c.OtherNames()->Add(std::string(42, 'n'));
         o->SetFirstName(std::string(26, 'p'));
         o->SetLastName(std::string(26, 'p'));
         o->Address()->SetPostalCode(std::string(14, '0'));
         return o;
       },
       {{1013, "Name", "Name cannot exceed 31 characters"},
        {1502, "First Name", kFirstLast},
        {1502, "Last Name", kFirstLast},
        {1201, "OtherName Address", "Address error"}}},
      // Two empty names count as the same for an employee.
      {[](Company& c) { return c.Employees()->Add("Nameless"); }, {{1509, "Last Name", same}}},
      {[](Company& c) {
         auto e = c.Employees()->Add("Kim Lee");
         e->SetFirstName("Kim");
         e->SetLastName("Lee");
         e->SetPrintAs(std::string(42, 'p'));
         e->SetPhone(std::string(22, '1'));
         e->SetSSN(std::string(16, '9'));
         e->SetEmail(std::string(100, 'e'));
         e->Address()->SetState(std::string(22, 's'));
         return e;
       },
       {{1201, "Employee Address", "Address error"},
        {2100, "Print As", "Print As value cannot exceed 41 characters"},
        {1504, "Phone", kPhones},
        {2101, "SSN", "Social Security Number (SSN) cannot exceed 15 characters"},
        {1505, "Email", "Email cannot exceed 99 characters"}}},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Validated(*cases[i].make(*company_)), cases[i].expected);
  }
}

TEST_F(NameRecordsTest, VendorAddBodyFollowsTheEdition) {
  auto vendor = company_->Vendors()->Add("Acme & Co");
  vendor->SetCompanyName("Acme Ltd");
  vendor->SetFirstName("Ann");
  vendor->Address()->SetAddr1("1 Main St");
  vendor->Address()->SetCity("Town");
  vendor->SetPhone("555-0100");
  vendor->SetNotes("Pays late");
  vendor->SetVendorType("Supplies");
  vendor->SetTerms("Net 30");
  vendor->SetCreditLimit(Currency(500));
  vendor->SetTaxId("12-3456789");
  vendor->SetEligibleFor1099(true);
  vendor->SetOpeningBalance(Currency(100));
  vendor->SetOpeningBalanceDate(Date::FromDate(2024, 1, 31));
  const std::string head =
      "<VendorAddRq requestID = \"1\"><VendorAdd><Name>Acme &amp; Co</Name>"
      "<IsActive>1</IsActive><CompanyName>Acme Ltd</CompanyName><FirstName>Ann</FirstName>"
      "<VendorAddress><Addr1>1 Main St</Addr1><City>Town</City></VendorAddress>"
      "<Phone>555-0100</Phone><Notes>Pays late</Notes>"
      "<VendorTypeRef><FullName>Supplies</FullName></VendorTypeRef>"
      "<TermsRef><FullName>Net 30</FullName></TermsRef><CreditLimit>500.00</CreditLimit>"
      "<VendorTaxIdent>12-3456789</VendorTaxIdent>";
  const std::string tail =
      "<OpenBalance>100.00</OpenBalance><OpenBalanceDate>2024-01-31</OpenBalanceDate>"
      "</VendorAdd></VendorAddRq>";
  EXPECT_EQ(AddRequest(*vendor),
            head + "<IsVendorEligibleFor1099>1</IsVendorEligibleFor1099>" + tail);
  Session().nonUSEdition = true;
  EXPECT_EQ(AddRequest(*vendor), head + tail);
  // No credit limit, no opening balance: neither is written.
  auto plain = company_->Vendors()->Add("Plain", false);
  Session().nonUSEdition = false;
  EXPECT_EQ(AddRequest(*plain),
            "<VendorAddRq requestID = \"1\"><VendorAdd><Name>Plain</Name><IsActive>0</IsActive>"
            "<IsVendorEligibleFor1099>0</IsVendorEligibleFor1099></VendorAdd></VendorAddRq>");
}

TEST_F(NameRecordsTest, VendorModifyBodyWritesEveryFieldAfterTheKeys) {
  auto vendor = std::make_shared<Vendor>();
  Load(*vendor,
       "<VendorRet><ListID>80000001-1</ListID><EditSequence>17</EditSequence><Name>Acme</Name>"
       "<IsActive>true</IsActive><CompanyName>Acme Ltd</CompanyName>"
       "<VendorAddress><City>Town</City></VendorAddress><Notes>Old</Notes>"
       "<TermsRef><FullName>Net 30</FullName></TermsRef><Balance>12.50</Balance>"
       "<DataExtRet><OwnerID>0</OwnerID><DataExtName>Region</DataExtName>"
       "<DataExtType>STR255TYPE</DataExtType><DataExtValue>North</DataExtValue></DataExtRet>"
       "</VendorRet>");
  EXPECT_EQ(vendor->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(vendor->Balance(), Currency::FromScaled(125000));
  ASSERT_EQ(vendor->CustomFields()->Count(), 1);
  EXPECT_EQ(vendor->CustomFields()->Item(1)->Value().ToString(), "North");
  // A copy takes every writable field and is a new vendor.
  auto clone = vendor->Clone();
  EXPECT_EQ(clone->ObjectState(), qoObjectStateNew);
  EXPECT_EQ(std::make_tuple(clone->CompanyName(), clone->Address()->City(), clone->Terms()),
            std::make_tuple(std::string("Acme Ltd"), std::string("Town"), std::string("Net 30")));
  vendor->SetPhone("555");
  vendor->SetAppendNotes(" and new");
  EXPECT_EQ(vendor->ObjectState(), qoObjectStateDirty);
  auto modify = [&] {
    xmlBldr builder;
    builder.InsertModRq(*vendor, 2);
    return builder.GetXML();
  };
  const std::string head =
      "<VendorModRq requestID = \"2\"><VendorMod><ListID>80000001-1</ListID>"
      "<EditSequence>17</EditSequence><Name>Acme</Name><CompanyName>Acme Ltd</CompanyName>"
      "<VendorAddress><City>Town</City></VendorAddress><Phone>555</Phone>";
  const std::string tail =
      "<TermsRef><FullName>Net 30</FullName></TermsRef>"
      "<IsVendorEligibleFor1099>0</IsVendorEligibleFor1099></VendorMod></VendorModRq>";
  EXPECT_EQ(modify(), head + tail);  // qbXML 2.0 takes no notes in a modify
  Session().qbxmlVersionNumber = Currency(3);
  EXPECT_EQ(modify(), head + "<Notes>Old and new</Notes>" + tail);
}

TEST_F(NameRecordsTest, ChangingTheAddressOfASavedRecordMakesItDirty) {
  auto other = std::make_shared<OtherName>();
  Load(*other,
       "<OtherNameRet><ListID>1-1</ListID><Name>Owner</Name>"
       "<OtherNameAddress><Addr1>Here</Addr1></OtherNameAddress></OtherNameRet>");
  EXPECT_EQ(other->ObjectState(), qoObjectStateClean);
  other->Address()->SetAddr1("There");
  EXPECT_EQ(other->ObjectState(), qoObjectStateDirty);
  other->Address()->SetAddr1("Here");
  EXPECT_EQ(other->ObjectState(), qoObjectStateClean);
}

// A name's address read from an answer is kept as its element until first asked for: the
// query-result form, the Mod, the checks and the address itself do not depend on when that is.
TEST_F(NameRecordsTest, ReadAddressesAreTheSameWhenFirstAskedForLate) {
  const std::string ret =
      "<EmployeeRet><ListID>2-1</ListID><EditSequence>6</EditSequence><Name>Kim Lee</Name>"
      "<FirstName>Kim</FirstName><LastName>Lee</LastName>"
      "<EmployeeAddress><Addr1>1 Elm</Addr1><Addr3>no employee line</Addr3><City>" +
      std::string(32, 'c') + "</City></EmployeeAddress></EmployeeRet>";
  auto forms = [](Employee& employee) {
    xmlBldr modify, result;
    modify.InsertModRq(employee, 2);
    result.InsertQueryRs(employee, 1);
    return modify.GetXML() + "\n" + result.GetXML();
  };
  auto loaded = [&] {
    auto employee = std::make_shared<Employee>();
    Load(*employee, ret);
    return employee;
  };
  auto early = loaded();
  EXPECT_EQ(early->Address()->Addr1(), "1 Elm");
  const std::string asked = forms(*early);
  EXPECT_NE(asked.find("<Addr1>1 Elm</Addr1>"), std::string::npos);
  EXPECT_EQ(forms(*loaded()), asked);
  // The rules check a kept address too: its city is too long.
  early->SetPhone("555");
  auto late = loaded();
  late->SetPhone("555");
  EXPECT_EQ(Validated(*late), (std::vector<Entry>{{1201, "Employee Address", "Address error"}}));
  EXPECT_EQ(Validated(*early), Validated(*late));
  late = loaded();
  EXPECT_EQ(late->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(late->Address()->City(), std::string(32, 'c'));
  late->Address()->SetCity("Salem");
  EXPECT_EQ(late->ObjectState(), qoObjectStateDirty);

  // Read again before being asked for: the last answer counts, and one without an address
  // leaves it empty.
  auto vendor = std::make_shared<Vendor>();
  Load(*vendor,
       "<VendorRet><Name>Acme</Name><VendorAddress><City>Town</City></VendorAddress>"
       "</VendorRet>");
  Load(*vendor,
       "<VendorRet><Name>Acme</Name><VendorAddress><City>Port</City></VendorAddress>"
       "</VendorRet>");
  EXPECT_EQ(vendor->Address()->City(), "Port");
  auto other = std::make_shared<Vendor>();
  Load(*other,
       "<VendorRet><Name>Acme</Name><VendorAddress><City>Bay</City></VendorAddress>"
       "</VendorRet>");
  Load(*other, "<VendorRet><Name>Acme</Name></VendorRet>");
  EXPECT_EQ(other->Address()->City(), "");
  EXPECT_EQ(other->ObjectState(), qoObjectStateClean);
}

TEST_F(NameRecordsTest, EmployeeBodiesCarryThePayrollBlock) {
  processor_->SetResponder([](const std::string& request) {
    if (request.find("ClassQueryRq") != std::string::npos)
      return Response(
          Status("ClassQueryRs", 1, 0, "Status OK", "<ClassRet><Name>East</Name></ClassRet>"));
    return Response(Status("PayrollItemWageQueryRs", 1, 0, "Status OK",
                           "<PayrollItemWageRet><Name>Salary</Name></PayrollItemWageRet>"));
  });
  Session().qbxmlVersion = "6.0";
  Session().qbxmlVersionNumber = Currency(6);
  auto employee = company_->Employees()->Add("Kim Lee");
  employee->SetFirstName("Kim");
  employee->SetLastName("Lee");
  employee->Address()->SetAddr1("1 Elm");
  employee->Address()->SetAddr3("not written");
  employee->Address()->SetCountry("not written");
  employee->SetSSN("123-45-6789");
  employee->SetGender(qbGenderFemale);
  employee->SetHiredDate(Date::FromDate(2020, 2, 3));
  employee->SetPayPeriod(qbPayFrequencyBiweekly);
  employee->SetClass("East");
  employee->Earnings()->Add("Salary", Currency(52000));
  employee->SetUseTimeDataToCreatePaychecks("UseTimeData");
  employee->SickHours()->HoursAvailable()->FromString("pt8h");
  employee->SickHours()->SetAccrualPeriod(2);
  const std::string address = "<EmployeeAddress><Addr1>1 Elm</Addr1></EmployeeAddress>";
  const std::string payroll =
      "<PayPeriod>Biweekly</PayPeriod><ClassRef><FullName>East</FullName></ClassRef>"
      "<Earnings><PayrollItemWageRef><FullName>Salary</FullName></PayrollItemWageRef>"
      "<Rate>0052000.0000</Rate></Earnings>"
      "<UseTimeDataToCreatePaychecks>UseTimeData</UseTimeDataToCreatePaychecks>"
      "<SickHours><HoursAvailable>PT8H0M0S</HoursAvailable><AccrualPeriod>EveryPaycheck"
      "</AccrualPeriod><HoursAccrued>PT0H0M0S</HoursAccrued><MaximumHours>PT0H0M0S"
      "</MaximumHours><IsResettingHoursEachNewYear>0</IsResettingHoursEachNewYear></SickHours>";
  auto add = [&] { return AddRequest(*employee); };
  const std::string addHead =
      "<EmployeeAddRq requestID = \"1\"><EmployeeAdd><Name>Kim Lee</Name><IsActive>1</IsActive>"
      "<FirstName>Kim</FirstName><LastName>Lee</LastName>" +
      address;
  const std::string addTail =
      "<Gender>Female</Gender><HiredDate>2020-02-03</HiredDate><EmployeePayrollInfo>" + payroll +
      "</EmployeePayrollInfo></EmployeeAdd></EmployeeAddRq>";
  EXPECT_EQ(add(), addHead + "<SSN>123-45-6789</SSN>" + addTail);
  Session().nonUSEdition = true;  // Canada: the social insurance number
  EXPECT_EQ(add(), addHead + "<SIN>123-45-6789</SIN>" + addTail);
  Session().ukEdition = true;
  EXPECT_EQ(add(), addHead + "<NiNumber>123-45-6789</NiNumber>" + addTail);

  // Saved: the tax number and gender stay as added; the rest goes into the modify.
  Load(*employee,
       "<EmployeeRet><ListID>8-1</ListID><EditSequence>5</EditSequence><Name>Kim Lee</Name>"
       "<FirstName>Kim</FirstName><LastName>Lee</LastName>" +
           address + "</EmployeeRet>");
  EXPECT_EQ(employee->ObjectState(), qoObjectStateClean);
  AutomationError refused = RaisedBy([&] { employee->SetSSN("1"); });
  EXPECT_EQ(refused.Number(), ErrorNumber(1002));
  EXPECT_EQ(refused.Source(), "Employee");
  employee->SickHours()->HoursAvailable()->SetHours(16);
  EXPECT_EQ(employee->ObjectState(), qoObjectStateDirty);
  xmlBldr builder;
  builder.InsertModRq(*employee, 1);
  std::string changed = payroll;
  changed.replace(changed.find("PT8H"), 4, "PT16H");
  // Only what changed goes out: here the payroll block, written whole.
  const std::string head =
      "<EmployeeModRq requestID = \"1\"><EmployeeMod><ListID>8-1</ListID>"
      "<EditSequence>5</EditSequence>";
  const std::string tail = "</EmployeeMod></EmployeeModRq>";
  EXPECT_EQ(builder.GetXML(),
            head + "<EmployeePayrollInfoMod>" + changed + "</EmployeePayrollInfoMod>" + tail);

  // Read again, a changed name field and address go out without the payroll block, in the
  // body's order.
  Load(*employee,
       "<EmployeeRet><ListID>8-1</ListID><EditSequence>6</EditSequence><Name>Kim Lee</Name>"
       "<FirstName>Kim</FirstName><LastName>Lee</LastName>" +
           address + "</EmployeeRet>");
  employee->SetPhone("555-0100");
  employee->Address()->SetCity("Salem");
  employee->SetLastName("Lee");  // set to the same value: still sent, as QuickBooks would take it
  xmlBldr second;
  second.InsertModRq(*employee, 1);
  EXPECT_EQ(second.GetXML(),
            "<EmployeeModRq requestID = \"1\"><EmployeeMod><ListID>8-1</ListID>"
            "<EditSequence>6</EditSequence><LastName>Lee</LastName><EmployeeAddress>"
            "<Addr1>1 Elm</Addr1><City>Salem</City></EmployeeAddress><Phone>555-0100</Phone>" +
                tail);
}

TEST_F(NameRecordsTest, EmployeeBodiesTakeEachFieldFromTheVersionThatHasIt) {
  struct Case {
    const char* version;
    bool mobile, notes, activeInMod, typeInMod;
  } cases[] = {{"2.0", false, false, false, false},
               {"2.1", true, false, false, false},
               {"3.0", true, true, true, false},
               {"5.0", true, true, true, true}};
  auto has = [](const std::string& text, const char* element) {
    return text.find(std::string("<") + element + ">") != std::string::npos;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    Session().qbxmlVersionNumber = Currency::Parse(c.version);
    Employee added;
    added.SetName("Kim Lee");
    added.SetMobile("555-0101");
    added.SetNotes("Nights");
    const std::string add = AddRequest(added);
    EXPECT_EQ(has(add, "Mobile"), c.mobile);
    EXPECT_EQ(has(add, "Notes"), c.notes);
    Employee saved;
    Load(saved,
         "<EmployeeRet><ListID>8-1</ListID><EditSequence>5</EditSequence><Name>Kim Lee"
         "</Name></EmployeeRet>");
    saved.SetMobile("555-0101");
    saved.SetIsActive(false);
    saved.SetEmployeeType(qbEmployeeTypeOfficer);
    xmlBldr builder;
    builder.InsertModRq(saved, 1);
    const std::string mod = builder.GetXML();
    EXPECT_EQ(has(mod, "Mobile"), c.mobile);
    EXPECT_EQ(has(mod, "IsActive"), c.activeInMod);
    EXPECT_EQ(has(mod, "EmployeeType"), c.typeInMod);
  }
}

TEST_F(NameRecordsTest, AnEmployeeAddressWithOnlyLinesItLacksIsNotWritten) {
  auto employee = company_->Employees()->Add("Kim Lee");
  employee->Address()->SetAddr5("not an employee line");
  employee->Address()->SetCountry("nor this");
  EXPECT_EQ(AddRequest(*employee),
            "<EmployeeAddRq requestID = \"1\"><EmployeeAdd><Name>Kim Lee</Name>"
            "<IsActive>1</IsActive></EmployeeAdd></EmployeeAddRq>");
}

TEST_F(NameRecordsTest, AddressRegionIsWrittenUnderTheEditionsName) {
  struct Case {
    bool nonUS, uk;
    const char* region;
  } cases[] = {{false, false, "State"}, {true, false, "Province"}, {true, true, "County"}};
  for (const Case& c : cases) {
    Session().nonUSEdition = c.nonUS;
    Session().ukEdition = c.uk;
    const std::string expected = std::string("<City>Town</City><") + c.region + ">ON</" + c.region +
                                 "><PostalCode>K1A</PostalCode>";
    auto vendor = company_->Vendors()->Add("V");
    auto other = company_->OtherNames()->Add("O");
    auto employee = company_->Employees()->Add("E");
    for (const std::shared_ptr<Address>& address :
         {vendor->Address(), other->Address(), employee->Address()}) {
      address->SetCity("Town");
      address->SetState("ON");
      address->SetPostalCode("K1A");
    }
    for (qcBase* record : std::initializer_list<qcBase*>{vendor.get(), other.get(), employee.get()})
      EXPECT_NE(AddRequest(*record).find(expected), std::string::npos) << AddRequest(*record);
    company_->Vendors()->Clear();
    company_->OtherNames()->Clear();
    company_->Employees()->Clear();
  }
}

TEST_F(NameRecordsTest, PayrollChecksClassAndWageItem) {
  processor_->SetResponder(
      [](const std::string&) { return Response(Status("ClassQueryRs", 1, 1, "nothing")); });
  auto employee = company_->Employees()->Add("Kim Lee");
  AutomationError noClass = RaisedBy([&] { employee->SetClass("Nowhere"); });
  EXPECT_EQ(noClass.Number(), ErrorNumber(2013));
  EXPECT_EQ(noClass.Source(), "Employee");
  EXPECT_EQ(noClass.Description(), "Class code does not exist");
  AutomationError noWage = RaisedBy([&] { employee->Earnings()->Add("Nothing"); });
  EXPECT_EQ(noWage.Source(), "empEarningsType");
  EXPECT_EQ(noWage.Description(), "Invalid payroll wage item specified.");
  EXPECT_EQ(employee->Earnings()->Count(), 0);

  qcTimeInterval time;
  time.SetHours(1);
  time.SetMinutes(30);
  EXPECT_EQ(time.ToQBString(), "PT1H30M0S");
  time.FromString("pt2h");
  EXPECT_EQ(std::make_tuple(time.Hours(), time.Minutes(), time.Seconds()),
            std::make_tuple(2, 0, 0));
}

TEST_F(NameRecordsTest, BillsAndCreditsAreReadOnRequest) {
  auto vendor = company_->Vendors()->Add("Acme");
  AutomationError early = RaisedBy([&] { vendor->OpenBills(); });
  EXPECT_EQ(early.Number(), ErrorNumber(1708));
  EXPECT_EQ(early.Source(), "Brennock");
  EXPECT_EQ(early.Description(),
            "You must call GetBillsAndCredits before accessing this property.");
  EXPECT_FALSE(vendor->HaveOpenBillsAndCredits());
  processor_->QueueResponse(Response(Status(
      "BillToPayQueryRs", 1, 0, "Status OK",
      "<BillToPayRet><BillToPay><TxnID>B-1</TxnID><TxnType>Bill</TxnType>"
      "<TxnDate>2024-02-01</TxnDate><RefNumber>77</RefNumber><AmountDue>40.00</AmountDue>"
      "</BillToPay></BillToPayRet><BillToPayRet><CreditToApply><TxnID>C-1</TxnID>"
      "<TxnType>VendorCredit</TxnType><CreditRemaining>5.00</CreditRemaining></CreditToApply>"
      "</BillToPayRet>")));
  EXPECT_EQ(vendor->GetBillsAndCredits("Accounts Payable"), 0);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<BillToPayQueryRq requestID = \"1\"><PayeeEntityRef><FullName>Acme</FullName>"
                "</PayeeEntityRef><APAccountRef><FullName>Accounts Payable</FullName>"
                "</APAccountRef></BillToPayQueryRq>" +
                kClose);
  ASSERT_EQ(vendor->OpenBills()->Count(), 1);
  ASSERT_EQ(vendor->OpenCredits()->Count(), 1);
  auto bill = vendor->OpenBills()->Item(1);
  EXPECT_EQ(std::make_tuple(bill->TxnId(), bill->TxnType(), bill->RefNumber(), bill->Amount()),
            std::make_tuple(std::string("B-1"), int16_t{9}, std::string("77"), Currency(40)));
  EXPECT_EQ(bill->TxnDate(), Date::FromDate(2024, 2, 1));
  EXPECT_EQ(vendor->OpenCredits()->Item(1)->Amount(), Currency(5));
  EXPECT_TRUE(vendor->HaveOpenBillsAndCredits());
}

TEST_F(NameRecordsTest, EntitiesReadEveryKindInOneQuery) {
  auto entities = company_->Entities();
  processor_->QueueResponse(EntityAnswer(0, "Status OK"));
  EXPECT_EQ(entities->GetByFullNames({"Acme", "Kim Lee", "Owner"}), 3);
  EXPECT_EQ(processor_->Requests().size(), 1u);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<EntityQueryRq requestID = \"1\"><FullName>Acme</FullName><FullName>Kim Lee"
                "</FullName><FullName>Owner</FullName></EntityQueryRq>" +
                kClose);
  EXPECT_TRUE(std::dynamic_pointer_cast<Vendor>(entities->Item("Acme")));
  EXPECT_TRUE(std::dynamic_pointer_cast<Employee>(entities->Item("Kim Lee")));
  EXPECT_TRUE(std::dynamic_pointer_cast<OtherName>(entities->Item(3)));

  // Only partly permitted (a warning with records): what came back stays, with the reason.
  processor_->QueueResponse(EntityAnswer(530, "no personal data", "Warn"));
  EXPECT_EQ(entities->GetByListIDs({"1-1", "2-1"}), 3);
  ASSERT_EQ(entities->Errors()->Count(), 1);
  EXPECT_EQ(entities->Errors()->Item(1)->Number(), 530);
  EXPECT_EQ(entities->Errors()->Item(1)->Description(),
            "Insufficient permissions to fully perform requested operation. Only Customer and "
            "OtherNames returned.");
  // An error, even with records, and a warning without any, are failures like any other.
  struct Failure {
    std::string answer;
    int32_t number;
    std::string message;
  } failures[] = {{EntityAnswer(3261, "Not permitted"), 3261, "Not permitted"},
                  {EntityAnswer(530, "Nothing to see", "Warn", false), 530, "Nothing to see"}};
  for (const Failure& failure : failures) {
    processor_->QueueResponse(failure.answer);
    EXPECT_EQ(entities->GetAll(), 0) << failure.answer;
    ASSERT_EQ(entities->Errors()->Count(), 1);
    EXPECT_EQ(entities->Errors()->Item(1)->Number(), failure.number);
    EXPECT_EQ(entities->Errors()->Item(1)->Description(), failure.message);
  }
  // An empty list of names or IDs is refused, as by every collection.
  for (auto query :
       {+[](Entities& e) { e.GetByFullNames({}); }, +[](Entities& e) { e.GetByListIDs({}); }}) {
    AutomationError empty = RaisedBy([&] { query(*entities); });
    EXPECT_EQ(empty.Number(), ErrorNumber(1019));
    EXPECT_EQ(empty.Description(), "Empty array passed to GetBy... call");
  }

  processor_->QueueResponse(
      Response(Status("EntityQueryRs", 1, 0, "Status OK", "<ItemServiceRet/>")));
  AutomationError unknown = RaisedBy([&] { entities->GetActive(5); });
  EXPECT_EQ(unknown.Source(), "Brennock: Entities");
  EXPECT_EQ(unknown.Description(), "Unknown Entity");
  EXPECT_NE(processor_->LastRequestText().find("<MaxReturned>5</MaxReturned><ActiveStatus>"
                                               "ActiveOnly</ActiveStatus>"),
            std::string::npos);
}

TEST_F(NameRecordsTest, CompanyRegistersTheNameLists) {
  EXPECT_EQ(company_->Lists()->Item("Vendor"),
            std::static_pointer_cast<qcList>(company_->Vendors()));
  EXPECT_EQ(company_->Lists()->Item("OtherName"),
            std::static_pointer_cast<qcList>(company_->OtherNames()));
  EXPECT_EQ(company_->Lists()->Item("Employee"),
            std::static_pointer_cast<qcList>(company_->Employees()));
  EXPECT_EQ(company_->Lists()->Item("Entity"),
            std::static_pointer_cast<qcList>(company_->Entities()));
  EXPECT_TRUE(company_->Vendors()->IsMaster());
  EXPECT_TRUE(company_->Entities()->IsMaster());
  EXPECT_FALSE(std::make_shared<Vendors>()->IsMaster());
}

TEST_F(NameRecordsTest, EntitiesNeverWriteAndDeleteByKind) {
  auto entities = company_->Entities();
  processor_->QueueResponse(EntityAnswer(0, "Status OK"));
  entities->GetAll();
  auto vendor = std::static_pointer_cast<Vendor>(entities->Item("Acme"));
  vendor->SetPhone("555");
  AutomationError modify = RaisedBy([&] { entities->Commit(); });
  EXPECT_EQ(modify.Source(), "Brennock: Entity");
  EXPECT_EQ(modify.Description(), "Modify not allowed");
  auto extra = std::make_shared<OtherName>();
  extra->SetName("Extra");
  entities->AddObject(extra);
  entities->Remove("Acme");
  AutomationError insert = RaisedBy([&] { entities->Commit(); });
  EXPECT_EQ(insert.Description(), "Insert not allowed");

  processor_->QueueResponse(Response(Status("EntityQueryRs", 1, 1, "none")));
  processor_->QueueResponse(Response(Status("ListDelRs", 1, 0, "Status OK")));
  entities->Delete("3-1", qbEntityTypeOtherName);
  EXPECT_NE(processor_->LastRequestText().find("<ListDelRq requestID = \"1\"><ListDelType>"
                                               "OtherName</ListDelType><ListID>3-1</ListID>"),
            std::string::npos);
}

}  // namespace
}  // namespace brennock::testing

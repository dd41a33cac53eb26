// Vendors, employees and entities end to end against the simulated QuickBooks in strict-schema
// mode: every request the collections write is also checked against the qbXML schema.
#include <string>

#include "simulator/company_file.h"
#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {
namespace {

// On the sample company.
class NamesSimulatorTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{};
    return options;
  }

  // What QuickBooks now holds under that name, read by a collection of a fresh company.
  template <class Collection>
  auto ReadBack(const std::string& name) {
    Session().company = std::make_shared<Company>();
    auto fresh = std::make_shared<Collection>();
    return fresh->GetByFullName(name);
  }
};

TEST_F(NamesSimulatorTest, VendorAndEmployeeAreAddedReadBackAndModified) {
  auto vendors = Session().company->Vendors();
  auto vendor = vendors->Add("Harbor Freight");
  vendor->SetCompanyName("Harbor Freight Ltd");
  vendor->SetFirstName("Ann");
  vendor->Address()->SetAddr1("9 Dock Rd");
  vendor->Address()->SetCity("Portsmouth");
  vendor->SetPhone("555-0101");
  vendor->SetVendorType("Supplies");
  vendor->SetTerms("Net 30");
  vendor->SetCreditLimit(Currency(2500));
  vendor->SetTaxId("12-3456789");
  vendor->SetEligibleFor1099(true);
  vendor->SetNotes("Ships Fridays");
  EXPECT_EQ(vendors->Commit(), 0);
  EXPECT_EQ(vendor->ObjectState(), qoObjectStateClean);
  EXPECT_FALSE(vendor->ListID().empty());

  auto employees = Session().company->Employees();
  auto employee = employees->Add("Kim Lee");
  employee->SetFirstName("Kim");
  employee->SetLastName("Lee");
  employee->Address()->SetAddr1("1 Elm");
  employee->Address()->SetState("CA");
  employee->SetSSN("123-45-6789");
  employee->SetGender(qbGenderFemale);
  employee->SetHiredDate(Date::FromDate(2020, 2, 3));
  employee->SetPayPeriod(qbPayFrequencyBiweekly);
  employee->SetClass("Retail");
  employee->Earnings()->Add("Salary", Currency(52000));
  employee->VacationHours()->HoursAvailable()->SetHours(40);
  EXPECT_EQ(employees->Commit(), 0);
  EXPECT_EQ(employee->ObjectState(), qoObjectStateClean);

  auto readVendor = ReadBack<Vendors>("Harbor Freight");
  ASSERT_TRUE(readVendor);
  EXPECT_EQ(readVendor->ListID(), vendor->ListID());
  EXPECT_EQ(readVendor->EditSequence(), vendor->EditSequence());
  EXPECT_EQ(readVendor->CompanyName(), "Harbor Freight Ltd");
  EXPECT_EQ(readVendor->FirstName(), "Ann");
  EXPECT_EQ(readVendor->Address()->Addr1(), "9 Dock Rd");
  EXPECT_EQ(readVendor->Address()->City(), "Portsmouth");
  EXPECT_EQ(readVendor->Phone(), "555-0101");
  EXPECT_EQ(readVendor->VendorType(), "Supplies");
  EXPECT_EQ(readVendor->Terms(), "Net 30");
  EXPECT_EQ(readVendor->CreditLimit(), Currency(2500));
  EXPECT_EQ(readVendor->TaxId(), "12-3456789");
  EXPECT_TRUE(readVendor->EligibleFor1099());
  EXPECT_EQ(readVendor->Notes(), "Ships Fridays");
  EXPECT_TRUE(readVendor->IsActive());

  auto readEmployee = ReadBack<Employees>("Kim Lee");
  ASSERT_TRUE(readEmployee);
  EXPECT_EQ(readEmployee->FirstName(), "Kim");
  EXPECT_EQ(readEmployee->LastName(), "Lee");
  EXPECT_EQ(readEmployee->Address()->Addr1(), "1 Elm");
  EXPECT_EQ(readEmployee->Address()->State(), "CA");
  EXPECT_EQ(readEmployee->SSN(), "123-45-6789");
  EXPECT_EQ(readEmployee->Gender(), qbGenderFemale);
  EXPECT_EQ(readEmployee->HiredDate(), Date::FromDate(2020, 2, 3));
  EXPECT_EQ(readEmployee->PayPeriod(), qbPayFrequencyBiweekly);
  EXPECT_EQ(readEmployee->Class(), "Retail");
  ASSERT_EQ(readEmployee->Earnings()->Count(), 1);
  EXPECT_EQ(readEmployee->Earnings()->Item(1)->PayrollItemWage(), "Salary");
  EXPECT_EQ(readEmployee->Earnings()->Item(1)->Rate(), Currency(52000));
  EXPECT_EQ(readEmployee->VacationHours()->HoursAvailable()->Hours(), 40);

  // Modified through the collection that added it: the new EditSequence is kept.
  std::string before = vendor->EditSequence();
  simulator::AdvanceClock(60);
  vendor->SetPhone("555-0199");
  vendor->Address()->SetCity("Southsea");
  EXPECT_EQ(vendors->Commit(), 0);
  EXPECT_NE(vendor->EditSequence(), before);
  auto modified = ReadBack<Vendors>("Harbor Freight");
  EXPECT_EQ(modified->EditSequence(), vendor->EditSequence());
  EXPECT_EQ(modified->Phone(), "555-0199");
  EXPECT_EQ(modified->Address()->City(), "Southsea");

  // An employee's modify carries only what changed, and the payroll block keeps its lines.
  before = employee->EditSequence();
  employee->SetEmail("kim@example.com");
  employee->SickHours()->HoursAvailable()->SetHours(8);
  size_t sent = Sent();
  EXPECT_EQ(employees->Commit(), 0);
  const std::string& mod = recorder_->Requests()[sent].text;
  EXPECT_NE(mod.find("<EditSequence>" + before +
                     "</EditSequence><Email>kim&#64;example.com</Email><EmployeePayrollInfoMod>"),
            std::string::npos)
      << mod;
  auto employeeModified = ReadBack<Employees>("Kim Lee");
  EXPECT_EQ(employeeModified->Email(), "kim@example.com");
  EXPECT_EQ(employeeModified->LastName(), "Lee");
  EXPECT_EQ(employeeModified->SickHours()->HoursAvailable()->Hours(), 8);
  EXPECT_EQ(employeeModified->Earnings()->Count(), 1);
}

TEST_F(NamesSimulatorTest, StaleModifyIsRefusedAndChangesNothing) {
  auto vendors = Session().company->Vendors();
  vendors->Add("Quay Supplies")->SetPhone("1");
  vendors->Commit();
  // Another session changes the vendor first.
  auto other = ReadBack<Vendors>("Quay Supplies");
  auto otherVendors = Session().company->Vendors();
  otherVendors->AddObject(other);
  simulator::AdvanceClock(60);
  other->SetPhone("2");
  EXPECT_EQ(otherVendors->Commit(), 0);

  auto stale = vendors->Item("Quay Supplies");
  stale->SetPhone("3");
  Session().errorMode = false;
  EXPECT_EQ(vendors->Commit(), 1);
  ASSERT_EQ(stale->Errors()->Count(), 1);
  EXPECT_EQ(stale->Errors()->Item(1)->Number(), ErrorNumber(1001));
  EXPECT_EQ(stale->Errors()->Item(1)->Description(),
            "The provided edit sequence \"" + stale->EditSequence() + "\" is out-of-date.");
  EXPECT_EQ(stale->ObjectState(), qoObjectStateDirty);
  EXPECT_EQ(ReadBack<Vendors>("Quay Supplies")->Phone(), "2");
}

TEST_F(NamesSimulatorTest, EntitiesComeBackAsTheirOwnClasses) {
  auto others = Session().company->OtherNames();
  ASSERT_GE(others->GetAll(), 1);
  const std::string sampleOther = others->Item(1)->FullName();  // an other name of the sample
  others->Add("Landlord");
  others->Commit();
  auto entities = std::make_shared<Entities>();
  size_t sent = recorder_->Requests().size();
  ASSERT_EQ(entities->GetByFullNames({"State Board of Equalization", "Landlord", sampleOther}), 3);
  ASSERT_EQ(recorder_->Requests().size(), sent + 1);
  const std::string& request = recorder_->LastRequestText();
  EXPECT_NE(request.find("<FullName>State Board of Equalization</FullName><FullName>Landlord"
                         "</FullName><FullName>" +
                         sampleOther + "</FullName>"),
            std::string::npos);
  EXPECT_TRUE(std::dynamic_pointer_cast<Vendor>(entities->Item("State Board of Equalization")));
  EXPECT_TRUE(std::dynamic_pointer_cast<OtherName>(entities->Item("Landlord")));
  // Every kind of name, customers among them.
  EXPECT_GT(entities->GetAll(), 30);
  bool employee = false;
  for (const auto& member : *entities) employee |= member->ObjectType() == qoObjectTypeEmployee;
  EXPECT_TRUE(employee);
  EXPECT_EQ(entities->GetByNameMatch("Land", qbMatchStartsWith), 1);

  // Deleted through the company's entities, by kind.
  auto master = Session().company->Entities();
  master->Delete(others->Item("Landlord")->ListID(), qbEntityTypeOtherName);
  EXPECT_EQ(entities->GetByNameMatch("Land", qbMatchStartsWith), 0);
}

TEST_F(NamesSimulatorTest, NamesAreSharedAndBillsAreEmpty) {
  Session().errorMode = false;
  auto others = Session().company->OtherNames();
  ASSERT_GE(others->GetAll(), 1);
  auto employees = Session().company->Employees();
  auto twin = employees->Add(others->Item(1)->FullName());  // an other name of the sample
  twin->SetFirstName("Own");
  twin->SetLastName("Er");
  EXPECT_EQ(employees->Commit(), 1);
  EXPECT_EQ(twin->Errors()->Item(1)->Number(), ErrorNumber(1017));

  auto vendor = Session().company->Vendors()->GetByFullName("State Board of Equalization");
  ASSERT_TRUE(vendor);
  EXPECT_EQ(vendor->GetBillsAndCredits(), 0);
  EXPECT_EQ(vendor->OpenBills()->Count(), 0);
  EXPECT_EQ(vendor->OpenCredits()->Count(), 0);
}

}  // namespace
}  // namespace brennock::testing

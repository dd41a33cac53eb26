#pragma once

#include <memory>
#include <string>

#include "brennock/enums/list_enums.h"
#include "brennock/internal/lists/entity_record.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/typed_list_collection.h"
#include "brennock/lists/employee_payroll.h"
#include "brennock/values/date.h"

namespace brennock {

// Someone on the payroll: personal data, dates, and the payroll block (pay period, class,
// earnings lines, sick and vacation hours). The tax number is the social security number in US
// editions, the national insurance number (NiNumber) in UK ones and the social insurance number
// (SIN) in the other non-US ones; all three read into SSN. Australian editions send none.
class Employee final : public EntityRecordCore, public DataExtensionCarrier<Employee> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeEmployee;
  Employee();
  ~Employee() override;

  const std::string& Suffix() const noexcept { return suffix_; }
  const std::string& PrintAs() const noexcept { return printAs_; }
  const std::string& Mobile() const noexcept { return mobile_; }
  const std::string& Pager() const noexcept { return pager_; }
  const std::string& PagerPIN() const noexcept { return pagerPIN_; }
  const std::string& SSN() const noexcept { return ssn_; }
  qbEnumEmployeeType EmployeeType() const noexcept { return employeeType_; }
  qbEnumGenderType Gender() const noexcept { return gender_; }
  Date HiredDate() const noexcept { return hiredDate_; }
  Date ReleasedDate() const noexcept { return releasedDate_; }
  Date BirthDate() const noexcept { return birthDate_; }
  const std::string& Notes() const noexcept { return notes_; }

  void SetSuffix(const std::string& value) { Change(suffix_, value, "Suffix"); }
  void SetPrintAs(const std::string& value) { Change(printAs_, value, "PrintAs"); }
  void SetMobile(const std::string& value) { Change(mobile_, value, "Mobile"); }
  void SetPager(const std::string& value) { Change(pager_, value, "Pager"); }
  void SetPagerPIN(const std::string& value) { Change(pagerPIN_, value, "PagerPIN"); }
  // QuickBooks takes the tax number and the gender only when the employee is added: on a saved
  // employee these raise 1002.
  void SetSSN(const std::string& value) { Assign(ssn_, value, true); }
  void SetGender(qbEnumGenderType value) { Assign(gender_, value, true); }
  void SetEmployeeType(qbEnumEmployeeType value) { Change(employeeType_, value, "EmployeeType"); }
  void SetHiredDate(Date value) { Change(hiredDate_, value, "HiredDate"); }
  void SetReleasedDate(Date value) { Change(releasedDate_, value, "ReleasedDate"); }
  void SetBirthDate(Date value) { Change(birthDate_, value, "BirthDate"); }
  void SetNotes(const std::string& value) { Change(notes_, value, "Notes"); }

  // The payroll block.
  qbPayFrequencyType PayPeriod() const noexcept;
  void SetPayPeriod(qbPayFrequencyType value);
  std::string Class() const;
  // A class neither the company's Classes nor QuickBooks knows raises 2013 "Class code does not
  // exist" (source "Employee"); an empty name clears the class.
  void SetClass(const std::string& value);
  std::shared_ptr<empEarningsTypes> Earnings();
  // "UseTimeData", "DoNotUseTimeData" or "NotSet"; empty when not given.
  const std::string& UseTimeDataToCreatePaychecks() const noexcept;
  void SetUseTimeDataToCreatePaychecks(const std::string& value);
  std::shared_ptr<empAccruedTime> SickHours();
  std::shared_ptr<empAccruedTime> VacationHours();

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;

 private:
  struct Payroll;
  Payroll& PayrollBlock();
  static void Guard(void* owner, bool bNewOnly, std::string_view source);
  static void ReadPayroll(qcBase& record, const FieldElement& element);
  static void WritePayroll(const qcBase& record, RequestWriter& builder, std::string_view element,
                           uint16_t flags, BodyForm form);
  static void WriteTaxNumber(const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form);

  std::string suffix_, printAs_, mobile_, pager_, pagerPIN_, ssn_, notes_;
  Date hiredDate_, releasedDate_, birthDate_;
  qbEnumEmployeeType employeeType_ = static_cast<qbEnumEmployeeType>(0);
  qbEnumGenderType gender_ = static_cast<qbEnumGenderType>(0);
  std::shared_ptr<OwnerLink> link_;   // handed to the payroll sub-objects
  std::unique_ptr<Payroll> payroll_;  // created on first use
};

class Employees final : public TypedListCollection<Employee> {
 public:
  Employees() : TypedListCollection<Employee>(true) {}
  // Master collection only (else 1021).
  std::shared_ptr<Employee> Add(const std::string& Name = {}, bool IsActive = true);
};

}  // namespace brennock

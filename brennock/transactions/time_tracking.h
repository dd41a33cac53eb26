#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/lists/employee_payroll.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"

namespace brennock {

// A timesheet entry: who (an employee, vendor or other name) worked how long on which day, for
// which customer and service item, and whether the time is to be billed. The time is kept in
// whole hours and minutes; requests carry it as "PT1H30M".
class TimeTracking final : public TxnRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeTimeTracking;
  TimeTracking();

  // The person who worked; must name an employee, vendor or other name (2010 on Validate).
  std::string Entity() const { return entity_.FullName(); }
  void SetEntity(const std::string& value) { ChangeRef(entity_, value, "EntityRef"); }
  std::string Customer() const { return customer_.FullName(); }
  void SetCustomer(const std::string& value) { ChangeRef(customer_, value, "CustomerRef"); }
  std::string Class() const { return class_.FullName(); }
  void SetClass(const std::string& value) { ChangeRef(class_, value, "ClassRef"); }
  std::string ItemService() const { return itemService_.FullName(); }
  void SetItemService(const std::string& value) {
    ChangeRef(itemService_, value, "ItemServiceRef");
  }
  std::string PayrollItemWage() const { return payrollItemWage_.FullName(); }
  // An unknown wage item raises 2014.
  void SetPayrollItemWage(const std::string& value);
  int16_t Hours() const noexcept { return hours_; }
  void SetHours(int16_t value) { Change(hours_, value, kDuration); }
  int16_t Minutes() const noexcept { return minutes_; }
  void SetMinutes(int16_t value) { Change(minutes_, value, kDuration); }
  // The hours and minutes as qbXML writes them ("PT1H30M"). Setting it reads hours and minutes
  // from such a text (seconds are not kept); hours or minutes beyond 16 bits raise 6.
  std::string Duration() const;
  void SetDuration(const std::string& value);
  // The billing rate QuickBooks answered.
  Currency Rate() const noexcept { return rate_; }
  void SetRate(Currency value) { Change(rate_, value, "Rate"); }
  const std::string& Notes() const noexcept { return notes_; }
  void SetNotes(const std::string& value) { Change(notes_, value, "Notes"); }
  bool IsBillable() const noexcept { return isBillable_; }
  void SetIsBillable(bool value) { Change(isBillable_, value, kBillable); }
  bool IsBilled() const noexcept { return isBilled_; }
  void SetIsBilled(bool value) { Change(isBilled_, value, kBillable); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;
  void BeforeRead() override;

 private:
  static constexpr std::string_view kDuration = "Duration";
  static constexpr std::string_view kBillable = "BillableStatus";
  static void ReadDuration(qcBase& record, const FieldElement& element);
  static void WriteDuration(const qcBase& record, RequestWriter& builder, std::string_view element,
                            uint16_t flags, BodyForm form);
  static void ReadBillableStatus(qcBase& record, const FieldElement& element);
  static void WriteBillable(const qcBase& record, RequestWriter& builder, std::string_view element,
                            uint16_t flags, BodyForm form);
  void SetTime(const qcTimeInterval& time);

  qcListObjectRef entity_{qoListEntities, {}};
  qcListObjectRef customer_{qoListCustomers, {}};
  qcListObjectRef class_{qoListClasses, {}};
  qcListObjectRef itemService_{qoListItems, {}};
  qcListObjectRef payrollItemWage_{qoListPayrollItemWages, {}};
  std::string notes_;
  Currency rate_;
  int16_t hours_ = 0;
  int16_t minutes_ = 0;
  bool isBillable_ = false;
  bool isBilled_ = false;
};

// The company's time entries, and any set of them a client queries.
class TimeTrackings final : public TypedTxnCollection<TimeTracking> {
 public:
  TimeTrackings() = default;

  // A new entry taking each value given through its setter. Master collection only.
  std::shared_ptr<TimeTracking> Add(
      int16_t DurationHours = 0, int16_t DurationMinutes = 0, const std::string& Entity = {},
      Date TxnDate = {}, const std::string& Customer = {}, const std::string& ServiceItem = {},
      Currency Rate = {}, const std::string& Class = {}, const std::string& PayrollItemWage = {},
      const std::string& Notes = {}, std::optional<bool> IsBillable = std::nullopt);

  using TxnCollectionCore::Delete;
  using TxnCollectionCore::GetAll;
  using TxnCollectionCore::GetByDateMacro;
  using TxnCollectionCore::GetByDateSpan;
  using TxnCollectionCore::GetByEntity;
  using TxnCollectionCore::GetBySingleEntity;
};

}  // namespace brennock

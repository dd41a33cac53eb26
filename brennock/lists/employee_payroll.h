#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"

namespace brennock {

class FieldElement;
class RequestWriter;

// The way from an owned sub-object back to its record: the record's change guard, run under the
// sub-object's own class name. The record cuts the link when it goes, so sub-objects a client
// still holds change nothing but themselves.
class OwnerLink {
 public:
  using Guard = void (*)(void* owner, bool bNewOnly, std::string_view source);
  OwnerLink(void* owner, Guard guard) noexcept : owner_(owner), guard_(guard) {}
  void CheckModify(bool bNewOnly, std::string_view source) const {
    if (owner_ != nullptr) guard_(owner_, bNewOnly, source);
  }
  void Cut() noexcept { owner_ = nullptr; }

 private:
  void* owner_;
  Guard guard_;
};

// A span of time as qbXML writes it ("PT1H30M0S").
class qcTimeInterval {
 public:
  int32_t Hours() const noexcept { return hours_; }
  int32_t Minutes() const noexcept { return minutes_; }
  int32_t Seconds() const noexcept { return seconds_; }
  bool IsZero() const noexcept { return hours_ == 0 && minutes_ == 0 && seconds_ == 0; }
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  void SetHours(int32_t value);
  void SetMinutes(int32_t value);
  void SetSeconds(int32_t value);
  // Reads "PT2H30M" (any letter case; a missing part is 0).
  void FromString(const std::string& s);
  // "PT" hours "H" minutes "M" seconds "S".
  std::string ToQBString() const;

  // Library-internal.
  void SetOwner(std::shared_ptr<const OwnerLink> owner) { owner_ = std::move(owner); }
  void Load(std::string_view text);  // a value read from a response: Clean

 private:
  void Touch();
  std::shared_ptr<const OwnerLink> owner_;
  int32_t hours_ = 0, minutes_ = 0, seconds_ = 0;
  qoEnumObjectState state_ = qoObjectStateNew;
};

// Sick or vacation hours of an employee: what is available, how it accrues and its cap.
class empAccruedTime {
 public:
  explicit empAccruedTime(std::shared_ptr<const OwnerLink> owner);

  std::shared_ptr<qcTimeInterval> HoursAvailable() const { return hoursAvailable_; }
  std::shared_ptr<qcTimeInterval> HoursAccrued() const { return hoursAccrued_; }
  std::shared_ptr<qcTimeInterval> MaximumHours() const { return maximumHours_; }
  // Code of the "Payroll Accrual Period" table (1 Beginning Of Year ...); 0 when not set.
  int16_t AccrualPeriod() const noexcept { return accrualPeriod_; }
  bool IsResettingHoursEachNewYear() const noexcept { return isResetting_; }
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  void SetAccrualPeriod(int16_t value);
  void SetIsResettingHoursEachNewYear(bool value);

  // Nothing set: not written.
  bool IsEmpty() const noexcept;
  // Library-internal.
  void FromDom(const FieldElement& element);
  void WriteElements(RequestWriter& builder) const;

 private:
  void Touch();
  std::shared_ptr<const OwnerLink> owner_;
  friend struct PayrollRows;
  std::shared_ptr<qcTimeInterval> hoursAvailable_, hoursAccrued_, maximumHours_;
  int16_t accrualPeriod_ = 0;
  bool isResetting_ = false;
  qoEnumObjectState state_ = qoObjectStateNew;
};

// One earnings line of an employee's pay: a wage payroll item and its rate (an amount, or a
// percentage).
class empEarningsType {
 public:
  explicit empEarningsType(std::shared_ptr<const OwnerLink> owner) : owner_(std::move(owner)) {}

  std::string PayrollItemWage() const { return wage_.FullName(); }
  Currency Rate() const noexcept { return rate_; }
  float RatePercent() const noexcept { return ratePercent_; }
  bool IsPercent() const noexcept { return isPercent_; }
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  // A wage item neither the company's PayrollItemWages nor QuickBooks knows raises 1003 "Invalid
  // payroll wage item specified." (source "empEarningsType").
  void SetPayrollItemWage(const std::string& value);
  void SetRate(Currency value);
  void SetRatePercent(float value);

  // Library-internal.
  void FromDom(const FieldElement& element);
  void WriteElements(RequestWriter& builder) const;

 private:
  void Touch();
  std::shared_ptr<const OwnerLink> owner_;
  friend struct PayrollRows;
  qcListObjectRef wage_{qoListPayrollItemWages, {}};
  Currency rate_;
  float ratePercent_ = 0;
  bool isPercent_ = false;
  qoEnumObjectState state_ = qoObjectStateNew;
};

// The earnings lines of an employee, 1-based.
class empEarningsTypes {
 public:
  using const_iterator = std::vector<std::shared_ptr<empEarningsType>>::const_iterator;
  explicit empEarningsTypes(std::shared_ptr<const OwnerLink> owner) : owner_(std::move(owner)) {}

  // A new line for that wage item (checked as SetPayrollItemWage does) and rate.
  std::shared_ptr<empEarningsType> Add(const std::string& PayrollItemWage,
                                       Currency Rate = Currency());
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<empEarningsType> Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  void Remove(int32_t index);
  void Clear();
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }

  // Library-internal: a line read from a response, and emptying before a read.
  void Load(const FieldElement& element);
  void Reset() noexcept { items_.clear(); }

 private:
  std::shared_ptr<const OwnerLink> owner_;
  std::vector<std::shared_ptr<empEarningsType>> items_;
};

}  // namespace brennock

#include "brennock/transactions/time_tracking.h"

#include <limits>

#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/errors/runtime_errors.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

using T = TimeTracking;

// Sessions up to this qbXML version take IsBillable; later ones BillableStatus.
constexpr int32_t kLastIsBillableVersion = 5;

constexpr std::string_view kStatusBillable = "Billable";
constexpr std::string_view kStatusNotBillable = "NotBillable";
constexpr std::string_view kStatusBilled = "HasBeenBilled";

int16_t ToInt16(int32_t value) {
  if (value > std::numeric_limits<int16_t>::max() || value < std::numeric_limits<int16_t>::min())
    RaiseRuntime(kOverflowNumber, "TimeTracking");
  return static_cast<int16_t>(value);
}

}  // namespace

TimeTracking::TimeTracking() : TxnRecordCore(RegisteredKind<kObjectType>()) {
  txnDate_ = Date::Today();
}

// The rows of TimeTrackingAdd, TimeTrackingMod and TimeTrackingRet, in the schema's order. Older
// QuickBooks answered IsBillable and IsBilled where later ones answer BillableStatus.
const RecordBindings& TimeTracking::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kOld = kInRet | kNotInSchema;
  using R = codecs::Ref;
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 13>{{
          TxnDateRow(),
          Bind<&T::entity_, R>("EntityRef", kAll),
          Bind<&T::customer_, R>("CustomerRef", kAll),
          Bind<&T::itemService_, R>("ItemServiceRef", kAll),
          Bind<&T::rate_, codecs::Price>("Rate", kInRet | kSkipEmpty),
          {kDuration, kAll, &ReadDuration, &WriteDuration, nullptr,
           qbxml::ValueType::kTimeInterval},
          Bind<&T::class_, R>("ClassRef", kAll),
          Bind<&T::payrollItemWage_, R>("PayrollItemWageRef", kAll),
          Bind<&T::notes_, codecs::Text>("Notes", kAll | kSkipEmpty),
          ReadOnly(Bind<&T::isBillable_, codecs::Bool>("IsBillable", kOld)),
          ReadOnly(Bind<&T::isBilled_, codecs::Bool>("IsBilled", kOld)),
          {kBillable, kAll, &ReadBillableStatus, &WriteBillable, nullptr, qbxml::ValueType::kEnum},
          UserDataRow()[0],
      }});
}

void TimeTracking::ReadDuration(qcBase& record, const FieldElement& element) {
  qcTimeInterval time;
  time.FromString(std::string(element.text()));
  RecordAs<TimeTracking>(record).SetTime(time);
}

// "PT" hours "H" minutes "M": QuickBooks keeps no seconds of a time entry.
void TimeTracking::WriteDuration(const qcBase& record, RequestWriter& builder,
                                 std::string_view element, uint16_t, BodyForm) {
  builder.CreateElement(element, static_cast<const TimeTracking&>(record).Duration());
}

void TimeTracking::ReadBillableStatus(qcBase& record, const FieldElement& element) {
  auto& self = RecordAs<TimeTracking>(record);
  std::string scratch;
  const std::string_view status = element.TextView(scratch);
  self.isBillable_ = status == kStatusBillable || status == kStatusBilled;
  self.isBilled_ = status == kStatusBilled;
}

void TimeTracking::WriteBillable(const qcBase& record, RequestWriter& builder,
                                 std::string_view element, uint16_t flags, BodyForm form) {
  const auto& self = static_cast<const TimeTracking&>(record);
  if (form != BodyForm::kRet && SessionQbxmlVersion() <= Currency(kLastIsBillableVersion)) {
    codecs::Bool::Write(self.isBillable_, builder, "IsBillable", flags, form);
    return;
  }
  builder.CreateElement(element, !self.isBillable_ ? kStatusNotBillable
                                 : self.isBilled_  ? kStatusBilled
                                                   : kStatusBillable);
}

void TimeTracking::BeforeRead() {
  TxnRecordCore::BeforeRead();
  hours_ = 0;
  minutes_ = 0;
  isBillable_ = false;
  isBilled_ = false;
}

std::string TimeTracking::Duration() const {
  std::string out = "PT";
  out += std::to_string(hours_);
  out += 'H';
  out += std::to_string(minutes_);
  out += 'M';
  return out;
}

void TimeTracking::SetDuration(const std::string& value) {
  qcTimeInterval time;
  time.FromString(value);
  CheckModify(true);
  SetTime(time);
  MarkChanged(kDuration);
}

void TimeTracking::SetTime(const qcTimeInterval& time) {
  const int16_t hours = ToInt16(time.Hours());
  const int16_t minutes = ToInt16(time.Minutes());
  hours_ = hours;
  minutes_ = minutes;
}

void TimeTracking::SetPayrollItemWage(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListPayrollItemWages, value))
    RaiseFromClass(Kind().className, errItemCodeNotFound);
  ChangeRef(payrollItemWage_, value, "PayrollItemWageRef");
}

void TimeTracking::CheckRules(qcErrors& errors) {
  if (!ResolveListObject(qoListEntities, entity_.FullName()))
    AddTableError(errors, errEntityNotFound, "Entity");
}

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<TimeTracking> TimeTrackings::Add(
    int16_t DurationHours, int16_t DurationMinutes, const std::string& Entity, Date TxnDate,
    const std::string& Customer, const std::string& ServiceItem, Currency Rate,
    const std::string& Class, const std::string& PayrollItemWage, const std::string& Notes,
    std::optional<bool> IsBillable) {
  std::shared_ptr<TimeTracking> entry = NewMember();
  if (DurationHours != 0) entry->SetHours(DurationHours);
  if (DurationMinutes != 0) entry->SetMinutes(DurationMinutes);
  if (!Entity.empty()) entry->SetEntity(Entity);
  if (!TxnDate.IsNull()) entry->SetTxnDate(TxnDate);
  if (!Customer.empty()) entry->SetCustomer(Customer);
  if (!ServiceItem.empty()) entry->SetItemService(ServiceItem);
  if (Rate != Currency()) entry->SetRate(Rate);
  if (!Class.empty()) entry->SetClass(Class);
  if (!PayrollItemWage.empty()) entry->SetPayrollItemWage(PayrollItemWage);
  if (!Notes.empty()) entry->SetNotes(Notes);
  if (IsBillable) entry->SetIsBillable(*IsBillable);
  FileAdded(entry);
  return entry;
}

}  // namespace brennock

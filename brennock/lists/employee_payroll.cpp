#include "brennock/lists/employee_payroll.h"

#include <cctype>
#include <cstdlib>

#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/xml/element_tree.h"

namespace brennock {
namespace {

// A sub-object's own state after a change: a saved one becomes Dirty, a new one stays New.
void MarkChanged(qoEnumObjectState& state) {
  if (state == qoObjectStateClean) state = qoObjectStateDirty;
}

// The leading whole number of text (what Val gives), 0 when there is none.
int32_t LeadingNumber(std::string_view text) {
  std::string digits(text.substr(0, 18));
  return static_cast<int32_t>(std::strtol(digits.c_str(), nullptr, 10));
}

// A duration ("PT8H0M0S"), always written: QuickBooks takes zero hours as a value.
struct Duration {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kText;
  static void Read(qcTimeInterval& member, const FieldElement& element) {
    std::string scratch;
    member.Load(element.TextView(scratch));
  }
  static bool Empty(const qcTimeInterval&) noexcept { return false; }
  static void Write(const qcTimeInterval& member, RequestWriter& builder, std::string_view element,
                    uint16_t, BodyForm) {
    builder.CreateElement(element, member.ToQBString());
  }
};

}  // namespace

// The rows of an employee's accrued hours and earnings lines. Both are written inside their
// owner's request, so always in the request form.
struct PayrollRows {
  static const BindingTable<empAccruedTime>& Accrued() {
    using A = empAccruedTime;
    using Hours = codecs::Shared<Duration>;
    constexpr uint16_t kRow = kInAdd | kInRet;
    BRENNOCK_BINDINGS(
        A,
        std::array{Bind<&A::hoursAvailable_, Hours, A>("HoursAvailable", kRow),
                   Bind<&A::accrualPeriod_, codecs::EnumTag<qoePayrollAccrualPeriod>, A>(
                       "AccrualPeriod", kRow | kSkipEmpty),
                   Bind<&A::hoursAccrued_, Hours, A>("HoursAccrued", kRow),
                   Bind<&A::maximumHours_, Hours, A>("MaximumHours", kRow),
                   Bind<&A::isResetting_, codecs::Bool, A>("IsResettingHoursEachNewYear", kRow)});
  }

  // A rate is an amount or a percentage: whichever was read or set last is written.
  static const BindingTable<empEarningsType>& Earnings() {
    using E = empEarningsType;
    constexpr uint16_t kRow = kInAdd | kInRet;
    BRENNOCK_BINDINGS(
        E,
        std::array<Binding<E>, 3>{
            {Bind<&E::wage_, codecs::Ref, E>("PayrollItemWageRef", kRow),
             {"Rate", kRow,
              [](E& e, const FieldElement& x) {
                codecs::Price::Read(e.rate_, x);
                e.isPercent_ = false;
              },
              [](const E& e, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
                if (!e.isPercent_) codecs::Price::Write(e.rate_, b, name, f, form);
              },
              nullptr, codecs::Price::kType},
             {"RatePercent", kRow,
              [](E& e, const FieldElement& x) {
                codecs::Single::Read(e.ratePercent_, x);
                e.isPercent_ = true;
              },
              [](const E& e, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
                if (e.isPercent_) codecs::Single::Write(e.ratePercent_, b, name, f, form);
              },
              nullptr, codecs::Single::kType}}});
  }
};

// ---- qcTimeInterval -----------------------------------------------------------------------------

void qcTimeInterval::Touch() {
  if (owner_) owner_->CheckModify(false, "qcTimeInterval");
  MarkChanged(state_);
}

void qcTimeInterval::SetHours(int32_t value) {
  Touch();
  hours_ = value;
}

void qcTimeInterval::SetMinutes(int32_t value) {
  Touch();
  minutes_ = value;
}

void qcTimeInterval::SetSeconds(int32_t value) {
  Touch();
  seconds_ = value;
}

void qcTimeInterval::FromString(const std::string& s) {
  Touch();
  std::string text;
  text.reserve(s.size());
  for (char c : s) text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string_view rest = std::string_view(text).substr(std::min<size_t>(2, text.size()));
  int32_t* parts[] = {&hours_, &minutes_, &seconds_};
  const char letters[] = {'H', 'M', 'S'};
  for (int i = 0; i < 3; ++i) {
    *parts[i] = 0;
    size_t at = rest.find(letters[i]);
    if (at == std::string_view::npos) continue;
    *parts[i] = LeadingNumber(rest.substr(0, at));
    rest.remove_prefix(at + 1);
  }
}

std::string qcTimeInterval::ToQBString() const {
  return "PT" + std::to_string(hours_) + "H" + std::to_string(minutes_) + "M" +
         std::to_string(seconds_) + "S";
}

void qcTimeInterval::Load(std::string_view text) {
  std::shared_ptr<const OwnerLink> owner = std::move(owner_);
  FromString(std::string(text));
  owner_ = std::move(owner);
  state_ = qoObjectStateClean;
}

// ---- empAccruedTime -----------------------------------------------------------------------------

empAccruedTime::empAccruedTime(std::shared_ptr<const OwnerLink> owner)
    : owner_(std::move(owner)),
      hoursAvailable_(std::make_shared<qcTimeInterval>()),
      hoursAccrued_(std::make_shared<qcTimeInterval>()),
      maximumHours_(std::make_shared<qcTimeInterval>()) {
  for (const auto& hours : {hoursAvailable_, hoursAccrued_, maximumHours_}) hours->SetOwner(owner_);
}

void empAccruedTime::Touch() {
  if (owner_) owner_->CheckModify(false, "empAccruedTime");
  MarkChanged(state_);
}

void empAccruedTime::SetAccrualPeriod(int16_t value) {
  Touch();
  accrualPeriod_ = value;
}

void empAccruedTime::SetIsResettingHoursEachNewYear(bool value) {
  Touch();
  isResetting_ = value;
}

bool empAccruedTime::IsEmpty() const noexcept {
  return hoursAvailable_->IsZero() && hoursAccrued_->IsZero() && maximumHours_->IsZero() &&
         accrualPeriod_ == 0 && !isResetting_;
}

void empAccruedTime::FromDom(const FieldElement& element) {
  PayrollRows::Accrued().Read(*this, element);
  state_ = qoObjectStateClean;
}

void empAccruedTime::WriteElements(RequestWriter& builder) const {
  PayrollRows::Accrued().Write(*this, builder, BodyForm::kAdd);
}

// ---- empEarningsType ----------------------------------------------------------------------------

void empEarningsType::Touch() {
  if (owner_) owner_->CheckModify(false, "empEarningsType");
  MarkChanged(state_);
}

void empEarningsType::SetPayrollItemWage(const std::string& value) {
  if (!ResolveListObject(qoListPayrollItemWages, value))
    RaiseError(errGeneral, "empEarningsType", "Invalid payroll wage item specified.");
  Touch();
  wage_.SetFullName(value);
}

void empEarningsType::SetRate(Currency value) {
  Touch();
  rate_ = value;
  isPercent_ = false;
}

void empEarningsType::SetRatePercent(float value) {
  Touch();
  ratePercent_ = value;
  isPercent_ = true;
}

void empEarningsType::FromDom(const FieldElement& element) {
  PayrollRows::Earnings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void empEarningsType::WriteElements(RequestWriter& builder) const {
  PayrollRows::Earnings().Write(*this, builder, BodyForm::kAdd);
}

// ---- empEarningsTypes ---------------------------------------------------------------------------

std::shared_ptr<empEarningsType> empEarningsTypes::Add(const std::string& PayrollItemWage,
                                                       Currency Rate) {
  auto line = std::make_shared<empEarningsType>(owner_);
  line->SetPayrollItemWage(PayrollItemWage);
  line->SetRate(Rate);
  if (owner_) owner_->CheckModify(false, "empEarningsTypes");
  items_.push_back(line);
  return line;
}

std::shared_ptr<empEarningsType> empEarningsTypes::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("empEarningsTypes");
  return items_[static_cast<size_t>(index - 1)];
}

void empEarningsTypes::Remove(int32_t index) {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("empEarningsTypes");
  if (owner_) owner_->CheckModify(false, "empEarningsTypes");
  items_.erase(items_.begin() + (index - 1));
}

void empEarningsTypes::Clear() {
  if (owner_) owner_->CheckModify(false, "empEarningsTypes");
  items_.clear();
}

void empEarningsTypes::Load(const FieldElement& element) {
  auto line = std::make_shared<empEarningsType>(owner_);
  line->FromDom(element);
  items_.push_back(std::move(line));
}

}  // namespace brennock

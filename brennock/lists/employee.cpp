#include "brennock/lists/employee.h"

#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/text.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

const Employee& AsEmployee(const qcBase& record) { return static_cast<const Employee&>(record); }

bool Over(std::string_view value, size_t limit) { return Utf8Length(value) > limit; }

// True when the session's qbXML version is below major.minor given in tenths (21 for 2.1).
bool Below(int tenths) { return SessionQbxmlVersion() < Currency::FromScaled(tenths * 1000); }

// A row's own writer, in a modify request only from the qbXML version (in tenths) that took the
// element there; other forms as the codec writes them.
template <auto Member, class Codec, int ModSince>
void WriteModSince(const qcBase& record, RequestWriter& builder, std::string_view element,
                   uint16_t flags, BodyForm form) {
  if (form == BodyForm::kMod && Below(ModSince)) return;
  detail::WriteMember<Member, Codec, qcBase>(record, builder, element, flags, form);
}

// The same in every request form.
template <auto Member, class Codec, int Since>
void WriteSince(const qcBase& record, RequestWriter& builder, std::string_view element,
                uint16_t flags, BodyForm form) {
  if (form != BodyForm::kRet && Below(Since)) return;
  detail::WriteMember<Member, Codec, qcBase>(record, builder, element, flags, form);
}

template <auto Member, class Codec, auto Writer>
constexpr Binding<qcBase> Gated(std::string_view element, uint16_t flags) {
  Binding<qcBase> row = Bind<Member, Codec>(element, flags);
  row.write = Writer;
  return row;
}

// The earnings-time choice of sessions before qbXML 3.0, as a flag.
constexpr int kUseTimeDataSince = 30;

constexpr std::string_view kPayrollMod = "EmployeePayrollInfoMod";

}  // namespace

struct Employee::Payroll {
  explicit Payroll(const std::shared_ptr<OwnerLink>& link)
      : earnings(std::make_shared<empEarningsTypes>(link)),
        sick(std::make_shared<empAccruedTime>(link)),
        vacation(std::make_shared<empAccruedTime>(link)) {}

  bool IsEmpty() const {
    return payPeriod == 0 && classRef.IsEmpty() && earnings->Count() == 0 && useTimeData.empty() &&
           sick->IsEmpty() && vacation->IsEmpty();
  }

  qbPayFrequencyType payPeriod = static_cast<qbPayFrequencyType>(0);
  qcListObjectRef classRef{qoListClasses, {}};
  std::shared_ptr<empEarningsTypes> earnings;
  std::string useTimeData;
  std::shared_ptr<empAccruedTime> sick, vacation;
};

Employee::Employee()
    : EntityRecordCore(RegisteredKind<kObjectType>()),
      link_(std::make_shared<OwnerLink>(this, &Employee::Guard)) {}

Employee::~Employee() { link_->Cut(); }

// The payroll sub-objects ask before each change: a change of theirs puts the payroll block into
// the next Mod.
void Employee::Guard(void* owner, bool bNewOnly, std::string_view source) {
  auto* self = static_cast<Employee*>(owner);
  self->RecordBase::CheckModify(bNewOnly, source);
  self->MarkChanged(kPayrollMod);
}

Employee::Payroll& Employee::PayrollBlock() {
  if (!payroll_) payroll_ = std::make_unique<Payroll>(link_);
  return *payroll_;
}

qbPayFrequencyType Employee::PayPeriod() const noexcept {
  return payroll_ ? payroll_->payPeriod : static_cast<qbPayFrequencyType>(0);
}

void Employee::SetPayPeriod(qbPayFrequencyType value) {
  Change(PayrollBlock().payPeriod, value, kPayrollMod);
}

std::string Employee::Class() const { return payroll_ ? payroll_->classRef.FullName() : ""; }

void Employee::SetClass(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListClasses, value))
    RaiseError(errClassNotFound, "Employee");
  CheckModify(false);
  PayrollBlock().classRef.SetFullName(value);
  MarkChanged(kPayrollMod);
}

std::shared_ptr<empEarningsTypes> Employee::Earnings() { return PayrollBlock().earnings; }

const std::string& Employee::UseTimeDataToCreatePaychecks() const noexcept {
  static const std::string kNone;
  return payroll_ ? payroll_->useTimeData : kNone;
}

void Employee::SetUseTimeDataToCreatePaychecks(const std::string& value) {
  Change(PayrollBlock().useTimeData, value, kPayrollMod);
}

std::shared_ptr<empAccruedTime> Employee::SickHours() { return PayrollBlock().sick; }
std::shared_ptr<empAccruedTime> Employee::VacationHours() { return PayrollBlock().vacation; }

void Employee::ReadPayroll(qcBase& record, const FieldElement& element) {
  Payroll& payroll = static_cast<Employee&>(record).PayrollBlock();
  payroll.earnings->Reset();
  std::string scratch;
  for (FieldElement child : element.Children()) {
    std::string_view name = child.baseName();
    if (name == "PayPeriod") {
      codecs::EnumTag<qoePayrollPayFrequency>::Read(payroll.payPeriod, child);
    } else if (name == "ClassRef") {
      payroll.classRef.FromDom(child);
    } else if (name == "Earnings") {
      payroll.earnings->Load(child);
    } else if (name == "UseTimeDataToCreatePaychecks") {
      payroll.useTimeData.assign(child.TextView(scratch));
    } else if (name == "IsUsingTimeDataToCreatePaychecks") {
      payroll.useTimeData = ModConvertDtypes::TextToBool(child.TextView(scratch))
                                ? "UseTimeData"
                                : "DoNotUseTimeData";
    } else if (name == "SickHours") {
      payroll.sick->FromDom(child);
    } else if (name == "VacationHours") {
      payroll.vacation->FromDom(child);
    }
  }
}

// EmployeePayrollInfo in an Add and the query-result form, EmployeePayrollInfoMod in a Mod; not
// written while nothing of it is set.
void Employee::WritePayroll(const qcBase& record, RequestWriter& builder, std::string_view element,
                            uint16_t, BodyForm form) {
  const Employee& self = AsEmployee(record);
  if (!self.payroll_ || self.payroll_->IsEmpty()) return;
  const Payroll& payroll = *self.payroll_;
  builder.OpenAggregateOnly(element);
  if (payroll.payPeriod != 0)
    codecs::EnumTag<qoePayrollPayFrequency>::Write(payroll.payPeriod, builder, "PayPeriod", 0,
                                                   form);
  WriteListRef(&payroll.classRef, builder, "ClassRef");
  for (const auto& line : *payroll.earnings) {
    builder.OpenAggregateOnly("Earnings");
    line->WriteElements(builder);
    builder.EndAggregate("Earnings");
  }
  if (!payroll.useTimeData.empty()) {
    if (form == BodyForm::kRet || !Below(kUseTimeDataSince)) {
      builder.CreateElement("UseTimeDataToCreatePaychecks", payroll.useTimeData);
    } else if (payroll.useTimeData != "NotSet") {
      builder.CreateElement(
          "IsUsingTimeDataToCreatePaychecks",
          ModConvertDtypes::BoolToRequestText(payroll.useTimeData == "UseTimeData"));
    }
  }
  for (auto [name, hours] : {std::pair{"SickHours", payroll.sick.get()},
                             std::pair{"VacationHours", payroll.vacation.get()}}) {
    if (hours->IsEmpty()) continue;
    builder.OpenAggregateOnly(name);
    hours->WriteElements(builder);
    builder.EndAggregate(name);
  }
  builder.EndAggregate(element);
}

// One tax number, under the element of the session's edition.
void Employee::WriteTaxNumber(const qcBase& record, RequestWriter& builder,
                              std::string_view element, uint16_t flags, BodyForm form) {
  const SessionState& session = Session();
  std::string_view wanted = !session.nonUSEdition       ? "SSN"
                            : session.ukEdition         ? "NiNumber"
                            : session.australianEdition ? ""
                                                        : "SIN";
  if (form != BodyForm::kRet && element != wanted) return;
  if (form == BodyForm::kRet && element != "SSN") return;
  detail::WriteMember<&Employee::ssn_, codecs::Text, qcBase>(record, builder, element, flags, form);
}

const RecordBindings& Employee::Bindings() {
  using T = codecs::Text;
  using E = Employee;
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet | kSkipEmpty;
  constexpr uint16_t kAddRet = kInAdd | kInRet | kSkipEmpty;
  BRENNOCK_BINDINGS(
      qcBase, ModHeadRows(), NameRow("Name", kAll),
      std::array{
          Gated<&E::isActive_, codecs::Bool, &WriteModSince<&E::isActive_, codecs::Bool, 30>>(
              "IsActive", kInAdd | kInMod | kInRet),
          Bind<&E::salutation_, T>("Salutation", kAll),
          Bind<&E::firstName_, T>("FirstName", kAll),
          Bind<&E::middleName_, T>("MiddleName", kAll),
          Bind<&E::lastName_, T>("LastName", kAll),
          Bind<&E::suffix_, T>("Suffix", kAll),
          AddressRow("EmployeeAddress", kInAdd | kInMod | kInRet | kModAlways),
          Bind<&E::printAs_, T>("PrintAs", kAll),
          Bind<&E::phone_, T>("Phone", kAll),
          Gated<&E::mobile_, T, &WriteSince<&E::mobile_, T, 21>>("Mobile", kAll),
          Gated<&E::pager_, T, &WriteSince<&E::pager_, T, 21>>("Pager", kAll),
          Gated<&E::pagerPIN_, T, &WriteSince<&E::pagerPIN_, T, 21>>("PagerPIN", kAll),
          Bind<&E::altPhone_, T>("AltPhone", kAll),
          Gated<&E::ssn_, T, &WriteTaxNumber>("SSN", kAddRet),
          Gated<&E::ssn_, T, &WriteTaxNumber>("SIN", kAddRet | kNotInSchema),
          Gated<&E::ssn_, T, &WriteTaxNumber>("NiNumber", kAddRet | kNotInSchema),
          Bind<&E::email_, T>("Email", kAll),
          Gated<&E::employeeType_, codecs::EnumTag<qoeEmployeeType>,
                &WriteModSince<&E::employeeType_, codecs::EnumTag<qoeEmployeeType>, 50>>(
              "EmployeeType", kAll),
          Bind<&E::gender_, codecs::EnumTag<qoeGenderType>>("Gender", kAddRet),
          Gated<&E::hiredDate_, codecs::Date, &WriteModSince<&E::hiredDate_, codecs::Date, 50>>(
              "HiredDate", kAll),
          Gated<&E::releasedDate_, codecs::Date,
                &WriteModSince<&E::releasedDate_, codecs::Date, 50>>("ReleasedDate", kAll),
          Bind<&E::birthDate_, codecs::Date>("BirthDate", kAll),
          Bind<&E::accountNumber_, T>("AccountNumber", kAll),
          Gated<&E::notes_, T, &WriteSince<&E::notes_, T, 30>>("Notes", kAll),
          Binding<qcBase>{"EmployeePayrollInfo", kInAdd | kInRet, &ReadPayroll, &WritePayroll},
          Binding<qcBase>{"EmployeePayrollInfoMod", kInMod, nullptr, &WritePayroll},
          DataExtRow()},
      UserDataRow());
}

void Employee::CheckRules(qcErrors& errors) {
  if (name_.empty()) AddTableError(errors, errNameNull, "Name");
  if (Over(name_, 41)) AddTableError(errors, errNameTooLong, "Name");
  if (Over(salutation_, 15)) AddTableError(errors, errSalutationTooLong, "Salutation");
  if (Over(firstName_, 25)) AddTableError(errors, errFirstLastNameTooLong, "First Name");
  if (Over(middleName_, 5)) AddTableError(errors, errMiddleNameTooLong, "Middle Name");
  // Unlike other names, two empty names count as the same.
  if (Over(lastName_, 25)) {
    AddTableError(errors, errFirstLastNameTooLong, "Last Name");
  } else if (lastName_ == firstName_) {
    AddTableError(errors, errLastNameSameAsFirst, "Last Name");
  }
  CheckAddress(errors, "Employee Address");
  if (Over(printAs_, 41)) AddTableError(errors, errPrintAsTooLong, "Print As");
  if (Over(phone_, 21)) AddTableError(errors, errPhoneTooLong, "Phone");
  if (Over(altPhone_, 21)) AddTableError(errors, errPhoneTooLong, "Alt Phone");
  if (Over(ssn_, 15)) AddTableError(errors, errSsnTooLong, "SSN");
  if (Over(email_, 99)) AddTableError(errors, errEmailTooLong, "Email");
  if (Over(accountNumber_, 99))
    AddTableError(errors, errCustomerAccountNumberTooLong, "Account Number");
}

std::shared_ptr<Employee> Employees::Add(const std::string& Name, bool IsActive) {
  std::shared_ptr<Employee> record = NewMember();
  Fill(*record, Name, IsActive);
  FileNew(record);
  return record;
}

}  // namespace brennock

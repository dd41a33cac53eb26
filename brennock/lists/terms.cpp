#include "brennock/lists/terms.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/util/text.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

// QuickBooks keeps 31 characters; the check lets 41 through, as it always has, while its message
// names 31.
constexpr size_t kMaxTermNameLength = 41;

// Day counts and days of the month are written only when above 0.
struct Days : codecs::Int16 {
  static bool Empty(int16_t member) noexcept { return member <= 0; }
};

// The discount percentage: a percent element written in the amount format, only when above 0 as
// written (0.004 would go out as "0.00", which reads back as no discount at all).
struct DiscountPct : codecs::Amount {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kPercent;
  static bool Empty(Currency member) {
    return !(member > Currency()) || ModConvertDtypes::AmountToText(member) == "0.00";
  }
};

void CheckTermName(const std::string& name, qcErrors& errors) {
  if (name.empty()) AddTableError(errors, errNameNull, "Name");
  if (Utf8Length(name) > kMaxTermNameLength) AddTableError(errors, errNameTooLong, "Name");
}

// The date of that day of the month, rolled over into the next months as a calendar would.
Date DayOf(int year, int month, int day) { return Date::Serial(year, month, day); }

}  // namespace

// ---- standard terms ----------------------------------------------------------------------------

// IsActive goes as "true"/"false" in the Add of standard terms.
const RecordBindings& StandardTerm::Bindings() {
  constexpr uint16_t kWritten = kInAdd | kInRet | kSkipEmpty;
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), NameRow(), ActiveRow(kInAdd | kInRet | kWordsInRequests),
      std::array{Bind<&StandardTerm::dueDays_, Days>("StdDueDays", kWritten),
                 Bind<&StandardTerm::discountDays_, Days>("StdDiscountDays", kWritten),
                 Bind<&StandardTerm::discountPercent_, DiscountPct>("DiscountPct", kWritten)},
      UserDataRow());
}

std::string StandardTerm::DueDays() const { return ModConvertDtypes::IntegerToText(dueDays_); }

std::string StandardTerm::DiscountDays() const {
  return ModConvertDtypes::IntegerToText(discountDays_);
}

void StandardTerm::SetDueDays(const std::string& value) {
  int16_t days = ModConvertDtypes::TextToInt16(value);
  RecordBase::CheckModify(true, Kind().stem);
  dueDays_ = days;
}

void StandardTerm::SetDiscountDays(const std::string& value) {
  int16_t days = ModConvertDtypes::TextToInt16(value);
  RecordBase::CheckModify(true, Kind().stem);
  discountDays_ = days;
}

void StandardTerm::SetDiscountPercent(Currency value) {
  RecordBase::CheckModify(true, Kind().stem);
  discountPercent_ = value;
}

Date StandardTerm::CalculateDueDate(Date PostDate) const { return PostDate.AddDays(dueDays_); }

Date StandardTerm::CalculateDiscountDate(Date PostDate) const {
  if (discountDays_ == 0) return {};
  return PostDate.AddDays(discountDays_);
}

void StandardTerm::CheckRules(qcErrors& errors) { CheckTermName(name_, errors); }

// ---- date-driven terms -------------------------------------------------------------------------

// IsActive goes as "1"/"0", as in most Adds.
const RecordBindings& DateDrivenTerm::Bindings() {
  constexpr uint16_t kWritten = kInAdd | kInRet | kSkipEmpty;
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), NameRow(), ActiveRow(),
      std::array{Bind<&DateDrivenTerm::dayOfMonthDue_, Days>("DayOfMonthDue", kWritten),
                 Bind<&DateDrivenTerm::dueNextMonthDays_, Days>("DueNextMonthDays", kWritten),
                 Bind<&DateDrivenTerm::discountDayOfMonth_, Days>("DiscountDayOfMonth", kWritten),
                 Bind<&DateDrivenTerm::discountPercent_, DiscountPct>("DiscountPct", kWritten)},
      UserDataRow());
}

void DateDrivenTerm::SetDayOfMonthDue(int16_t value) {
  RecordBase::CheckModify(true, Kind().stem);
  dayOfMonthDue_ = value;
}

void DateDrivenTerm::SetDueNextMonthDays(int16_t value) {
  RecordBase::CheckModify(true, Kind().stem);
  dueNextMonthDays_ = value;
}

void DateDrivenTerm::SetDiscountDayOfMonth(int16_t value) {
  RecordBase::CheckModify(true, Kind().stem);
  discountDayOfMonth_ = value;
}

void DateDrivenTerm::SetDiscountPercent(Currency value) {
  RecordBase::CheckModify(true, Kind().stem);
  discountPercent_ = value;
}

Date DateDrivenTerm::CalculateDueDate(Date PostDate) const {
  const Date::Fields posted = PostDate.Split();
  int month = posted.month;
  int64_t daysToDue = DayOf(posted.year, month, dayOfMonthDue_).DayNumber() - PostDate.DayNumber();
  if (dueNextMonthDays_ > daysToDue) ++month;  // Serial carries month 13 into the next year
  return DayOf(posted.year, month, dayOfMonthDue_);
}

Date DateDrivenTerm::CalculateDiscountDate(Date PostDate) const {
  if (discountDayOfMonth_ == 0) return {};
  const Date::Fields posted = PostDate.Split();
  int month = posted.month;
  if (DayOf(posted.year, month, discountDayOfMonth_).DayNumber() < PostDate.DayNumber()) ++month;
  return DayOf(posted.year, month, discountDayOfMonth_);
}

void DateDrivenTerm::CheckRules(qcErrors& errors) { CheckTermName(name_, errors); }

// ---- the collection ----------------------------------------------------------------------------

Terms::Terms()
    : ListCollectionCore(RegisteredKind<qoObjectTypeTerms>(), &MakeRecord<StandardTerm>) {}

std::shared_ptr<StandardTerm> Terms::AddStandard(const std::string& Name, bool IsActive,
                                                 int16_t DueDays, int16_t DiscountDays,
                                                 Currency DiscountPercent) {
  RequireMaster();
  auto term = std::make_shared<StandardTerm>();
  Fill(*term, Name, IsActive);
  term->dueDays_ = DueDays;
  term->discountDays_ = DiscountDays;
  term->discountPercent_ = DiscountPercent;
  FileNew(term);
  return term;
}

std::shared_ptr<DateDrivenTerm> Terms::AddDateDriven(const std::string& Name, int16_t DayOfMonthDue,
                                                     bool IsActive, int16_t DiscountDayOfMonth,
                                                     Currency DiscountPercent,
                                                     int16_t DueNextMonthDays) {
  RequireMaster();
  auto term = std::make_shared<DateDrivenTerm>();
  Fill(*term, Name, IsActive);
  term->dayOfMonthDue_ = DayOfMonthDue;
  term->discountDayOfMonth_ = DiscountDayOfMonth;
  term->discountPercent_ = DiscountPercent;
  term->dueNextMonthDays_ = DueNextMonthDays;
  FileNew(term);
  return term;
}

int32_t Terms::Delete(const std::string& ListID, qbEnumTermsType TermType, bool bRemove) {
  switch (TermType) {
    case qbStandardTerms:
      return DeleteOfType("StandardTerms", ListID, bRemove);
    case qbDateDrivenTerms:
      return DeleteOfType("DateDrivenTerms", ListID, bRemove);
    default:
      RaiseError(errInvalidTermsType, "Terms");
  }
}

std::shared_ptr<ListRecordCore> Terms::NewListRecord(std::string_view element) {
  if (element == "StandardTermsRet") return std::make_shared<StandardTerm>();
  if (element == "DateDrivenTermsRet") return std::make_shared<DateDrivenTerm>();
  RaiseGeneral(Stem(), "Unknown Term");
}

std::string Terms::QueryName() const {
  switch (queryKind_) {
    case qbStandardTerms:
      return "StandardTermsQueryRq";
    case qbDateDrivenTerms:
      return "DateDrivenTermsQueryRq";
    default:
      return "TermsQueryRq";
  }
}

template <class Query>
int32_t Terms::OfKind(qbEnumTermsType kind, Query&& query) {
  if (kind != qbTerms && kind != qbStandardTerms && kind != qbDateDrivenTerms)
    RaiseGeneral(Stem(), "Bad type in GetByType");
  struct Restore {
    qbEnumTermsType& kind;
    ~Restore() { kind = qbTerms; }
  } restore{queryKind_};
  queryKind_ = kind;
  return query();
}

int32_t Terms::GetAll(qbEnumTermsType TermsType, int32_t MaxReturned, const std::string& sMDBPath) {
  return OfKind(TermsType, [&] { return ListCollectionCore::GetAll(MaxReturned, sMDBPath); });
}

int32_t Terms::GetActive(qbEnumTermsType TermsType, int32_t MaxReturned,
                         const std::string& sMDBPath) {
  return OfKind(TermsType, [&] { return ListCollectionCore::GetActive(MaxReturned, sMDBPath); });
}

int32_t Terms::GetByNameRange(const std::string& FromName, const std::string& ToName,
                              qbEnumTermsType TermsType, int32_t MaxReturned,
                              const std::string& sMDBPath) {
  return OfKind(TermsType, [&] {
    return ListCollectionCore::GetByNameRange(FromName, ToName, MaxReturned, sMDBPath);
  });
}

int32_t Terms::GetByNameMatch(const std::string& MatchString, qbEnumMatchType MatchType,
                              qbEnumTermsType TermsType, int32_t MaxReturned,
                              const std::string& sMDBPath) {
  return OfKind(TermsType, [&] {
    return ListCollectionCore::GetByNameMatch(MatchString, MatchType, MaxReturned, sMDBPath);
  });
}

int32_t Terms::GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned,
                             const std::string& sMDBPath, qbEnumTermsType TermsType) {
  return OfKind(TermsType, [&] {
    return ListCollectionCore::GetByDateSpan(FromDate, ToDate, MaxReturned, sMDBPath);
  });
}

std::shared_ptr<qcTerm> Terms::CastObject(const std::shared_ptr<qcListObject>& Term) const {
  return std::dynamic_pointer_cast<qcTerm>(Term);
}

}  // namespace brennock

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "brennock/enums/list_enums.h"
#include "brennock/internal/model/list_collection_core.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

// Payment terms as a transaction sees them: it computes its due and discount dates through this
// without knowing the kind of term.
class qcTerm {
 public:
  virtual ~qcTerm() = default;

  virtual bool IsDateDriven() const = 0;
  virtual Date CalculateDueDate(Date PostDate) const = 0;
  // The last day the early-payment discount applies; the zero date when the term gives none.
  virtual Date CalculateDiscountDate(Date PostDate) const = 0;
  virtual Currency DiscountPercent() const = 0;
};

// Terms due a number of days after the transaction date, with an optional discount for paying
// within fewer days. QuickBooks takes them on Add only: every field is add-only.
class StandardTerm final : public ListRecordCore, public qcTerm {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeStandardTerms;
  StandardTerm() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  // Whole days, as decimal text ("30").
  std::string DueDays() const;
  std::string DiscountDays() const;
  // On a saved term each raises 1002 (source "StandardTerms") and keeps the old value; text that
  // is no whole number raises 13.
  void SetDueDays(const std::string& value);
  void SetDiscountDays(const std::string& value);
  void SetDiscountPercent(Currency value);

  // qcTerm
  bool IsDateDriven() const override { return false; }
  // PostDate plus DueDays calendar days.
  Date CalculateDueDate(Date PostDate) const override;
  // PostDate plus DiscountDays; the zero date when DiscountDays is 0.
  Date CalculateDiscountDate(Date PostDate) const override;
  Currency DiscountPercent() const override { return discountPercent_; }

  static const RecordBindings& Bindings();

 protected:
  // 1012 for an empty name, 1013 for a name of more than 41 characters.
  void CheckRules(qcErrors& errors) override;

 private:
  friend class Terms;

  Currency discountPercent_;
  int16_t dueDays_ = 0;
  int16_t discountDays_ = 0;
};

// Terms due on a day of the month; a transaction dated fewer than DueNextMonthDays days before
// that day is due on that day of the next month. Every field is add-only.
class DateDrivenTerm final : public ListRecordCore, public qcTerm {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeDateDrivenTerms;
  DateDrivenTerm() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  int16_t DayOfMonthDue() const noexcept { return dayOfMonthDue_; }
  int16_t DueNextMonthDays() const noexcept { return dueNextMonthDays_; }
  int16_t DiscountDayOfMonth() const noexcept { return discountDayOfMonth_; }
  // On a saved term each raises 1002 (source "DateDrivenTerms") and keeps the old value.
  void SetDayOfMonthDue(int16_t value);
  void SetDueNextMonthDays(int16_t value);
  void SetDiscountDayOfMonth(int16_t value);
  void SetDiscountPercent(Currency value);

  // qcTerm
  bool IsDateDriven() const override { return true; }
  // Day DayOfMonthDue of PostDate's month, or of the next month when that day is fewer than
  // DueNextMonthDays days after PostDate (or before it). A day beyond the month's end rolls into
  // the next month (the 31st of April is the 1st of May).
  Date CalculateDueDate(Date PostDate) const override;
  // Day DiscountDayOfMonth of PostDate's month when it is not before PostDate, else of the next
  // month, so the discount always reaches forward from the transaction; the zero date when
  // DiscountDayOfMonth is 0.
  Date CalculateDiscountDate(Date PostDate) const override;
  Currency DiscountPercent() const override { return discountPercent_; }

  static const RecordBindings& Bindings();

 protected:
  // As StandardTerm.
  void CheckRules(qcErrors& errors) override;

 private:
  friend class Terms;

  Currency discountPercent_;
  int16_t dayOfMonthDue_ = 0;
  int16_t dueNextMonthDays_ = 0;
  int16_t discountDayOfMonth_ = 0;
};

// The terms of both kinds. Queries choose the kind by TermsType (qbTerms: both); a type outside
// qbEnumTermsType raises 1003 "Bad type in GetByType" (source "Brennock: Terms"). GetByFullName
// and GetByListID ask for both kinds, as do GetAll and GetActive called through qcList. Terms are
// never modified: a changed member stops Commit with "Modify not allowed".
class Terms final : public ListCollectionCore {
 public:
  Terms();

  // Master collection only (else 1021, source "Terms").
  std::shared_ptr<StandardTerm> AddStandard(const std::string& Name = {}, bool IsActive = true,
                                            int16_t DueDays = 0, int16_t DiscountDays = 0,
                                            Currency DiscountPercent = {});
  std::shared_ptr<DateDrivenTerm> AddDateDriven(const std::string& Name = {},
                                                int16_t DayOfMonthDue = 0, bool IsActive = true,
                                                int16_t DiscountDayOfMonth = 0,
                                                Currency DiscountPercent = {},
                                                int16_t DueNextMonthDays = 0);
  // ListDelRq of that kind; TermType qbTerms (or any other) raises 1900 "Invalid terms type
  // specified" (source "Terms").
  int32_t Delete(const std::string& ListID, qbEnumTermsType TermType, bool bRemove = true);

  // Through qcList, and with a count first: both kinds. No defaults here, so that GetAll() means
  // the overload below.
  int32_t GetAll(int32_t MaxReturned, const std::string& sMDBPath) override {
    return ListCollectionCore::GetAll(MaxReturned, sMDBPath);
  }
  int32_t GetActive(int32_t MaxReturned, const std::string& sMDBPath) override {
    return ListCollectionCore::GetActive(MaxReturned, sMDBPath);
  }
  int32_t GetAll(qbEnumTermsType TermsType = qbTerms, int32_t MaxReturned = 0,
                 const std::string& sMDBPath = {});
  int32_t GetActive(qbEnumTermsType TermsType = qbTerms, int32_t MaxReturned = 0,
                    const std::string& sMDBPath = {});
  int32_t GetByNameRange(const std::string& FromName, const std::string& ToName,
                         qbEnumTermsType TermsType = qbTerms, int32_t MaxReturned = 0,
                         const std::string& sMDBPath = {});
  int32_t GetByNameMatch(const std::string& MatchString,
                         qbEnumMatchType MatchType = qbMatchStartsWith,
                         qbEnumTermsType TermsType = qbTerms, int32_t MaxReturned = 0,
                         const std::string& sMDBPath = {});
  int32_t GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned = 0,
                        const std::string& sMDBPath = {}, qbEnumTermsType TermsType = qbTerms);

  // The member as a term (its own class through dynamic_pointer_cast); null for anything else.
  std::shared_ptr<qcTerm> CastObject(const std::shared_ptr<qcListObject>& Term) const;

 protected:
  // StandardTermsRet and DateDrivenTermsRet; any other element raises 1003 "Unknown Term".
  std::shared_ptr<ListRecordCore> NewListRecord(std::string_view element) override;
  std::string QueryName() const override;

 private:
  // Runs query with the request of that kind, then asks for both kinds again.
  template <class Query>
  int32_t OfKind(qbEnumTermsType kind, Query&& query);

  qbEnumTermsType queryKind_ = qbTerms;
};

}  // namespace brennock

#include "simulator/transactions/term_dates.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "brennock/lists/terms.h"

namespace brennock::simulator {
namespace {

// "2024-03-05" and back.
Date ToDate(std::string_view text) {
  int y = 0, m = 0, d = 0;
  if (std::sscanf(std::string(text).c_str(), "%d-%d-%d", &y, &m, &d) != 3 ||
      !Date::IsValidDate(y, m, d))
    return {};
  return Date::FromDate(y, m, d);
}

std::string FromDate(Date date) {
  Date::Fields f = date.Split();
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", f.year, f.month, f.day);
  return buf;
}

}  // namespace

TermDates DatesOfTerms(ListStore& lists, std::string_view terms_ref, std::string_view date) {
  TermDates out;
  out.due = date;
  auto t = terms_ref.empty() ? std::nullopt : lists.LoadById(RefId(terms_ref));
  if (!t) return out;
  std::unique_ptr<qcTerm> terms;
  auto days = [&](std::string_view f) {
    return static_cast<int16_t>(std::atoi(std::string(t->Field(f)).c_str()));
  };
  if (t->type->name == "StandardTerms") {
    auto s = std::make_unique<StandardTerm>();
    s->SetDueDays(t->Field("StdDueDays").empty() ? "0" : std::string(t->Field("StdDueDays")));
    s->SetDiscountDays(
        t->Field("StdDiscountDays").empty() ? "0" : std::string(t->Field("StdDiscountDays")));
    terms = std::move(s);
  } else {
    auto d = std::make_unique<DateDrivenTerm>();
    d->SetDayOfMonthDue(days("DayOfMonthDue"));
    d->SetDueNextMonthDays(days("DueNextMonthDays"));
    d->SetDiscountDayOfMonth(days("DiscountDayOfMonth"));
    terms = std::move(d);
  }
  out.has_terms = true;
  out.discount_percent = t->Field("DiscountPct");
  out.due = FromDate(terms->CalculateDueDate(ToDate(date)));
  if (!out.discount_percent.empty()) {
    Date discount = terms->CalculateDiscountDate(ToDate(date));
    if (discount.DayNumber() != Date().DayNumber()) out.discount_date = FromDate(discount);
  }
  return out;
}

}  // namespace brennock::simulator

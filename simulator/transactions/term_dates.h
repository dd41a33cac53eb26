#pragma once

#include <string>
#include <string_view>

#include "simulator/lists/list_store.h"

namespace brennock::simulator {

// What a form's terms make of its date: when it is due and, for terms with a discount, until when
// the discount is given and its percent. QuickBooks' rules of standard terms (days after the date)
// and date-driven terms (a day of the month), as the library computes them.
struct TermDates {
  bool has_terms = false;
  std::string due;               // "2024-04-04"; the date itself without terms
  std::string discount_date;     // empty when the terms give no discount date
  std::string discount_percent;  // the terms' DiscountPct, as stored
};

// terms_ref is a stored TermsRef value (empty: none); date "2024-03-05".
TermDates DatesOfTerms(ListStore& lists, std::string_view terms_ref, std::string_view date);

}  // namespace brennock::simulator

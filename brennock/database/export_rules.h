#pragma once

#include <string>
#include <string_view>

#include "brennock/database/sql_connection.h"

namespace brennock {

// The value rules of the database export, apart from the database itself.

// TimeCreated, TimeModified, DueDate, TxnDate, ShipDate, SuggestedDiscountDate, BirthDate,
// HiredDate and every name ending in "Date": stored as a date.
bool IsDateElement(std::string_view name);
// The date part of a qbXML date or date-time as "yyyy-mm-dd"; empty when it is no date.
std::string ExportDate(std::string_view text);
// Cuts text for a column: not for double or currency columns nor sizes up to 4; a record's own
// table keeps size - 20 characters when the size is above 20, detail tables keep size.
void CutForColumn(std::string& text, const SqlColumn& column, bool detail);
// U+0090, U+2018 and U+00B4 become an apostrophe, then '?' and every character Windows-1252
// cannot hold become a blank.
void CleanExportText(std::string& text);
// The detail table of a child aggregate (lower case), or empty when the element is not exported
// into a detail table. table: the target table, lower case.
std::string DetailTableFor(std::string_view element, std::string_view table);

}  // namespace brennock

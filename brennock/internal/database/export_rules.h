#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "brennock/database/sql_connection.h"
#include "brennock/internal/qbxml/catalogue.h"

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

// The table every kind of item goes to together: the Items collection's, and the command's
// `export item`. Its rows say their kind in kItemTypeColumn ("ItemService", ...).
inline constexpr std::string_view kItemsTable = "Items";
inline constexpr std::string_view kItemTypeColumn = "ItemType";
// The table a record kind (a qbXML name such as "Customer", or "Item" for every kind of item)
// is exported to, as the export is given it: the kind itself, or kItemsTable.
std::string ExportTableOf(std::string_view kind);
// The return aggregates of the records a table (lower case) holds: <table>Ret, or every item
// kind's for the items table; empty when there is none.
std::vector<const qbxml::Aggregate*> RecordShapesOf(std::string_view table);
// The ListDelType of each kind of record a list table (lower case) holds: its own qbXML name, or
// every item kind's for the items table; empty when the table is no list's.
std::vector<std::string_view> ListDelTypesOf(std::string_view table);

}  // namespace brennock

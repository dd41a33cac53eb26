#include "brennock/internal/database/export_rules.h"

#include <array>

#include "brennock/internal/database/sql_text.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/internal/util/text.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The characters of Windows-1252 codes 128 to 159 that are not Latin-1's own.
constexpr std::array<char32_t, 27> kWindows1252Extras = {
    0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};

bool InWindows1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return true;
  // Codes 129, 141, 143, 144 and 157 have no character and pass through as themselves.
  if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) return true;
  for (char32_t extra : kWindows1252Extras)
    if (extra == c) return true;
  return false;
}

// The code point at text[i] and its length; a broken sequence reads as one byte U+FFFD.
char32_t Decode(std::string_view text, size_t i, size_t& length) {
  char32_t c = 0;
  length = DecodeUtf8(text, i, c);
  if (length == 0) {
    length = 1;
    return 0xFFFD;
  }
  return c;
}

// The bytes of the first count characters.
size_t PrefixBytes(std::string_view text, size_t count) {
  size_t i = 0;
  for (size_t n = 0; n < count && i < text.size(); ++n) {
    size_t length = 1;
    Decode(text, i, length);
    i += length;
  }
  return i;
}

}  // namespace

bool IsDateElement(std::string_view name) {
  return name == "TimeCreated" || name == "TimeModified" || EndsWith(name, "Date");
}

std::string ExportDate(std::string_view text) {
  if (text.size() > 10) text = text.substr(0, 10);
  if (text.empty()) return {};
  try {
    Date date = ModConvertDtypes::TextToDate(text);
    if (date.Value() == 0) return {};
    return ModConvertDtypes::DateToText(date);
  } catch (...) {  // not a date: the column stays empty
    return {};
  }
}

void CutForColumn(std::string& text, const SqlColumn& column, bool detail) {
  if (column.kind == SqlColumnKind::kDouble || column.kind == SqlColumnKind::kCurrency) return;
  if (column.size <= 4) return;
  size_t size = static_cast<size_t>(column.size);
  if (Utf8Length(text) <= size) return;
  size_t keep = !detail && size > 20 ? size - 20 : size;
  text.resize(PrefixBytes(text, keep));
}

void CleanExportText(std::string& text) {
  bool plain = true;
  for (char c : text) {
    if (c == '?' || static_cast<unsigned char>(c) >= 0x80) {
      plain = false;
      break;
    }
  }
  if (plain) return;
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    size_t length = 1;
    char32_t c = Decode(text, i, length);
    if (c == 0x90 || c == 0x2018 || c == 0xB4) {
      out += '\'';
    } else if (c == '?' || !InWindows1252(c)) {
      out += ' ';
    } else {
      out.append(text, i, length);
    }
    i += length;
  }
  text = std::move(out);
}

std::string DetailTableFor(std::string_view element, std::string_view table) {
  std::string_view stem = element;
  if (element == "ExpenseLine") {
    stem = "TxnExpenseLine";
  } else if (element == "ItemLine") {
    stem = "TxnItemLine";
  } else if (element == "ItemGroupLine") {
    // A group item's lines, in its own table or among all items, are no transaction's.
    stem = table == "itemgroup" || table == "items" ? "ItemGroupLine" : "TxnItemGroupLine";
  } else if (element == "TaxLineName") {
    stem = "TaxLineInfo";
  } else if (element == "ItemSalesTaxRef" && (table == "itemsalestaxgroup" || table == "items")) {
    stem = "ItemSalesTaxGroupLine";
  } else if (element == "DataExtRet") {
    return {};
  } else if (EndsWith(element, "Ret")) {
    stem = element.substr(0, element.size() - 3);
  } else if (!EndsWith(element, "Line") && element != "SalesOrPurchase" &&
             element != "SalesAndPurchase" && element != "LinkedTxn" &&
             element != "EmployeePayrollInfo") {
    return {};
  }
  return LowerAscii(stem) + "detail";
}

}  // namespace brennock

namespace brennock {
namespace {

bool IsItemKind(const RecordKind& kind) {
  return kind.listType == qoListItems && !kind.Has(kMixed);
}

}  // namespace

std::string ExportTableOf(std::string_view kind) {
  return kind == "Item" ? std::string(kItemsTable) : std::string(kind);
}

std::vector<const qbxml::Aggregate*> RecordShapesOf(std::string_view table) {
  std::vector<const qbxml::Aggregate*> shapes;
  if (table == LowerAscii(kItemsTable)) {
    for (const RecordKind& kind : ListRegistry()) {
      if (!IsItemKind(kind)) continue;
      if (const qbxml::Aggregate* shape = qbxml::FindAggregate(std::string(kind.stem) + "Ret"))
        shapes.push_back(shape);
    }
    return shapes;
  }
  for (const qbxml::Aggregate& aggregate : qbxml::AllAggregates()) {
    std::string_view n = aggregate.name;
    if (EndsWith(n, "Ret") && n.size() > 3 && LowerAscii(n.substr(0, n.size() - 3)) == table) {
      shapes.push_back(&aggregate);
      break;
    }
  }
  return shapes;
}

std::vector<std::string_view> ListDelTypesOf(std::string_view table) {
  std::vector<std::string_view> types;
  bool items = table == LowerAscii(kItemsTable);
  for (const RecordKind& kind : ListRegistry()) {
    if (items ? IsItemKind(kind) : LowerAscii(kind.stem) == table && !kind.Has(kMixed))
      types.push_back(kind.stem);
  }
  return types;
}

}  // namespace brennock

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/records/field_list.h"
#include "simulator/transactions/txn_kind.h"

namespace brennock::simulator {

// One line of a transaction: which line aggregate of the Ret shape it is, its TxnLineID, its
// fields keyed by their position in that aggregate, and a group's member lines.
struct TxnLine {
  uint16_t element = 0;  // index in the transaction's Ret shape ("InvoiceLineRet" ...)
  std::string line_id;
  FieldList fields;
  std::vector<TxnLine> members;
  // The line of another transaction this one was received or billed against (a purchase order's
  // line, an item receipt's line); kept with the line, never answered as a field of it.
  std::string link_txn, link_line;

  const qbxml::Aggregate& Shape(const TxnKind& kind) const {
    return *qbxml::Nested(kind.shape[element]);
  }
};

// One transaction as stored: the columns queries filter on, the remaining header fields of its
// Ret (see FieldList) and its lines in the order they were entered.
struct TxnRecord {
  int64_t row = 0;
  const TxnKind* kind = nullptr;
  std::string txn_id;
  int64_t txn_number = 0;
  std::string txn_date;  // "2024-03-05"
  std::string ref_number;
  std::string entity_id;   // the customer, vendor or payee
  std::string account_id;  // the A/R, A/P or bank account of the header
  std::string currency_id;
  std::string time_created;
  std::string time_modified;
  int64_t modified_utc = 0;
  std::string edit_sequence;
  bool voided = false;
  FieldList fields;
  std::vector<TxnLine> lines;

  int Index(std::string_view name) const { return kind->field_index(name); }
  std::string_view Field(std::string_view name) const;
  void SetField(std::string_view name, std::string value);  // nothing when the shape lacks it
  void ClearField(std::string_view name);
};

// A line billed from a line of another transaction (an invoice line from an estimate or sales
// order line) keeps that line as a field of its own, outside its Ret shape: "TxnID<US>TxnLineID".
inline constexpr uint16_t kLineLinkField = 0xFFF0;
inline std::string_view LineLink(const TxnLine& line) {
  return FieldAt(line.fields, kLineLinkField);
}

// A line's field by element name ("Amount"), given the line's aggregate.
int LineIndex(const qbxml::Aggregate& shape, std::string_view name);
std::string_view LineField(const TxnLine& line, const qbxml::Aggregate& shape,
                           std::string_view name);
void SetLineField(TxnLine& line, const qbxml::Aggregate& shape, std::string_view name,
                  std::string value);
void ClearLineField(TxnLine& line, const qbxml::Aggregate& shape, std::string_view name);

// The lines as stored: each line's element index, TxnLineID, fields and members.
std::string EncodeLines(const std::vector<TxnLine>& lines);
bool DecodeLines(std::string_view blob, std::vector<TxnLine>& lines);

}  // namespace brennock::simulator

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "simulator/lists/list_types.h"
#include "simulator/records/field_list.h"

namespace brennock::simulator {

// One list record as stored: the columns QuickBooks computes or filters on, and the remaining
// fields of its Ret aggregate (see FieldList). Balances are not stored here: the ledger has them.
struct ListRecord {
  int64_t row = 0;
  const ListType* type = nullptr;
  std::string list_id;
  std::string name;
  std::string full_name;
  std::string parent_id;
  int64_t sublevel = 0;
  bool active = true;
  std::string time_created;
  std::string time_modified;
  int64_t modified_utc = 0;
  std::string edit_sequence;
  std::string account_type;
  FieldList fields;
  // The ledger's figures, read with the record (never stored with it): debits positive.
  struct LedgerFigures {
    int64_t balance = 0;   // its own postings (an item's: its stock value)
    int64_t total = 0;     // with its sub-records'
    int64_t quantity = 0;  // items: on hand, in hundred-thousandths
  } ledger;

  // The first stored value of a field, or empty.
  std::string_view Field(std::string_view name) const;
  void SetField(uint16_t index, std::string value);  // replaces every value of that field
  void AddField(uint16_t index, std::string value);  // appends (repeated fields)
  void ClearField(uint16_t index);
};

}  // namespace brennock::simulator

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/qc_enum.h"

namespace brennock {

// The registry of enumeration tables; a table's 1-based position is its qoEnumerationType.
// Each thread has its own (ThreadEnumerations).
class Enumerations {
 public:
  using const_iterator = std::vector<std::shared_ptr<QCEnum>>::const_iterator;

  Enumerations() = default;
  Enumerations(const Enumerations&) = delete;
  Enumerations& operator=(const Enumerations&) = delete;

  // Appends a table under Key; a key already registered raises 457.
  void AddObject(std::shared_ptr<QCEnum> NewObject, const std::string& Key);
  // The table at that position (9 "Subscript out of range" outside 1..Count).
  std::shared_ptr<QCEnum> Item(qoEnumerationType EnumCode) const;
  std::shared_ptr<QCEnum> Item(int32_t index) const;
  // The table registered under key, letter case ignored (5 when unknown).
  std::shared_ptr<QCEnum> Item(std::string_view key) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(tables_.size()); }
  const_iterator begin() const noexcept { return tables_.begin(); }
  const_iterator end() const noexcept { return tables_.end(); }

  // The table at that position, or nullptr (no raise).
  QCEnum* Find(int32_t index) const noexcept;

 private:
  std::vector<std::shared_ptr<QCEnum>> tables_;
  std::vector<std::string> keys_;  // parallel to tables_
};

// This thread's registry, with the 56 tables built on first use.
std::shared_ptr<Enumerations> ThreadEnumerations();

// The start-up routine: creates and registers the 56 tables in order and fills them. Does nothing
// when the registry already holds tables, so running it again duplicates nothing.
void BuildEnumerationTables(Enumerations& registry);

// This thread's unregistered tables: kinds of terms (0 "Terms", 1 "Standard Terms",
// 2 "Date Driven Terms") and the done status of to-do queries (1 "All", 2 "DoneOnly",
// 3 "NotDoneOnly").
std::shared_ptr<QCEnum> TermsKindTable();
std::shared_ptr<QCEnum> DoneStatusTable();

// The lookups records and collections use, on this thread's tables.

// Description of the entry with that code. An unknown code raises 1003 "Unknown Code" (source
// "Brennock: TypeCodes"); a table number outside 1..56 raises 9.
std::string EnumCodeToText(qoEnumerationType EnumCode, int16_t value);
// Position of the first entry whose qbXML text (XMLTag, or CollectionKey for an entry without a
// tag) equals text, compared exactly. None raises 1008 "An invalid enumeration string was
// supplied." with source "Brennock".
int32_t EnumTextToCode(std::string_view text, qoEnumerationType EnumCode);
// qbXML text of the entry with that code: its XMLTag, else its CollectionKey; empty for an unknown
// code (MatchType code 1 gives "StartsWith").
std::string EnumCodeToXmlText(qoEnumerationType EnumCode, int16_t value);

}  // namespace brennock

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/qc_enum_value.h"

namespace brennock {

// One enumeration table: entries in insertion order, 1-based, each keyed by its CollectionKey.
//
// Codes are not positions: tables may skip codes or list them out of order, so lookups by code go
// through ItemByCode. Key lookups ignore blanks in the given key and ASCII letter case, as the
// automation collection behind the table does; keys are unique within a table. Entries must not
// change once added (the table keeps their code, key and tag for fast lookups).
class QCEnum {
 public:
  using const_iterator = std::vector<std::shared_ptr<qcEnumValue>>::const_iterator;

  QCEnum() = default;
  QCEnum(const QCEnum&) = delete;
  QCEnum& operator=(const QCEnum&) = delete;

  // Appends o keyed by its CollectionKey; a key already in the table raises 457.
  void AddObject(std::shared_ptr<qcEnumValue> o);
  // Creates a plain entry with these values and appends it as AddObject does.
  std::shared_ptr<qcEnumValue> Add(int16_t iCode, const std::string& sDesc,
                                   const std::string& XMLTag = {});
  // Whether Item would find an entry; never raises.
  bool ItemExists(int32_t index) const noexcept;
  bool ItemExists(std::string_view key) const noexcept;
  // By 1-based position (9 when outside 1..Count) or by key (5 when unknown).
  std::shared_ptr<qcEnumValue> Item(int32_t index) const;
  std::shared_ptr<qcEnumValue> Item(std::string_view key) const;
  // The first entry in insertion order with this code; none raises 1003 "Unknown Code" with
  // source "Brennock: TypeCodes".
  std::shared_ptr<qcEnumValue> ItemByCode(int16_t iCode) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(entries_.size()); }
  const_iterator begin() const noexcept { return entries_.begin(); }
  const_iterator end() const noexcept { return entries_.end(); }

  // The library's lookups, without raising.
  // Entry with this code, or nullptr.
  const qcEnumValue* FindByCode(int16_t iCode) const noexcept;
  // 1-based position of the first entry whose qbXML text (its XMLTag, or its CollectionKey when
  // it has no tag) equals text exactly; 0 when none does.
  int32_t PositionOfXmlText(std::string_view text) const noexcept;
  // The entry's qbXML text for a code: its XMLTag, else its CollectionKey; empty for an unknown
  // code.
  std::string XmlTextOfCode(int16_t iCode) const;
  void Reserve(size_t count);

 private:
  struct Slot {
    int16_t code;
    std::string key;  // CollectionKey
    std::string tag;  // XMLTag, may be empty
  };

  // Index into entries_ of the key (blanks ignored), or npos.
  size_t IndexOfKey(std::string_view key) const noexcept;

  std::vector<std::shared_ptr<qcEnumValue>> entries_;
  std::vector<Slot> slots_;  // parallel to entries_
};

// Raises 1003 "Unknown Code" with source "Brennock: TypeCodes", as ItemByCode does.
[[noreturn]] void RaiseUnknownEnumCode();

}  // namespace brennock

#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/typed_list_collection.h"

namespace brennock {

// A currency of a multi-currency company: its rate against the home currency and how amounts in
// it are written.
class CurrencyType final : public ListRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeCurrency;
  CurrencyType() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  float ExchangeRate() const noexcept { return exchangeRate_; }
  const std::string& Symbol() const noexcept { return symbol_; }
  const std::string& Code() const noexcept { return code_; }
  bool IsEmu() const noexcept { return isEmu_; }
  const std::string& Country() const noexcept { return country_; }
  float EMURate() const noexcept { return emuRate_; }
  const std::string& CurrencyHotKey() const noexcept { return hotKey_; }
  int16_t SymbolPos() const noexcept { return symbolPos_; }
  const std::string& DecimalSep() const noexcept { return decimalSep_; }
  int16_t DecimalPlaces() const noexcept { return decimalPlaces_; }
  const std::string& ThousandSep() const noexcept { return thousandSep_; }

  static const RecordBindings& Bindings();

 protected:
  // 1012 for an empty name. Longer names are left to QuickBooks, whose limit is wider than any
  // the other simple lists use.
  void CheckRules(qcErrors& errors) override;

 private:
  std::string symbol_;
  std::string code_;
  std::string country_;
  std::string hotKey_;
  std::string decimalSep_;
  std::string thousandSep_;
  float exchangeRate_ = 0;
  float emuRate_ = 0;
  int16_t symbolPos_ = 0;
  int16_t decimalPlaces_ = 0;
  bool isEmu_ = false;
};

class CurrencyTypes final : public TypedListCollection<CurrencyType> {
 public:
  // Master collection only (else 1021). A currency has no parent: ParentFullName is accepted for
  // the shape the other lists share and ignored.
  std::shared_ptr<CurrencyType> Add(const std::string& Name = {}, bool IsActive = true,
                                    const std::string& /*ParentFullName*/ = {}) {
    return AddMember(Name, IsActive);
  }
};

}  // namespace brennock

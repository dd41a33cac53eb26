#pragma once

#include <memory>
#include <string>

#include "brennock/model/list_record_core.h"
#include "brennock/model/typed_list_collection.h"

namespace brennock {

// A code that says whether a sale is taxable ("Tax", "Non"): at most three characters.
class SalesTaxCode final : public ListRecordCore {
 public:
  SalesTaxCode();

  using ListRecordCore::EditSequence;
  const std::string& Description() const noexcept { return description_; }
  bool IsTaxable() const noexcept { return isTaxable_; }

  // Name, IsActive "1"/"0", IsTaxable "1"/"0", Desc.
  int32_t XMLInsert(xmlBldr& cxmlbldr) override;
  int32_t XMLQueryRs(xmlBldr& cxmlbldr) override;

  // Library-internal (filled by SalesTaxCodes::Add).
  void SetDescription(std::string value) { description_ = std::move(value); }
  void SetIsTaxable(bool value) noexcept { isTaxable_ = value; }

  static const FieldTable& Fields();

 protected:
  // 1012 for an empty name, 1400 above 3 characters, 1401 for a description above 31.
  void CheckRules(qcErrors& errors) override;

 private:
  std::string description_;
  bool isTaxable_ = false;
};

class SalesTaxCodes final : public TypedListCollection<SalesTaxCode> {
 public:
  SalesTaxCodes();
  // Master collection only (else 1021).
  std::shared_ptr<SalesTaxCode> Add(const std::string& Name = {},
                                    const std::string& Description = {}, bool IsTaxable = false,
                                    bool IsActive = true);
};

// The rules sales tax codes and tax codes share.
void CheckTaxCodeRules(qcErrors& errors, const std::string& name, const std::string& description);

}  // namespace brennock

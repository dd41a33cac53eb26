#pragma once

#include <memory>
#include <string>

#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/typed_list_collection.h"

namespace brennock {

// A code that says whether a sale is taxable ("Tax", "Non"): at most three characters.
class SalesTaxCode final : public ListRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeSalesTaxCode;
  SalesTaxCode() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  const std::string& Description() const noexcept { return description_; }
  bool IsTaxable() const noexcept { return isTaxable_; }

  static const RecordBindings& Bindings();

 protected:
  // 1012 for an empty name, 1400 above 3 characters, 1401 for a description above 31.
  void CheckRules(qcErrors& errors) override;

 private:
  friend class SalesTaxCodes;
  std::string description_;
  bool isTaxable_ = false;
};

class SalesTaxCodes final : public TypedListCollection<SalesTaxCode> {
 public:
  // Master collection only (else 1021).
  std::shared_ptr<SalesTaxCode> Add(const std::string& Name = {},
                                    const std::string& Description = {}, bool IsTaxable = false,
                                    bool IsActive = true) {
    return AddMember(Name, IsActive, {}, [&](SalesTaxCode& r) {
      r.description_ = Description;
      r.isTaxable_ = IsTaxable;
    });
  }
};

// The rules sales tax codes and tax codes share.
void CheckTaxCodeRules(qcErrors& errors, const std::string& name, const std::string& description);

// A tax code of a non-US edition: its rates and exemptions. QuickBooks keeps this list itself;
// it is read (and can be deleted), never added.
class TaxCode final : public ListRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeTaxCodes;
  TaxCode() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  const std::string& Description() const noexcept { return description_; }
  float Tax1Rate() const noexcept { return tax1Rate_; }
  float Tax2Rate() const noexcept { return tax2Rate_; }
  bool Tax1Exempt() const noexcept { return tax1Exempt_; }
  bool Tax2Exempt() const noexcept { return tax2Exempt_; }
  bool IsPiggybackRate() const noexcept { return isPiggybackRate_; }
  bool IsECVatCode() const noexcept { return isECVatCode_; }

  static const RecordBindings& Bindings();

 protected:
  // As for sales tax codes.
  void CheckRules(qcErrors& errors) override;

 private:
  std::string description_;
  float tax1Rate_ = 0;
  float tax2Rate_ = 0;
  bool tax1Exempt_ = false;
  bool tax2Exempt_ = false;
  bool isPiggybackRate_ = false;
  bool isECVatCode_ = false;
};

// Queries and Delete; no Add.
class TaxCodes final : public TypedListCollection<TaxCode> {};

}  // namespace brennock

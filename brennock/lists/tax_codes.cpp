// Sales tax codes (US) and tax codes (other editions), which share their rules.
#include "brennock/lists/tax_codes.h"

#include "brennock/internal/errors/collected_errors.h"

namespace brennock {

const RecordBindings& SalesTaxCode::Bindings() {
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), NameRow(), ActiveRow(),
      std::array{Bind<&SalesTaxCode::isTaxable_, codecs::Bool>("IsTaxable", kInAdd | kInRet),
                 Bind<&SalesTaxCode::description_, codecs::Text>("Desc", kInAdd | kInRet)},
      UserDataRow());
}

void CheckTaxCodeRules(qcErrors& errors, const std::string& name, const std::string& description) {
  if (name.empty()) AddTableError(errors, errNameNull, "Name");
  if (TooLong(name, "SalesTaxCodeAdd", "Name"))
    AddTableError(errors, errSalesTaxCodeNameTooLong, "Name");
  if (TooLong(description, "SalesTaxCodeAdd", "Desc"))
    AddTableError(errors, errSalesTaxCodeDescTooLong, "Description");
}

void SalesTaxCode::CheckRules(qcErrors& errors) { CheckTaxCodeRules(errors, name_, description_); }

// The elements of the editions that keep tax codes; the schema of the US edition has none.
const RecordBindings& TaxCode::Bindings() {
  constexpr uint16_t kRet = kInRet | kNotInSchema;
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), NameRow("Name", kRet), ActiveRow(kRet),
      std::array{Bind<&TaxCode::description_, codecs::Text>("Desc", kRet),
                 Bind<&TaxCode::isPiggybackRate_, codecs::Bool>("IsPiggybackRate", kRet),
                 Bind<&TaxCode::tax1Rate_, codecs::Single>("Tax1Rate", kRet),
                 Bind<&TaxCode::tax2Rate_, codecs::Single>("Tax2Rate", kRet),
                 Bind<&TaxCode::tax1Exempt_, codecs::Bool>("IsTax1Exempt", kRet),
                 Bind<&TaxCode::tax2Exempt_, codecs::Bool>("IsTax2Exempt", kRet)},
      UserDataRow());
}

void TaxCode::CheckRules(qcErrors& errors) { CheckTaxCodeRules(errors, name_, description_); }

}  // namespace brennock

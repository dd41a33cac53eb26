#include "brennock/lists/sales_tax_code.h"

#include "brennock/errors/collected_errors.h"

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

}  // namespace brennock

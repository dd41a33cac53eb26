#include "brennock/lists/tax_code.h"

#include "brennock/lists/sales_tax_code.h"

namespace brennock {

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

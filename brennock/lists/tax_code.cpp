#include "brennock/lists/tax_code.h"

#include "brennock/lists/sales_tax_code.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

constexpr ListRecordKind kTaxCodeKind{
    qoObjectTypeTaxCodes,      qoListTaxCodes, "TaxCode",       "TaxCodes",
    "XMLModify not supported", false,          &TaxCode::Fields};

TaxCode& Code(qcBase& record) { return RecordAs<TaxCode>(record); }
bool Flag(const FieldElement& e) { return ModConvertDtypes::TextToBool(e.text()); }
float Rate(const FieldElement& e) { return ModConvertDtypes::TextToSingle(e.text()); }

}  // namespace

TaxCode::TaxCode() : ListRecordCore(kTaxCodeKind) {}

const FieldTable& TaxCode::Fields() {
  static constexpr auto kEntries = SortedFields(
      IdentityFields(),
      std::array<FieldEntry, 6>{{
          {"Desc", [](qcBase& r, const FieldElement& e) { Code(r).description_ = e.text(); }},
          {"IsPiggybackRate",
           [](qcBase& r, const FieldElement& e) { Code(r).isPiggybackRate_ = Flag(e); }},
          {"Tax1Rate", [](qcBase& r, const FieldElement& e) { Code(r).tax1Rate_ = Rate(e); }},
          {"Tax2Rate", [](qcBase& r, const FieldElement& e) { Code(r).tax2Rate_ = Rate(e); }},
          {"IsTax1Exempt", [](qcBase& r, const FieldElement& e) { Code(r).tax1Exempt_ = Flag(e); }},
          {"IsTax2Exempt", [](qcBase& r, const FieldElement& e) { Code(r).tax2Exempt_ = Flag(e); }},
      }});
  static constexpr FieldTable kTable(kEntries);
  return kTable;
}

int32_t TaxCode::XMLInsert(xmlBldr& /*cxmlbldr*/) { return 0; }

int32_t TaxCode::XMLQueryRs(xmlBldr& cxmlbldr) {
  WriteRetIdentity(cxmlbldr);
  WriteNameAndActive(cxmlbldr, true);
  cxmlbldr.CreateElement("Desc", description_);
  cxmlbldr.CreateElement("IsPiggybackRate", ModConvertDtypes::BoolToResponseText(isPiggybackRate_));
  cxmlbldr.CreateElement("Tax1Rate", ModConvertDtypes::QuantityToText(tax1Rate_));
  cxmlbldr.CreateElement("Tax2Rate", ModConvertDtypes::QuantityToText(tax2Rate_));
  cxmlbldr.CreateElement("IsTax1Exempt", ModConvertDtypes::BoolToResponseText(tax1Exempt_));
  cxmlbldr.CreateElement("IsTax2Exempt", ModConvertDtypes::BoolToResponseText(tax2Exempt_));
  WriteRetUserData(cxmlbldr);
  return 0;
}

void TaxCode::CheckRules(qcErrors& errors) { CheckTaxCodeRules(errors, name_, description_); }

TaxCodes::TaxCodes() : TypedListCollection<TaxCode>(kTaxCodeKind, &MakeListRecord<TaxCode>) {}

}  // namespace brennock

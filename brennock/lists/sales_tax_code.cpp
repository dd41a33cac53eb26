#include "brennock/lists/sales_tax_code.h"

#include "brennock/errors/collected_errors.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/util/text.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

constexpr size_t kMaxCodeLength = 3;
constexpr size_t kMaxDescriptionLength = 31;

constexpr ListRecordKind kSalesTaxCodeKind{
    qoObjectTypeSalesTaxCode, qoListSalesTaxCodes,       "SalesTaxCode",
    "SalesTaxCode",           "XMLModify not supported", false,
    &SalesTaxCode::Fields};

}  // namespace

void CheckTaxCodeRules(qcErrors& errors, const std::string& name, const std::string& description) {
  if (name.empty()) AddTableError(errors, errNameNull, "Name");
  if (Utf8Length(name) > kMaxCodeLength) AddTableError(errors, errSalesTaxCodeNameTooLong, "Name");
  if (Utf8Length(description) > kMaxDescriptionLength)
    AddTableError(errors, errSalesTaxCodeDescTooLong, "Description");
}

SalesTaxCode::SalesTaxCode() : ListRecordCore(kSalesTaxCodeKind) {}

const FieldTable& SalesTaxCode::Fields() {
  static constexpr auto kEntries =
      SortedFields(IdentityFields(), std::array<FieldEntry, 2>{{
                                         {"Desc",
                                          [](qcBase& r, const FieldElement& e) {
                                            RecordAs<SalesTaxCode>(r).description_ = e.text();
                                          }},
                                         {"IsTaxable",
                                          [](qcBase& r, const FieldElement& e) {
                                            RecordAs<SalesTaxCode>(r).isTaxable_ =
                                                ModConvertDtypes::TextToBool(e.text());
                                          }},
                                     }});
  static constexpr FieldTable kTable(kEntries);
  return kTable;
}

int32_t SalesTaxCode::XMLInsert(xmlBldr& cxmlbldr) {
  WriteNameAndActive(cxmlbldr, false);
  cxmlbldr.CreateElement("IsTaxable", ModConvertDtypes::BoolToRequestText(isTaxable_));
  cxmlbldr.CreateElement("Desc", description_);
  return 0;
}

int32_t SalesTaxCode::XMLQueryRs(xmlBldr& cxmlbldr) {
  WriteRetIdentity(cxmlbldr);
  WriteNameAndActive(cxmlbldr, true);
  cxmlbldr.CreateElement("IsTaxable", ModConvertDtypes::BoolToResponseText(isTaxable_));
  cxmlbldr.CreateElement("Desc", description_);
  WriteRetUserData(cxmlbldr);
  return 0;
}

void SalesTaxCode::CheckRules(qcErrors& errors) { CheckTaxCodeRules(errors, name_, description_); }

SalesTaxCodes::SalesTaxCodes()
    : TypedListCollection<SalesTaxCode>(kSalesTaxCodeKind, &MakeListRecord<SalesTaxCode>) {}

std::shared_ptr<SalesTaxCode> SalesTaxCodes::Add(const std::string& Name,
                                                 const std::string& Description, bool IsTaxable,
                                                 bool IsActive) {
  std::shared_ptr<SalesTaxCode> record = NewMember();
  record->SetName(Name);
  record->SetDescription(Description);
  record->SetIsTaxable(IsTaxable);
  record->SetIsActive(IsActive);
  FileNew(record);
  return record;
}

}  // namespace brennock

#include "brennock/lists/currency_type.h"

#include "brennock/errors/collected_errors.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

constexpr ListRecordKind kCurrencyTypeKind{
    qoObjectTypeCurrency, qoListCurrencies,          "CurrencyType",
    "Currency",           "XMLModify not supported", false,
    &CurrencyType::Fields};

CurrencyType& Held(qcBase& record) { return RecordAs<CurrencyType>(record); }
float Single(const FieldElement& e) { return ModConvertDtypes::TextToSingle(e.text()); }
int16_t Short(const FieldElement& e) { return ModConvertDtypes::TextToInt16(e.text()); }

}  // namespace

CurrencyType::CurrencyType() : ListRecordCore(kCurrencyTypeKind) {}

const FieldTable& CurrencyType::Fields() {
  static constexpr auto kEntries = SortedFields(
      IdentityFields(),
      std::array<FieldEntry, 11>{{
          {"ExchangeRate",
           [](qcBase& r, const FieldElement& e) { Held(r).exchangeRate_ = Single(e); }},
          {"Symbol", [](qcBase& r, const FieldElement& e) { Held(r).symbol_ = e.text(); }},
          {"Code", [](qcBase& r, const FieldElement& e) { Held(r).code_ = e.text(); }},
          {"IsEmu",
           [](qcBase& r,
              const FieldElement& e) { Held(r).isEmu_ = ModConvertDtypes::TextToBool(e.text()); }},
          {"Country", [](qcBase& r, const FieldElement& e) { Held(r).country_ = e.text(); }},
          {"EMURate", [](qcBase& r, const FieldElement& e) { Held(r).emuRate_ = Single(e); }},
          {"CurrencyHotKey", [](qcBase& r, const FieldElement& e) { Held(r).hotKey_ = e.text(); }},
          {"SymbolPos", [](qcBase& r, const FieldElement& e) { Held(r).symbolPos_ = Short(e); }},
          {"DecimalSep", [](qcBase& r, const FieldElement& e) { Held(r).decimalSep_ = e.text(); }},
          {"DecimalPlaces",
           [](qcBase& r, const FieldElement& e) { Held(r).decimalPlaces_ = Short(e); }},
          {"ThousandSep",
           [](qcBase& r, const FieldElement& e) { Held(r).thousandSep_ = e.text(); }},
      }});
  static constexpr FieldTable kTable(kEntries);
  return kTable;
}

int32_t CurrencyType::XMLInsert(xmlBldr& cxmlbldr) {
  WriteNameAndActive(cxmlbldr, true);
  return 0;
}

int32_t CurrencyType::XMLQueryRs(xmlBldr& cxmlbldr) {
  WriteRetIdentity(cxmlbldr);
  WriteNameAndActive(cxmlbldr, true);
  WriteRetUserData(cxmlbldr);
  return 0;
}

void CurrencyType::CheckRules(qcErrors& errors) {
  if (name_.empty()) AddTableError(errors, errNameNull, "Name");
}

CurrencyTypes::CurrencyTypes()
    : TypedListCollection<CurrencyType>(kCurrencyTypeKind, &MakeListRecord<CurrencyType>) {}

std::shared_ptr<CurrencyType> CurrencyTypes::Add(const std::string& Name, bool IsActive,
                                                 const std::string& /*ParentFullName*/) {
  std::shared_ptr<CurrencyType> record = NewMember();
  record->SetName(Name);
  record->SetIsActive(IsActive);
  FileNew(record);
  return record;
}

}  // namespace brennock

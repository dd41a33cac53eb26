#include "brennock/lists/payroll_item_wage.h"

#include "brennock/enums/enumerations.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

constexpr ListRecordKind kPayrollItemWageKind{qoObjectTypePayrollItemWage, qoListPayrollItemWages,
                                              "PayrollItemWage",           "PayrollItemWage",
                                              "XMLModify not allowed",     false,
                                              &PayrollItemWage::Fields};

}  // namespace

std::string WageTypeText(qbEnumWageType value) {
  if (value == 0) return {};
  return ThreadEnumerations()
      ->Item(qoeWageType)
      ->ItemByCode(static_cast<int16_t>(value))
      ->CollectionKey();
}

qbEnumWageType WageTypeFromText(std::string_view text) {
  int32_t position = EnumTextToCode(text, qoeWageType);
  return static_cast<qbEnumWageType>(
      ThreadEnumerations()->Item(qoeWageType)->Item(position)->Code());
}

PayrollItemWage::PayrollItemWage() : ListRecordCore(kPayrollItemWageKind) {}

const FieldTable& PayrollItemWage::Fields() {
  static constexpr auto kEntries = SortedFields(
      IdentityFields(), std::array<FieldEntry, 2>{{
                            {"WageType",
                             [](qcBase& r, const FieldElement& e) {
                               RecordAs<PayrollItemWage>(r).wageType_ = WageTypeFromText(e.text());
                             }},
                            {"ExpenseAccountRef",
                             [](qcBase& r, const FieldElement& e) {
                               RecordAs<PayrollItemWage>(r).expenseAccount_.FromDom(e);
                             }},
                        }});
  static constexpr FieldTable kTable(kEntries);
  return kTable;
}

void PayrollItemWage::SetWageType(qbEnumWageType value) {
  CheckModify(true);
  wageType_ = value;
}

void PayrollItemWage::SetExpenseAccount(const std::string& value) {
  CheckModify(true);
  expenseAccount_.SetFullName(value);
}

int32_t PayrollItemWage::XMLInsert(xmlBldr& cxmlbldr) {
  WriteNameAndActive(cxmlbldr, true);
  std::string wageType = WageTypeText(wageType_);
  if (!wageType.empty()) cxmlbldr.CreateElement("WageType", wageType);
  WriteListRef(&expenseAccount_, cxmlbldr, "ExpenseAccountRef");
  return 0;
}

int32_t PayrollItemWage::XMLQueryRs(xmlBldr& cxmlbldr) {
  WriteRetIdentity(cxmlbldr);
  WriteNameAndActive(cxmlbldr, true);
  std::string wageType = WageTypeText(wageType_);
  if (!wageType.empty()) cxmlbldr.CreateElement("WageType", wageType);
  WriteListRef(&expenseAccount_, cxmlbldr, "ExpenseAccountRef");
  WriteRetUserData(cxmlbldr);
  return 0;
}

void PayrollItemWage::CheckRules(qcErrors& /*errors*/) {}

PayrollItemWages::PayrollItemWages()
    : TypedListCollection<PayrollItemWage>(kPayrollItemWageKind, &MakeListRecord<PayrollItemWage>) {
}

std::shared_ptr<PayrollItemWage> PayrollItemWages::Add(const std::string& Name,
                                                       const std::string& ExpenseAccount,
                                                       std::optional<qbEnumWageType> WageType) {
  std::shared_ptr<PayrollItemWage> record = NewMember();
  record->SetName(Name);
  record->SetExpenseAccount(ExpenseAccount);
  if (WageType) record->SetWageType(*WageType);
  FileNew(record);
  return record;
}

}  // namespace brennock

#include "brennock/lists/payroll_item_non_wage.h"

#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

constexpr ListRecordKind kPayrollItemNonWageKind{
    qoObjectTypePayrollItemNonWage, qoListPayrollItemNonWages, "PayrollItemNonWage",
    "PayrollItemNonWage",           "XMLModify not allowed",   false,
    &PayrollItemNonWage::Fields};

PayrollItemNonWage& Item(qcBase& record) { return RecordAs<PayrollItemNonWage>(record); }

}  // namespace

PayrollItemNonWage::PayrollItemNonWage() : ListRecordCore(kPayrollItemNonWageKind) {}

const FieldTable& PayrollItemNonWage::Fields() {
  static constexpr auto kEntries = SortedFields(
      IdentityFields(),
      std::array<FieldEntry, 3>{{
          {"NonWageType",
           [](qcBase& r, const FieldElement& e) { Item(r).nonWageType_ = e.text(); }},
          {"ExpenseAccountRef",
           [](qcBase& r, const FieldElement& e) { Item(r).expenseAccount_.FromDom(e); }},
          {"LiabilityAccountRef",
           [](qcBase& r, const FieldElement& e) { Item(r).liabilityAccount_.FromDom(e); }},
      }});
  static constexpr FieldTable kTable(kEntries);
  return kTable;
}

int32_t PayrollItemNonWage::XMLInsert(xmlBldr& /*cxmlbldr*/) { return 0; }

int32_t PayrollItemNonWage::XMLQueryRs(xmlBldr& cxmlbldr) {
  WriteRetIdentity(cxmlbldr);
  WriteNameAndActive(cxmlbldr, true);
  cxmlbldr.CreateElement2("NonWageType", nonWageType_, false, 0.0);
  WriteListRef(&expenseAccount_, cxmlbldr, "ExpenseAccountRef");
  WriteListRef(&liabilityAccount_, cxmlbldr, "LiabilityAccountRef");
  WriteRetUserData(cxmlbldr);
  return 0;
}

void PayrollItemNonWage::CheckRules(qcErrors& /*errors*/) {}

PayrollItemNonWages::PayrollItemNonWages()
    : TypedListCollection<PayrollItemNonWage>(kPayrollItemNonWageKind,
                                              &MakeListRecord<PayrollItemNonWage>) {}

}  // namespace brennock

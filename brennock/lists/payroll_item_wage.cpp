#include "brennock/lists/payroll_item_wage.h"

#include "brennock/enums/enumerations.h"

namespace brennock {
namespace {

// A wage type as the wage-type table's qbXML text ("HourlyRegular").
struct WageTypeCodec {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kEnum;
  static void Read(qbEnumWageType& member, const FieldElement& element) {
    member = WageTypeFromText(element.text());
  }
  static bool Empty(qbEnumWageType member) noexcept { return member == 0; }
  static void Write(qbEnumWageType member, RequestWriter& builder, std::string_view element,
                    uint16_t, BodyForm) {
    builder.CreateElement(element, WageTypeText(member));
  }
};

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

const RecordBindings& PayrollItemWage::Bindings() {
  constexpr uint16_t kBoth = kInAdd | kInRet;
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), NameRow(), ActiveRow(kBoth | kWordsInRequests),
      std::array{Bind<&PayrollItemWage::wageType_, WageTypeCodec>("WageType", kBoth | kSkipEmpty),
                 Bind<&PayrollItemWage::expenseAccount_, codecs::Ref>("ExpenseAccountRef", kBoth)},
      UserDataRow());
}

void PayrollItemWage::SetExpenseAccount(const std::string& value) {
  CheckModify(true);
  expenseAccount_.SetFullName(value);
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

// The enumeration tables a connection exposes: views of this thread's registry.
#include "brennock/enums/enumerations.h"
#include "brennock/session/qb_connection.h"

namespace brennock {
namespace {

std::shared_ptr<QCEnum> Table(qoEnumerationType type) { return ThreadEnumerations()->Item(type); }

}  // namespace

std::shared_ptr<QCEnum> QBConnection::MatchTypes() const { return Table(qoeMatchType); }
std::shared_ptr<QCEnum> QBConnection::Operators() const { return Table(qoeOperator); }
std::shared_ptr<QCEnum> QBConnection::FieldNames() const { return Table(qoeFieldNames); }
std::shared_ptr<QCEnum> QBConnection::ItemTypes() const { return Table(qoeItemType); }
std::shared_ptr<QCEnum> QBConnection::AccountTypes() const { return Table(qoeAccountType); }
std::shared_ptr<QCEnum> QBConnection::Months() const { return Table(qoeMonth); }
std::shared_ptr<QCEnum> QBConnection::ListTypes() const { return Table(qoeListType); }
std::shared_ptr<QCEnum> QBConnection::DateMacros() const { return Table(qoeDateMacro); }
std::shared_ptr<QCEnum> QBConnection::AvailableFields() const { return Table(qoeReportField); }
std::shared_ptr<QCEnum> QBConnection::AvailableReports() const { return Table(qoeReport); }
std::shared_ptr<QCEnum> QBConnection::ReportGroups() const { return Table(qoeReportGroup); }
std::shared_ptr<QCEnum> QBConnection::ReportDateMacros() const { return Table(qoeReportDateMacro); }
std::shared_ptr<QCEnum> QBConnection::ReportColumnSortFields() const {
  return Table(qoeReportColSortFields);
}
std::shared_ptr<QCEnum> QBConnection::EmployeeTypes() const { return Table(qoeEmployeeType); }
std::shared_ptr<QCEnum> QBConnection::GenderTypes() const { return Table(qoeGenderType); }
std::shared_ptr<QCEnum> QBConnection::EntityTypes() const { return Table(qoeEntityType); }
std::shared_ptr<QCEnum> QBConnection::DataExtensionDataTypes() const {
  return Table(qoeDataExtDataTypes);
}
std::shared_ptr<QCEnum> QBConnection::ObjectTypes() const { return Table(qoeObjectType); }
std::shared_ptr<QCEnum> QBConnection::ReportAccountFilters() const {
  return Table(qoeReportAccountFilters);
}
Variant QBConnection::TxnTypes() const { return Variant(Table(qoeTxnType)); }

}  // namespace brennock

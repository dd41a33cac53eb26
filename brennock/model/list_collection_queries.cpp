// Queries of the list collections: filling a collection from QuickBooks, or handing the response
// to the database export.
#include <algorithm>

#include "brennock/enums/enumerations.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/list_collection_core.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/loaded_children.h"
#include "brennock/internal/model/query_fields.h"
#include "brennock/internal/model/response_exporter.h"
#include "brennock/internal/session/version_check.h"
#include "brennock/internal/xml/response_reader.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

// Iterators and the count-only query came with qbXML 5.0.
constexpr int32_t kIteratorVersion = 5;

}  // namespace

void ListCollectionCore::WriteActiveStatus(xmlBldr& builder, qbEnumActiveStatus status) {
  builder.CreateElement("ActiveStatus",
                        EnumCodeToText(qoeActiveStatus, static_cast<int16_t>(status)));
}

void ListCollectionCore::WriteQueryTail(xmlBldr& builder) {
  if (const BalanceFilter* balance = balance_) {
    // Resolved first, so an unknown operator writes no half filter.
    std::string op = EnumCodeToXmlText(qoeOperator, static_cast<int16_t>(balance->op));
    if (op.empty()) RaiseLibraryError(errInvalidEnumString);
    builder.OpenAggregateOnly("TotalBalanceFilter");
    builder.CreateElement("Operator", op);
    builder.CreateElement("Amount", ModConvertDtypes::AmountToText(balance->amount));
    builder.EndAggregate("TotalBalanceFilter");
  }
  if (!fields_.empty() && SessionQbxmlVersion() >= Currency(4)) {
    builder.CreateElement("IncludeRetElement", "FullName");
    builder.CreateElement("IncludeRetElement", "ParentRef");
    std::string_view previous;
    for (qoFields field : fields_) {
      std::string_view element = QueryFieldElement(field);
      // The custom fields share one element; ask for it once.
      if (element.empty() || (element == "DataExtRet" && previous == element)) continue;
      builder.CreateElement("IncludeRetElement", element);
      previous = element;
    }
  }
  CollectionCore::WriteQueryTail(builder);
}

int32_t ListCollectionCore::RunListQuery(int32_t MaxReturned, const std::string& sMDBPath,
                                         const FilterWriter& writeFilters,
                                         const BalanceFilter* balance) {
  balance_ = balance;
  struct Reset {
    const BalanceFilter*& balance;
    ~Reset() { balance = nullptr; }
  } reset{balance_};
  return RunQuery(sMDBPath, [&](xmlBldr& builder) {
    if (MaxReturned > 0) builder.CreateElement("MaxReturned", std::to_string(MaxReturned));
    if (writeFilters) writeFilters(builder);
  });
}

int32_t ListCollectionCore::GetCount() {
  RequireQbxmlVersion(kIteratorVersion);
  return CountRecords({});
}

int32_t ListCollectionCore::GetFirst(int32_t MaxReturned, const std::string& sMDBPath) {
  RequireQbxmlVersion(kIteratorVersion);
  return StartIterator(MaxReturned, sMDBPath, {});
}

int32_t ListCollectionCore::GetNext(const std::string& sMDBPath) {
  return ContinueIterator(sMDBPath, {});
}

int32_t ListCollectionCore::GetByListIDs(const std::vector<std::string>& sListIDs,
                                         const std::string& sMDBPath) {
  if (sListIDs.empty()) RaiseError(errEmptyGetByArray, "Brennock");
  return RunListQuery(0, sMDBPath, [&](xmlBldr& builder) {
    for (const std::string& id : sListIDs) builder.CreateElement("ListID", id);
  });
}

int32_t ListCollectionCore::GetByFullNames(const std::vector<std::string>& sFullNames,
                                           const std::string& sMDBPath) {
  if (sFullNames.empty()) RaiseError(errEmptyGetByArray, "Brennock");
  return RunListQuery(0, sMDBPath, [&](xmlBldr& builder) {
    for (const std::string& name : sFullNames) builder.CreateElement("FullName", name);
  });
}

int32_t ListCollectionCore::QueryByStatus(qbEnumActiveStatus status, int32_t MaxReturned,
                                          const std::string& sMDBPath,
                                          const BalanceFilter* balance) {
  return RunListQuery(
      MaxReturned, sMDBPath, [status](xmlBldr& builder) { WriteActiveStatus(builder, status); },
      balance);
}

int32_t ListCollectionCore::GetAll(int32_t MaxReturned, const std::string& sMDBPath) {
  return QueryByStatus(qbStatusAny, MaxReturned, sMDBPath, nullptr);
}

int32_t ListCollectionCore::GetActive(int32_t MaxReturned, const std::string& sMDBPath) {
  return QueryByStatus(qbStatusActive, MaxReturned, sMDBPath, nullptr);
}

int32_t ListCollectionCore::GetByNameRange(const std::string& FromName, const std::string& ToName,
                                           int32_t MaxReturned, const std::string& sMDBPath) {
  return QueryByNameRange(FromName, ToName, MaxReturned, sMDBPath, nullptr);
}

int32_t ListCollectionCore::QueryByNameRange(const std::string& FromName, const std::string& ToName,
                                             int32_t MaxReturned, const std::string& sMDBPath,
                                             const BalanceFilter* balance) {
  return RunListQuery(
      MaxReturned, sMDBPath,
      [&](xmlBldr& builder) {
        // Both bounds always: an empty one is an empty element, which QuickBooks takes as open.
        builder.OpenAggregateOnly("NameRangeFilter");
        builder.CreateElement("FromName", FromName);
        builder.CreateElement("ToName", ToName);
        builder.EndAggregate("NameRangeFilter");
      },
      balance);
}

int32_t ListCollectionCore::GetByNameMatch(const std::string& MatchString,
                                           qbEnumMatchType MatchType, int32_t MaxReturned,
                                           const std::string& sMDBPath) {
  return QueryByNameMatch(MatchString, MatchType, MaxReturned, sMDBPath, nullptr);
}

int32_t ListCollectionCore::QueryByNameMatch(const std::string& MatchString,
                                             qbEnumMatchType MatchType, int32_t MaxReturned,
                                             const std::string& sMDBPath,
                                             const BalanceFilter* balance) {
  // Resolved first, so an unknown match type writes no half request.
  std::string criterion = EnumCodeToXmlText(qoeMatchType, static_cast<int16_t>(MatchType));
  if (criterion.empty()) RaiseLibraryError(errInvalidEnumString);
  return RunListQuery(
      MaxReturned, sMDBPath,
      [&](xmlBldr& builder) {
        builder.OpenAggregateOnly("NameFilter");
        builder.CreateElement("MatchCriterion", criterion);
        builder.CreateElement("Name", MatchString);
        builder.EndAggregate("NameFilter");
      },
      balance);
}

int32_t ListCollectionCore::GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned,
                                          const std::string& sMDBPath) {
  return QueryByDateSpan(FromDate, ToDate, MaxReturned, sMDBPath, nullptr);
}

int32_t ListCollectionCore::QueryByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned,
                                            const std::string& sMDBPath,
                                            const BalanceFilter* balance) {
  return RunListQuery(
      MaxReturned, sMDBPath,
      [&](xmlBldr& builder) {
        // Both bounds always, as date-time text: a zero date is written "None", which QuickBooks
        // refuses; give both dates.
        builder.CreateElement("FromModifiedDate", ModConvertDtypes::DateTimeToText(FromDate));
        builder.CreateElement("ToModifiedDate", ModConvertDtypes::DateTimeToText(ToDate));
      },
      balance);
}

std::shared_ptr<qcListObject> ListCollectionCore::LookupSingle(std::string_view identifier,
                                                               const std::string& value,
                                                               const std::string& sMDBPath) {
  xmlBldr& builder = Builder();
  std::shared_ptr<XmlDocument> response;
  try {
    // With the owners of data extensions when the collection asks for them.
    response = builder.QuerySingleExecute(QueryName(), value, identifier, 0, Kind().objectType, {},
                                          IncludeDataExtensions());
  } catch (const AutomationError& error) {
    errors_->Add(error.Number(), "", error.Description());
    return nullptr;
  }
  if (FileUnreadableResponse(*response) || FileBuilderError()) return nullptr;
  if (!sMDBPath.empty()) {
    ExportResponse(*response, sMDBPath);
    return nullptr;
  }
  return std::static_pointer_cast<qcListObject>(LoadSingle(*response));
}

std::shared_ptr<qcListObject> ListCollectionCore::LookupByFullName(const std::string& sFullName,
                                                                   const std::string& sMDBPath) {
  if (sFullName.empty()) return nullptr;
  Builder().Clear();
  errors_->Clear();
  if (CollectionCore::ItemExists(sFullName)) return ItemObject(sFullName);
  return LookupSingle("FullName", sFullName, sMDBPath);
}

std::shared_ptr<qcListObject> ListCollectionCore::LookupByListID(const std::string& sListID,
                                                                 const std::string& sMDBPath) {
  if (sListID.empty()) return nullptr;
  Builder().Clear();
  errors_->Clear();
  return LookupSingle("ListID", sListID, sMDBPath);
}

}  // namespace brennock

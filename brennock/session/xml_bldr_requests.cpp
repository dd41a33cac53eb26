// Whole requests, filters and record envelopes of the request builder.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "brennock/enums/enumerations.h"
#include "brennock/internal/session/data_ext_definition_source.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/text.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

// An application-field definition counts for an Entity query when it applies to any kind of
// entity.
bool AssignedTo(DataExtDefinitionSource::AssignedTypes assignedTos, qoEnumListObjectType wanted) {
  for (qoEnumListObjectType type : assignedTos) {
    if (type == wanted) return true;
    if (wanted == qoObjectTypeEntity &&
        (type == qoObjectTypeVendor || type == qoObjectTypeOtherName ||
         type == qoObjectTypeEmployee || type == qoObjectTypeCustomer)) {
      return true;
    }
  }
  return false;
}

}  // namespace

void xmlBldr::AppendNameFilter(std::string_view filterTag, const std::vector<std::string>& names,
                               bool WithChildren) {
  Append([filterTag](PieceBuffer& text) {
    text += '<';
    text += filterTag;
    text += '>';
  });
  if (WithChildren) {
    if (!names.empty()) CreateElement("FullNameWithChildren", names.front());
  } else {
    for (const std::string& name : names) CreateElement("FullName", name);
  }
  Append([filterTag](PieceBuffer& text) {
    text += "</";
    text += filterTag;
    text += '>';
  });
}

void xmlBldr::InsertAccountFilter(const std::vector<std::string>& Accounts, bool WithChildren) {
  AppendNameFilter("AccountFilter", Accounts, WithChildren);
}

void xmlBldr::InsertEntityFilter(const std::vector<std::string>& Entities, bool WithChildren) {
  AppendNameFilter("EntityFilter", Entities, WithChildren);
}

int32_t xmlBldr::InsertDateFilter(std::string_view FilterType, Date FromDate, Date ToDate,
                                  qbEnumDateMacro DateMacro) {
  // Resolved before anything is written, so an unknown macro leaves no half-open filter behind.
  std::string macro;
  if (DateMacro != 0) {
    macro = RemoveBlanks(ThreadEnumerations()
                             ->Item(qoeDateMacro)
                             ->ItemByCode(static_cast<int16_t>(DateMacro))
                             ->Description());
  }
  // Modification times are stamps; other date filters name whole days.
  bool withTime = FilterType == "Modified";
  auto dateText = [withTime](Date d) {
    return withTime ? ModConvertDtypes::DateTimeToText(d) : ModConvertDtypes::DateToText(d);
  };
  std::string aggregate = Concat({FilterType, "DateRangeFilter"});
  AppendPiece(Concat({"<", aggregate, ">"}));
  if (!FromDate.IsNull()) CreateElement(Concat({"From", FilterType, "Date"}), dateText(FromDate));
  if (!ToDate.IsNull()) CreateElement(Concat({"To", FilterType, "Date"}), dateText(ToDate));
  if (DateMacro != 0) CreateElement("DateMacro", macro);
  AppendPiece(Concat({"</", aggregate, ">"}));
  return 0;
}

void xmlBldr::AddDataExtTag(bool bAdd, qoEnumListObjectType mObjectType) {
  const SessionState& session = Session();
  if (!bAdd || session.qbxmlVersionNumber < Currency(2)) return;
  CreateElement("OwnerID", "0");
  if (session.dataExtOwnerID.empty() || !session.applicationFieldDefinitions) return;
  bool assigned = session.applicationFieldDefinitions->AnyApplicationFieldDefinition(
      [mObjectType](DataExtDefinitionSource::AssignedTypes assignedTos) {
        return AssignedTo(assignedTos, mObjectType);
      });
  if (assigned) CreateElement("OwnerID", session.dataExtOwnerID);
}

std::shared_ptr<XmlDocument> xmlBldr::QueryFullTableExecute(std::string_view QueryName,
                                                            int32_t /*MaxRows*/) {
  CreateTop();
  AppendPiece("<QBXML>");
  OpenMessageSet();
  OpenAggregate(QueryName, "requestID", "1");
  EndAggregate(QueryName);
  AppendPiece("</QBXMLMsgsRq>");
  AppendPiece("</QBXML>");
  return SendToQB();
}

void xmlBldr::AppendSingleQuery(std::string_view QueryType, std::string_view sValue,
                                std::string_view sIdentifier, std::string_view sFilterType,
                                qoEnumListObjectType ObjType, bool IncludeDataExtensions,
                                int32_t maxReturned) {
  CreateTop();
  AppendPiece("<QBXML>");
  OpenMessageSet();
  OpenAggregate(QueryType, "requestID", "1");
  if (maxReturned != 0) CreateElement("MaxReturned", std::to_string(maxReturned));
  if (!sFilterType.empty()) {
    AppendPiece(Concat({"<", sFilterType, ">"}));
    CreateElement(sIdentifier, sValue);
    AppendPiece(Concat({"</", sFilterType, ">"}));
  } else {
    CreateElement(sIdentifier, sValue);
  }
  AddDataExtTag(IncludeDataExtensions, ObjType);
  AppendPiece(Concat({"</", QueryType, ">"}));
  AppendPiece("</QBXMLMsgsRq>");
  AppendPiece("</QBXML>");
}

std::shared_ptr<XmlDocument> xmlBldr::QuerySingleExecute(
    std::string_view QueryType, std::string_view sValue, std::string_view sIdentifier,
    int32_t /*MaxRows*/, qoEnumListObjectType ObjType, std::string_view sFilterType,
    bool IncludeDataExtensions) {
  AppendSingleQuery(QueryType, sValue, sIdentifier, sFilterType, ObjType, IncludeDataExtensions, 0);
  return SendToQB();
}

std::string xmlBldr::XMLQuerySingleExecute(std::string_view QueryType, std::string_view sValue,
                                           std::string_view sIdentifier, int32_t MaxRows,
                                           qoEnumListObjectType ObjType,
                                           std::string_view sFilterType,
                                           bool IncludeDataExtensions) {
  AppendSingleQuery(QueryType, sValue, sIdentifier, sFilterType, ObjType, IncludeDataExtensions,
                    MaxRows);
  return XMLSendToQB();
}

std::shared_ptr<XmlDocument> xmlBldr::ReadXml(const std::string& sFile) {
  auto document = std::make_shared<XmlDocument>();
  std::error_code ignored;
  if (!std::filesystem::exists(sFile, ignored)) return document;
  std::ifstream in(sFile, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  document->loadXML(std::move(text).str());
  return document;
}

}  // namespace brennock

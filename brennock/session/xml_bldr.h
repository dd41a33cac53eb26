#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/enums/query_enums.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"
#include "brennock/xml/xml_document.h"

namespace brennock {

class qcBase;
enum class ObjectRequestForm : uint8_t;  // object_request_body.h

// Writes one qbXML request document and sends it through this thread's request processor. The
// text is written by its RequestWriter, for the session's qbXML version; collections and the
// connection use the whole-request operations here (NewClear, QuerySingleExecute, InsertAddRq
// ...), records write their fields with the writer's CreateElement, OpenAggregateOnly and
// EndAggregate.
class xmlBldr : public RequestWriter {
 public:
  xmlBldr() noexcept : RequestWriter(&SessionQbxmlVersion) {}

  // statusCode of the last response (or the number of the last captured failure); 0 when none.
  int32_t ErrNumber() const;
  // statusMessage of the last response, or the description of the last captured failure.
  const std::string& ErrMsg() const { return statusMessage_; }
  // Clear, then the declaration and DOCTYPE of the session's qbXML version.
  void CreateTop();

  // An empty query request (a host, preferences or full-table list query), sent at once.
  // MaxRows is not written.
  std::shared_ptr<XmlDocument> QueryFullTableExecute(std::string_view QueryName, int32_t MaxRows);
  // A query with one criterion (sIdentifier = sValue, inside sFilterType when given), sent at once.
  // MaxRows is not written.
  std::shared_ptr<XmlDocument> QuerySingleExecute(std::string_view QueryType,
                                                  std::string_view sValue,
                                                  std::string_view sIdentifier, int32_t MaxRows,
                                                  qoEnumListObjectType ObjType,
                                                  std::string_view sFilterType = {},
                                                  bool IncludeDataExtensions = false);
  // `<AccountFilter>`: the first name as FullNameWithChildren, or every name as FullName.
  void InsertAccountFilter(const std::vector<std::string>& Accounts, bool WithChildren);
  void InsertEntityFilter(const std::vector<std::string>& Entities, bool WithChildren);
  // `<FilterType DateRangeFilter>` with the dates that are set and the date macro; returns 0.
  int32_t InsertDateFilter(std::string_view FilterType, Date FromDate = {}, Date ToDate = {},
                           qbEnumDateMacro DateMacro = static_cast<qbEnumDateMacro>(0));
  // Request envelopes around a record's own fields; the element stem comes from its ObjectType.
  void InsertQueryRs(qcBase& o, int16_t iRequestId);
  void InsertAddRq(qcBase& o, int16_t iRequestId);
  void InsertModRq(qcBase& o, int16_t iRequestId);

  // Starts a subscription request document.
  void NewClearSubscriptions();
  // Starts a request document: header, QBXML and the message set (onError continueOnError).
  void NewClear();
  // Starts a file container (<Brennock> around a message set, no header).
  void IOClear();
  // A document loaded from sFile; empty when the file does not exist.
  std::shared_ptr<XmlDocument> ReadXml(const std::string& sFile);
  // Closes the file container and writes it to Path (replacing it) with a final CR LF; returns 0.
  int32_t SaveToFile(const std::string& Path);

  // Opens a single request (requestID 2) around InsertCmd; returns an empty string.
  std::string XMLInsertBegin(std::string_view QueryType, std::string_view InsertCmd);
  // Closes and sends the request opened by XMLInsertBegin. Failures are not raised: they are left
  // in ErrNumber and ErrMsg and no document is returned.
  std::shared_ptr<XmlDocument> XMLInsertFinish(std::string_view QueryType,
                                               std::string_view InsertCmd);

  // Sends the document and empties the builder; the first response's status goes to ErrNumber and
  // ErrMsg (status 1, nothing found, reads as 0). Requests naming QBXMLSubscriptionMsgsRq go to
  // ProcessSubscription. A failing processor leaves the document in place (a retry resends it),
  // sets ErrNumber and ErrMsg and raises the error again with source "XMLBldr".
  std::shared_ptr<XmlDocument> SendToQB();
  // Closes the message set and QBXML, then SendToQB.
  std::shared_ptr<XmlDocument> NewSendRequest();
  std::shared_ptr<XmlDocument> NewSendSubscriptionRequest();
  // Closes the message set and QBXML and sends, like NewSendRequest, but returns the response
  // text unread: the caller loads it with ParseResponse, or reads it itself and hands the first
  // response's status to TakeFirstStatus.
  std::string NewSendRequestText();
  // Loads a response as a document; the first response's status goes to ErrNumber and ErrMsg.
  std::shared_ptr<XmlDocument> ParseResponse(std::string response);
  // The status of a first response read without a document (status 1 reads as 0).
  void TakeFirstStatus(std::string_view statusCode, std::string_view statusMessage);
  // The OwnerID elements of a query that asks for data extensions (qbXML 2.0 and later): "0" for
  // custom fields, and the registered owner ID when one of its definitions applies to mObjectType.
  void AddDataExtTag(bool bAdd, qoEnumListObjectType mObjectType);
  // Like QuerySingleExecute, with MaxReturned (when MaxRows is not 0); returns the response text.
  std::string XMLQuerySingleExecute(std::string_view QueryType, std::string_view sValue,
                                    std::string_view sIdentifier, int32_t MaxRows,
                                    qoEnumListObjectType ObjType, std::string_view sFilterType = {},
                                    bool IncludeDataExtensions = false);
  // Sends the document with ProcessRequest and returns the response text; the document stays and
  // no status is read.
  std::string XMLSendToQB();

 private:
  void AppendNameFilter(std::string_view filterTag, const std::vector<std::string>& names,
                        bool WithChildren);
  void AppendObjectRequest(qcBase& o, int16_t requestId, ObjectRequestForm form);
  void OpenMessageSet();
  void AppendSingleQuery(std::string_view QueryType, std::string_view sValue,
                         std::string_view sIdentifier, std::string_view sFilterType,
                         qoEnumListObjectType ObjType, bool IncludeDataExtensions,
                         int32_t maxReturned);
  std::string Send(bool allowSubscription);
  void ReadFirstStatus(const XmlDocument& response);
  void TakeStatusCode(std::string_view code);

  std::string statusCode_;
  std::string statusMessage_;
};

}  // namespace brennock

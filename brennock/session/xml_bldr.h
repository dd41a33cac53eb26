#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/enums/query_enums.h"
#include "brennock/qbxml/piece_buffer.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"
#include "brennock/xml/xml_document.h"

namespace brennock {

class qcBase;

// Writes one qbXML request document piece by piece and sends it through this thread's request
// processor. It is the one writer of request text in the library: collections and the connection
// use the whole-request operations (NewClear, QuerySingleExecute, InsertAddRq ...), records write
// their fields into it with CreateElement, OpenAggregateOnly and EndAggregate.
//
// The builder never checks nesting or element order; callers write well-formed qbXML. Element
// writers take a minimum qbXML version and write nothing when the session's version is lower.
// Element text is escaped (see AppendEscapedText); attribute values of OpenAggregateOnly are not.
//
// Each write appends one piece. Pieces are stored back to back (PieceBuffer), and the document is
// joined with a single allocation before every send, GetXML and SaveToFile.
class xmlBldr {
 public:
  xmlBldr() = default;

  // Appends XMLString unchanged; returns an empty string.
  std::string InsertRawXML(std::string_view XMLString);
  // statusCode of the last response (or the number of the last captured failure); 0 when none.
  int32_t ErrNumber() const;
  // statusMessage of the last response, or the description of the last captured failure.
  const std::string& ErrMsg() const { return statusMessage_; }
  // The document written so far.
  std::string GetXML() const;
  void Clear();

  // `<?xml version="1.0" ?>`, without DOCTYPE (report requests).
  void CreateRptTop();
  // Clear, then the declaration and DOCTYPE of the session's qbXML version.
  void CreateTop();

  // `<TagName>Value</TagName>`, also for an empty value.
  void CreateElement(std::string_view TagName, std::string_view Value, Currency MinVersion = {});
  void CreateElement(std::string_view TagName, std::string_view Value, double MinVersion);
  // Like CreateElement, but an empty value writes nothing unless ForceNull (which clears the
  // field on a modify).
  void CreateElement2(std::string_view TagName, std::string_view Value, bool ForceNull,
                      Currency MinVersion);
  void CreateElement2(std::string_view TagName, std::string_view Value, bool ForceNull,
                      double MinVersion);
  // The date as "yyyy-mm-dd"; nothing for the zero date.
  void CreateDateElement(std::string_view Tag, Date d, Currency MinVersion);
  void CreateDateElement(std::string_view Tag, Date d, double MinVersion);
  // `<TagName/>`.
  void CreateBlankTag(std::string_view TagName);
  // `<TagName Attrib = "Value">` with Value escaped; TagName becomes the last opened tag.
  void OpenAggregate(std::string_view TagName, std::string_view Attrib, std::string_view Value);
  // `<TagName>`, or with metaData/iterator(/iteratorID) attributes when MetaData is not empty;
  // TagName becomes the last opened tag.
  void OpenAggregateOnly(std::string_view TagName, std::string_view MetaData = {},
                         std::string_view Iterator = {}, std::string_view IteratorId = {});
  // `</TagName>`; without a tag, the last opened one (one tag is remembered, not a stack).
  void EndAggregate(std::string_view TagName = {});
  // The escaped text alone.
  void EnterValueOnly(std::string_view TagName);

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

  // Number of writes since the last Clear.
  int32_t PieceCount() const { return pieceCount_; }

 private:
  // One write: `write` appends the piece to the buffer.
  template <typename Write>
  void Append(Write&& write) {
    write(pieces_);
    ++pieceCount_;
  }
  void AppendPiece(std::string_view piece);
  void AppendElement(std::string_view tag, std::string_view value);
  void AppendNameFilter(std::string_view filterTag, const std::vector<std::string>& names,
                        bool WithChildren);
  void AppendObjectRequest(qcBase& o, int16_t requestId, std::string_view requestSuffix,
                           std::string_view bodySuffix, int32_t (qcBase::*writeBody)(xmlBldr&));
  void OpenMessageSet();
  void AppendSingleQuery(std::string_view QueryType, std::string_view sValue,
                         std::string_view sIdentifier, std::string_view sFilterType,
                         qoEnumListObjectType ObjType, bool IncludeDataExtensions,
                         int32_t maxReturned);
  std::string Send(bool allowSubscription);
  void ReadFirstStatus(const XmlDocument& response);
  void TakeStatusCode(std::string_view code);

  PieceBuffer pieces_;
  int32_t pieceCount_ = 0;
  std::string lastTag_;
  std::string statusCode_;
  std::string statusMessage_;
};

}  // namespace brennock

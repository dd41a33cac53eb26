#pragma once

#include <memory>
#include <string>

#include "brennock/enums/event_enums.h"
#include "brennock/enums/object_enums.h"
#include "brennock/values/date.h"

namespace brennock {

class XmlDocument;
class XmlNode;

// One event QuickBooks delivered to a subscribed application, read from its qbXML text: which
// kind it is, the company file and QuickBooks product, whether a company file was opened, the tag
// of a chosen menu item, and for data events what changed (the object type, the operation, the
// ListID or TxnID and RefNumber, the record a merge kept) and the recovery and restore times.
//
// ParseXML reads the document by position: the QBXML element is the third node of the document
// (after the XML declaration and the DOCTYPE or qbxml processing instruction), its first child is
// the event set, whose first child is the event. QuickBooks also writes SubscriberID and EventTime
// into events, which the event schema does not list; they are read into SubscriberID and EventTime
// and do not count as positions. A text that is not well-formed, or an event without the nodes at
// those positions, raises the document's error (91); what was read before stays. Properties the
// event does not carry keep their values.
class qbEvent {
 public:
  qbEvent();
  ~qbEvent();

  void ParseXML(const std::string& EventXML);

  qbEventTypes EventType() const noexcept { return eventType_; }
  void SetEventType(qbEventTypes value) noexcept { eventType_ = value; }
  const std::string& CompanyPath() const noexcept { return companyPath_; }
  void SetCompanyPath(const std::string& value) { companyPath_ = value; }
  const std::string& ProductName() const noexcept { return productName_; }
  void SetProductName(const std::string& value) { productName_ = value; }
  const std::string& MajorVersion() const noexcept { return majorVersion_; }
  void SetMajorVersion(const std::string& value) { majorVersion_ = value; }
  const std::string& MinorVersion() const noexcept { return minorVersion_; }
  void SetMinorVersion(const std::string& value) { minorVersion_ = value; }
  bool CompanyfileOpened() const noexcept { return companyfileOpened_; }
  void SetCompanyfileOpened(bool value) noexcept { companyfileOpened_ = value; }
  bool AutomaticLogin() const noexcept { return automaticLogin_; }
  void SetAutomaticLogin(bool value) noexcept { automaticLogin_ = value; }
  bool NewCompany() const noexcept { return newCompany_; }
  void SetNewCompany(bool value) noexcept { newCompany_ = value; }
  Date DataEventRecoveryTime() const noexcept { return dataEventRecoveryTime_; }
  void SetDataEventRecoveryTime(Date value) noexcept { dataEventRecoveryTime_ = value; }
  Date LastRestoreTime() const noexcept { return lastRestoreTime_; }
  void SetLastRestoreTime(Date value) noexcept { lastRestoreTime_ = value; }
  Date LastCondenseTime() const noexcept { return lastCondenseTime_; }
  void SetLastCondenseTime(Date value) noexcept { lastCondenseTime_ = value; }
  const std::string& ListID() const noexcept { return listID_; }
  void SetListID(const std::string& value) { listID_ = value; }
  const std::string& AfterMergeListID() const noexcept { return afterMergeListID_; }
  void SetAfterMergeListID(const std::string& value) { afterMergeListID_ = value; }
  const std::string& TxnId() const noexcept { return txnId_; }
  void SetTxnId(const std::string& value) { txnId_ = value; }
  const std::string& RefNumber() const noexcept { return refNumber_; }
  void SetRefNumber(const std::string& value) { refNumber_ = value; }
  qbListEventOperations qbListEventOp() const noexcept { return listEventOp_; }
  void SetqbListEventOp(qbListEventOperations value) noexcept { listEventOp_ = value; }
  qbTxnEventOperations qbTxnEventOp() const noexcept { return txnEventOp_; }
  void SetqbTxnEventOp(qbTxnEventOperations value) noexcept { txnEventOp_ = value; }
  const std::string& EventTag() const noexcept { return eventTag_; }
  void SetEventTag(const std::string& value) { eventTag_ = value; }

  // Beyond the event's common properties: what a data event is about. The list or transaction
  // type as QuickBooks names it ("Customer", "Invoice", "BillPaymentCreditCard"), its object type
  // (0 for a type the object-type table has no entry for), and whether it is a transaction event.
  const std::string& DataEventType() const noexcept { return dataEventType_; }
  qoEnumListObjectType DataEventObjectType() const noexcept { return dataEventObjectType_; }
  bool IsTxnEvent() const noexcept { return isTxnEvent_; }
  // SubscriberID and EventTime as QuickBooks writes them into its events (empty, zero when absent).
  const std::string& SubscriberID() const noexcept { return subscriberID_; }
  Date EventTime() const noexcept { return eventTime_; }

  // The document of the last ParseXML; null before the first.
  std::shared_ptr<XmlDocument> EventDocument() const noexcept { return document_; }

 private:
  void ReadDataEvent(const XmlNode& event);
  void ReadChange(const XmlNode& change);

  qbEventTypes eventType_ = static_cast<qbEventTypes>(0);
  std::string companyPath_;
  std::string productName_;
  std::string majorVersion_;
  std::string minorVersion_;
  bool companyfileOpened_ = false;
  bool automaticLogin_ = false;
  bool newCompany_ = false;
  Date dataEventRecoveryTime_;
  Date lastRestoreTime_;
  Date lastCondenseTime_;
  std::string listID_;
  std::string afterMergeListID_;
  std::string txnId_;
  std::string refNumber_;
  qbListEventOperations listEventOp_ = static_cast<qbListEventOperations>(0);
  qbTxnEventOperations txnEventOp_ = static_cast<qbTxnEventOperations>(0);
  std::string eventTag_;
  std::string dataEventType_;
  qoEnumListObjectType dataEventObjectType_ = static_cast<qoEnumListObjectType>(0);
  bool isTxnEvent_ = false;
  std::string subscriberID_;
  Date eventTime_;
  std::shared_ptr<XmlDocument> document_;
};

}  // namespace brennock

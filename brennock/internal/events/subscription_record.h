#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/field_table.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/model/qc_base.h"

namespace brennock {

class qcErrors;
class RequestWriter;

// What every subscription record shares: who subscribes (SubscriberID), the callback QuickBooks
// calls (AppName with a ProgID or a CLSID), its lifecycle state and errors. QuickBooks keeps
// subscriptions under the subscriber's ID; it never modifies one, so the Mod writer refuses. A
// query answer fills only SubscriberID.
class SubscriptionRecord : public qcBase, public RecordBase {
 public:
  const std::string& AppName() const noexcept { return appName_; }
  void SetAppName(const std::string& value);
  const std::string& CLSID() const noexcept { return clsid_; }
  void SetCLSID(const std::string& value);
  const std::string& ProgId() const noexcept { return progId_; }
  void SetProgId(const std::string& value);
  // The key the record is found by in its collection; the subscriber ID unless set.
  const std::string& CollectionKey() const noexcept {
    return collectionKey_.empty() ? subscriberId_ : collectionKey_;
  }
  void SetCollectionKey(const std::string& value) { collectionKey_ = value; }
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }
  // UI and UI extension subscriptions check nothing; a data event subscription passes while its
  // Errors are empty.
  virtual bool Validate() { return true; }

  // qcBase: the Add body through the kind's rows; the Mod writer refuses with 1003 "XMLModify not
  // supported" (source "Brennock: " + the kind's qbXML stem).
  int32_t XMLInsert(xmlBldr& cxmlbldr) override;
  int32_t XMLModify(xmlBldr& cxmlbldr) override;
  int32_t XMLQueryRs(xmlBldr& cxmlbldr) override;
  // Reads SubscriberID; the callback, policy and events of the answer are passed over.
  Variant FromDom(const XmlNode& obj) override;

  // Library-internal.
  void SetObjectState(qoEnumObjectState state) noexcept { state_ = state; }
  // The qbXML stem ("UIEventSubscription"): the source of the kind's errors.
  std::string_view Stem() const;

  // The shared head of every Add body: SubscriberID, then COMCallbackInfo with AppName and the
  // ProgID when there is one, else the CLSID.
  static void WriteSubscriberID(const SubscriptionRecord& record, RequestWriter& builder);
  static void WriteCallback(const SubscriptionRecord& record, RequestWriter& builder);
  // Those two as the first rows of a kind.
  static constexpr std::array<Binding<SubscriptionRecord>, 2> HeadRows() {
    constexpr uint16_t kWritten = kInAdd | kInRet;
    return {
        Binding<SubscriptionRecord>{
            "SubscriberID", kWritten, nullptr,
            [](const SubscriptionRecord& r, RequestWriter& b, std::string_view, uint16_t,
               BodyForm) { WriteSubscriberID(r, b); }},
        Binding<SubscriptionRecord>{
            "COMCallbackInfo", kWritten, nullptr,
            [](const SubscriptionRecord& r, RequestWriter& b, std::string_view, uint16_t,
               BodyForm) { WriteCallback(r, b); }},
    };
  }

 protected:
  SubscriptionRecord() = default;
  ~SubscriptionRecord();
  // The subscriber the Add body names (UI extensions always name the connection's).
  virtual const std::string& WrittenSubscriberID() const { return subscriberId_; }
  // The kind's rows, in the order of its Add aggregate.
  virtual const BindingTable<SubscriptionRecord>& Rows() const = 0;
  // The change guard of the kind's setters.
  void Changing() { CheckModify(false, Stem()); }

  std::string subscriberId_;
  std::string appName_;
  std::string clsid_;
  std::string progId_;
  std::string collectionKey_;
};

// "DeliverAlways" or "DeliverOnlyIfRunning".
std::string_view DeliveryPolicyText(bool deliveryAlways) noexcept;

}  // namespace brennock

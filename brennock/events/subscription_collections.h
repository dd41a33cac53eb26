#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/event_enums.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/events/data_event_subscription.h"
#include "brennock/events/ui_extension_subscription.h"
#include "brennock/events/ui_subscription.h"
#include "brennock/internal/events/subscription_record.h"

namespace brennock {

class xmlBldr;
class XmlDocument;

// What the three subscription collections share: members in order (1-based, found by position or
// by CollectionKey without regard to case), the commit of new members in one subscription request
// document, the query of QuickBooks' subscriptions and the deletion of this subscriber's
// subscriptions of the kind.
class SubscriptionCollectionCore {
 public:
  using Members = std::vector<std::shared_ptr<SubscriptionRecord>>;

  std::shared_ptr<qcErrors> Errors() const noexcept { return errors_; }
  bool ItemExists(const std::string& vntIndexKey) const noexcept;
  bool ItemExists(int32_t vntIndexKey) const noexcept;
  int32_t Count() const noexcept { return static_cast<int32_t>(members_.size()); }
  // 9 outside 1..Count; 5 for an unknown key.
  void Remove(int32_t vntIndexKey);
  void Remove(const std::string& vntIndexKey);
  void Clear() noexcept { members_.clear(); }
  // Sends the Add request of every new member (or of Member only). A refused member keeps its
  // state and QuickBooks' message in its Errors; the collection gets 1018 for it. With ErrorMode,
  // a commit with errors raises 1023. Returns Errors.Count.
  int32_t Commit(const std::shared_ptr<SubscriptionRecord>& Member = nullptr);
  int32_t Commit2() { return Commit(); }
  // Clears Errors; 1011 for each member that fails its own Validate.
  bool Validate();
  // Replaces the members with QuickBooks' subscriptions of the kind (their SubscriberID only). A
  // refused query is filed in Errors. Returns Count.
  int32_t GetAll();
  // Asks QuickBooks to delete the connection's subscriber's subscriptions of the kind; the members
  // stay. A refusal is filed in Errors. Returns QuickBooks' status code.
  int32_t Delete();

  bool IsMaster() const noexcept { return master_; }
  void SetMaster(bool value) noexcept { master_ = value; }

 protected:
  SubscriptionCollectionCore(qoEnumListObjectType kind, std::string_view subscriptionType,
                             std::string_view queryName);
  ~SubscriptionCollectionCore();
  SubscriptionCollectionCore(const SubscriptionCollectionCore&) = delete;
  SubscriptionCollectionCore& operator=(const SubscriptionCollectionCore&) = delete;

  std::string_view Stem() const noexcept;
  const Members& members() const noexcept { return members_; }
  std::shared_ptr<SubscriptionRecord> MemberAt(int32_t index) const;
  std::shared_ptr<SubscriptionRecord> MemberByKey(const std::string& key) const;
  // A new member: Errors cleared, the subscriber ID and callback filled in.
  void Append(const std::shared_ptr<SubscriptionRecord>& record, const std::string& appName,
              const std::string& progId);
  // 1021 "This operation is only permitted on the master collection" on a client's collection,
  // for the kinds that require the master.
  void RequireMaster() const;
  virtual std::shared_ptr<SubscriptionRecord> NewMember() const = 0;
  // Checks made before the query is sent; the query's own elements.
  virtual void BeforeQuery() const {}
  virtual void WriteQueryBody(xmlBldr&) const {}

 private:
  xmlBldr& Builder();
  size_t PositionOf(const SubscriptionRecord& record) const noexcept;
  void FileCommitResponses(const XmlDocument& response);
  bool FileRefusal();

  qoEnumListObjectType kind_;
  std::string_view subscriptionType_;
  std::string_view queryName_;
  bool requiresMaster_ = false;
  bool master_ = false;
  Members members_;
  std::shared_ptr<qcErrors> errors_;
  std::unique_ptr<xmlBldr> builder_;  // created on first use
};

// One collection class per kind: members of the kind's record class.
template <class Record>
class SubscriptionCollection : public SubscriptionCollectionCore {
 public:
  using Typed = std::vector<std::shared_ptr<Record>>;

  std::shared_ptr<Record> Item(int32_t vntIndexKey) const {
    return std::static_pointer_cast<Record>(MemberAt(vntIndexKey));
  }
  std::shared_ptr<Record> Item(const std::string& vntIndexKey) const {
    return std::static_pointer_cast<Record>(MemberByKey(vntIndexKey));
  }
  // A snapshot of the members, safe to walk while the collection changes.
  Typed NewEnum() const {
    Typed out;
    out.reserve(members().size());
    for (const auto& member : members()) out.push_back(std::static_pointer_cast<Record>(member));
    return out;
  }

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::shared_ptr<Record>;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::shared_ptr<Record>;

    const_iterator() = default;
    explicit const_iterator(Members::const_iterator at) : at_(at) {}
    std::shared_ptr<Record> operator*() const { return std::static_pointer_cast<Record>(*at_); }
    const_iterator& operator++() {
      ++at_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++at_;
      return before;
    }
    friend bool operator==(const const_iterator&, const const_iterator&) = default;

   private:
    Members::const_iterator at_;
  };
  const_iterator begin() const noexcept { return const_iterator(members().begin()); }
  const_iterator end() const noexcept { return const_iterator(members().end()); }

 protected:
  using SubscriptionCollectionCore::SubscriptionCollectionCore;
  std::shared_ptr<SubscriptionRecord> NewMember() const override {
    return std::make_shared<Record>();
  }
};

// The application's subscriptions to company file events.
class UISubscriptions : public SubscriptionCollection<UISubscription> {
 public:
  UISubscriptions();
  // A new subscription of the connection's subscriber, sent at the next Commit.
  std::shared_ptr<UISubscription> Add(const std::string& AppName, const std::string& ProgId);
};

// The application's menu extensions.
class UIExtensionSubscriptions : public SubscriptionCollection<UIExtensionSubscription> {
 public:
  UIExtensionSubscriptions();
  std::shared_ptr<UIExtensionSubscription> Add(const std::string& AppName, qbMnuNames Menu,
                                               const std::string& ProgId);
  // Index is not used: every menu extension of the subscriber goes.
  int32_t Delete(int16_t Index = 0);

 protected:
  // 2870 "QBConnection.RegisterEventGUID has not been called" without a subscriber ID.
  void BeforeQuery() const override;
  void WriteQueryBody(xmlBldr& builder) const override;
};

// The application's data event subscriptions. Only the connection's (master) collection adds and
// commits.
class DataEventSubcriptions : public SubscriptionCollection<DataEventSubcription> {
 public:
  DataEventSubcriptions();
  std::shared_ptr<DataEventSubcription> Add(const std::string& AppName, const std::string& ProgId);
};

// The collection as the connection names it.
using DataEventSubscriptions = DataEventSubcriptions;

}  // namespace brennock

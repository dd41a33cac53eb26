#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/internal/model/key_index.h"
#include "brennock/internal/util/short_text.h"
#include "brennock/values/currency.h"
#include "brennock/values/variant.h"

namespace brennock {

class qcListObject;
class xmlBldr;
class RequestWriter;
class XmlNode;
class FieldElement;

// A pointer to a list record the way qbXML writes one: by ListID, by FullName or both, together
// with the list it points into. Object fetches the record it names through the company's master
// collection of that list; the result is cached until ListID or FullName changes. The cache does
// not keep the record alive (the master collection does), so records that point at each other
// (a parent and its children) never keep each other alive.
class qcListObjectRef {
 public:
  qcListObjectRef() = default;
  // Records construct many references that name nothing yet: those cost no call.
  qcListObjectRef(qoEnumListType list, std::string_view fullName, std::string_view listID = {})
      : list_(list) {
    if (!fullName.empty() || !listID.empty()) {
      Store(&Data::listID, listID);
      Store(&Data::fullName, fullName);
    }
  }

  std::string ListID() const { return std::string(ListIDView()); }
  qoEnumListType List() const noexcept { return list_; }
  std::string FullName() const { return std::string(FullNameView()); }
  // The same without a copy, for the library's own reading.
  std::string_view ListIDView() const noexcept {
    return data_ ? data_->listID.view() : std::string_view();
  }
  std::string_view FullNameView() const noexcept {
    return data_ ? data_->fullName.view() : std::string_view();
  }
  // Nothing when FullName is empty; otherwise the master collection's member of that name, asking
  // QuickBooks when the collection does not hold it. Nothing when no company is open.
  std::shared_ptr<qcListObject> Object();
  // Empty until set.
  const Variant& UserData() const noexcept;
  void SetUserData(Variant value);

  // Library-internal setters.
  void SetListID(std::string value);
  void SetList(qoEnumListType value) noexcept { list_ = value; }
  // An empty full name also empties ListID.
  void SetFullName(std::string value);
  void SetIsParent(bool value) noexcept { isParent_ = value; }
  bool IsParent() const noexcept { return isParent_; }
  bool IsEmpty() const noexcept { return ListIDView().empty() && FullNameView().empty(); }

  // Reads a ...Ref element: its ListID and FullName children.
  void FromDom(const XmlNode& element);
  void FromDom(const FieldElement& element);
  // The reference's own writer (lines and transactions): prefers ListID. Without an element name
  // it writes "ParentRef" for a parent reference (copying the parent's ListID first) and the list's
  // key + "Ref" otherwise ("ClassRef"). Returns 0.
  int32_t WriteXml(xmlBldr& builder, std::string_view elementName = {});

  // Library-internal: while one lives on a thread, references read from a response share one
  // block of texts with the recent references that name the same record (a load names the same
  // items, accounts and tax codes over and over). A shared block is copied before any change, so
  // each reference still behaves as its own. Scopes nest: only the outermost one shares.
  class SharedTexts {
   public:
    SharedTexts();
    ~SharedTexts();
    SharedTexts(const SharedTexts&) = delete;
    SharedTexts& operator=(const SharedTexts&) = delete;

    struct Recent;

   private:
    std::unique_ptr<Recent> recent_;  // null in a nested scope
  };

 private:
  // What few references use, kept apart so that a record's many references stay small.
  struct Extras {
    Variant userData;
    std::weak_ptr<qcListObject> cached;
  };
  // What a reference holds once it names something. Most references of a loaded record name
  // nothing (no class, no sales rep ...), and such a one costs a pointer.
  struct Data {
    ShortText listID;  // both are usually short enough to need no allocation
    ShortText fullName;
    std::unique_ptr<Extras> extras;  // created when first needed
    // References holding the block (and a SharedTexts keeping it for the next ones); one that is
    // shared is never changed in place. Counted without atomics: the references sharing a block
    // are those of one load's records, which stay on the thread that loaded them.
    uint32_t holders = 1;
  };
  struct DataDeleter {
    void operator()(Data* data) const noexcept;
  };
  // The block to change: a new one when there is none, a copy of the texts when it is shared.
  Data& MutableData();
  Extras& MutableExtras();
  // Stores one of the texts; an empty one needs no block while there is none. False when nothing
  // was stored.
  bool Store(ShortText Data::*text, std::string_view value);
  // Takes the recent block of these texts, or makes one and keeps it there for the next.
  void ShareRecent(std::string_view listID, std::string_view fullName);
  void ForgetObject() noexcept {
    if (data_ && data_->extras) data_->extras->cached.reset();
  }

  std::unique_ptr<Data, DataDeleter> data_;  // from the slab: records hold many
  qoEnumListType list_ = static_cast<qoEnumListType>(0);
  bool isParent_ = false;
};

// The general reference writer of records' XMLInsert, XMLModify and XMLQueryRs: prefers FullName.
// Writes `<elementName><FullName>..</FullName></elementName>` when the full name is known or
// forceFullName is set, else the ListID form when the ListID is known, else nothing; nothing at all
// for a null reference or a session older than minVersion.
void WriteListRef(const qcListObjectRef* ref, RequestWriter& builder, std::string_view elementName,
                  bool forceFullName = false, Currency minVersion = {});

// A keyed set of references (a record's Children): 1-based, keyed by FullName without regard to
// letter case. Misuse raises the automation collection errors with source "qcListObjectRefs".
class qcListObjectRefs {
 public:
  using const_iterator = std::vector<std::shared_ptr<qcListObjectRef>>::const_iterator;

  // A key already present raises 457.
  std::shared_ptr<qcListObjectRef> Add(const std::string& FullName, qoEnumListType ListType,
                                       const std::string& ListID = {});
  bool ItemExists(int32_t index) const noexcept;
  bool ItemExists(const std::string& key) const noexcept;
  std::shared_ptr<qcListObjectRef> Item(int32_t index) const;
  std::shared_ptr<qcListObjectRef> Item(const std::string& key) const;
  void Clear();
  // The record the member names (see qcListObjectRef::Object).
  std::shared_ptr<qcListObject> Object(int32_t index) const;
  std::shared_ptr<qcListObject> Object(const std::string& key) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(refs_.size()); }
  const_iterator begin() const noexcept { return refs_.begin(); }
  const_iterator end() const noexcept { return refs_.end(); }
  void Remove(int32_t index);
  void Remove(const std::string& key);

  // Library-internal: appends without the duplicate check, for links whose names are known to be
  // unique (the children found while loading a query response).
  void AppendUnique(std::string FullName, qoEnumListType ListType);

 private:
  size_t PositionOf(const std::string& key) const;  // npos when absent

  std::vector<std::shared_ptr<qcListObjectRef>> refs_;
  // Built by the first lookup that finds the set too long for a linear search (a parent with many
  // children), then kept up to date.
  mutable std::unique_ptr<KeyIndex> index_;
};

// The master collection's member of that full name, or its answer to GetByFullName; nothing when
// the name is empty, no company is open or the list has no master collection.
std::shared_ptr<qcListObject> ResolveListObject(qoEnumListType list, const std::string& fullName);

// The key of a list in the Lists registry: its ListType entry's CollectionKey ("Class").
std::string ListTypeKey(qoEnumListType list);

}  // namespace brennock

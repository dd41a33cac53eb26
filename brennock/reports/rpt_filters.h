#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/list_enums.h"
#include "brennock/enums/report_enums.h"
#include "brennock/enums/txn_enums.h"

namespace brennock {

class RequestWriter;
class XmlNode;

// A list of IDs or full names, 1-based.
class qcIdList {
 public:
  using const_iterator = std::vector<std::string>::const_iterator;

  void Clear() noexcept { ids_.clear(); }
  void Add(const std::string& ID) { ids_.push_back(ID); }
  // 9 "Subscript out of range" outside 1..Count.
  std::string Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(ids_.size()); }
  void Remove(int32_t index);
  const_iterator begin() const noexcept { return ids_.begin(); }
  const_iterator end() const noexcept { return ids_.end(); }

 private:
  std::vector<std::string> ids_;
};

// What the account, entity, item and class filters share: names or IDs, with or without their
// sub-records, written inside the filter's aggregate.
class rptNameFilter {
 public:
  rptNameFilter(std::string_view aggregate, std::string_view typeElement,
                qoEnumerationType typeTable);
  virtual ~rptNameFilter() = default;

  std::shared_ptr<qcIdList> ListIds() const noexcept { return listIds_; }
  void SetListIds(std::shared_ptr<qcIdList> value) { listIds_ = std::move(value); }
  std::shared_ptr<qcIdList> FullNames() const noexcept { return fullNames_; }
  void SetFullNames(std::shared_ptr<qcIdList> value) { fullNames_ = std::move(value); }
  bool WithChildren() const noexcept { return withChildren_; }
  void SetWithChildren(bool value) noexcept { withChildren_ = value; }

  // Reads the filter's aggregate of a saved request.
  void FromDom(const XmlNode& obj);

  // Library-internal: the filter's part of a report request; nothing when it filters nothing.
  // A second name with WithChildren raises 1600 (source "Brennock").
  void ToXml(RequestWriter& writer) const;

 protected:
  int32_t typeFilter_ = 0;

 private:
  std::string aggregate_, typeElement_;
  qoEnumerationType typeTable_;
  std::shared_ptr<qcIdList> listIds_, fullNames_;
  bool withChildren_ = false;
};

// Accounts by name or ID, or by a group of account types (TypeFilter, 0: none).
class rptAccountFilter : public rptNameFilter {
 public:
  rptAccountFilter();
  qbEnumReportAccountFilters TypeFilter() const noexcept {
    return static_cast<qbEnumReportAccountFilters>(typeFilter_);
  }
  void SetTypeFilter(int32_t value) noexcept { typeFilter_ = value; }
};

// Customers, vendors, employees and other names by name or ID, or by kind (TypeFilter).
class rptEntityFilter : public rptNameFilter {
 public:
  rptEntityFilter();
  qbEnumEntityType TypeFilter() const noexcept {
    return static_cast<qbEnumEntityType>(typeFilter_);
  }
  void SetTypeFilter(int32_t value) noexcept { typeFilter_ = value; }
};

// Items by name or ID, or by kind (TypeFilter).
class rptItemFilter : public rptNameFilter {
 public:
  rptItemFilter();
  qbEnumItemType TypeFilter() const noexcept { return static_cast<qbEnumItemType>(typeFilter_); }
  void SetTypeFilter(int32_t value) noexcept { typeFilter_ = value; }
};

// Classes by name or ID.
class rptClassFilter : public rptNameFilter {
 public:
  rptClassFilter();
};

// The kinds of transaction a report shows, 1-based.
class rptTxnTypeFilter {
 public:
  using const_iterator = std::vector<qbEnumTxnType>::const_iterator;

  void Clear() noexcept { types_.clear(); }
  void Add(qbEnumTxnType TxnType) { types_.push_back(TxnType); }
  // 9 "Subscript out of range" outside 1..Count.
  qbEnumTxnType Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(types_.size()); }
  void Remove(int32_t index);
  const_iterator begin() const noexcept { return types_.begin(); }
  const_iterator end() const noexcept { return types_.end(); }

  void FromDom(const XmlNode& obj);
  // Library-internal: ReportTxnTypeFilter with one TxnTypeFilter per entry; nothing when empty.
  void ToXml(RequestWriter& writer) const;

 private:
  std::vector<qbEnumTxnType> types_;
};

// A report's filters; each is made when first asked for.
class rptFilters {
 public:
  std::shared_ptr<rptAccountFilter> AccountFilter();
  void SetAccountFilter(std::shared_ptr<rptAccountFilter> value) { account_ = std::move(value); }
  std::shared_ptr<rptEntityFilter> EntityFilter();
  void SetEntityFilter(std::shared_ptr<rptEntityFilter> value) { entity_ = std::move(value); }
  std::shared_ptr<rptItemFilter> ItemFilter();
  void SetItemFilter(std::shared_ptr<rptItemFilter> value) { item_ = std::move(value); }
  std::shared_ptr<rptTxnTypeFilter> TxnTypes();
  void SetTxnTypes(std::shared_ptr<rptTxnTypeFilter> value) { txnTypes_ = std::move(value); }
  std::shared_ptr<rptClassFilter> ClassFilter();
  void SetClassFilter(std::shared_ptr<rptClassFilter> value) { class_ = std::move(value); }
  // Empties the names, IDs and transaction types; type filters and WithChildren stay.
  void Clear();

  // Library-internal: the five filters in request order (account, entity, item, class, types).
  void ToXml(RequestWriter& writer) const;

 private:
  std::shared_ptr<rptAccountFilter> account_;
  std::shared_ptr<rptEntityFilter> entity_;
  std::shared_ptr<rptItemFilter> item_;
  std::shared_ptr<rptTxnTypeFilter> txnTypes_;
  std::shared_ptr<rptClassFilter> class_;
};

}  // namespace brennock

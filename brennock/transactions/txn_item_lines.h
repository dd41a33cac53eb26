#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/transactions/txn_item_line.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

class qcErrors;
class qcEventSink;

// The item lines of one transaction (or the member lines of a group line), in insertion order,
// numbered from 1. Total and TaxableTotal run QuickBooks' pass over the lines: subtotals, percent
// discounts and sales tax lines take their amounts from the lines above them.
class txnItemLines {
 public:
  using const_iterator = std::vector<std::shared_ptr<txnItemLine>>::const_iterator;

  txnItemLines();
  ~txnItemLines();
  txnItemLines(const txnItemLines&) = delete;
  txnItemLines& operator=(const txnItemLines&) = delete;

  // Dirty once a line was added, removed or changed since the owner was read; else Clean.
  qoEnumObjectState ObjectState() const;
  std::shared_ptr<qcErrors> Errors();
  Currency Total();
  Currency TaxableTotal();

  // A new line taking each argument given (non-empty, non-zero) through its setter, in the order
  // Class, Customer, Quantity, Item, ServiceDate, Description; inserted before the 1-based
  // BeforeIndex when given. A group's member lines refuse it (2000).
  std::shared_ptr<txnItemLine> Add(const std::string& Item = {}, float Quantity = 0,
                                   const std::string& Description = {},
                                   const std::string& Class = {}, const std::string& Customer = {},
                                   Date ServiceDate = {}, int32_t BeforeIndex = 0);
  bool ItemExists(int32_t index) const noexcept { return index >= 1 && index <= Count(); }
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<txnItemLine> Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(lines_.size()); }
  void Clear();
  void Remove(int32_t index);
  const_iterator begin() const noexcept { return lines_.begin(); }
  const_iterator end() const noexcept { return lines_.end(); }

  // Library-internal.
  qoEnumListObjectType OwnerType() const noexcept { return ownerType_; }
  void SetOwnerType(qoEnumListObjectType owner);
  void SetEventSink(std::shared_ptr<qcEventSink> sink);
  void SetGroupMembers(bool value) noexcept { groupMembers_ = value; }
  bool GroupMembers() const noexcept { return groupMembers_; }
  void SetLoading(bool value) noexcept { loading_ = value; }
  void SetCustomerTaxCode(const std::string& value);
  // Room for that many lines read from a response, before the first is appended.
  void ReserveLoaded(size_t count) { lines_.reserve(count); }
  // A line read from a response, appended in loading mode.
  txnItemLine& AppendLoaded();
  // Empties the lines before the owner is read again (nothing pending afterwards).
  // Empties the collection for a read; lines whose custom fields wait to be saved are kept aside
  // until HandOverPendingExtensions.
  void Reset();
  // After a read: each line takes the waiting custom fields of the line at its position before
  // (QuickBooks answers the lines in the order they were sent).
  void HandOverPendingExtensions() noexcept;
  bool HasPendingExtensions() const noexcept;
  // Drops the lines after the last one that has an item or an amount.
  void TrimTrailingEmpty();
  // Each line's element into the owner's open body.
  void Write(RequestWriter& builder, bool ret, bool mod);
  bool HasChanges() const;
  // A line a group line makes from its item group's definition (loading mode, no guard).
  std::shared_ptr<txnItemLine> AddMember(const std::string& item, float quantity,
                                         const std::string& description, float baseQuantity);

 private:
  friend class txnItemLine;  // a line reports through the sink of the collection holding it
  // The guards of Add, Clear and Remove: a group's member lines cannot change (2000).
  void GuardChange() const;
  std::shared_ptr<txnItemLine> NewLine();
  // A line leaving the collection that something else still holds keeps the sink and tax code.
  static void LetGo(const std::shared_ptr<txnItemLine>& line) noexcept;
  static void LetGo(const std::vector<std::shared_ptr<txnItemLine>>& lines) noexcept;
  void RunTotals();

  std::vector<std::shared_ptr<txnItemLine>> lines_;
  std::unique_ptr<std::vector<std::shared_ptr<txnItemLine>>> awaiting_;
  std::shared_ptr<qcErrors> errors_;
  std::shared_ptr<qcEventSink> sink_;
  std::string customerTaxCode_;
  Currency total_, taxableTotal_;
  qoEnumListObjectType ownerType_ = static_cast<qoEnumListObjectType>(0);
  bool groupMembers_ = false;
  bool loading_ = false;
  bool removed_ = false;  // a line was removed since the owner was read
};

}  // namespace brennock

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/event_enums.h"

namespace brennock {

class RequestWriter;

// A list of menu conditions (qbMnuConditions), 1-based.
class mnuConditions {
 public:
  using const_iterator = std::vector<qbMnuConditions>::const_iterator;

  void Add(qbMnuConditions MenuCondition) { conditions_.push_back(MenuCondition); }
  // 9 "Subscript out of range" outside 1..Count.
  qbMnuConditions Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(conditions_.size()); }
  void Clear() noexcept { conditions_.clear(); }
  void Remove(int32_t index);
  const_iterator begin() const noexcept { return conditions_.begin(); }
  const_iterator end() const noexcept { return conditions_.end(); }

  // One element per condition, its text the condition's qbXML name ("HasCustomers").
  void WriteEach(RequestWriter& builder, std::string_view element) const;

 private:
  std::vector<qbMnuConditions> conditions_;
};

// When a menu item (or a submenu) is shown and when it can be chosen.
class mnuDisplayCondition {
 public:
  mnuDisplayCondition();

  std::shared_ptr<mnuConditions> VisibleIfs() const noexcept { return visibleIfs_; }
  std::shared_ptr<mnuConditions> VisibleIfNots() const noexcept { return visibleIfNots_; }
  std::shared_ptr<mnuConditions> EnabledIfs() const noexcept { return enabledIfs_; }
  std::shared_ptr<mnuConditions> EnabledIfNots() const noexcept { return enabledIfNots_; }

  // <DisplayCondition> with one VisibleIf per entry of VisibleIfs, then VisibleIfNot, EnabledIf
  // and EnabledIfNot likewise (an empty aggregate when there are none).
  void ToXML(RequestWriter& bldr) const;

 private:
  std::shared_ptr<mnuConditions> visibleIfs_;
  std::shared_ptr<mnuConditions> visibleIfNots_;
  std::shared_ptr<mnuConditions> enabledIfs_;
  std::shared_ptr<mnuConditions> enabledIfNots_;
};

// One menu item of a UI extension: its text, and the tag QuickBooks sends back when it is chosen.
class mnuItem {
 public:
  mnuItem();

  const std::string& Text() const noexcept { return text_; }
  void SetText(const std::string& value) { text_ = value; }
  const std::string& EventTag() const noexcept { return eventTag_; }
  void SetEventTag(const std::string& value) { eventTag_ = value; }
  std::shared_ptr<mnuDisplayCondition> DisplayConditions() const noexcept {
    return displayConditions_;
  }

  // <MenuItem> with MenuText, EventTag and the item's DisplayCondition.
  void ToXML(RequestWriter& bldr) const;

 private:
  std::string text_;
  std::string eventTag_;
  std::shared_ptr<mnuDisplayCondition> displayConditions_;
};

// The menu items of a UI extension, 1-based.
class mnuItems {
 public:
  using Members = std::vector<std::shared_ptr<mnuItem>>;
  using const_iterator = Members::const_iterator;

  // A new item at the end.
  std::shared_ptr<mnuItem> Add(const std::string& Text = {}, const std::string& EventTag = {});
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<mnuItem> Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  void Clear() noexcept { items_.clear(); }
  void Remove(int32_t index);
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }

  // Every item's MenuItem, in order.
  void ToXML(RequestWriter& bldr) const;

 private:
  Members items_;
};

}  // namespace brennock

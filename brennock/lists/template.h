#pragma once

#include <memory>
#include <string>

#include "brennock/enums/txn_enums.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/typed_list_collection.h"

namespace brennock {

// A form template of the company file. QuickBooks lets clients read and delete templates, never
// add or change them.
class Template final : public ListRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeTemplate;
  Template() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  // The kind of transaction the template prints (its TemplateType).
  qbEnumTxnType AppliesTo() const noexcept { return appliesTo_; }
  // As QuickBooks wrote them.
  const std::string& TimeCreatedText() const noexcept { return timeCreatedText_; }
  const std::string& TimeModifiedText() const noexcept { return timeModifiedText_; }

  static const RecordBindings& Bindings();

 private:
  std::string timeCreatedText_;
  std::string timeModifiedText_;
  qbEnumTxnType appliesTo_ = static_cast<qbEnumTxnType>(0);
};

// GetAll sends TemplateQueryRq; Delete sends ListDelRq with ListDelType "Template". Templates are
// not among the company's lists: every collection of them may delete.
class Templates final : public TypedListCollection<Template> {
 public:
  Templates() { SetMaster(true); }
  // The query takes no filters: MaxReturned is not sent.
  int32_t GetAll(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) override;
  int32_t GetActive(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) override {
    return GetAll(MaxReturned, sMDBPath);
  }
  // Sends the ListDelRq at once (1026 with QuickBooks' message when refused) and, with bRemove,
  // drops the member. Returns 0.
  int32_t Delete(const std::string& ListID, bool bRemove = true);
};

}  // namespace brennock

#pragma once

#include <memory>
#include <string_view>

#include "brennock/enums/object_enums.h"
#include "brennock/values/variant.h"

namespace brennock {

class qcErrors;

// What every persistable record keeps besides its fields: the lifecycle state, the error list
// (created on first use, so a record that never fails validation never allocates one) and the
// client's UserData (also created on first use).
class RecordBase {
 public:
  // Empty until set.
  const Variant& UserData() const noexcept;
  void SetUserData(Variant value);

 protected:
  RecordBase() = default;
  ~RecordBase();
  RecordBase(const RecordBase&) = delete;
  RecordBase& operator=(const RecordBase&) = delete;

  // The change guard every public setter calls before it stores a value. An ordinary field makes
  // a saved record Dirty; a field QuickBooks accepts only on Add (bNewOnly) raises 1002 "Field
  // cannot be modified" with className as source on a saved record, and the caller must not store.
  void CheckModify(bool bNewOnly, std::string_view className);

  std::shared_ptr<qcErrors> ErrorList();  // created on first use
  // Empties the error list when there is one; answers nothing about the list afterwards.
  void ClearErrorList();
  // True when the record has no error entry.
  bool ErrorListEmpty() const noexcept;

  qoEnumObjectState state_ = qoObjectStateNew;

 private:
  // The error list and UserData share one block: most records never have either, and then cost
  // one pointer.
  struct Extras;
  struct ExtrasDeleter {
    void operator()(Extras* extras) const noexcept;
  };
  Extras& MutableExtras();
  std::unique_ptr<Extras, ExtrasDeleter> extras_;
};

}  // namespace brennock

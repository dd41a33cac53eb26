#include "brennock/internal/model/record_base.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/raise.h"

namespace brennock {

RecordBase::~RecordBase() = default;

const Variant& RecordBase::UserData() const noexcept {
  static const Variant kEmpty;
  return userData_ ? *userData_ : kEmpty;
}

void RecordBase::SetUserData(Variant value) {
  if (userData_) {
    *userData_ = std::move(value);
  } else {
    userData_ = std::make_unique<Variant>(std::move(value));
  }
}

void RecordBase::CheckModify(bool bNewOnly, std::string_view className) {
  if (state_ == qoObjectStateNew) return;
  if (bNewOnly) RaiseError(errFieldNotModifiable, className);
  state_ = qoObjectStateDirty;
}

std::shared_ptr<qcErrors> RecordBase::ErrorList() {
  if (!errors_) errors_ = std::make_shared<qcErrors>();
  return errors_;
}

void RecordBase::ClearErrorList() {
  if (errors_) errors_->Clear();
}

bool RecordBase::ErrorListEmpty() const noexcept { return !errors_ || errors_->Count() == 0; }

}  // namespace brennock

#include "brennock/internal/model/record_base.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/raise.h"

namespace brennock {

struct RecordBase::Extras {
  std::shared_ptr<qcErrors> errors;
  Variant userData;
};

void RecordBase::ExtrasDeleter::operator()(Extras* extras) const noexcept { delete extras; }

RecordBase::~RecordBase() = default;

RecordBase::Extras& RecordBase::MutableExtras() {
  if (!extras_) extras_.reset(new Extras());
  return *extras_;
}

const Variant& RecordBase::UserData() const noexcept {
  static const Variant kEmpty;
  return extras_ ? extras_->userData : kEmpty;
}

void RecordBase::SetUserData(Variant value) { MutableExtras().userData = std::move(value); }

void RecordBase::CheckModify(bool bNewOnly, std::string_view className) {
  if (state_ == qoObjectStateNew) return;
  if (bNewOnly) RaiseError(errFieldNotModifiable, className);
  state_ = qoObjectStateDirty;
}

std::shared_ptr<qcErrors> RecordBase::ErrorList() {
  std::shared_ptr<qcErrors>& errors = MutableExtras().errors;
  if (!errors) errors = std::make_shared<qcErrors>();
  return errors;
}

void RecordBase::ClearErrorList() {
  if (extras_ && extras_->errors) extras_->errors->Clear();
}

bool RecordBase::ErrorListEmpty() const noexcept {
  return !extras_ || !extras_->errors || extras_->errors->Count() == 0;
}

}  // namespace brennock

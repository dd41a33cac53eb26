#include "brennock/internal/errors/collected_errors.h"

namespace brennock {

std::shared_ptr<qcError> AddTableError(qcErrors& errors, ErrorCode n, std::string_view field) {
  return AddTableError(errors, n, field, ErrorMessage(n));
}

std::shared_ptr<qcError> AddTableError(qcErrors& errors, ErrorCode n, std::string_view field,
                                       std::string_view message) {
  return errors.Add(ErrorNumber(n), std::string(field), std::string(message));
}

std::string_view StripQuickBooksErrorMarker(std::string_view message) noexcept {
  const size_t at = message.find(kQuickBooksErrorMarker);
  return at == std::string_view::npos ? message
                                      : message.substr(at + kQuickBooksErrorMarker.size());
}

void AddCommitStatusErrors(qcErrors& collection_errors, qcErrors& record_errors,
                           std::string_view collection_field, int32_t status_code,
                           std::string_view status_message, std::string_view refused_field) {
  if (status_code == 0) return;
  AddTableError(collection_errors, errCommitFailed, collection_field);
  if (status_code == kStatusNameExists) {
    AddTableError(record_errors, errNameExists, "Name");
  } else {
    AddTableError(record_errors, errQuickBooksRefused, refused_field,
                  StripQuickBooksErrorMarker(status_message));
  }
}

void AddItemCommitStatusErrors(qcErrors& collection_errors, qcErrors& record_errors,
                               std::string_view collection_field, int32_t status_code,
                               std::string_view status_message) {
  if (status_code == kStatusItemNameInUse) {
    AddTableError(collection_errors, errCommitFailed, collection_field);
    AddTableError(record_errors, errItemNameInUse, kItemNameInUseField);
    return;
  }
  AddCommitStatusErrors(collection_errors, record_errors, collection_field, status_code,
                        status_message, kQuickBooksResponseField);
}

}  // namespace brennock

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/error_table.h"

namespace brennock {

// QuickBooks status codes that get an error of their own when a save is refused.
inline constexpr int32_t kStatusNameExists = 3100;
inline constexpr int32_t kStatusItemNameInUse = 3180;

// QuickBooks often wraps the useful part of a refusal after this marker.
inline constexpr std::string_view kQuickBooksErrorMarker = "QuickBooks error message: ";

// Field labels of a refused save on the record.
inline constexpr std::string_view kQuickBooksField = "QuickBooks: ";
inline constexpr std::string_view kQuickBooksResponseField = "QuickBooks response: ";
inline constexpr std::string_view kItemNameInUseField = "QuickBooks";

// Appends entry vbObjectError + n with the table's text (or the given one) and returns it.
std::shared_ptr<qcError> AddTableError(qcErrors& errors, ErrorCode n, std::string_view field);
std::shared_ptr<qcError> AddTableError(qcErrors& errors, ErrorCode n, std::string_view field,
                                       std::string_view message);

// The text after the first kQuickBooksErrorMarker, or the whole message when it has none.
std::string_view StripQuickBooksErrorMarker(std::string_view message) noexcept;

// Files one refused save of a commit (status_code != 0; status 0 files nothing):
// the collection gets 1018 with field = collection_field (normally the record's CollectionKey);
// the record gets 1017 on "Name" for status 3100, else 1001 with field = refused_field and the
// status message stripped of its marker.
void AddCommitStatusErrors(qcErrors& collection_errors, qcErrors& record_errors,
                           std::string_view collection_field, int32_t status_code,
                           std::string_view status_message,
                           std::string_view refused_field = kQuickBooksField);

// The same for item records: status 3180 gives 1024 on field "QuickBooks", and other refusals are
// labelled "QuickBooks response: ".
void AddItemCommitStatusErrors(qcErrors& collection_errors, qcErrors& record_errors,
                               std::string_view collection_field, int32_t status_code,
                               std::string_view status_message);

}  // namespace brennock

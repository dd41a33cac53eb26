#include "simulator/status_codes.h"

#include <iterator>

#include "brennock/internal/util/text.h"

namespace brennock::simulator {
namespace {

struct StatusEntry {
  StatusCode code;
  std::string_view severity;
  std::string_view message;
};

// Every status the simulator answers with, worded as QuickBooks words it.
constexpr StatusEntry kStatusTable[] = {
    {kStatusOk, "Info", "Status OK"},
    {kNoMatch, "Info", "A query request did not find a matching object in QuickBooks"},
    {kPartialQuery, "Warn",
     "The query request has not been fully completed. There was a required element (\"%1\") "
     "that could not be found in QuickBooks."},
    {kInvalidId, "Error", "The given object ID \"%1\" in the field \"%2\" is invalid."},
    {kConversionError, "Error",
     "There was an error when converting the %1 value \"%2\" in the field \"%3\"."},
    {kStringTooLong, "Error", "The string \"%1\" in the field \"%2\" is too long."},
    {kNameInUse, "Error", "The name \"%1\" of the list element is already in use."},
    {kObjectNotFound, "Error", "Object \"%1\" specified in the request cannot be found."},
    {kInvalidReference, "Error",
     "There is an invalid reference to QuickBooks %1 \"%2\" in the %3. QuickBooks error message: "
     "Invalid argument.  The specified record does not exist in the list."},
    {kCannotModify, "Error",
     "There was an error when modifying a %1 list, element \"%2\".  QuickBooks error message: "
     "%3"},
    {kCannotSave, "Error",
     "There was an error when saving a %1 list, element \"%2\".  QuickBooks error message: %3"},
    {kDiskFull, "Error",
     "There is not enough disk space to save the changes to the company file. Nothing was "
     "saved."},
    {kEditSequenceStale, "Error", "The provided edit sequence \"%1\" is out-of-date."},
    {kFeatureNotEnabled, "Error",
     "This feature is not enabled or not available in this version of QuickBooks."},
    {kPermissionDenied, "Error", "Insufficient permission level to perform this action."},
    {kFileReadOnly, "Error",
     "The company file is read-only. QuickBooks cannot save changes to it."},
    {kFileDamaged, "Error",
     "The company file is damaged: QuickBooks found it broken and will not save changes to it. "
     "Restore it from a backup."},
    {kFileInUse, "Error",
     "The company file is in use: another program is saving changes to it. Nothing was saved; "
     "try again in a moment."},
    {kIteratorInvalid, "Error",
     "The iterator \"%1\" is not valid: it is unknown, finished or has expired."},
    {kTxnCannotSave, "Error", "There was an error when saving a %1.  QuickBooks error message: %2"},
    {kTxnCannotModify, "Error",
     "There was an error when modifying a %1.  QuickBooks error message: %2"},
    {kTxnCannotDelete, "Error",
     "There was an error when deleting a %1.  QuickBooks error message: %2"},
    {kTxnCannotVoid, "Error",
     "There was an error when voiding a %1.  QuickBooks error message: %2"},
    {kIteratorLimit, "Error",
     "No more iterators can be started: %1 are open in this %2, the most allowed. Finish or stop "
     "one first."},
};

}  // namespace

Status MakeStatus(StatusCode code, std::initializer_list<std::string_view> args) {
  const StatusEntry* entry = &kStatusTable[0];
  for (const auto& e : kStatusTable)
    if (e.code == code) entry = &e;
  Status status;
  status.code = entry->code % 100000;
  status.severity = entry->severity;
  status.message.clear();
  std::string_view text = entry->message;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      size_t index = static_cast<size_t>(text[i + 1] - '1');
      if (index < args.size()) status.message += QuotedPrefix(*(args.begin() + index));
      ++i;
    } else {
      status.message.push_back(text[i]);
    }
  }
  return status;
}

}  // namespace brennock::simulator

#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace brennock::simulator {

// The status a response element carries: statusCode, statusSeverity and statusMessage.
struct Status {
  int32_t code = 0;
  std::string_view severity = "Info";
  std::string message = "Status OK";

  bool ok() const { return code == 0; }
};

// QuickBooks' status codes used by the simulator. Each has one message template in the table of
// status_codes.cpp, with %1, %2 ... standing for the arguments.
enum StatusCode : int32_t {
  kStatusOk = 0,
  kNoMatch = 1,               // a query found nothing (Info)
  kPartialQuery = 500,        // some of the requested objects were not found (Warn)
  kInvalidId = 3000,          // a ListID or iterator ID of the wrong form
  kConversionError = 3020,    // a value that does not convert to its field's type
  kStringTooLong = 3070,      // text longer than QuickBooks stores
  kNameInUse = 3100,          // the name is already taken in the list's name space
  kObjectNotFound = 3120,     // the ListID names no object
  kInvalidReference = 3140,   // a ...Ref names no object of the right list
  kCannotModify = 3170,       // QuickBooks refused to change the object
  kCannotSave = 3180,         // QuickBooks refused to save the object
  kDiskFull = 3183,           // no space left for the company file; nothing was saved
  kEditSequenceStale = 3200,  // the EditSequence is not the current one
  kFeatureNotEnabled = 3250,  // not available in this company file or version
  kPermissionDenied = 3260,   // the session may not do this (read-only, for example)
  kFileReadOnly = 3262,       // the company file itself cannot be written
  kFileDamaged = 3263,        // the company file failed its integrity check: no writes
  kFileInUse = 3264,          // another program holds the company file's write lock
  kIteratorInvalid = 3391,    // an iterator that is unknown, finished or expired
  // The same codes worded for transactions rather than list elements: keys of their own, sent
  // with the code after the hundred thousands (3180, 3170).
  kTxnCannotSave = 103180,
  kTxnCannotModify = 103170,
  kTxnCannotDelete = 203170,
  kTxnCannotVoid = 303170,
  kIteratorLimit = 3392,  // a session or company file has as many iterators as allowed
};

// A status built from the table, with its arguments substituted. An argument longer than a short
// prefix (a value over its length limit may be megabytes) is quoted as that prefix and "...".
Status MakeStatus(StatusCode code, std::initializer_list<std::string_view> args = {});

}  // namespace brennock::simulator

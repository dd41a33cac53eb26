#pragma once
// Helpers the transaction tests share: amounts from text, what a call raises, a record's errors
// and its Add body.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "brennock/brennock.h"

namespace brennock::testing {

inline Currency C(const char* text) { return Currency::Parse(text); }

// The number, source and text of what fn raises; empty number when it raises nothing.
struct Raised {
  int32_t number = 0;
  std::string source, description;
  bool operator==(const Raised&) const = default;
};

inline Raised RaisedBy(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const AutomationError& error) {
    return {error.Number(), error.Source(), error.Description()};
  }
  return {};
}

// The same with the number less vbObjectError, as some tests write the numbers they expect.
inline Raised RaisedLessBaseBy(const std::function<void()>& fn) {
  Raised raised = RaisedBy(fn);
  if (raised.number != 0) raised.number -= vbObjectError;
  return raised;
}

// "number field: description" for each error, the number less vbObjectError.
inline std::vector<std::string> ErrorsOf(qcErrors& errors) {
  std::vector<std::string> out;
  for (int32_t i = 1; i <= errors.Count(); ++i) {
    auto e = errors.Item(i);
    out.push_back(std::to_string(e->Number() - vbObjectError) + " " + e->Field() + ": " +
                  e->Description());
  }
  return out;
}

// The body the record writes into an Add request.
template <class Record>
std::string AddBody(Record& record) {
  xmlBldr builder;
  record.XMLInsert(builder);
  return builder.GetXML();
}

}  // namespace brennock::testing

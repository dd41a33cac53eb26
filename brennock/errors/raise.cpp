#include "brennock/internal/errors/raise.h"

#include "brennock/errors/automation_error.h"

namespace brennock {
namespace {

std::string Prefixed(std::string_view prefix, std::string_view name) {
  std::string source;
  source.reserve(prefix.size() + name.size());
  source.append(prefix).append(name);
  return source;
}

}  // namespace

void RaiseLibraryError(ErrorCode n) { RaiseError(n, kLibrarySource); }

void RaiseTableError(ErrorCode n) { RaiseError(n, FindError(n)->source); }

void RaiseLibraryError(ErrorCode n, std::string description) {
  RaiseError(n, kLibrarySource, std::move(description));
}

void RaiseError(ErrorCode n, std::string_view source) {
  RaiseError(n, source, std::string(ErrorMessage(n)));
}

void RaiseError(ErrorCode n, std::string_view source, std::string description) {
  throw AutomationError(ErrorNumber(n), std::string(source), std::move(description));
}

void ReRaiseFromClass(std::string_view class_name, int32_t number, std::string description) {
  throw AutomationError(number, Prefixed("Brennock:", class_name), std::move(description));
}

void RaiseFromClass(std::string_view class_name, ErrorCode n) {
  ReRaiseFromClass(class_name, ErrorNumber(n), std::string(ErrorMessage(n)));
}

void RaiseFromClass(std::string_view class_name, ErrorCode n, std::string description) {
  ReRaiseFromClass(class_name, ErrorNumber(n), std::move(description));
}

void RaiseGeneral(std::string_view context, std::string description) {
  throw AutomationError(ErrorNumber(errGeneral), Prefixed("Brennock: ", context),
                        std::move(description));
}

}  // namespace brennock

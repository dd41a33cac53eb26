#include "brennock/internal/session/processor_shutdown.h"

#include <exception>

namespace brennock {

void ShutDownProcessor(const std::shared_ptr<RequestProcessor>& processor,
                       const std::string& ticket) {
  if (!processor) return;
  std::exception_ptr failure;
  if (!ticket.empty()) {
    try {
      processor->EndSession(ticket);
    } catch (...) {
      failure = std::current_exception();
    }
  }
  try {
    processor->CloseConnection();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace brennock

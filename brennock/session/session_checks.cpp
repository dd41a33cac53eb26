#include "brennock/internal/session/session_checks.h"

#include <string>

#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/session_state.h"

namespace brennock {

void RequireOpenSession() {
  if (Session().ticket.empty()) RaiseLibraryError(errNotConnected);
}

void RequireNonUSEdition() {
  if (!Session().nonUSEdition) RaiseError(errEditionOnly, "brennock", std::string(kMsgNonUSOnly));
}

void RequireUSEdition() {
  if (Session().nonUSEdition) RaiseError(errEditionOnly, "brennock", std::string(kMsgUSOnly));
}

}  // namespace brennock

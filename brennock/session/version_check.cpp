#include "brennock/internal/session/version_check.h"

#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/session_state.h"

namespace brennock {

void RequireQbxmlVersion(int32_t minimumVersion) {
  if (Session().qbxmlVersionNumber < Currency(minimumVersion)) {
    RaiseLibraryError(errVersionNotSupported);
  }
}

}  // namespace brennock

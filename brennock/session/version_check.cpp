#include "brennock/session/version_check.h"

#include "brennock/errors/raise.h"
#include "brennock/session/session_state.h"

namespace brennock {

void RequireQbxmlVersion(int32_t minimumVersion) {
  if (Session().qbxmlVersionNumber < Currency(minimumVersion)) {
    RaiseLibraryError(errVersionNotSupported);
  }
}

}  // namespace brennock

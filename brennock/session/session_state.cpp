#include "brennock/internal/session/session_state.h"

#include "brennock/internal/values/qbxml_version_source.h"

namespace brennock {

SessionState& Session() {
  thread_local SessionState state;
  return state;
}

namespace {

// The value types read the session's version through this; every user of a session links this
// file, so the registration runs whenever a version can be other than 0.
const bool kVersionSourceRegistered = [] {
  RegisterQbxmlVersionSource([] { return Session().qbxmlVersionNumber; });
  return true;
}();

}  // namespace

}  // namespace brennock

#include "brennock/session/session_state.h"

namespace brennock {

SessionState& Session() {
  thread_local SessionState state;
  return state;
}

Currency SessionQbxmlVersion() { return Session().qbxmlVersionNumber; }

}  // namespace brennock

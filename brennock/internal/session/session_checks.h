#pragma once

namespace brennock {

// Raises vbObjectError + 1000 "QBConnect has not been called, or it failed" (source "Brennock")
// when this thread has no open company session. A session opened through any QBConnection of the
// thread counts.
void RequireOpenSession();

// Raises vbObjectError + 1032 "This property is only supported for non-US versions of
// QuickBooks." (source "brennock") when the session's QuickBooks is a US edition.
void RequireNonUSEdition();
// Raises vbObjectError + 1032 "This property is only supported for US versions of QuickBooks."
// (source "brennock") when the session's QuickBooks is not a US edition.
void RequireUSEdition();

}  // namespace brennock

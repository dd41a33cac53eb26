#pragma once

#include "brennock/session/request_processor.h"

namespace brennock {

// Automatic numbering of invoices, sales orders and purchase orders asks QuickBooks for the next
// number through a second processor with its own session on the open company.

// Opens the numbering session once per session: a first-generation processor, OpenConnection with
// an empty AppID and the session's AppName, BeginSession (open mode 2) on the main session's
// company file, or on the company open in QuickBooks when that is unknown. The processor and
// ticket are kept in the session state. Processor failures are passed on; raises 91 when no
// processor can be created.
RequestProcessor& OpenNumberingSession();

// Ends the numbering session (EndSession, CloseConnection) when one is open, and forgets it even
// when the processor fails; the first failure is passed on afterwards.
void CloseNumberingSession();

}  // namespace brennock

#pragma once

// Every public enumeration of the object model.

#include "brennock/enums/company_enums.h"
#include "brennock/enums/database_enums.h"
#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/event_enums.h"
#include "brennock/enums/list_enums.h"
#include "brennock/enums/object_enums.h"
#include "brennock/enums/query_enums.h"
#include "brennock/enums/report_enums.h"
#include "brennock/enums/txn_enums.h"

#pragma once

// Every public enumeration of the object model.

#include "brennock/model/company_enums.h"
#include "brennock/model/database_enums.h"
#include "brennock/model/enumeration_type.h"
#include "brennock/model/event_enums.h"
#include "brennock/model/list_enums.h"
#include "brennock/model/object_enums.h"
#include "brennock/model/query_enums.h"
#include "brennock/model/report_enums.h"
#include "brennock/model/txn_enums.h"

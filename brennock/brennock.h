#pragma once

// Everything a client of Brennock needs. Subsystems add their public headers here.

#include "brennock/version.h"

// model
#include "brennock/model/automation_error.h"
#include "brennock/model/collected_errors.h"
#include "brennock/model/convert_dtypes.h"
#include "brennock/model/currency.h"
#include "brennock/model/date.h"
#include "brennock/model/enum_types.h"
#include "brennock/model/enum_value.h"
#include "brennock/model/enumerations.h"
#include "brennock/model/error_table.h"
#include "brennock/model/lists_registry.h"
#include "brennock/model/qc_enum.h"
#include "brennock/model/qc_enum_value.h"
#include "brennock/model/qc_error.h"
#include "brennock/model/qc_errors.h"
#include "brennock/model/qo_enum_errors.h"
#include "brennock/model/raise.h"
#include "brennock/model/report_catalogue.h"
#include "brennock/model/rpt_descriptor.h"
#include "brennock/model/value_errors.h"
#include "brennock/model/variant.h"
#include "brennock/model/xml_attributes.h"
#include "brennock/model/xml_document.h"
#include "brennock/model/xml_node.h"

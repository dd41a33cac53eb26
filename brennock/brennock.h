#pragma once

// Everything a client of Brennock needs. Subsystems add their public headers here.

#include "brennock/version.h"

// model
#include "brennock/model/automation_error.h"

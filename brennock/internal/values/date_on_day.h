#pragma once

#include "brennock/values/date.h"

namespace brennock {

// The moment of a checked time of day on a day given by its midnight (a whole day count), as
// Date::FromDateTime composes them: readers that keep a day they have already checked and counted
// add only the time.
Date DateOnDayAt(Date midnight, int hour, int minute, int second) noexcept;

}  // namespace brennock

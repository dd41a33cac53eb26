#pragma once

// The qbXML escaper lives with the other text helpers; this header keeps its old place.
#include "brennock/internal/util/text.h"

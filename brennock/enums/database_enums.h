#pragma once

#include <cstdint>

namespace brennock {

// How a database export treats rows already in the target tables; 0 means no mode set.
enum qoEnumDatabaseMode : int32_t {
  qoDBOverwrite = 1,
  qoDBappend = 2,
  qoDBUpdate = 3,
  qoDBReSynch = 4,
};

}  // namespace brennock

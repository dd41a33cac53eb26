#pragma once

#include <cstdint>

namespace brennock {

// How QuickBooks opens the company file for a session.
enum qbEnumFileOpenMode : int32_t {
  qbOpenModeSingleUser = 0,
  qbOpenModeMultiUser = 1,
  qbOpenModeDontCare = 2,
};

// Which kind of QuickBooks a connection prefers.
enum qbConnectionType : int32_t {
  unknown = 0,
  localQBD = 1,
  remoteQBD = 2,
  localQBDLaunchUI = 3,
  remoteQBOE = 4,
};

// Editions an application declares it supports, plus forcing the authorisation dialog.
enum qbAuthFlags : uint32_t {
  SupportQBSimpleStart = 1,
  SupportQBPro = 2,
  SupportQBPremier = 4,
  SupportQBEnterprise = 8,
  ForceAuthDialog = 0x80000000u,
};

enum qbUnattendedMode : int32_t {
  umpRequired = 1,
  umpOptional = 2,
};

enum qbPrivateDataAccess : int32_t {
  pdpRequired = 1,
  pdpOptional = 2,
  pdpNotNeeded = 3,
};

}  // namespace brennock

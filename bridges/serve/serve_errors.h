#pragma once

#include <cstdint>
#include <string_view>

namespace brennock::serve {

// Errors `brennock serve` raises to a waiting caller. They keep the request processor's numbers
// (0x80040401 "could not access", 0x8004040D invalid ticket), so a client handles them as it
// handles a local processor's.
inline constexpr std::string_view kServeSource = "brennock serve";
inline constexpr int32_t kCouldNotAccessNumber = static_cast<int32_t>(0x80040401u);
inline constexpr int32_t kInvalidTicketNumber = static_cast<int32_t>(0x8004040Du);

inline constexpr std::string_view kMsgInvalidTicket = "The ticket parameter is invalid.";
inline constexpr std::string_view kMsgNoWebConnector =
    "No QuickBooks Web Connector session came within ";  // + "N seconds."
inline constexpr std::string_view kMsgNoAnswer = "QuickBooks did not answer within ";
inline constexpr std::string_view kMsgShuttingDown = "brennock serve is shutting down.";
inline constexpr std::string_view kMsgSessionClosed =
    "The Web Connector closed the session before QuickBooks answered.";
inline constexpr std::string_view kMsgConnectionError = "The Web Connector reported: ";
inline constexpr std::string_view kMsgUnknownConnection =
    "The remote connection is not open (or was closed after a long idle time).";
inline constexpr std::string_view kMsgNoProcessor = "brennock serve has no request processor ";
inline constexpr std::string_view kMsgOutsideCompanyFolder =
    "brennock serve opens company files only inside its company folder.";

[[noreturn]] void RaiseServe(int32_t number, std::string_view description);

}  // namespace brennock::serve

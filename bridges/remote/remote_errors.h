#pragma once

#include <cstdint>
#include <string_view>

namespace brennock::remote {

// Errors the remote processor raises itself. They keep the request processor's numbers, so a
// client that handles "Could not access QuickBooks." handles an unreachable server too; errors the
// server reports are passed on with the number, source and text it sent.
inline constexpr std::string_view kRemoteSource = "brennockRqP.RequestProcessor";
inline constexpr int32_t kCouldNotAccessNumber = static_cast<int32_t>(0x80040401u);
inline constexpr int32_t kUnexpectedNumber = static_cast<int32_t>(0x80040402u);

inline constexpr std::string_view kMsgNoServer =
    "No server is configured for the remote processor: set BRENNOCK_REMOTE_URL or URL in "
    "[Remote] of the Brennock INI file.";
inline constexpr std::string_view kMsgUnreachable = "Could not reach brennock serve at ";
inline constexpr std::string_view kMsgTokenRefused = "brennock serve refused the access token.";
inline constexpr std::string_view kMsgNotOpen = "The remote connection is not open.";
inline constexpr std::string_view kMsgBadAnswer = "brennock serve answered with HTTP status ";

[[noreturn]] void RaiseRemote(int32_t number, std::string_view description);

}  // namespace brennock::remote

#pragma once

#include <string>
#include <string_view>

namespace brennock::cli {

// The subscriber ID of the command's own listener (`subscribe --print`, `events listen`).
inline constexpr std::string_view kCommandSubscriber = "{B7E4A0C2-5D1F-4E38-9A6B-3C2D1E0F4A57}";
// The ProgID whose events `events listen` prints.
inline constexpr std::string_view kPrinterProgID = "Brennock.EventPrinter";

// A subscriber ID of a URL, the same every time: subscribing a URL again is a duplicate, and
// `subscriptions delete --url` finds it.
std::string SubscriberOfUrl(std::string_view url);

}  // namespace brennock::cli

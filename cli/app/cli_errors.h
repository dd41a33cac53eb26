#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace brennock::cli {

// Arguments that parse but make no sense (an unknown list type, a bad date): exit 64 with a hint
// at the command's help.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command that stopped for a reason its message explains completely (exit 1).
class CommandFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// QuickBooks answered a request the command wrote with an error status (exit 2).
class StatusError : public std::runtime_error {
 public:
  StatusError(std::string code, std::string message);
  const std::string& Code() const noexcept { return code_; }
  const std::string& Message() const noexcept { return message_; }

 private:
  std::string code_;
  std::string message_;
};

// Prints what went wrong on standard error, one or two lines and no stack trace, and returns the
// exit status for it. commandPath ("brennock list") names the command for the usage hint.
int ReportFailure(const std::exception_ptr& failure, const std::string& commandPath);

// The automation error number as an automation client shows it: "0x80040400".
std::string HexNumber(int32_t number);

}  // namespace brennock::cli

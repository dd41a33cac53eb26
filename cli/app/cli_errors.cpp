#include "cli/app/cli_errors.h"

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <new>

#include "brennock/errors/automation_error.h"
#include "cli/app/exit_codes.h"

namespace brennock::cli {

StatusError::StatusError(std::string code, std::string message)
    : std::runtime_error("QuickBooks status " + code + ": " + message),
      code_(std::move(code)),
      message_(std::move(message)) {}

std::string HexNumber(int32_t number) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(number));
  return text;
}

int ReportFailure(const std::exception_ptr& failure, const std::string& commandPath) {
  try {
    std::rethrow_exception(failure);
  } catch (const AutomationError& error) {
    std::cerr << "brennock: error " << HexNumber(error.Number()) << " from " << error.Source()
              << ": " << error.Description() << "\n";
    return kExitAutomation;
  } catch (const UsageError& error) {
    std::cerr << "brennock: " << error.what() << "\nRun '" << commandPath
              << " --help' for usage.\n";
    return kExitUsage;
  } catch (const StatusError& error) {
    std::cerr << "brennock: " << error.what() << "\n";
    return kExitAutomation;
  } catch (const CommandFailure& error) {
    std::cerr << "brennock: " << error.what() << "\n";
    return kExitFailed;
  } catch (const std::bad_alloc&) {
    std::cerr << "brennock: out of memory\n";
    return kExitFailed;
  } catch (const std::exception& error) {
    std::cerr << "brennock: " << error.what() << "\n";
    return kExitFailed;
  }
}

}  // namespace brennock::cli

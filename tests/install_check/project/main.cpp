// A client of the installed package: uses error lists and the value types, and finds the
// simulator and the remote processor registered without a registration call of its own.
#include <brennock/brennock.h>

#include <iostream>

int main() {
  brennock::qcErrors errors;
  errors.Add(brennock::qErrorValidateFailed, "Name", "Name cannot be null");
  const auto total = brennock::Currency::Parse("12.5") + brennock::Currency(3);
  const auto date = brennock::Date::FromDate(2005, 3, 4);
  const bool simulator = brennock::IsRequestProcessorRegistered("Brennock.Simulator");
  const bool remote =
      brennock::IsRequestProcessorRegistered(std::string(brennock::kRemoteProcessorProgId));
  std::cout << errors.Count() << " " << total.ToString() << " " << date.Year() << " " << simulator
            << remote << "\n";
  return errors.Count() == 1 && total.ToString() == "15.5" && date.Year() == 2005 && simulator &&
                 remote
             ? 0
             : 1;
}

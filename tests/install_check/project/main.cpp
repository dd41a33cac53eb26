// A client of the installed package: uses error lists and the value types.
#include <brennock/brennock.h>

#include <iostream>

int main() {
  brennock::qcErrors errors;
  errors.Add(brennock::qErrorValidateFailed, "Name", "Name cannot be null");
  const auto total = brennock::Currency::Parse("12.5") + brennock::Currency(3);
  const auto date = brennock::Date::FromDate(2005, 3, 4);
  std::cout << errors.Count() << " " << total.ToString() << " " << date.Year() << "\n";
  return errors.Count() == 1 && total.ToString() == "15.5" && date.Year() == 2005 ? 0 : 1;
}

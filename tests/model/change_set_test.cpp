// Change tracking has no fixed width: a change to any binding row reaches the Mod request.
#include "brennock/internal/model/change_set.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "brennock/internal/model/binding.h"
#include "brennock/internal/qbxml/request_writer.h"

namespace brennock::testing {
namespace {

TEST(ChangeSet, MarksRowsOfAnyWidth) {
  ChangeSet changes;
  EXPECT_TRUE(changes.Empty());
  for (size_t row : {0, 63, 64, 127, 128, 500, 511}) changes.Mark(row);
  for (size_t row : {0, 63, 64, 127, 128, 500, 511}) EXPECT_TRUE(changes.Has(row)) << row;
  for (size_t row : {1, 62, 65, 129, 499}) EXPECT_FALSE(changes.Has(row)) << row;
  // Beyond what it keeps row by row, every later row counts as changed: written again, never lost.
  changes.Mark(900);
  EXPECT_TRUE(changes.Has(2000));
  ChangeSet copy = changes;
  changes.Clear();
  EXPECT_TRUE(changes.Empty());
  EXPECT_TRUE(copy.Has(500));
}

struct Wide {
  std::array<std::string, 80> values;
};

TEST(ChangeSet, AnEmptiedFieldPastTheSixtyFourthRowIsWrittenEmpty) {
  static std::vector<std::string> names;
  for (int i = 0; i < 80; ++i) names.push_back("F" + std::to_string(i));
  std::vector<Binding<Wide>> rows;
  for (int i = 0; i < 80; ++i) {
    rows.push_back(
        {names[i], kInMod | kSkipEmpty, nullptr,
         [](const Wide& w, RequestWriter& b, std::string_view element, uint16_t flags, BodyForm) {
           const std::string& value = w.values[std::stoi(std::string(element.substr(1)))];
           if (!value.empty() || (flags & kChanged) != 0) b.CreateElement(element, value);
         }});
  }
  BindingTable<Wide> table(rows, {});
  Wide record;
  record.values[70] = "";
  record.values[10] = "kept";
  ChangeSet changes;
  changes.Mark(70);
  RequestWriter writer([] { return Currency(16); });
  table.Write(record, writer, BodyForm::kMod, &changes);
  EXPECT_EQ(writer.GetXML(), "<F10>kept</F10><F70></F70>");
  RequestWriter onlyChanged([] { return Currency(16); });
  table.WriteChanged(record, onlyChanged, changes);
  EXPECT_EQ(onlyChanged.GetXML(), "<F70></F70>");
}

}  // namespace
}  // namespace brennock::testing

// A loaded row's cells, kept compactly until asked for: what they give before and after the cell
// objects are made, however many were loaded.
#include <gtest/gtest.h>

#include <string>

#include "brennock/reports/rpt_result.h"

namespace brennock::testing {
namespace {

std::string Cells(const rptColumns& columns) {
  std::string out;
  for (const auto& cell : columns)
    out += std::to_string(cell->ID()) + ":" + cell->Text() + ":" + cell->DataType() + " ";
  return out;
}

TEST(ReportCells, LoadedCellsGrowPastTheirRoomAndKeepEveryText) {
  rptColumns columns;
  columns.ReserveLoaded(1, 2);  // too little: the rest are made room for as they come
  std::string expected;
  for (int i = 1; i <= 40; ++i) {
    const std::string text = i % 7 == 0 ? "" : "Cell " + std::to_string(i) + std::string(i, 'x');
    const std::string type = i % 3 == 0 ? "AMTTYPE" : "";
    columns.AddLoaded(i, text, type);
    expected += std::to_string(i) + ":" + text + ":" + type + " ";
    ASSERT_EQ(columns.Count(), i);
    ASSERT_EQ(columns.FirstText(), "Cell 1x");
  }
  EXPECT_EQ(Cells(columns), expected);
  // Made once: the cells are the same objects on every later look.
  EXPECT_EQ(columns.Item(40).get(), columns.Item(40).get());
  EXPECT_EQ(columns.Count(), 40);
  EXPECT_EQ(columns.FirstText(), "Cell 1x");
  columns.Add()->SetText("added");
  EXPECT_EQ(columns.Count(), 41);
  EXPECT_EQ(columns.Item(41)->Text(), "added");
}

TEST(ReportCells, EmptyAndClearedCellsGiveNothing) {
  rptColumns columns;
  EXPECT_EQ(columns.Count(), 0);
  EXPECT_EQ(columns.FirstText(), "");
  columns.ReserveLoaded(0, 0);
  columns.AddLoaded(3, "", "");
  EXPECT_EQ(Cells(columns), "3:: ");
  columns.Clear();
  EXPECT_EQ(columns.Count(), 0);
  columns.AddLoaded(5, "again", "TEXTTYPE");
  EXPECT_EQ(columns.FirstText(), "again");
  columns.Clear();
  EXPECT_EQ(Cells(columns), "");
}

}  // namespace
}  // namespace brennock::testing

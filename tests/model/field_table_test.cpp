// Looking response elements up in a record's field table: every bound name finds its own reader,
// whatever its length, and names close to a bound one (same letters at either end, same length)
// find nothing.
#include "brennock/internal/model/field_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace brennock::testing {
namespace {

struct Owner {
  size_t read = 0;
};
using Table = BasicFieldTable<Owner>;
using Entry = Table::Entry;

template <size_t I>
void Mark(Owner& owner, const FieldElement&) {
  owner.read = I;
}

template <size_t... I>
constexpr std::array<Entry::Reader, sizeof...(I)> MakeReaders(std::index_sequence<I...>) {
  return {&Mark<I>...};
}
// As many distinct readers as a table may hold.
constexpr auto kReaders = MakeReaders(std::make_index_sequence<128>());

// Entries for the names, sorted as a record's rows are; the reader of names[i] is kReaders[i].
std::vector<Entry> Entries(const std::vector<std::string>& names) {
  std::vector<Entry> entries;
  for (size_t i = 0; i < names.size(); ++i) entries.push_back({names[i], kReaders[i]});
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.element < b.element; });
  return entries;
}

TEST(FieldTable, EveryNameFindsItsOwnReaderAndNoOther) {
  // Names from one letter to past sixteen, and names that differ only inside, so that they share
  // first and last letters and length.
  const std::vector<std::string> names = {"A",
                                          "Ab",
                                          "Abc",
                                          "Addr1",
                                          "Addr2",
                                          "Addr5",
                                          "City",
                                          "Cxty",
                                          "Name",
                                          "FullName",
                                          "FirstName",
                                          "ClassRef",
                                          "CustomerRef",
                                          "CustomerTypeRef",
                                          "SixteenCharsName",
                                          "SixteenCharsNbme",
                                          "SeventeenCharName",
                                          "SeventeenCharNbme",
                                          "AVeryLongElementNameOfThirtyOne"};
  const std::vector<Entry> entries = Entries(names);
  const Table table(entries);
  for (size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(table.Find(names[i]), kReaders[i]);
    // The same name held elsewhere (a response's text), not the table's own characters.
    const std::string copy = names[i];
    EXPECT_EQ(table.Find(copy), kReaders[i]);
  }
  for (const char* unknown : {"", "B", "Ac", "Abd", "Addr3", "Cyty", "Nbme", "FullNbme",
                              "SixteenCharsNcme", "SeventeenCharNcme", "Addr", "Addr10", "a",
                              "name", "\xC3\xA9", "AVeryLongElementNameOfThirtyTwo"}) {
    SCOPED_TRACE(unknown);
    EXPECT_EQ(table.Find(unknown), nullptr);
  }
}

TEST(FieldTable, AFullTableFindsEveryName) {
  std::vector<std::string> names;
  for (size_t i = 0; i < kReaders.size(); ++i) names.push_back("E" + std::to_string(i) + "Ref");
  const std::vector<Entry> entries = Entries(names);
  const Table table(entries);
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(table.Find(names[i]), kReaders[i]);
  EXPECT_EQ(table.Find("E128Ref"), nullptr);
  EXPECT_EQ(table.Find("ERef"), nullptr);
}

TEST(FieldTable, PrefixedChildrenAreReadByTheirLocalName) {
  const std::vector<Entry> entries = Entries({"Name", "Desc"});
  const Table table(entries);
  EXPECT_EQ(detail::FindReader(table, "q:Name"), kReaders[0]);
  EXPECT_EQ(detail::FindReader(table, "a:b:Desc"), nullptr);  // the text after the first colon
  EXPECT_EQ(detail::FindReader(table, "Name:"), nullptr);
}

}  // namespace
}  // namespace brennock::testing

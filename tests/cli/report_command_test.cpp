// `brennock report`, run as a user runs it: the catalogue, a report in each format, and the SVG
// chart opened in a real browser where one is installed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <string>

#include "tests/cli/cli_runner.h"

namespace brennock::testing {
namespace {

using ::testing::HasSubstr;

class ReportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_cli_report_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    unsetenv("BRENNOCK_PROCESSOR");
    company_ = (folder_ / "company.qbw").string();
    ASSERT_EQ(RunCli(folder_, {"company", "create", company_, "--sample"}).status, 0);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  CliResult Run(std::vector<std::string> args) {
    args.push_back("--company");
    args.push_back(company_);
    return RunCli(folder_, args);
  }

  std::filesystem::path folder_;
  std::string company_;
};

TEST_F(ReportCommandTest, ListsTheCatalogueByGroupAndRefusesUnknownNames) {
  CliResult list = RunCli(folder_, {"report", "--list"});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_THAT(list.out, HasSubstr("Company & Financial\n"));
  EXPECT_THAT(list.out, HasSubstr("\n  profit-and-loss-standard\n"));
  EXPECT_THAT(list.out, HasSubstr("\n  ar-aging-summary\n"));
  CliResult unknown = Run({"report", "profit-and-gain"});
  EXPECT_EQ(unknown.status, 64);
  EXPECT_THAT(unknown.err, HasSubstr("there is no report \"profit-and-gain\""));
}

TEST_F(ReportCommandTest, TablesIndentSectionsAndJsonCarriesTheRows) {
  CliResult table = Run({"report", "balance-sheet"});
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_THAT(table.out, HasSubstr("Balance Sheet\nAs of "));
  EXPECT_THAT(table.out, HasSubstr("\n    Checking/Savings"));  // two levels in
  EXPECT_THAT(table.out, HasSubstr("\nTOTAL ASSETS "));
  CliResult json = Run({"report", "profit-and-loss", "--by", "quarter", "--format", "json"});
  ASSERT_EQ(json.status, 0) << json.err;
  auto doc = nlohmann::json::parse(json.out);
  EXPECT_EQ(doc["title"], "Profit & Loss");
  EXPECT_EQ(doc["columns"].back(), "TOTAL");
  EXPECT_EQ(doc["rows"].back()["type"], "total");
  EXPECT_EQ(doc["rows"].back()["cells"][0], "Net Income");
}

TEST_F(ReportCommandTest, TheAgingChartIsAnSvgDocumentABrowserOpens) {
  const std::string svg = (folder_ / "aging.svg").string();
  CliResult run = Run({"report", "ar-aging", "--format", "svg", "--output", svg});
  ASSERT_EQ(run.status, 0) << run.err;
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(svg.c_str())) << "not well-formed XML";
  pugi::xml_node root = doc.document_element();
  EXPECT_STREQ(root.name(), "svg");
  EXPECT_STREQ(root.attribute("xmlns").value(), "http://www.w3.org/2000/svg");
  EXPECT_GT(std::distance(root.children("rect").begin(), root.children("rect").end()), 5);

  std::string browser;
  for (const char* name : {"chromium", "chromium-browser"})
    if (std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0)
      browser = name;
  if (browser.empty())
    GTEST_SKIP() << "no chromium on this machine: the SVG was checked as XML only";
  const std::string png = (folder_ / "aging.png").string();
  const std::string command = browser +
                              " --headless --no-sandbox --disable-gpu --screenshot=" + png +
                              " --window-size=800,600 file://" + svg + " >/dev/null 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0);
  EXPECT_TRUE(std::filesystem::exists(png));
}

}  // namespace
}  // namespace brennock::testing

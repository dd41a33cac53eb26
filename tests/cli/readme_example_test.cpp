// The library example of the README: its text is the file the tests compile, and it runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "brennock/brennock.h"
#include "simulator/company_file.h"
#include "tests/cli/cli_runner.h"

// The example, compiled here with its main renamed into a namespace (its includes are already in).
namespace readme_example {
#include "docs/examples/list_classes.cpp"
}

namespace brennock::testing {
namespace {

const std::filesystem::path kRoot = std::filesystem::path(__FILE__).parent_path() / "../..";

TEST(ReadmeExample, IsTheCompiledFileWordForWord) {
  std::string readme = ReadWhole(kRoot / "README.md");
  std::string example = ReadWhole(kRoot / "docs/examples/list_classes.cpp");
  size_t section = readme.find("## Using the library");
  ASSERT_NE(section, std::string::npos);
  size_t start = readme.find("```cpp\n", section);
  ASSERT_NE(start, std::string::npos);
  start += 7;
  size_t end = readme.find("```\n", start);
  EXPECT_EQ(readme.substr(start, end - start), example);
}

TEST(ReadmeExample, ListsTheClassesOfASampleCompany) {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("brennock_readme_" + std::to_string(::getpid()) + ".qbw");
  std::filesystem::remove(path);
  simulator::CompanyFileOptions options;
  options.sample = simulator::SampleBusiness{};
  simulator::CreateCompanyFile(path.string(), options);
  std::string file = path.string();
  char program[] = "list_classes";
  char* argv[] = {program, file.data(), nullptr};
  ::testing::internal::CaptureStdout();
  int status = readme_example::main(2, argv);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Retail\nWholesale\nWholesale:East\n");
  EXPECT_EQ(status, 0);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace brennock::testing

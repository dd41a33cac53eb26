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
#include "tests/support/build_paths.h"

// The examples, compiled here with their mains renamed into namespaces (their includes are
// already in).
namespace readme_example {
#include "docs/examples/list_classes.cpp"
}
namespace add_customer_example {
#include "docs/examples/add_customer.cpp"
}
namespace make_invoice_example {
#include "docs/examples/make_invoice.cpp"
}
namespace export_stamp_example {
#include "docs/examples/export_stamp.cpp"
}
namespace watch_customers_example {
#include "docs/examples/watch_customers.cpp"
}

namespace brennock::testing {
namespace {

const std::filesystem::path kRoot = SourceDir();

TEST(ReadmeExample, ShowsTheCompiledFilesWordForWord) {
  std::string readme = ReadWhole(kRoot / "README.md");
  size_t from = readme.find("## Using the library");
  ASSERT_NE(from, std::string::npos);
  for (const char* file : {"docs/examples/list_classes.cpp", "docs/examples/add_customer.cpp",
                           "docs/examples/make_invoice.cpp", "docs/examples/export_stamp.cpp",
                           "docs/examples/watch_customers.cpp"}) {
    size_t start = readme.find("```cpp\n", from);
    ASSERT_NE(start, std::string::npos) << file;
    start += 7;
    from = readme.find("```\n", start);
    EXPECT_EQ(readme.substr(start, from - start), ReadWhole(kRoot / file)) << file;
  }
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

TEST(ReadmeExample, AddsACustomerWithAJob) {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("brennock_customer_" + std::to_string(::getpid()) + ".qbw");
  std::filesystem::remove(path);
  simulator::CompanyFileOptions options;
  options.sample = simulator::SampleBusiness{};
  simulator::CreateCompanyFile(path.string(), options);
  std::string file = path.string();
  char program[] = "add_customer";
  char name[] = "Ada Lovelace Ltd";
  char* argv[] = {program, file.data(), name, nullptr};
  ::testing::internal::CaptureStdout();
  int status = add_customer_example::main(3, argv);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Ada Lovelace Ltd pays an invoice of 2024-01-31 by 2024-03-01\n");
  EXPECT_EQ(status, 0);
  std::filesystem::remove(path);
}

// Ada's new account has no tax code of its own, so the company's taxable code stands: the widgets
// and the discount are taxed, consulting is not. 3 x 95.00 + 10 x 12.00 = 405.00, less 10 % =
// 364.50; taxable 120.00 - 40.50 = 79.50, 7.25 % of it 5.76375 (5.76 in cents); QuickBooks'
// balance 364.50 + 5.76 = 370.26.
TEST(ReadmeExample, MakesAnInvoice) {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("brennock_invoice_" + std::to_string(::getpid()) + ".qbw");
  std::filesystem::remove(path);
  simulator::CompanyFileOptions options;
  options.sample = simulator::SampleBusiness{};
  simulator::CreateCompanyFile(path.string(), options);
  std::string file = path.string();
  char name[] = "Ada Lovelace Ltd";
  char adder[] = "add_customer";
  char* addArgs[] = {adder, file.data(), name, nullptr};
  ::testing::internal::CaptureStdout();
  ASSERT_EQ(add_customer_example::main(3, addArgs), 0);
  ::testing::internal::GetCapturedStdout();
  char program[] = "make_invoice";
  char* argv[] = {program, file.data(), name, nullptr};
  ::testing::internal::CaptureStdout();
  int status = make_invoice_example::main(3, argv);
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out.substr(0, out.find('\n') + 1), "subtotal 364.50, sales tax 5.76\n");
  EXPECT_NE(out.find(" owes 370.26\n"), std::string::npos) << out;
  std::filesystem::remove(path);
}

TEST(ReadmeExample, KeepsAStampInAnApplicationFieldOfTheCompany) {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("brennock_stamp_" + std::to_string(::getpid()) + ".qbw");
  std::filesystem::remove(path);
  simulator::CreateCompanyFile(path.string(), simulator::CompanyFileOptions{});
  std::string file = path.string();
  auto run = [&](const char* stamp) {
    char program[] = "export_stamp";
    std::string text = stamp;
    char* argv[] = {program, file.data(), text.data(), nullptr};
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(export_stamp_example::main(3, argv), 0);
    return ::testing::internal::GetCapturedStdout();
  };
  EXPECT_EQ(run("2026-12-01 08:00"), "previous export: \n");
  EXPECT_EQ(run("2026-12-02 08:00"), "previous export: 2026-12-01 08:00\n");
  EXPECT_EQ(run("2026-12-03 08:00"), "previous export: 2026-12-02 08:00\n");
  std::filesystem::remove(path);
}

TEST(ReadmeExample, WatchesCustomersThroughEvents) {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("brennock_watch_" + std::to_string(::getpid()) + ".qbw");
  std::filesystem::remove(path);
  simulator::CreateCompanyFile(path.string());
  std::string file = path.string();
  char program[] = "watch_customers", wait[] = "0";
  char* argv[] = {program, file.data(), wait, nullptr};
  // The first run subscribes; the customer added while nobody listens waits for the second.
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(watch_customers_example::main(3, argv), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  std::string listID;
  {
    auto connection = std::make_shared<QBConnection>();
    connection->Connect("", "Another program", qbOpenModeDontCare, file);
    auto customers = connection->Company()->Customers();
    auto customer = customers->Add("Ada Lovelace Ltd");
    customers->Commit();
    listID = customer->ListID();
    connection->CloseConnection();
  }
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(watch_customers_example::main(3, argv), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "customer " + listID + " added\n");
  UnregisterEventCallback("CustomerWatcher.Events");
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace brennock::testing

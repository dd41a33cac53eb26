// brennock company create FILE: a simulated QuickBooks company file, empty or with a sample
// business.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "cli/app/cli_errors.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/commands/commands.h"
#include "cli/output/progress_bar.h"
#include "simulator/company_file.h"

namespace brennock::cli {
namespace {

namespace fs = std::filesystem;

struct CreateOptions {
  std::string path;
  std::string edition = "US";
  bool sample = false;
  int customers = -1;  // -1: the sample business's own count
  int invoices = -1;   // -1: the sample business's own year of invoices
  uint64_t seed = 1;
  bool force = false;
};

// Sample businesses from this many customers take long enough to show progress.
constexpr int kProgressFromCustomers = 20000;

const std::map<std::string, simulator::Edition>& Editions() {
  static const std::map<std::string, simulator::Edition> editions = {
      {"US", simulator::Edition::kUS},
      {"CA", simulator::Edition::kCA},
      {"UK", simulator::Edition::kUK},
      {"AU", simulator::Edition::kAU}};
  return editions;
}

// Removes a file and the write-ahead log files SQLite keeps beside it; a log left from the old
// file must never be replayed into the new one.
void RemoveWithLogs(const fs::path& path) {
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"})
    fs::remove(fs::path(path.string() + suffix), ignored);
}

int RunCreate(const CreateOptions& options, const GlobalOptions& globals) {
  const fs::path target(options.path);
  std::error_code ec;
  if (fs::is_directory(target, ec)) throw CommandFailure(options.path + " is a folder");
  if (fs::exists(target, ec) && !options.force)
    throw CommandFailure(options.path + " already exists; add --force to replace it");

  simulator::CompanyFileOptions file;
  file.edition = Editions().at(options.edition);
  if (options.sample || options.customers >= 0 || options.invoices >= 0) {
    simulator::SampleBusiness business;
    business.seed = options.seed;
    if (options.customers >= 0) business.customers = options.customers;
    if (options.invoices >= 0) business.invoices = options.invoices;
    file.sample = business;
  }

  // Built beside the target and renamed over it, so a failure (or --force) never leaves a half
  // written company where the old one was.
  fs::path building(options.path + ".creating-" + std::to_string(::getpid()));
  RemoveWithLogs(building);
  {
    bool large = file.sample && file.sample->customers >= kProgressFromCustomers;
    ProgressBar progress("Creating " + target.filename().string(), large && !globals.quiet);
    if (progress.Enabled()) file.progress = [&progress](double share) { progress.Set(share); };
    try {
      simulator::CreateCompanyFile(building.string(), file);
    } catch (const std::exception& error) {
      progress.Finish();
      RemoveWithLogs(building);
      throw CommandFailure("cannot create " + options.path + ": " + error.what());
    }
  }
  RemoveWithLogs(target);
  fs::rename(building, target, ec);
  if (ec) {
    RemoveWithLogs(building);
    throw CommandFailure("cannot create " + options.path + ": " + ec.message());
  }
  if (!globals.quiet) {
    std::cerr << "Created " << options.path << " (" << options.edition << " edition";
    if (file.sample)
      std::cerr << ", sample business with " << file.sample->customers << " customers";
    std::cerr << ")\n";
  }
  return kExitOk;
}

}  // namespace

CommandRun AttachCompanyCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* company = app.add_subcommand("company", "Create simulated QuickBooks company files");
  company->require_subcommand(1);
  CLI::App* create = company->add_subcommand("create", "Create a simulated company file");
  create->footer(R"(Examples:
  brennock company create /tmp/empty.qbw
  brennock company create /tmp/sample.qbw --sample --force
  brennock company create /tmp/big.qbw --customers 100000 --seed 7 --edition CA)");
  auto options = std::make_shared<CreateOptions>();
  create->add_option("FILE", options->path, "Company file to create")->required();
  create->add_option("--edition", options->edition, "QuickBooks edition: US, CA, UK or AU")
      ->transform(CLI::IsMember({"US", "CA", "UK", "AU"}, CLI::ignore_case).description(""))
      ->type_name("EDITION")
      ->default_str("US");
  create->add_flag("--sample", options->sample,
                   "Fill it with a sample business (accounts, lists, items, customers)");
  create
      ->add_option("--customers", options->customers,
                   "Customers of the sample business (implies --sample; default 20)")
      ->check(CLI::Range(0, 10000000).description(""))
      ->type_name("N");
  create
      ->add_option("--invoices", options->invoices,
                   "Invoices of the sample business over the last year (implies --sample; "
                   "default 60)")
      ->check(CLI::Range(0, 10000000).description(""))
      ->type_name("N");
  create->add_option("--seed", options->seed, "Seed of the sample business (same seed, same data)");
  create->add_flag("--force", options->force, "Replace the file when it exists");
  return [options, &globals] { return RunCreate(*options, globals); };
}

}  // namespace brennock::cli

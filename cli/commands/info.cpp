// brennock info: the QuickBooks product, qbXML versions, edition, company information and
// preferences of a company file.
#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "brennock/values/currency.h"
#include "brennock/xml/xml_document.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/commands/commands.h"
#include "cli/output/row_writer.h"
#include "cli/output/stdout_text.h"
#include "cli/qbxml/record_fields.h"
#include "cli/qbxml/response_status.h"

namespace brennock::cli {
namespace {

struct InfoOptions {
  std::string format = "text";
};

// The single record of a host, company or preferences answer; Nothing when QuickBooks had none.
XmlNode RecordOf(const ResponseStatus& status) {
  if (status.IsError() || status.NothingFound()) return {};
  for (XmlNode child : status.element.childNodes())
    if (child.nodeType() == NODE_ELEMENT) return child;
  return {};
}

std::vector<std::string> TextsNamed(const XmlNode& record, std::string_view name) {
  std::vector<std::string> texts;
  if (!record) return texts;
  for (XmlNode child : record.childNodes())
    if (child.nodeType() == NODE_ELEMENT && child.nodeName() == name) texts.push_back(child.text());
  return texts;
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const auto& text : texts) {
    if (!out.empty()) out += ", ";
    out += text;
  }
  return out;
}

void AppendSection(std::string& out, std::string_view title, const XmlNode& record) {
  out += '\n';
  out += title;
  out += '\n';
  if (!record) {
    out += "  (not available)\n";
    return;
  }
  for (const auto& [path, text] : FlattenRecord(record)) {
    out += "  ";
    out += path;
    out += ": ";
    out += text;
    out += '\n';
  }
}

int RunInfo(const InfoOptions& options, const GlobalOptions& globals) {
  CliSession session(globals);
  QBConnection& connection = session.Connection();
  xmlBldr& request = session.NewRequest();
  request.OpenAggregate("HostQueryRq", "requestID", "1");
  request.EndAggregate("HostQueryRq");
  request.OpenAggregate("CompanyQueryRq", "requestID", "2");
  request.EndAggregate("CompanyQueryRq");
  // Preferences came with qbXML 2.0.
  bool withPreferences = connection.qbXMLVersionNumber() > 1.0f;
  if (withPreferences) {
    request.OpenAggregate("PreferencesQueryRq", "requestID", "3");
    request.EndAggregate("PreferencesQueryRq");
  }
  std::shared_ptr<XmlDocument> response = session.Send();
  std::vector<ResponseStatus> statuses = ReadStatuses(*response);
  RequireSuccess(*response);  // the host answer must be there
  XmlNode host = RecordOf(statuses[0]);
  XmlNode company = statuses.size() > 1 ? RecordOf(statuses[1]) : XmlNode();
  XmlNode preferences = statuses.size() > 2 ? RecordOf(statuses[2]) : XmlNode();

  std::string country = Joined(TextsNamed(host, "Country"));
  std::string edition = country.empty() ? (connection.IsUSProduct() ? "US" : "non-US") : country;
  std::string product = connection.ProductName();
  std::string release = std::to_string(connection.QBMajorVersion()) + "." +
                        std::to_string(connection.QBMinorVersion());
  std::vector<std::string> versions = TextsNamed(host, "SupportedQBXMLVersion");
  std::string companyName = Joined(TextsNamed(company, "CompanyName"));

  std::string out;
  if (options.format == "json") {
    nlohmann::ordered_json info;
    info["product"] = product;
    info["release"] = release;
    info["edition"] = edition;
    info["qbxmlVersions"] = versions;
    info["sessionQbxmlVersion"] = connection.qbxmlVersion();
    info["companyFile"] = connection.CompanyPath();
    info["companyName"] = companyName;
    info["host"] = host ? RecordToJson(host) : nlohmann::ordered_json();
    info["company"] = company ? RecordToJson(company) : nlohmann::ordered_json();
    info["preferences"] = preferences ? RecordToJson(preferences) : nlohmann::ordered_json();
    out = JsonText(info, 2) + "\n";
  } else {
    out += "Product:        " + product + " (release " + release + ")\n";
    out += "Edition:        " + edition + "\n";
    out += "qbXML versions: " + Joined(versions) + "\n";
    out += "Session qbXML:  " + connection.qbxmlVersion() + "\n";
    out += "Company file:   " + connection.CompanyPath() + "\n";
    out += "Company name:   " + companyName + "\n";
    AppendSection(out, "Company", company);
    if (withPreferences) AppendSection(out, "Preferences", preferences);
  }
  WriteOut(out);
  return kExitOk;
}

}  // namespace

CommandRun AttachInfoCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* info = app.add_subcommand(
      "info", "Show the QuickBooks product, qbXML versions, company information and preferences");
  info->footer(R"(Examples:
  brennock info --company /tmp/sample.qbw
  brennock info --company /tmp/sample.qbw --format json)");
  auto options = std::make_shared<InfoOptions>();
  info->add_option("--format", options->format, "text or json")
      ->check(CLI::IsMember({"text", "json"}).description(""))
      ->type_name("FORMAT")
      ->default_str("text");
  return [options, &globals] { return RunInfo(*options, globals); };
}

}  // namespace brennock::cli

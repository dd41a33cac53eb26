#pragma once

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace brennock::cli {

enum class OutputFormat { kTable, kJson, kCsv };

// "table", "json" and "csv", for the commands' --format.
const std::map<std::string, OutputFormat>& OutputFormatNames();

// Formats rows of a listing as a table, JSON or CSV into text the caller takes and writes out,
// page by page for long listings.
class RowWriter {
 public:
  virtual ~RowWriter() = default;

  // Once, before any row.
  virtual void Begin(const std::vector<std::string>& columns) = 0;
  virtual void Row(const std::vector<std::string>& values) = 0;
  // A whole record already in JSON text (listings without chosen fields); only the JSON writer
  // is given these.
  virtual void RecordJson(std::string_view json);
  // Once, after the last row.
  virtual void End() = 0;
  // The text written since the last Take.
  virtual std::string Take();

 protected:
  std::string out_;
};

std::unique_ptr<RowWriter> MakeRowWriter(OutputFormat format);

// One CSV field: quoted (with doubled quotes) when it holds a comma, quote, CR or LF, or starts or
// ends with a space.
void AppendCsvField(std::string& out, std::string_view value);

// JSON text of a value; text that is not valid UTF-8 has the bad bytes replaced, never rejected.
std::string JsonText(const nlohmann::ordered_json& value, int indent = -1);

}  // namespace brennock::cli

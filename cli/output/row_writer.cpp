#include "cli/output/row_writer.h"

#include <stdexcept>

#include "cli/output/table_writer.h"
#include "cli/qbxml/record_fields.h"

namespace brennock::cli {
namespace {

class CsvWriter final : public RowWriter {
 public:
  void Begin(const std::vector<std::string>& columns) override { Row(columns); }
  void Row(const std::vector<std::string>& values) override {
    for (size_t i = 0; i < values.size(); ++i) {
      if (i > 0) out_ += ',';
      AppendCsvField(out_, values[i]);
    }
    out_ += "\r\n";  // RFC 4180 line ends
  }
  void End() override {}
};

class JsonWriter final : public RowWriter {
 public:
  void Begin(const std::vector<std::string>& columns) override {
    columns_ = columns;
    out_ += '[';
  }
  void Row(const std::vector<std::string>& values) override {
    Separate();
    out_ += '{';
    for (size_t i = 0; i < values.size() && i < columns_.size(); ++i) {
      if (i > 0) out_ += ',';
      AppendJsonString(out_, columns_[i]);
      out_ += ':';
      AppendJsonString(out_, values[i]);
    }
    out_ += '}';
  }
  void RecordJson(std::string_view json) override {
    Separate();
    out_ += json;
  }
  void End() override { out_ += rows_ == 0 ? "]\n" : "\n]\n"; }

 private:
  // One record a line inside the array.
  void Separate() { out_ += rows_++ == 0 ? "\n  " : ",\n  "; }

  std::vector<std::string> columns_;
  size_t rows_ = 0;
};

}  // namespace

void RowWriter::RecordJson(std::string_view) {
  throw std::logic_error("only JSON output takes whole records");
}

std::string RowWriter::Take() {
  std::string text;
  text.swap(out_);
  return text;
}

const std::map<std::string, OutputFormat>& OutputFormatNames() {
  static const std::map<std::string, OutputFormat> names = {
      {"table", OutputFormat::kTable}, {"json", OutputFormat::kJson}, {"csv", OutputFormat::kCsv}};
  return names;
}

std::unique_ptr<RowWriter> MakeRowWriter(OutputFormat format) {
  switch (format) {
    case OutputFormat::kJson:
      return std::make_unique<JsonWriter>();
    case OutputFormat::kCsv:
      return std::make_unique<CsvWriter>();
    case OutputFormat::kTable:
      break;
  }
  return std::make_unique<TableWriter>();
}

void AppendCsvField(std::string& out, std::string_view value) {
  bool quote = !value.empty() && (value.front() == ' ' || value.back() == ' ');
  for (char c : value) {
    if (c == ',' || c == '"' || c == '\r' || c == '\n') {
      quote = true;
      break;
    }
  }
  if (!quote) {
    out += value;
    return;
  }
  out += '"';
  for (char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string JsonText(const nlohmann::ordered_json& value, int indent) {
  return value.dump(indent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace brennock::cli

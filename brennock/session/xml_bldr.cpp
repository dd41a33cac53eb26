#include "brennock/session/xml_bldr.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>

#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/runtime_errors.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/xml/xml_escape.h"

namespace brennock {
namespace {

constexpr std::string_view kBareDeclaration = R"(<?xml version="1.0" ?>)";
constexpr std::string_view kEncodedDeclaration = R"(<?xml version="1.0" encoding="ISO-8859-1"?>)";
constexpr std::string_view kDoctypeStart = "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD ";
constexpr std::string_view kDoctypeEnd = "//EN' >";

}  // namespace

int32_t xmlBldr::ErrNumber() const {
  // The leading number of the status text: blanks, an optional sign, digits; anything else ends it.
  std::string_view text = statusCode_;
  std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return 0;
  text.remove_prefix(start);
  bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) RaiseRuntime(kOverflowNumber, "XMLBldr");
  if (negative) value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    RaiseRuntime(kOverflowNumber, "XMLBldr");
  }
  return static_cast<int32_t>(value);
}

void xmlBldr::CreateTop() {
  Clear();
  const std::string& version = Session().qbxmlVersion;
  Append([&](PieceBuffer& text) {
    bool plain = version.empty() || version == "1.0";
    text += plain ? kBareDeclaration : kEncodedDeclaration;
    text += kDoctypeStart;
    text += plain ? std::string_view("1.0") : std::string_view(version);
    text += kDoctypeEnd;
  });
}

void xmlBldr::OpenMessageSet() { OpenAggregate("QBXMLMsgsRq", "onError", "continueOnError"); }

void xmlBldr::NewClearSubscriptions() {
  Clear();
  CreateTop();
  AppendPiece("<QBXML>");
  AppendPiece("<QBXMLSubscriptionMsgsRq>");
}

void xmlBldr::NewClear() {
  Clear();
  CreateTop();
  AppendPiece("<QBXML>");
  OpenMessageSet();
}

void xmlBldr::IOClear() {
  Clear();
  AppendPiece("<Brennock>");
  OpenMessageSet();
}

int32_t xmlBldr::SaveToFile(const std::string& Path) {
  AppendPiece("</QBXMLMsgsRq>");
  AppendPiece("</Brennock>");
  std::string text = pieces_.Join();
  std::FILE* file = std::fopen(Path.c_str(), "wb");
  if (file == nullptr) {
    RaiseRuntime(kPathFileAccessNumber, "XMLBldr");
  }
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                 std::fwrite("\r\n", 1, 2, file) == 2;
  if (std::fclose(file) != 0 || !written) {
    RaiseRuntime(kDeviceIoNumber, "XMLBldr");
  }
  return 0;
}

}  // namespace brennock

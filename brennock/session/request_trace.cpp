#include "brennock/internal/session/request_trace.h"

#include <array>
#include <cstdio>

#include "brennock/internal/session/session_state.h"

namespace brennock {
namespace {

constexpr std::string_view kEndLine = "\r\n";
constexpr std::string_view kBareDeclaration = R"(<?xml version="1.0" ?>)";
constexpr std::string_view kDoctypeStart = "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD ";
constexpr std::string_view kDoctypeEnd = "//EN' >";
constexpr std::array<std::string_view, 14> kTracedVersions = {"1.0", "1.1", "2.0", "CA2.0", "CA3.0",
                                                              "2.1", "3.0", "4.0", "4.1",   "5.0",
                                                              "6.0", "7.0", "8.0", "9.0"};

// Length of the declaration or known DOCTYPE that starts `rest`, or 0.
std::size_t StrippedLengthAt(std::string_view rest) {
  if (rest.starts_with(kBareDeclaration)) return kBareDeclaration.size();
  if (!rest.starts_with(kDoctypeStart)) return 0;
  std::string_view afterStart = rest.substr(kDoctypeStart.size());
  for (std::string_view version : kTracedVersions) {
    if (afterStart.starts_with(version) &&
        afterStart.substr(version.size()).starts_with(kDoctypeEnd)) {
      return kDoctypeStart.size() + version.size() + kDoctypeEnd.size();
    }
  }
  return 0;
}

void AppendLines(const std::string& path, std::initializer_list<std::string_view> lines) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return;
  for (std::string_view line : lines) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fwrite(kEndLine.data(), 1, kEndLine.size(), file);
  }
  std::fclose(file);
}

std::string HeaderLine(const RequestTraceHeader& header) {
  std::string companyPath = header.CompanyPath;
  for (char& c : companyPath) {
    if (c == '&') c = '+';
  }
  std::string line = "<BrennockLog CompanyPath=\"";
  line += companyPath;
  line += "\" qbXMLVersion=\"";
  line += header.qbxmlVersion;
  line += "\" ProductName=\"";
  line += header.ProductName;
  line += "\" MajorVersion=\"";
  line += header.MajorVersion;
  line += "\" MinorVersion = \"";
  line += header.MinorVersion;
  line += "\" BrennockVersion=\"";
  line += header.BrennockVersion;
  line += "\">";
  return line;
}

}  // namespace

std::string StripTraceDeclarations(std::string_view text) {
  std::string stripped;
  stripped.reserve(text.size());
  std::size_t copied = 0;
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at)) {
    std::size_t length = StrippedLengthAt(text.substr(at));
    if (length == 0) {
      ++at;
      continue;
    }
    stripped.append(text, copied, at - copied);
    at += length;
    copied = at;
  }
  stripped.append(text, copied);
  return stripped;
}

void SetDebugLogPath(const std::string& path, const RequestTraceHeader& header) {
  std::string& tracePath = Session().debugXmlLogPath;
  if (!tracePath.empty()) {
    AppendLines(tracePath, {"</BrennockLog>"});
    tracePath = path;
    return;
  }
  if (path.empty()) return;
  tracePath = path;
  if (std::FILE* file = std::fopen(path.c_str(), "wb"); file != nullptr) {
    std::fclose(file);
  }
  AppendLines(path, {HeaderLine(header)});
}

void CloseRequestTrace() {
  const std::string& tracePath = Session().debugXmlLogPath;
  if (!tracePath.empty()) AppendLines(tracePath, {"</BrennockLog>"});
}

void WriteRequestTrace(std::string_view openTag, std::string_view text, std::string_view closeTag) {
  const std::string& tracePath = Session().debugXmlLogPath;
  if (tracePath.empty()) return;
  AppendLines(tracePath, {openTag, StripTraceDeclarations(text), closeTag});
}

}  // namespace brennock

#pragma once

#include <string>
#include <string_view>

#include "brennock/version.h"

namespace brennock {

// What the first line of a request trace file tells about the session.
struct RequestTraceHeader {
  std::string CompanyPath;
  std::string qbxmlVersion;
  std::string ProductName;
  std::string MajorVersion;
  std::string MinorVersion;
  std::string BrennockVersion = kBrennockVersion;
};

// Points this thread's request trace at `path` (QBConnection.DebugLogPath). A trace already open is
// closed with "</BrennockLog>" and tracing goes on in `path` without a header; otherwise a
// non-empty `path` is created afresh with the header line. An empty `path` ends tracing.
void SetDebugLogPath(const std::string& path, const RequestTraceHeader& header);

// Appends "</BrennockLog>" to the trace file when one is set (the thread's last connection is
// going away). The path stays set.
void CloseRequestTrace();

// Appends three lines to the trace file when one is set: `openTag`, `text` stripped of the bare
// declaration and the DOCTYPE lines of the known qbXML versions, and `closeTag`. Failures are
// ignored: tracing never stops a request.
void WriteRequestTrace(std::string_view openTag, std::string_view text, std::string_view closeTag);

// `text` without `<?xml version="1.0" ?>` and without the DOCTYPE lines of qbXML 1.0 to 9.0
// (CA2.0 and CA3.0 included). Other declarations and DOCTYPEs stay.
std::string StripTraceDeclarations(std::string_view text);

}  // namespace brennock

// Sending a report query and loading QuickBooks' answer into rows and column headers.
#include <charconv>
#include <cstdlib>
#include <optional>
#include <vector>

#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/reports/report_rows_core.h"
#include "brennock/internal/reports/report_xml.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/internal/xml/response_reader.h"
#include "brennock/internal/xml/xml_markup.h"
#include "brennock/reports/report.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"

namespace brennock {

namespace {

constexpr std::string_view kReportsSource = "Reports";
constexpr int32_t kStatusUnsupportedOption = 3151;

XmlNode FirstElement(const XmlNode& parent) {
  if (!parent) return {};
  for (const XmlNode& child : parent.childNodes())
    if (child.nodeType() == NODE_ELEMENT) return child;
  return {};
}

// The first response element of a reply document (QBXML / QBXMLMsgsRs / ...Rs).
XmlNode FirstResponse(const XmlDocument& reply) {
  return FirstElement(FirstElement(reply.documentElement()));
}

// A count of the report's head ("NumRows"), read as atoi reads it.
int32_t HeadCount(const FieldElement& element) {
  std::string scratch;
  return std::atoi(std::string(element.TextView(scratch)).c_str());
}

}  // namespace

int32_t Report::Refresh() { return RefreshInto(nullptr); }

int32_t Report::Refresh2(std::string& sXmlRet) { return RefreshInto(&sXmlRet); }

int32_t Report::RefreshInto(std::string* xmlRet) {
  for (int attempt = 0;; ++attempt) {
    const std::string request = SaveToXml();
    if (!builder_) builder_ = std::make_unique<xmlBldr>();
    builder_->NewClear();
    builder_->InsertRawXML(request);
    std::string text = builder_->NewSendRequestText();
    // A plainly written answer is read straight into rows; the markup of the response, a
    // refusal and whatever the reader declines take the document.
    if (!displayReport_ && xmlRet == nullptr && LoadResponseText(text)) return 0;
    std::shared_ptr<XmlDocument> reply = builder_->ParseResponse(std::move(text));
    if (displayReport_) return 0;
    XmlNode response = reply ? FirstResponse(*reply) : XmlNode();
    if (!response) {
      const int32_t number = builder_->ErrNumber();
      if (number != 0) ReRaiseFromClass(kReportsSource, number, builder_->ErrMsg());
      RaiseGeneral(kReportsSource, "QuickBooks answered the report query with no response");
    }
    const std::string code = AttributeText(response, "statusCode");
    const std::string message = AttributeText(response, "statusMessage");
    if (code == "0") {
      if (xmlRet != nullptr) *xmlRet = response.xml();
      FromDom(response);
      return 0;
    }
    int32_t number = 0;
    std::from_chars(code.data(), code.data() + code.size(), number);
    if (number == kStatusUnsupportedOption && attempt == 0) {
      if (message.find("ReturnRows") != std::string::npos)
        returnRows_ = static_cast<qbEnumReportReturnRowCol>(0);
      else
        basis_.clear();
      continue;
    }
    ReRaiseFromClass(kReportsSource, number, message);
  }
}

// What a response holds, read before it replaces the loaded report: a text that turns out broken
// after its rows leaves the report as it was, as a document that does not load does.
struct Report::Answer {
  std::string responseName;
  bool hasReport = false;
  std::optional<std::string> title, subtitle, basis;
  std::optional<int32_t> maxRows, maxColumns, columnTitleRows;
  std::vector<std::shared_ptr<rptColumnHeader>> headers;
  rptRows rows;

  // One element of the report other than ReportData.
  void ReadHead(const FieldElement& child) {
    std::string scratch;
    const std::string_view name = child.baseName();
    if (name == "ReportTitle") {
      title = child.TextView(scratch);
    } else if (name == "ReportSubtitle") {
      subtitle = child.TextView(scratch);
    } else if (name == "ReportBasis") {
      basis = child.TextView(scratch);
    } else if (name == "NumRows") {
      maxRows = HeadCount(child);
    } else if (name == "NumColumns") {
      maxColumns = HeadCount(child);
    } else if (name == "NumColTitleRows") {
      columnTitleRows = HeadCount(child);
    } else if (name == "ColDesc") {
      headers.push_back(MakeSlabShared<rptColumnHeader>());
      headers.back()->Read(child);
    }
  }
  void AddRow(const FieldElement& row) { rows.Loading().Add(row); }
};

bool Report::LoadResponseText(const std::string& text) {
  ResponseReader reader(text);
  if (!reader.OpenFirstResponse()) return false;
  // The document reads the first status attribute of the name, the builder the last: only an
  // answer where both are "0" is read here.
  auto [code, hasCode] = reader.FirstResponseAttribute("statusCode");
  auto [firstCode, hasFirstCode] = reader.FirstResponseAttribute("statusCode", true);
  if (!hasCode || code != "0" || firstCode != "0") return false;
  const std::string_view message = reader.FirstResponseAttribute("statusMessage").first;
  Answer answer;
  answer.responseName = detail::LocalName(reader.FirstResponseName());
  // The report element is entered, and so is its ReportData: one row is held at a time.
  ElementTree head, element;
  bool empty = false;
  if (reader.EnterRecord(head, empty)) {
    answer.hasReport = true;
    std::string_view name;
    while (!empty && reader.PeekRecord(name)) {
      if (detail::LocalName(name) == "ReportData") {
        bool noRows = false;
        if (!reader.EnterRecord(head, noRows)) break;
        while (!noRows && reader.NextRecord(element)) answer.AddRow(element.Root());
      } else if (reader.NextRecord(element)) {
        answer.ReadHead(element.Root());
      }
      if (reader.Declined()) return false;
    }
  }
  // What follows the report is only checked, as a document load would check it.
  while (reader.NextRecord(element)) {
  }
  if (!reader.Finish()) return false;
  builder_->TakeFirstStatus(code, message);
  Take(answer);
  return true;
}

void Report::FromDom(const XmlNode& obj) {
  Answer answer;
  answer.responseName = obj.baseName();
  if (XmlNode reportRet = FirstElement(obj)) {
    answer.hasReport = true;
    ElementTree tree(reportRet);
    for (FieldElement child : tree.Root().Children()) {
      if (child.baseName() != "ReportData") {
        answer.ReadHead(child);
        continue;
      }
      for (FieldElement row : child.Children()) answer.AddRow(row);
    }
  }
  Take(answer);
}

void Report::Take(Answer& answer) {
  responseName_ = std::move(answer.responseName);
  columnHeaders_->ClearLoaded();
  reportRows_->Clear();
  if (!answer.hasReport) return;
  if (answer.title) title_ = std::move(*answer.title);
  if (answer.subtitle) subtitle_ = std::move(*answer.subtitle);
  if (answer.basis) {
    try {
      SetBasis(*answer.basis);
    } catch (const AutomationError&) {
      basis_.clear();  // a basis this library does not name ("None")
    }
  }
  if (answer.maxRows) maxRows_ = *answer.maxRows;
  if (answer.maxColumns) maxColumns_ = *answer.maxColumns;
  if (answer.columnTitleRows) columnTitleRows_ = *answer.columnTitleRows;
  for (auto& header : answer.headers) columnHeaders_->AddObject(std::move(header));
  reportRows_->Swap(answer.rows);
  SetReportHierarchy(baseReport_, *reportRows_);
}

}  // namespace brennock

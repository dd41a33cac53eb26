// Sending a report query and loading QuickBooks' answer into rows and column headers.
#include <charconv>

#include "brennock/errors/automation_error.h"
#include "brennock/errors/raise.h"
#include "brennock/reports/report.h"
#include "brennock/reports/report_xml.h"
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

}  // namespace

int32_t Report::Refresh() {
  std::string ignored;
  return Refresh2(ignored);
}

int32_t Report::Refresh2(std::string& sXmlRet) {
  for (int attempt = 0;; ++attempt) {
    const std::string request = SaveToXml();
    if (!builder_) builder_ = std::make_unique<xmlBldr>();
    builder_->NewClear();
    builder_->InsertRawXML(request);
    std::shared_ptr<XmlDocument> reply = builder_->NewSendRequest();
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
      sXmlRet = response.xml();
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

void Report::FromDom(const XmlNode& obj) {
  responseName_ = obj.baseName();
  columnHeaders_->ClearLoaded();
  reportRows_->Clear();
  XmlNode reportRet = FirstElement(obj);
  if (!reportRet) return;
  for (const XmlNode& child : reportRet.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    const std::string name = child.baseName();
    if (name == "ReportTitle") {
      title_ = child.text();
    } else if (name == "ReportSubtitle") {
      subtitle_ = child.text();
    } else if (name == "ReportBasis") {
      try {
        SetBasis(child.text());
      } catch (const AutomationError&) {
        basis_.clear();  // a basis this library does not name ("None")
      }
    } else if (name == "NumRows") {
      maxRows_ = std::atoi(child.text().c_str());
    } else if (name == "NumColumns") {
      maxColumns_ = std::atoi(child.text().c_str());
    } else if (name == "NumColTitleRows") {
      columnTitleRows_ = std::atoi(child.text().c_str());
    } else if (name == "ColDesc") {
      columnHeaders_->AppendLoaded()->FromDom(child);
    } else if (name == "ReportData") {
      for (const XmlNode& row : child.childNodes())
        if (row.nodeType() == NODE_ELEMENT) reportRows_->Add()->FromDom(row);
    }
  }
  SetReportHierarchy(baseReport_, *reportRows_);
}

}  // namespace brennock

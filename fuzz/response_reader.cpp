// The direct response reader against the document loader. For any text, either the reader
// declines it, or the loader loads it and both give the same first-response status and the same
// record elements; and a list query comes out the same (records, filed errors, raised error)
// whether its response is read directly or, with a comment after the root that the reader does
// not take, as a document; and so does a report.
#include "brennock/internal/xml/response_reader.h"

#include <cstdint>
#include <string>
#include <vector>

#include "brennock/errors/automation_error.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/lists/customer.h"
#include "brennock/lists/hierarchical_lists.h"
#include "brennock/reports/report.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"
#include "fuzz/fuzz_support.h"

namespace brennock::fuzz {
namespace {

// An element and everything under it, a line per element: name, base name and text.
void Dump(const FieldElement& element, int depth, std::string& out) {
  std::string scratch;
  const std::string_view text = element.TextView(scratch);
  Require(text == element.text(), "TextView differs from text()", text);
  out.append(static_cast<size_t>(depth), ' ');
  out.append(element.nodeName()).append(" (").append(element.baseName()).append(") [");
  out.append(text).append("]");
  for (size_t i = 0; i < element.AttributeCount(); ++i) {
    auto [name, value] = element.AttributeAt(i);
    out.append(" ").append(name).append("=\"").append(value).append("\"");
  }
  out.append("\n");
  for (FieldElement child : element.Children()) Dump(child, depth + 1, out);
}

struct Read {
  std::vector<std::string> records;
  std::string statusCode;
};

// The first element child of a node; Nothing when it has none.
XmlNode FirstElement(const XmlNode& node) {
  for (XmlNode child : node.childNodes())
    if (child.nodeType() == NODE_ELEMENT) return child;
  return {};
}

// True when the reader took the whole text.
bool CompareElements(const std::string& text) {
  Read direct;
  ResponseReader reader(text);
  ElementTree tree;
  if (!reader.OpenFirstResponse()) return false;
  direct.statusCode = reader.FirstResponseAttribute("statusCode").first;
  while (reader.NextRecord(tree)) Dump(tree.Root(), 0, direct.records.emplace_back());
  if (reader.Declined() || !reader.Finish()) return false;

  XmlDocument document;
  Require(document.loadXML(text), "the reader took a text the loader refuses",
          document.parseError().reason);
  XmlNode first = FirstElement(FirstElement(document.documentElement()));
  Require(static_cast<bool>(first), "the reader found a response the loader does not");
  Read loaded;
  XmlAttributes attributes = first.attributes();
  for (int32_t i = 0; i < attributes.length(); ++i)
    if (attributes.item(i).nodeName() == "statusCode")
      loaded.statusCode = attributes.item(i).text();
  for (XmlNode node : first.childNodes()) {
    if (node.nodeType() != NODE_ELEMENT) continue;
    tree.Assign(node);
    Dump(tree.Root(), 0, loaded.records.emplace_back());
  }
  Require(direct.statusCode == loaded.statusCode, "status codes differ", direct.statusCode);
  Require(direct.records.size() == loaded.records.size(), "record counts differ");
  for (size_t i = 0; i < direct.records.size(); ++i)
    Require(direct.records[i] == loaded.records[i], "records differ",
            direct.records[i] + "\n---\n" + loaded.records[i]);
  return true;
}

// What a GetAll left behind, written out: the raised error, the filed errors and each record's
// query-result form.
template <class Collection>
std::string Query(const std::string& response) {
  CannedSession().response = response;
  Collection collection;
  std::string out;
  try {
    out = "count " + std::to_string(collection.GetAll()) + "\n";
  } catch (const AutomationError& error) {
    out = "raised " + std::to_string(error.Number()) + " " + error.Source() + " " +
          error.Description() + "\n";
  }
  auto errors = collection.Errors();
  for (int32_t i = 1; i <= errors->Count(); ++i)
    out += "error " + std::to_string(errors->Item(i)->Number()) + " " +
           errors->Item(i)->Description() + "\n";
  for (const auto& member : collection) {
    xmlBldr builder;
    member->XMLQueryRs(builder);
    out += builder.GetXML() + "\n";
  }
  return out;
}

template <class Collection>
void CompareQueries(const std::string& text) {
  const std::string direct = Query<Collection>(text);
  const std::string loaded = Query<Collection>(text + "<!-- read as a document -->");
  Require(direct == loaded, "the query differs between the paths", direct + "---\n" + loaded);
}

// What a report's Refresh left behind: the raised error, or the report's head, columns and rows.
std::string Refresh(const std::string& response) {
  CannedSession().response = response;
  Report report;
  report.SetBaseReport(qbReportProfitAndLossStandard);
  try {
    report.Refresh();
  } catch (const AutomationError& error) {
    return "raised " + std::to_string(error.Number()) + " " + error.Source() + " " +
           error.Description() + "\n";
  }
  std::string out = report.ResponseName() + "|" + report.Title() + "|" + report.Subtitle() + "|" +
                    report.Basis() + "|" + std::to_string(report.MaxRows()) + "\n";
  for (const auto& header : *report.ColumnHeaders())
    out += "col " + std::to_string(header->ID()) + " " + header->Title() + "\n";
  for (const auto& row : *report.ReportRows()) {
    out += "row " + std::to_string(row->RowType()) + " " + std::to_string(row->RowNumber()) + " " +
           row->Text() + " " + row->RowDataValue() + " " + std::to_string(row->IndentLevel()) +
           " " + row->FullName();
    for (const auto& cell : *row->Columns())
      out += " " + std::to_string(cell->ID()) + ":" + cell->Text() + ":" + cell->DataType();
    out += "\n";
  }
  return out;
}

void CompareReports(const std::string& text) {
  const std::string direct = Refresh(text);
  const std::string loaded = Refresh(text + "<!-- read as a document -->");
  Require(direct == loaded, "the report differs between the paths", direct + "---\n" + loaded);
}

}  // namespace
}  // namespace brennock::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brennock;
  const std::string text(reinterpret_cast<const char*>(data), size);
  // A declined text takes the document path either way.
  if (!fuzz::CompareElements(text)) return 0;
  fuzz::CompareQueries<Classes>(text);
  fuzz::CompareQueries<Customers>(text);
  fuzz::CompareReports(text);
  return 0;
}

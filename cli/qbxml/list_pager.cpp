#include "cli/qbxml/list_pager.h"

#include <algorithm>
#include <charconv>

#include "brennock/internal/util/text.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_document.h"
#include "cli/qbxml/response_status.h"

namespace brennock::cli {
namespace {

// Attribute text as QuickBooks wrote it, made safe to write back (iterator IDs are GUIDs).
std::string AttributeSafe(std::string_view text) {
  std::string out;
  AppendXmlEscaped(out, text, XmlEscaping::kAttribute);
  return out;
}

std::string AttributeOf(const XmlNode& element, std::string_view name) {
  XmlAttribute attribute = element.attributes().getNamedItem(name);
  return attribute ? attribute.text() : std::string();
}

}  // namespace

ListPager::ListPager(xmlBldr& builder, const RecordKind& type, ListCriteria criteria,
                     bool useIterator, int32_t pageSize)
    : builder_(builder),
      type_(type),
      criteria_(std::move(criteria)),
      iterate_(useIterator && type.Has(kIterates)),
      pageSize_(std::max<int32_t>(pageSize, 1)) {}

void ListPager::WriteRequest(int32_t maxReturned) {
  std::string query(type_.stem);
  query += "QueryRq";
  builder_.NewClear();
  std::string open = "<" + query + " requestID=\"1\"";
  if (iterate_) {
    open += iteratorID_.empty()
                ? " iterator=\"Start\""
                : " iterator=\"Continue\" iteratorID=\"" + AttributeSafe(iteratorID_) + "\"";
  }
  open += '>';
  builder_.InsertRawXML(open);
  if (type_.Has(kFilters)) {
    if (maxReturned > 0) builder_.CreateElement("MaxReturned", std::to_string(maxReturned));
    builder_.CreateElement("ActiveStatus", criteria_.activeOnly ? "ActiveOnly" : "All");
    if (!criteria_.since.empty()) builder_.CreateElement("FromModifiedDate", criteria_.since);
    if (!criteria_.nameMatch.empty()) {
      builder_.OpenAggregateOnly("NameFilter");
      builder_.CreateElement("MatchCriterion", criteria_.startsWith ? "StartsWith" : "Contains");
      builder_.CreateElement("Name", criteria_.nameMatch);
      builder_.EndAggregate("NameFilter");
    }
  }
  builder_.EndAggregate(query);
}

bool ListPager::NextPage(std::vector<XmlNode>& records) {
  records.clear();
  if (done_) return false;
  int32_t maxReturned = iterate_ ? pageSize_ : 0;
  if (criteria_.maxRecords > 0) {
    int32_t left = criteria_.maxRecords - delivered_;
    maxReturned = iterate_ ? std::min(pageSize_, left) : left;
  }
  WriteRequest(maxReturned);
  page_ = builder_.NewSendRequest();
  ResponseStatus status = RequireSuccess(*page_);
  done_ = true;
  if (status.NothingFound()) return false;
  std::string rowElement = std::string(type_.Has(kMixed) ? "" : type_.stem) + "Ret";
  for (XmlNode child : status.element.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    // A list answer holds only records, but a non-mixed list keeps to its own kind.
    if (!type_.Has(kMixed) && child.nodeName() != rowElement) continue;
    records.push_back(child);
  }
  // QuickBooks may answer with more than MaxReturned when the list ignores the element.
  if (criteria_.maxRecords > 0) {
    size_t left = static_cast<size_t>(criteria_.maxRecords - delivered_);
    if (records.size() > left) records.resize(left);
  }
  delivered_ += static_cast<int32_t>(records.size());
  if (iterate_) {
    std::string remaining = AttributeOf(status.element, "iteratorRemainingCount");
    int64_t count = 0;
    std::from_chars(remaining.data(), remaining.data() + remaining.size(), count);
    iteratorID_ = AttributeOf(status.element, "iteratorID");
    total_ = delivered_ + count;
    if (criteria_.maxRecords > 0 && total_ > criteria_.maxRecords) total_ = criteria_.maxRecords;
    bool reachedMax = criteria_.maxRecords > 0 && delivered_ >= criteria_.maxRecords;
    done_ = count <= 0 || iteratorID_.empty() || reachedMax || records.empty();
  }
  return true;
}

}  // namespace brennock::cli

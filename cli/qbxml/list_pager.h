#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/model/record_kind.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
class xmlBldr;
class XmlDocument;
}  // namespace brennock

namespace brennock::cli {

// What the `list` command asks of a list.
struct ListCriteria {
  int32_t maxRecords = 0;  // 0: all
  bool activeOnly = false;
  std::string nameMatch;    // NameFilter text
  bool startsWith = false;  // NameFilter StartsWith instead of Contains
  std::string since;        // FromModifiedDate, as typed
};

// Reads a list page by page. Lists whose query takes iterators are read with an iterator
// (iterator="Start", then "Continue" with the iteratorID) so a long list never sits in memory at
// once; the others come in one answer. Each page's document stays alive as long as its records
// are held.
class ListPager {
 public:
  ListPager(xmlBldr& builder, const RecordKind& type, ListCriteria criteria, bool useIterator,
            int32_t pageSize = kDefaultPageSize);

  static constexpr int32_t kDefaultPageSize = 500;

  // Sends the next request and hands back its records (...Ret elements). False when the list is
  // done. QuickBooks' error statuses raise StatusError.
  bool NextPage(std::vector<XmlNode>& records);
  // Records handed out so far, and how many the whole listing will have once an iterator's
  // first page told (-1 until then, and for lists read in one answer).
  int64_t Delivered() const noexcept { return delivered_; }
  int64_t Total() const noexcept { return total_; }

 private:
  void WriteRequest(int32_t maxReturned);

  xmlBldr& builder_;
  const RecordKind& type_;
  ListCriteria criteria_;
  bool iterate_;
  int32_t pageSize_;
  int32_t delivered_ = 0;
  int64_t total_ = -1;
  std::string iteratorID_;
  bool done_ = false;
  std::shared_ptr<XmlDocument> page_;
};

}  // namespace brennock::cli

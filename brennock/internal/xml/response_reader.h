#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "brennock/internal/xml/element_tree.h"

namespace brennock {

// Reads the records of a qbXML response straight from its text, one record element at a time,
// without building a document: the declaration, the root, the message set, then the child
// elements of the first response, each copied into an ElementTree for its reader.
//
// The reader takes only plainly written responses: a document it is not sure to read exactly as
// the document loader would (comments, CDATA, a DOCTYPE, a byte-order mark, references it does
// not know, control characters, invalid UTF-8, unusual attribute values, malformed markup ...)
// makes it decline, and the caller loads the text as a document instead, which gives the same
// records or the loader's own error. Declining is never an error of its own.
class ResponseReader {
 public:
  // The text must outlive the reader and every tree it fills.
  explicit ResponseReader(const std::string& text);

  // Reads up to the start tag of the first response. False when declined.
  bool OpenFirstResponse();
  // An attribute of the first response's start tag as written (the last one of that name, or the
  // first when first is set), and whether it was there.
  std::pair<std::string_view, bool> FirstResponseAttribute(std::string_view name,
                                                           bool first = false) const;
  // The first response's name as written ("GeneralDetailReportQueryRs").
  std::string_view FirstResponseName() const { return firstResponse_; }
  // Fills tree with the next element inside the first response (or inside the record last
  // entered). False at the end of the element the records are in, or when declined (Declined
  // tells which).
  bool NextRecord(ElementTree& tree);
  // The name of that next element, as written, without reading it. False as for NextRecord.
  bool PeekRecord(std::string_view& name);
  // Reads only the start tag of that next element into head (the element alone, with its
  // attributes) and, unless it is empty ("<name/>"), goes inside it: the following NextRecord
  // calls give its child elements, one at a time, until its end. Large records (a report's rows)
  // are read this way without holding all of them at once. False as for NextRecord.
  bool EnterRecord(ElementTree& head, bool& empty);
  // Reads the rest of the document after the first response's records. False when declined.
  bool Finish();
  bool Declined() const { return declined_; }
  // How much of the text has been read, and how much is left.
  size_t Consumed() const { return static_cast<size_t>(p_ - begin_); }
  size_t Left() const { return static_cast<size_t>(end_ - p_); }

 private:
  bool Decline() {
    declined_ = true;
    return false;
  }
  bool AtEnd() const { return p_ == end_; }
  void SkipBlanks();
  // A name at p_, ending before a blank, '>', '/', '=' or '?'.
  bool Name(std::string_view& name);
  // The attributes of a start tag or declaration, up to its end ('>', "/>" or "?>" for the
  // declaration). Kept in attributes_ when keep is set, given to tree when there is one.
  bool Attributes(bool declaration, bool keep, bool& empty, ElementTree* tree = nullptr);
  // A start tag at p_ ('<' already checked): name, attributes, end. empty for "<name/>".
  bool StartTag(std::string_view& name, bool keep, bool& empty);
  // An end tag at p_ ("</" already checked) that must close the innermost open element.
  bool EndTag();
  // The text up to the next '<' (which must start an element or end tag). Text that is not all
  // blanks goes to tree when one is given; blanks alone are dropped, as the document loader
  // drops them.
  bool Text(ElementTree* tree);
  // Before the next record: true at its start tag; false at the end of the element the records
  // are in (which is then read), or when declined.
  bool AtRecord();
  // A whole element, start tag at p_, into tree.
  bool Element(ElementTree& tree);
  // The opening of an element that holds others: start tag, then the blanks before its first
  // child element.
  bool OpenContainer(bool keepAttributes);

  const char* begin_;
  const char* p_;
  const char* end_;
  // Deeper records are declined: the document path refuses them with the limit's error.
  size_t maxDepth_;
  bool declined_ = false;
  bool inRecords_ = false;
  size_t recordsDepth_ = 0;  // how many elements are open while reading the first response
  std::string_view firstResponse_;
  std::vector<std::string_view> open_;  // names of the open elements, outermost first
  std::vector<std::pair<std::string_view, std::string_view>> attributes_;
  std::string decoded_;  // scratch for texts that are checked but not kept
  ElementTree skipped_;  // elements read after the records, only to check them
};

}  // namespace brennock

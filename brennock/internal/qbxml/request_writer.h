#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "brennock/internal/qbxml/piece_buffer.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

// Writes the text of a qbXML request piece by piece: elements with their text escaped, aggregates
// with their attributes, raw pieces. It knows no session: the qbXML version that element gates
// compare against is passed in, as a function, so a writer made before a session opens writes for
// the version the session later has. xmlBldr is the session's writer and sends what it wrote.
//
// The writer never checks nesting or element order; callers write well-formed qbXML. Element
// writers take a minimum qbXML version and write nothing when the version is lower. Element text
// is escaped; attribute values of OpenAggregateOnly are not.
//
// Each write appends one piece. Pieces are stored back to back (PieceBuffer), and the document is
// joined with a single allocation when it is read.
class RequestWriter {
 public:
  using VersionSource = Currency (*)();

  explicit RequestWriter(VersionSource version) noexcept : version_(version) {}

  // Appends XMLString unchanged; returns an empty string.
  std::string InsertRawXML(std::string_view XMLString);
  // The document written so far.
  std::string GetXML() const;
  void Clear();

  // `<?xml version="1.0" ?>`, without DOCTYPE (report requests).
  void CreateRptTop();
  // `<TagName>Value</TagName>`, also for an empty value.
  void CreateElement(std::string_view TagName, std::string_view Value, Currency MinVersion = {});
  void CreateElement(std::string_view TagName, std::string_view Value, double MinVersion);
  // Like CreateElement, but an empty value writes nothing unless ForceNull (which clears the
  // field on a modify).
  void CreateElement2(std::string_view TagName, std::string_view Value, bool ForceNull,
                      Currency MinVersion);
  void CreateElement2(std::string_view TagName, std::string_view Value, bool ForceNull,
                      double MinVersion);
  // The date as "yyyy-mm-dd"; nothing for the zero date.
  void CreateDateElement(std::string_view Tag, Date d, Currency MinVersion);
  void CreateDateElement(std::string_view Tag, Date d, double MinVersion);
  // `<TagName/>`.
  void CreateBlankTag(std::string_view TagName);
  // `<TagName Attrib = "Value">` with Value escaped; TagName becomes the last opened tag.
  void OpenAggregate(std::string_view TagName, std::string_view Attrib, std::string_view Value);
  // `<TagName>`, or with metaData/iterator(/iteratorID) attributes when MetaData is not empty;
  // TagName becomes the last opened tag.
  void OpenAggregateOnly(std::string_view TagName, std::string_view MetaData = {},
                         std::string_view Iterator = {}, std::string_view IteratorId = {});
  // `</TagName>`; without a tag, the last opened one (one tag is remembered, not a stack).
  void EndAggregate(std::string_view TagName = {});
  // The escaped text alone.
  void EnterValueOnly(std::string_view TagName);

  // Number of writes since the last Clear.
  int32_t PieceCount() const { return pieceCount_; }

 protected:
  // One write: `write` appends the piece to the buffer.
  template <typename Write>
  void Append(Write&& write) {
    write(pieces_);
    ++pieceCount_;
  }
  void AppendPiece(std::string_view piece);
  void AppendElement(std::string_view tag, std::string_view value);
  // True when the version written for is below minVersion.
  bool Below(Currency minVersion) const { return version_() < minVersion; }
  Currency Version() const { return version_(); }

  PieceBuffer pieces_;
  int32_t pieceCount_ = 0;
  std::string lastTag_;

 private:
  VersionSource version_;
};

}  // namespace brennock

#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "brennock/internal/qbxml/catalogue.h"
#include "simulator/records/references.h"
#include "simulator/status_codes.h"

namespace brennock::simulator {

// Request values brought into the form QuickBooks answers with, and stored values written back,
// for records of every family.

// Writes the children of a request aggregate in the order of the catalogue's aggregate,
// normalising values and resolving references on the way ("...Mod" children count as their base
// name). False (with status) when a value or reference is bad; owner names the record in messages.
bool RenderAggregate(pugi::xml_node node, const qbxml::Aggregate& shape, std::string_view owner,
                     References& refs, std::string& out, Status& status);

// A Mod of a stored aggregate: the children the request names replace those stored, the rest stay.
bool MergeAggregate(const std::string& current, pugi::xml_node changes,
                    const qbxml::Aggregate& shape, std::string_view owner, References& refs,
                    std::string& out, Status& status);

// One request value of a plain (not reference, not aggregate) field, normalised and checked
// against its length limit; nullopt with status 3020 or 3070.
std::optional<std::string> NormalizeField(const qbxml::Element& field, std::string_view text,
                                          Status& status);

// Writes one stored field: a reference with its current name, an aggregate with the references
// inside it renamed, anything else as an element.
void WriteStoredField(std::string& out, const qbxml::Element& field, std::string_view value,
                      References& refs);

// The address as QuickBooks prints it (BillAddressBlock ...): the street lines, then
// "City, State  PostalCode", then the country, at most five lines. Nothing for an empty address.
void WriteAddressBlock(std::string& out, std::string_view tag, std::string_view address);

}  // namespace brennock::simulator

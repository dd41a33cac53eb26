#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "brennock/enums/object_enums.h"

namespace brennock {

class XmlDocument;

// Copies the records of a query response into a database table instead of loading them as
// objects: what a collection's query does when it is given a database path. The database export
// registers its implementation; until then such queries report that nothing can be exported.
class ResponseExporter {
 public:
  virtual ~ResponseExporter() = default;
  // response: the whole query response document; table: the object type's stem ("Class").
  // Failures raise AutomationError.
  virtual void ExportResponse(const XmlDocument& response, qoEnumListObjectType objectType,
                              std::string_view table, const std::string& databasePath) = 0;
};

// The exporter queries hand their responses to (null when none is registered). Registration is
// meant for start-up, before any thread queries.
void SetResponseExporter(std::shared_ptr<ResponseExporter> exporter);
std::shared_ptr<ResponseExporter> RegisteredResponseExporter();

// The description a query files when it is given a database path and no exporter is registered.
inline constexpr std::string_view kNoResponseExporter =
    "No database export is available: the query response was not copied to the database";

}  // namespace brennock

#pragma once

#include <string>
#include <string_view>

namespace brennock::testing {

// Checks the body of a SOAP 1.1 message (the Body's first element) against the schema embedded in
// the Web Connector's WSDL (wsdl/QBWebConnectorSvc_with_versions.wsdl below QbxmlDir()). Empty for
// a valid message, else the validator's messages. A fault is checked for its envelope only.
// Callers skip when the folder is absent.
std::string SoapSchemaErrors(std::string_view message);

}  // namespace brennock::testing

#pragma once

#include <string>
#include <string_view>

namespace brennock::testing {

// Validates a qbXML request document against the public qbXML 16.0 schemas (xsd/v16 below
// QbxmlDir()). The DOCTYPE line is removed first, since the schemas replace the DTD. Returns an
// empty string for a valid document, else the parser's and validator's messages, one per line.
// Callers skip with BRENNOCK_REQUIRE_QBXML_DIR() when the folder is absent.
std::string QbxmlSchemaErrors(std::string_view document);

}  // namespace brennock::testing

// Fails the current test with the validator's messages when `document` is not valid qbXML.
#define BRENNOCK_EXPECT_VALID_QBXML(document) \
  EXPECT_EQ(::brennock::testing::QbxmlSchemaErrors(document), "") << (document)

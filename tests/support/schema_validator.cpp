#include "tests/support/schema_validator.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <memory>
#include <mutex>
#include <stdexcept>

#include "tests/support/qbxml_samples.h"

namespace brennock::testing {
namespace {

void CollectMessage(void* sink, xmlErrorPtr error) {
  auto* messages = static_cast<std::string*>(sink);
  if (error != nullptr && error->message != nullptr) {
    messages->append("line " + std::to_string(error->line) + ": " + error->message);
  }
}

// The schema is large; it is compiled once per test program.
xmlSchemaPtr RequestSchema(std::string& messages) {
  static std::once_flag once;
  static xmlSchemaPtr schema = nullptr;
  static std::string loadMessages;
  std::call_once(once, [] {
    auto dir = QbxmlDir();
    if (!dir) return;
    std::string path = (*dir / "xsd" / "v16" / "qbxmlops160.xsd").string();
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.c_str());
    if (parser == nullptr) return;
    xmlSchemaSetParserStructuredErrors(parser, CollectMessage, &loadMessages);
    schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
  });
  if (schema == nullptr) messages = "qbXML schema could not be loaded\n" + loadMessages;
  return schema;
}

std::string WithoutDoctype(std::string_view document) {
  std::string text(document);
  if (auto start = text.find("<!DOCTYPE"); start != std::string::npos) {
    if (auto end = text.find('>', start); end != std::string::npos)
      text.erase(start, end + 1 - start);
  }
  return text;
}

}  // namespace

std::string QbxmlSchemaErrors(std::string_view document) {
  std::string messages;
  xmlSchemaPtr schema = RequestSchema(messages);
  if (schema == nullptr) return messages;

  std::string text = WithoutDoctype(document);
  xmlParserCtxtPtr parser = xmlNewParserCtxt();
  xmlSetStructuredErrorFunc(&messages, CollectMessage);
  xmlDocPtr doc = xmlCtxtReadMemory(parser, text.data(), static_cast<int>(text.size()),
                                    "request.xml", nullptr, XML_PARSE_NONET);
  xmlFreeParserCtxt(parser);
  if (doc == nullptr) {
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    return messages.empty() ? "not well-formed XML" : messages;
  }
  xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
  xmlSchemaSetValidStructuredErrors(validator, CollectMessage, &messages);
  int result = xmlSchemaValidateDoc(validator, doc);
  xmlSchemaFreeValidCtxt(validator);
  xmlFreeDoc(doc);
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  if (result != 0 && messages.empty()) messages = "schema validation failed";
  return messages;
}

}  // namespace brennock::testing
